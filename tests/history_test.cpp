// The page "Historia zmian", the people page's history button, the word after
// "Connect" on a database without the history, and a card given to a person
// another client removed, as the operator meets them in the window.
#include "app/HistoryPage.h"
#include "app/ToolCommands.h"
#include "db/History.h"
#include "people/UsersPage.h"
#include "support/AppFixture.h"
#include "support/Files.h"
#include "ui/BoundGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

class HistoryPageTest : public AppTest {
protected:
    HistoryPage* page() const { return form->historyPage(); }
    // `count` history rows: operators a and b in turn, people's rows and card rows.
    void history(int count)
    {
        sql(QStringLiteral("INSERT INTO HISTORY (TIME, LOGIN, ACTION, TABLE_NAME, ROW_KEY, LABEL, AFTER_VALUES) "
                           "SELECT NOW() - INTERVAL seq DAY, IF(seq MOD 2, 'a', 'b'), 'Zmień', "
                           "IF(seq MOD 3, 'USERS', 'CARDS'), seq, CONCAT('Osoba ', seq), '{}' FROM seq_1_to_%1")
                .arg(count));
    }
};

TEST_F(HistoryPageTest, FiltersPagesAndExportsTheHistoryReadOnly)
{
    history(250);
    startConnected();
    EXPECT_EQ(items(page()->HistoryOperator), QStringList({"(wszyscy)", "a", "b"}));
    EXPECT_EQ(form->AdvOfficePager1->tabText(6), "Historia zmian");

    page()->HistoryFilter->click();
    EXPECT_EQ(page()->HistoryCount->text(), "liczba rekordów: 250");
    EXPECT_EQ(page()->HistoryPageCount->text(), "3");
    EXPECT_EQ(page()->Rows.rowCount(), 100);
    EXPECT_EQ(shown(page()->HistoryGrid, 7).first(), "Osoba 250");   // newest first
    page()->HistoryLast->click();
    EXPECT_EQ(page()->Rows.rowCount(), 50);
    page()->HistoryNext->click();   // on the last page: nothing
    EXPECT_EQ(page()->HistoryPageNumber->text(), "3");
    page()->HistoryFirst->click();
    EXPECT_EQ(page()->HistoryPageNumber->text(), "1");

    // Operator, kind and text together; the text's own % matches itself.
    page()->HistoryOperator->setCurrentIndex(1);
    page()->HistoryKind->setCurrentIndex(2);   // cards
    page()->HistoryText->setText("Osoba 1");
    page()->HistoryFilter->click();
    EXPECT_EQ(page()->HistoryCount->text(),
              "liczba rekordów: " + scalar("SELECT COUNT(*) FROM HISTORY WHERE LOGIN = 'a' AND TABLE_NAME = "
                                           "'CARDS' AND LABEL LIKE '%Osoba 1%'"));
    page()->HistoryText->setText("%");
    page()->HistoryFilter->click();
    EXPECT_EQ(page()->HistoryCount->text(), "liczba rekordów: 0");

    // Dates: the last ten days, both ends included.
    page()->HistoryOperator->setCurrentIndex(0);
    page()->HistoryKind->setCurrentIndex(0);
    page()->HistoryText->clear();
    page()->HistorySinceCheck->setChecked(true);
    page()->HistorySince->setDate(QDate::currentDate().addDays(-10));
    page()->HistoryUntilCheck->setChecked(true);
    page()->HistoryUntil->setDate(QDate::currentDate().addDays(-1));
    page()->HistoryFilter->click();
    EXPECT_EQ(page()->HistoryCount->text(), "liczba rekordów: 10");

    // The export: every row the filter selects, values exactly as stored.
    sql("UPDATE HISTORY SET LABEL = 'Jan \"Ż\"; x' WHERE ROW_KEY = 5");
    dialogs.fileNames.enqueue(workPath("historia.csv"));
    page()->HistoryExport->click();
    const QByteArray bytes = readFile(workPath("historia.csv"));
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF\"Czas\";\"Login\""));
    const QString csv = QString::fromUtf8(bytes);
    EXPECT_EQ(csv.count("\r\n"), 10);
    EXPECT_TRUE(csv.contains("\"Jan \"\"Ż\"\"; x\""));
    EXPECT_EQ(page()->HistoryGrid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(dialogs.shown, QStringList({"save: CSV|csv"}));
}

TEST_F(HistoryPageTest, ThePeoplePageShowsAPersonsHistoryWithTheirCards)
{
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES (1, 1, 'Ala', 'Nowak'), (2, 1, 'Ola', 'Kos')");
    startConnected();
    UsersPage* users = form->usersPage();
    users->Edit13->setText("00000000AA");   // a card for the selected person (Kos)
    QTest::keyClick(users->Edit13, Qt::Key_Return);
    clickRow(users->DBGrid3, "Kos", 1);
    users->Edit3->setText("Olga");
    click("Button4");   // "Zmień"
    clickRow(users->DBGrid3, "Nowak", 1);
    users->Edit3->setText("Alicja");
    click("Button4");

    clickRow(users->DBGrid3, "Kos", 1);
    click("PersonHistoryButton");
    EXPECT_EQ(form->AdvOfficePager1->currentIndex(), 6);
    EXPECT_EQ(page()->HistoryPerson->text(), "Osoba: Olga Kos (z kartami)");
    EXPECT_EQ(shown(page()->HistoryGrid, 4), QStringList({"Zmień", "Dodaj kartę"}));
    page()->HistoryAllPeople->click();
    EXPECT_EQ(page()->Rows.rowCount(), 3);
    expectNothingShown();
}

TEST_F(HistoryPageTest, ADatabaseWithoutTheHistoryIsToldOnceAndWorksAsBefore)
{
    sql("DROP TABLE HISTORY");
    createForm();
    connectDatabase();
    EXPECT_EQ(dialogs.shown, QStringList({"notice: " + History::MissingTableText}));
    dialogs.clear();
    connectDatabase();
    expectNothingShown();

    form->usersPage()->Edit6->setText("Ala");
    form->usersPage()->Edit7->setText("Nowak");
    click("Button2");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 1);
    expectNothingShown();
    page()->HistoryFilter->click();
    EXPECT_EQ(dialogs.shown, QStringList({"notice: " + History::MissingTableText}));
}

// Another client removes the person between the choice and "Przypisz do uzytkownika".
TEST_F(HistoryPageTest, ACardGivenToAPersonAnotherClientRemovedStaysFreeAndTheListsFollow)
{
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES (1, 1, 'Ala', 'Nowak'), (2, 1, 'Ola', 'Kos')");
    sql("INSERT INTO CARDS (ID_CARD, ID_USER_FK, CODE) VALUES (1, 0, '00000000AA')");
    startConnected();
    UsersPage* users = form->usersPage();
    clickRow(users->DBGrid3, "Nowak", 1);
    users->AdvOfficePager3->setCurrentIndex(1);   // the cards without owner
    clickRow(users->DBGrid7, "00000000AA");
    sql("UPDATE USERS SET DEL = 1 WHERE ID_USER = 1");
    click("Button16");
    EXPECT_EQ(dialogs.errors(),
              QStringList({"Nie zapisano zmian: tej osoby nie ma już w bazie (usunięto w międzyczasie)."}));
    EXPECT_EQ(scalarInt("SELECT ID_USER_FK FROM CARDS"), 0);
    EXPECT_EQ(counter("CARDS"), 0);
    EXPECT_EQ(shown(users->DBGrid3, 1), QStringList({"Kos"}));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM HISTORY"), 0);
}

// `valdrix history`: one tab-separated line a row, newest first, filtered.
TEST_F(HistoryPageTest, TheHistoryCommandPrintsOneLineARow)
{
    history(6);
    sql("UPDATE HISTORY SET LABEL = 'Jan\tKos\nx' WHERE ROW_KEY = 3");
    createForm();   // its folder holds the Config.ini the command reads
    auto run = [](const QStringList& arguments, int& status) {
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        status = ToolCommands::history(arguments, out, err);
        QByteArray text;
        for (std::FILE* f : {out, err}) {
            std::rewind(f);
            char buffer[4096];
            while (std::size_t n = std::fread(buffer, 1, sizeof buffer, f))
                text.append(buffer, static_cast<qsizetype>(n));
            std::fclose(f);
        }
        return QString::fromUtf8(text).split('\n', Qt::SkipEmptyParts);
    };
    int status = -1;
    const QStringList users = run({"--table", "users", "--login", "a"}, status);
    EXPECT_EQ(status, 0);
    ASSERT_EQ(users.size(), 2);   // rows 5 and 1
    EXPECT_EQ(users[0].split('\t').mid(4, 4), QStringList({"Zmień", "USERS", "5", "Osoba 5"}));
    const QStringList three = run({"--key", "3", "--since", QDate::currentDate().addDays(-3).toString(Qt::ISODate)}, status);
    ASSERT_EQ(three.size(), 1);
    EXPECT_EQ(three[0].split('\t').value(7), "Jan\\tKos\\nx");
    EXPECT_EQ(run({"--until", "2025-02-30"}, status).size(), 1);
    EXPECT_EQ(status, 2);
}

}  // namespace
