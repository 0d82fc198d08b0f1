#pragma once

#include "ui/PageContext.h"

#include <QGroupBox>

class QProgressBar;
class QPushButton;

// The box "Baza danych" of the page "Ustawienia": purging what was only marked
// deleted, and emptying the event log. Both run on a connection of their own,
// off the GUI thread, with a progress bar; the window repaints meanwhile and
// takes no input.
class MaintenanceBox : public QGroupBox {
    Q_OBJECT
public:
    MaintenanceBox(const PageContext& context, QWidget* parent);

    void Button24Click();
    void Button34Click();

    QPushButton* Button24 = nullptr;   // "Oczyść bazę zdarzeń z osób usunietych"
    QPushButton* Button34 = nullptr;   // "Usuń wszystkie zdarzenia"
    QProgressBar* MaintenanceProgress = nullptr;

private:
    const PageContext context_;
};
