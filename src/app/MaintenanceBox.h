#pragma once

#include <QGroupBox>

class QPushButton;
class TForm1;

// The box "Baza danych" of the page "Ustawienia": purging what was only marked
// deleted, and emptying the event log.
class MaintenanceBox : public QGroupBox {
    Q_OBJECT
public:
    MaintenanceBox(TForm1& form, QWidget* parent);

    void Button24Click();
    void Button34Click();

    QPushButton* Button24 = nullptr;   // "Oczyść bazę zdarzeń z osób usunietych"
    QPushButton* Button34 = nullptr;   // "Usuń wszystkie zdarzenia"

private:
    TForm1& form_;
};
