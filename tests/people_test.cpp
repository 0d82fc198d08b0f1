// People on the page "Użytkownicy", against the real window and database.
#include "support/ConnectionCut.h"
#include "support/UsersPageTest.h"

#include <mysql.h>

namespace {

using PeopleTest = UsersPageTest;

const QString Exists = QString::fromUtf8("Osoba już istnieje w bazie.");

TEST_F(PeopleTest, AddingAPersonRefusesNamesTakenAlsoByDeletedPeople)
{
    sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro')");
    sql("INSERT INTO USERS (ID_GROUP, FIRST_NAME, NAME, DEL) VALUES (1, 'Jan', 'Kowalski', 1)");
    sql("INSERT INTO USERS (ID_GROUP, FIRST_NAME, NAME) VALUES (1, 'Adam', 'Zięba')");
    start();
    ASSERT_EQ(page->ComboBox2->currentText(), "Biuro");

    // The deleted person's names are taken, in any letter case; the fields are cleared.
    for (const auto& [first, surname] : {std::pair{"Jan", "Kowalski"}, std::pair{"JAN", "kowalski"}}) {
        page->Edit6->setText(first);
        page->Edit7->setText(surname);
        click("Button2");
        EXPECT_EQ(dialogs.texts("notice"),
                  QStringList(QString::fromUtf8("Osoba: %1  %2  już istnieje w bazie.").arg(first, surname)));
        EXPECT_EQ(page->Edit6->text(), "");
        EXPECT_EQ(page->Edit7->text(), "");
        dialogs.clear();
    }
    click("Button2");   // both names empty: nothing, silently
    expectNothingShown();
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 2);
    EXPECT_EQ(counter("USERS"), 0);

    // Names are stored as typed; the list stands on its last row (not the new person).
    page->Edit6->setText(TrickyText);
    page->Edit7->setText("Bartnik");
    click("Button2");
    expectNothingShown();
    EXPECT_EQ(scalar("SELECT FIRST_NAME FROM USERS WHERE NAME = 'Bartnik'"), TrickyText);
    EXPECT_EQ(scalarInt("SELECT ID_GROUP FROM USERS WHERE NAME = 'Bartnik'"), 2);
    EXPECT_EQ(counter("USERS"), 1);
    EXPECT_EQ(shown(page->DBGrid3, 1), QStringList({"Bartnik", QString::fromUtf8("Zięba")}));
    EXPECT_EQ(shown(page->DBGrid3, 2).first(), "Biuro");
    EXPECT_EQ(shown(page->DBGrid3, 3).first(), "0");
    EXPECT_EQ(module->Users.recordNo(), 2);

    // The results of AddUser: the new key, -1 for an existing person, 0 for no names.
    const int id = page->AddUser("", TrickyText, "1");
    EXPECT_EQ(id, scalarInt("SELECT MAX(ID_USER) FROM USERS"));
    EXPECT_EQ(page->AddUser("", TrickyText, "1"), -1);
    EXPECT_EQ(page->AddUser("", "", "1"), 0);
    EXPECT_EQ(counter("USERS"), 2);
}

TEST_F(PeopleTest, ChangingAPersonKeepsTheSelectionAndRefusesTakenNames)
{
    sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro')");
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME, DEL) VALUES "
        "(1, 2, 'Anna', 'Nowak', 0), (2, 1, 'Piotr', 'Zając', 0), (3, 1, 'Ewa', 'Lis', 1)");
    start();
    clickPerson(QString::fromUtf8("Zając"));
    EXPECT_EQ(page->Edit3->text(), "Piotr");
    EXPECT_EQ(page->Edit4->text(), QString::fromUtf8("Zając"));
    EXPECT_EQ(page->ComboBox1->currentText(), QString::fromUtf8("Domyślna"));
    clickPerson("Nowak");
    EXPECT_EQ(page->ComboBox1->currentText(), "Biuro");
    clickPerson(QString::fromUtf8("Zając"));

    // Only the group: the person itself is the one row found.
    page->ComboBox1->setCurrentIndex(0);
    click("Button4");
    expectNothingShown();
    EXPECT_EQ(scalarInt("SELECT ID_GROUP FROM USERS WHERE ID_USER = 2"), 2);
    EXPECT_EQ(module->Users.recordNo(), 2);
    EXPECT_EQ(counter("USERS"), 1);

    // A deleted person's names, and a change of letter case only, are refused.
    for (const auto& [first, surname] : {std::pair{"Ewa", "Lis"}, std::pair{"PIOTR", "Zając"}}) {
        page->Edit3->setText(QString::fromUtf8(first));
        page->Edit4->setText(QString::fromUtf8(surname));
        click("Button4");
        EXPECT_EQ(dialogs.texts("notice"), QStringList(Exists));
        dialogs.clear();
    }
    page->Edit3->clear();
    page->Edit4->clear();
    click("Button4");   // a person keeps a name
    expectNothingShown();
    EXPECT_EQ(scalar("SELECT CONCAT(FIRST_NAME, ' ', NAME) FROM USERS WHERE ID_USER = 2"),
              QString::fromUtf8("Piotr Zając"));

    // New names, stored as typed; the list keeps its record number (now another person).
    page->Edit3->setText(TrickyText);
    page->Edit4->setText("Adamski");
    click("Button4");
    expectNothingShown();
    EXPECT_EQ(scalar("SELECT FIRST_NAME FROM USERS WHERE ID_USER = 2 AND NAME = 'Adamski'"), TrickyText);
    EXPECT_EQ(module->Users.recordNo(), 2);
    EXPECT_EQ(module->Users.text("NAME"), "Nowak");
    EXPECT_EQ(counter("USERS"), 2);
}

TEST_F(PeopleTest, SerialAddNumbersOnAndStopsAtABadNumber)
{
    sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro')");
    sql("INSERT INTO USERS (ID_GROUP, FIRST_NAME, NAME) VALUES (1, '', 'Nowy 8')");
    start();

    // The series box starts without a group: refused, nothing moves.
    ASSERT_EQ(page->ComboBox3->currentIndex(), -1);
    click("Button5");
    EXPECT_EQ(dialogs.texts("notice"), QStringList(UsersPage::NoGroupText));
    EXPECT_EQ(page->Edit11->text(), "1");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 1);
    dialogs.clear();

    page->ComboBox3->setCurrentIndex(0);
    page->Edit10->setText("3");
    page->Edit11->setText("7");
    click("Button5");
    EXPECT_EQ(dialogs.texts("notice"), QStringList(QString::fromUtf8("Osoba:   Nowy 8  już istnieje w bazie.")));
    EXPECT_EQ(column("SELECT CONCAT(ID_GROUP, '[', FIRST_NAME, ']', NAME) FROM USERS WHERE ID_USER > 1 ORDER BY ID_USER"),
              QStringList({"2[]Nowy 7", "2[]Nowy 9"}));
    EXPECT_EQ(page->Edit11->text(), "10");
    EXPECT_EQ(counter("USERS"), 2);   // one per person added
    dialogs.clear();

    // A count or start that is not an integer stops before anybody is added.
    const char* const badNumbers[][3] = {{"2", "x", "x"}, {"", "10", ""}, {"2 ", "10", "2 "}};
    for (const auto& [count, start, bad] : badNumbers) {
        page->Edit10->setText(count);
        page->Edit11->setText(start);
        click("Button5");
        EXPECT_EQ(dialogs.errors(), QStringList(QStringLiteral("'%1' is not a valid integer value").arg(bad)));
        EXPECT_EQ(page->Edit11->text(), start);
        dialogs.clear();
    }
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 3);

    // A count below one adds nobody and moves the start by the count.
    page->Edit10->setText("-2");
    page->Edit11->setText("10");
    click("Button5");
    expectNothingShown();
    EXPECT_EQ(page->Edit11->text(), "8");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 3);
}

// The connection is cut inside the third person's unit: the two before stay, the
// third is not stored, and the error says where the series stopped and how many
// people it had added. A stem holding "%1" is quoted as typed.
TEST_F(PeopleTest, ASerialAddCutHalfWaySaysHowManyPeopleItAdded)
{
    sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro')");
    start();
    page->ComboBox3->setCurrentIndex(0);
    page->Edit8->setText("Nowy %1");
    page->Edit10->setText("5");
    page->Edit11->setText("1");
    sql("CREATE TRIGGER slow_third BEFORE UPDATE ON STATUS FOR EACH ROW DO IF(NEW.USERS = 3, SLEEP(3), 0)");
    {
        ConnectionCut cut(mysql_thread_id(module->Quorvel.handle()), "DO IF(NEW.USERS = 3%");
        click("Button5");
        ASSERT_TRUE(cut.happened()) << dialogs.shown.join("\n").toStdString();
    }
    ASSERT_EQ(dialogs.errors().size(), 1) << dialogs.shown.join("\n").toStdString();
    EXPECT_TRUE(dialogs.errors().first().endsWith(
        QString::fromUtf8("\n\nDodawanie seryjne przerwane przy osobie „Nowy %1 3” (3 z 5); dodano osób: 2.")))
        << dialogs.errors().first().toStdString();
    EXPECT_EQ(column("SELECT NAME FROM USERS ORDER BY ID_USER"), QStringList({"Nowy %1 1", "Nowy %1 2"}));
    EXPECT_EQ(counter("USERS"), 2);
    EXPECT_EQ(page->Edit11->text(), "1");   // the fields stay for the operator to go on from

    // A series of one that fails says only why.
    dialogs.clear();
    connectDatabase();
    page->ComboBox3->setCurrentIndex(0);
    page->Edit10->setText("1");
    page->Edit11->setText("3");
    {
        ConnectionCut cut(mysql_thread_id(module->Quorvel.handle()), "DO IF(NEW.USERS = 3%");
        click("Button5");
        ASSERT_TRUE(cut.happened()) << dialogs.shown.join("\n").toStdString();
    }
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_FALSE(dialogs.errors().first().contains("Dodawanie seryjne")) << dialogs.errors().first().toStdString();
    EXPECT_EQ(counter("USERS"), 2);
}

TEST_F(PeopleTest, DeletingAPersonFreesTheCardsFirst)
{
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES (1, 1, 'Jan', 'Kowalski'), (2, 1, 'Adam', 'Nowak')");
    sql("INSERT INTO CARDS (ID_USER_FK, CODE) VALUES (1, 'J1'), (1, 'J2'), (2, 'N1'), (0, 'F1')");
    logBumps();
    start();
    clickPerson("Nowak");
    ASSERT_EQ(shown(page->DBGrid7, 0), QStringList({"N1"}));

    dialogs.questionAnswers.enqueue(false);
    click("Button3");
    EXPECT_EQ(dialogs.texts("question"), QStringList(QString::fromUtf8("Czy usunąć użytkownika?")));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS WHERE DEL = 1"), 0);
    EXPECT_EQ(bumps(), "");

    click("Button3");
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_EQ(column("SELECT CONCAT(CODE, ':', ID_USER_FK) FROM CARDS ORDER BY ID_CARD"),
              QStringList({"J1:1", "J2:1", "N1:0", "F1:0"}));
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(ID_USER) FROM USERS WHERE DEL = 1"), "2");
    EXPECT_EQ(bumps(), "CARDS USERS");
    // The card list was reloaded for the person, who has none now; the list is on its first row.
    EXPECT_EQ(module->Karty.rowCount(), 0);
    EXPECT_EQ(shown(page->DBGrid3, 1), QStringList({"Kowalski"}));
    EXPECT_EQ(module->Users.recordNo(), 1);
}

TEST_F(PeopleTest, ADeletionThatFailsHalfWayLeavesNothingDone)
{
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES (1, 1, 'Jan', 'Kowalski')");
    sql("INSERT INTO CARDS (ID_USER_FK, CODE) VALUES (1, 'J1'), (1, 'J2')");
    sql("CREATE TRIGGER USERS_LOCKED BEFORE UPDATE ON USERS FOR EACH ROW "
        "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'osoby zablokowane'");
    start();
    clickPerson("Kowalski");
    click("Button3");
    EXPECT_EQ(dialogs.errors(), QStringList("osoby zablokowane"));
    // The cards were freed and the counter raised before the failure: both undone.
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(ID_USER_FK) FROM CARDS"), "1,1");
    EXPECT_EQ(counter("CARDS"), 0);
    EXPECT_EQ(scalarInt("SELECT DEL FROM USERS"), 0);
    // The lists show what is stored.
    EXPECT_EQ(shown(page->DBGrid7, 0), QStringList({"J1", "J2"}));
    EXPECT_EQ(shown(page->DBGrid3, 3), QStringList({"2"}));
}

TEST_F(PeopleTest, DeletedPeopleViewAndRestore)
{
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME, DEL) VALUES "
        "(1, 1, 'Jan', 'Kowalski', 0), (2, 1, 'Ewa', 'Lis', 1), (3, 1, 'Olga', 'Bąk', 1)");
    sql("INSERT INTO CARDS (ID_USER_FK, CODE) VALUES (1, 'J1')");
    start();
    EXPECT_FALSE(page->Button32->isEnabled());

    page->CheckBox14->click();
    EXPECT_TRUE(page->Button32->isEnabled());
    for (QPushButton* b : {page->Button3, page->Button15, page->Button16})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_EQ(shown(page->DBGrid3, 1), QStringList({QString::fromUtf8("Bąk"), "Lis"}));
    EXPECT_EQ(shown(page->DBGrid3, 3), QStringList({"", ""}));   // no card count here

    // Card entry and overwrite work on a deleted person; the count is asked of the database.
    clickPerson("Lis");
    EXPECT_EQ(page->Edit3->text(), "Ewa");
    enterCode("e1");
    page->Edit14->setText("Lis E.");
    clickRow(page->DBGrid7, "00000000E1");
    click("Button17");
    expectNothingShown();
    EXPECT_EQ(scalar("SELECT CONCAT(ID_USER_FK, ',', PRINT, ',', KARENCJA_OD) FROM CARDS WHERE CODE = '00000000E1'"),
              "2,Lis E.,1000-01-01");

    // Restore: the person leaves this view; the list goes back to its first row.
    click("Button32");
    EXPECT_EQ(scalarInt("SELECT DEL FROM USERS WHERE ID_USER = 2"), 0);
    EXPECT_EQ(shown(page->DBGrid3, 1), QStringList({QString::fromUtf8("Bąk")}));
    EXPECT_EQ(counter("USERS"), 1);

    page->CheckBox14->click();
    EXPECT_FALSE(page->Button32->isEnabled());
    EXPECT_TRUE(page->Button3->isEnabled());
    EXPECT_EQ(shown(page->DBGrid3, 1), QStringList({"Kowalski", "Lis"}));
    EXPECT_EQ(shown(page->DBGrid3, 3), QStringList({"1", "1"}));

    // The view stays chosen across a new connection.
    page->CheckBox14->click();
    form->UNCONNECT1->trigger();
    connectDatabase();
    EXPECT_EQ(shown(page->DBGrid3, 1), QStringList({QString::fromUtf8("Bąk")}));
}

// An empty list of people or of cards: no statement goes out without a number.
TEST_F(PeopleTest, OperationsWithoutASelectionDoNothing)
{
    start();
    page->Edit3->setText("Jan");
    page->Edit14->setText("x");
    for (const char* button : {"Button4", "Button3", "Button17", "Button15", "Button14", "Button28"})
        click(button);
    page->CheckBox14->click();
    click("Button32");
    EXPECT_TRUE(dialogs.errors().isEmpty()) << dialogs.errors().join("\n").toStdString();
    EXPECT_TRUE(dialogs.texts("notice").isEmpty());
    EXPECT_EQ(scalar("SELECT CONCAT_WS(',', USERS, CARDS) FROM STATUS"), "0,0");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 0);
    EXPECT_EQ(page->Edit3->text(), "Jan");
}

TEST_F(PeopleTest, NothingHappensWithoutAConnection)
{
    createForm();
    page = form->usersPage();
    page->Edit6->setText("Jan");
    page->Edit3->setText("Jan");
    page->Edit13->setText("12");
    page->CheckBox4->setChecked(true);
    for (const char* button : {"Button2", "Button4", "Button3", "Button32", "Button8", "Button17",
                               "Button16", "Button15", "Button14", "Button28"})
        click(button);
    enterCode("34");
    page->AdvOfficePager3->setCurrentIndex(0);
    page->CheckBox14->click();
    // The serial add creates nobody but the start number still moves on.
    click("Button5");
    EXPECT_EQ(page->Edit11->text(), "6");
    EXPECT_EQ(dialogs.shown.filter("question: ").size(), dialogs.shown.size())
        << dialogs.shown.join("\n").toStdString();
    EXPECT_FALSE(module->Quorvel.isOpen());
    EXPECT_TRUE(statusTexts.isEmpty());
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS") + scalarInt("SELECT COUNT(*) FROM CARDS"), 0);
}

}  // namespace
