#pragma once

#include "db/DatabaseCheck.h"
#include "ui/PageContext.h"

#include <QGroupBox>

class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// The box "Sprawdzenie bazy" of the page "Ustawienia": what the database lacks of
// what the program relies on (the list of "valdrix db-check"), and a button that
// creates the missing indexes off the GUI thread.
class DatabaseCheckBox : public QGroupBox {
    Q_OBJECT
public:
    DatabaseCheckBox(const PageContext& context, QWidget* parent);

    // Checks the connected database and shows the list; returns what is missing.
    // A check that fails shows why, and counts as nothing found.
    std::vector<DatabaseCheck::Finding> checkDatabase();
    void CreateIndexesClick();

    QPlainTextEdit* DatabaseCheckList = nullptr;
    QPushButton* CreateIndexes = nullptr;   // "Utwórz brakujące indeksy"
    QProgressBar* CreateIndexesProgress = nullptr;

private:
    void show(const std::vector<DatabaseCheck::Finding>& findings);

    const PageContext context_;
    std::vector<DatabaseCheck::Finding> findings_;
};
