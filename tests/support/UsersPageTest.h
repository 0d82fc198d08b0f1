#pragma once

#include "people/UsersPage.h"
#include "support/AppFixture.h"
#include "ui/BoundGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

// The page "Użytkownicy" on the real window, connected to the test database.
class UsersPageTest : public AppTest {
protected:
    void start()
    {
        startConnected();
        page = form->usersPage();
    }

    // Every later change of STATUS is logged with the counters it raised, so that
    // the order of the bumps can be read back with bumps().
    void logBumps()
    {
        sql("CREATE TABLE BUMPS (ID INT AUTO_INCREMENT PRIMARY KEY, NAMES VARCHAR(100))");
        sql("CREATE TRIGGER STATUS_LOG AFTER UPDATE ON STATUS FOR EACH ROW INSERT INTO BUMPS (NAMES) "
            "VALUES (CONCAT_WS(',', IF(NEW.USERS <=> OLD.USERS, NULL, 'USERS'), "
            "IF(NEW.CARDS <=> OLD.CARDS, NULL, 'CARDS')))");
    }
    QString bumps() { return scalar("SELECT GROUP_CONCAT(NAMES ORDER BY ID SEPARATOR ' ') FROM BUMPS"); }

    void clickPerson(const QString& surname) { clickRow(page->DBGrid3, surname, 1); }

    // Types a code into the code field and confirms it with Enter.
    void enterCode(const QString& code)
    {
        page->Edit13->setText(code);
        QTest::keyClick(page->Edit13, Qt::Key_Return);
    }

    UsersPage* page = nullptr;
};

// Text with everything that could change a statement's meaning, and Polish letters.
inline const QString TrickyText = QString::fromUtf8("Zażółć 'gęślą' \\ \"jaźń\"; 100% --");
