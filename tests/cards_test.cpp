// Cards on the page "Użytkownicy", against the real window and database.
#include "support/UsersPageTest.h"

#include "ui/ErrorGuard.h"

#include <QLocale>
#include <utility>

namespace {

class CardsTest : public UsersPageTest {
protected:
    void SetUp() override
    {
        UsersPageTest::SetUp();
        sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES "
            "(1, 1, 'Jan', 'Kowalski'), (2, 1, 'Adam', 'Nowak'), (3, 1, 'Ewa', 'Zych')");
    }

    QString card(const QString& code)
    {
        return scalar("SELECT CONCAT_WS(',', ID_USER_FK, TYPE, KARENCJA_OD, KARENCJA_DO) FROM CARDS "
                      "WHERE CODE = '" + code + "' COLLATE utf8mb4_bin");
    }

    // Edits a cell of the card grid as the operator does: F2, type, Enter.
    void editCell(int row, int column, const QString& text)
    {
        AppTest::editCell(page->DBGrid7, row, column, text);
    }

    QString personsCount(const QString& surname)
    {
        const int row = static_cast<int>(shown(page->DBGrid3, 1).indexOf(surname));
        return page->DBGrid3->model()->index(row, 3).data().toString();
    }
};

TEST_F(CardsTest, ConnectListsFreeCardsAndTheListOfPeopleSwitchesToThePersonsCards)
{
    sql("INSERT INTO CARDS (ID_USER_FK, CODE) VALUES (0, 'F1'), (1, 'J1'), (0, 'F2')");
    start();
    EXPECT_EQ(page->AdvOfficePager3->currentIndex(), 1);
    EXPECT_EQ(shown(page->DBGrid7, 0), QStringList({"F1", "F2"}));

    clickPerson("Kowalski");
    EXPECT_EQ(page->AdvOfficePager3->currentIndex(), 0);
    EXPECT_EQ(shown(page->DBGrid7, 0), QStringList({"J1"}));
    EXPECT_EQ(page->Edit3->text(), "Jan");

    // A key released in the list shows the person the selection moved to.
    QTest::keyClick(page->DBGrid3, Qt::Key_Down);
    EXPECT_EQ(page->Edit3->text(), "Adam");
    EXPECT_EQ(shown(page->DBGrid7, 0), QStringList());

    page->AdvOfficePager3->setCurrentIndex(1);
    EXPECT_EQ(shown(page->DBGrid7, 0), QStringList({"F1", "F2"}));
    expectNothingShown();
}

TEST_F(CardsTest, AFailedListOfPeopleCausesNoMoreMessagesAtConnect)
{
    sql("INSERT INTO CARDS (ID_USER_FK, CODE) VALUES (0, 'F1')");
    sql("ALTER TABLE USERS DROP COLUMN FIRST_NAME");   // the people and the events fail
    createForm();
    connectDatabase();
    EXPECT_EQ(dialogs.shown, QStringList({QString::fromUtf8("connect: Problem z tabelę \"Events\""),
                                          QString::fromUtf8("connect: Problem z tabelą \"Users\"")}));
    page = form->usersPage();
    EXPECT_EQ(shown(page->DBGrid7, 0), QStringList({"F1"}));
    page->AdvOfficePager3->setCurrentIndex(0);   // needs the list of people: nothing
    EXPECT_EQ(dialogs.shown.size(), 2);
}

TEST_F(CardsTest, EnterUpperCasesAndNormalisesTheButtonOnlyNormalises)
{
    start();
    clickPerson("Nowak");
    page->Edit14->setText(TrickyText);
    enterCode("1a2b");
    EXPECT_EQ(page->Edit13->text(), "");
    EXPECT_EQ(card("0000001A2B"), "2,1,2010-01-01,2030-12-31");
    EXPECT_EQ(scalar("SELECT PRINT FROM CARDS"), TrickyText);
    EXPECT_EQ(shown(page->DBGrid7, 0), QStringList({"0000001A2B"}));
    EXPECT_EQ(personsCount("Nowak"), "1");
    EXPECT_EQ(module->Users.recordNo(), 2);
    EXPECT_EQ(counter("CARDS"), 1);

    page->Edit13->setText("3c4d");
    click("Button8");
    EXPECT_EQ(page->Edit13->text(), "");
    EXPECT_EQ(card("0000003c4d"), "2,1,2010-01-01,2030-12-31");

    enterCode("123456789012");   // the last ten
    enterCode("abcdefghij");
    enterCode(QString::fromUtf8("ąb'%"));   // only ASCII letters change case
    EXPECT_EQ(card("3456789012"), "2,1,2010-01-01,2030-12-31");
    EXPECT_EQ(card("ABCDEFGHIJ"), "2,1,2010-01-01,2030-12-31");
    EXPECT_EQ(scalar("SELECT CODE FROM CARDS ORDER BY ID_CARD DESC LIMIT 1"), QString::fromUtf8("000000ąB'%"));

    enterCode("");
    click("Button8");
    expectNothingShown();
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM CARDS"), 5);
    EXPECT_EQ(counter("CARDS"), 5);
    EXPECT_EQ(personsCount("Nowak"), "5");
}

TEST_F(CardsTest, FixedDatesDifferForAddAndOverwriteAndPickerDatesAreYearMonthDay)
{
    start();
    clickPerson("Kowalski");
    enterCode("1");
    enterCode("2");
    EXPECT_EQ(card("0000000002"), "1,1,2010-01-01,2030-12-31");

    clickRow(page->DBGrid7, "0000000002");
    page->Edit14->setText("Kowalski J.");
    click("Button17");
    EXPECT_EQ(card("0000000002"), "1,1,1000-01-01,2200-12-31");
    EXPECT_EQ(scalar("SELECT PRINT FROM CARDS WHERE CODE = '0000000002'"), "Kowalski J.");
    EXPECT_EQ(card("0000000001"), "1,1,2010-01-01,2030-12-31");
    EXPECT_EQ(module->Karty.recordNo(), 2);
    EXPECT_EQ(counter("CARDS"), 3);

    // Whatever the workstation's date format, the pickers go out as year-month-day.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    page->CheckBox1->setChecked(false);
    page->DateTimePicker1->setDate(QDate(2024, 3, 5));
    page->DateTimePicker2->setDate(QDate(2024, 12, 31));
    click("Button17");
    enterCode("3");
    QLocale::setDefault(previous);
    EXPECT_EQ(card("0000000002"), "1,1,2024-03-05,2024-12-31");
    EXPECT_EQ(card("0000000003"), "1,1,2024-03-05,2024-12-31");
    expectNothingShown();
}

TEST_F(CardsTest, EnterMovesToTheNextPersonWhateverTheResult)
{
    start();
    page->CheckBox4->setChecked(true);
    clickPerson("Kowalski");
    enterCode("1");
    EXPECT_EQ(card("0000000001"), "1,1,2010-01-01,2030-12-31");
    EXPECT_EQ(module->Users.text("NAME"), "Nowak");
    EXPECT_EQ(page->Edit3->text(), "Jan");   // the change page is not refreshed

    enterCode("1");   // exists: the message, and still the next person
    EXPECT_EQ(dialogs.texts("notice").size(), 1);
    EXPECT_EQ(module->Users.text("NAME"), "Zych");
    enterCode("");    // at the last person the selection stays
    EXPECT_EQ(module->Users.recordNo(), 3);
    enterCode("2");
    EXPECT_EQ(card("0000000002"), "3,1,2010-01-01,2030-12-31");
    EXPECT_EQ(module->Users.recordNo(), 3);

    // "Dodaj kartę" never moves.
    page->Edit13->setText("4");
    module->Users.first();
    click("Button8");
    EXPECT_EQ(module->Users.recordNo(), 1);
}

TEST_F(CardsTest, ExistingCodesAndTheOwnerLookUp)
{
    sql("INSERT INTO CARDS (ID_USER_FK, CODE) VALUES (1, '00000000AA'), (0, '00000000BB')");
    start();
    clickPerson("Nowak");
    enterCode("aa");
    enterCode("bb");
    page->Edit13->setText("00000000aa");   // codes compare as the database does
    click("Button8");
    EXPECT_EQ(dialogs.texts("notice"),
              QStringList({QString::fromUtf8("Karta z kodem: 00000000AA już istnieje i nalezy do: Jan Kowalski"),
                           QString::fromUtf8("Karta z kodem: 00000000BB już istnieje i nalezy do:  "),
                           QString::fromUtf8("Karta z kodem: 00000000aa już istnieje i nalezy do: Jan Kowalski")}));
    EXPECT_EQ(page->Edit13->text(), "");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM CARDS"), 2);
    EXPECT_EQ(counter("CARDS"), 0);
    dialogs.clear();

    // "Czyja karta" takes the code as typed: without the leading zeros it finds nothing.
    for (const QString& code : {QStringLiteral("00000000AA"), QStringLiteral("00000000BB"),
                                QStringLiteral("AA"), TrickyText}) {
        page->Edit17->setText(code);
        click("Button33");
    }
    EXPECT_EQ(dialogs.texts("notice"),
              QStringList({"Karta z kodem: 00000000AA nalezy do: Jan Kowalski", "Karta nie jest przypisana",
                           "Karta nie jest przypisana", "Karta nie jest przypisana"}));
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(CardsTest, GivingTakingAwayAndDeletingCards)
{
    sql("INSERT INTO CARDS (ID_USER_FK, CODE) VALUES (0, 'F1'), (0, 'F2'), (0, 'F3')");
    start();
    clickPerson("Nowak");
    page->AdvOfficePager3->setCurrentIndex(1);
    clickRow(page->DBGrid7, "F2");
    click("Button16");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(CODE) FROM CARDS WHERE ID_USER_FK = 2"), "F2");
    EXPECT_EQ(shown(page->DBGrid7, 0), QStringList({"F1", "F3"}));
    EXPECT_EQ(personsCount("Nowak"), "1");
    EXPECT_EQ(module->Users.recordNo(), 2);
    EXPECT_EQ(counter("CARDS"), 1);

    clickRow(page->DBGrid7, "F3");
    dialogs.questionAnswers.enqueue(false);
    click("Button14");
    click("Button14");
    EXPECT_EQ(dialogs.texts("question"), QStringList(2, QString::fromUtf8("Czy usunąć kartę z systemu?")));
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(CODE ORDER BY CODE) FROM CARDS"), "F1,F2");
    EXPECT_EQ(counter("CARDS"), 2);
    dialogs.clear();

    click("Button28");
    EXPECT_EQ(dialogs.texts("question"), QStringList(QString::fromUtf8("Czy usunąć nieprzypisane karty z systemu?")));
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(CODE) FROM CARDS"), "F2");
    EXPECT_EQ(shown(page->DBGrid7, 0), QStringList());
    click("Button28");   // an empty list: nothing after the question
    EXPECT_EQ(counter("CARDS"), 3);
    click("Button16");   // nothing to give, yet the counter moves
    EXPECT_EQ(counter("CARDS"), 4);

    clickPerson("Nowak");
    ASSERT_EQ(shown(page->DBGrid7, 0), QStringList({"F2"}));
    click("Button15");
    EXPECT_EQ(scalarInt("SELECT ID_USER_FK FROM CARDS"), 0);
    EXPECT_EQ(shown(page->DBGrid7, 0), QStringList());
    EXPECT_EQ(personsCount("Nowak"), "0");
    EXPECT_EQ(counter("CARDS"), 5);
    click("Button15");   // no card, no count: nothing
    click("Button17");
    EXPECT_EQ(counter("CARDS"), 5);
    EXPECT_TRUE(dialogs.errors().isEmpty()) << dialogs.errors().join("\n").toStdString();
}

TEST_F(CardsTest, ACardAddedWithAnEmptyListOfPeopleHasNoOwner)
{
    sql("DELETE FROM USERS");
    start();
    enterCode("77");
    EXPECT_EQ(card("0000000077"), "0,1,2010-01-01,2030-12-31");
    EXPECT_EQ(shown(page->DBGrid7, 0), QStringList({"0000000077"}));
    expectNothingShown();
}

TEST_F(CardsTest, GridEditsAreWrittenAndARefusedValueShowsTheStoredOne)
{
    sql("INSERT INTO CARDS (ID_USER_FK, CODE, PRINT, KARENCJA_OD, KARENCJA_DO) "
        "VALUES (1, 'J1', 'Druk', '2010-01-01', '2030-12-31')");
    start();
    clickPerson("Kowalski");
    ASSERT_EQ(shown(page->DBGrid7, 0), QStringList({"J1"}));

    editCell(0, 1, "2019-02-30");
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors().first().contains("2019-02-30")) << dialogs.errors().first().toStdString();
    EXPECT_EQ(card("J1"), "1,1,2010-01-01,2030-12-31");
    EXPECT_EQ(page->DBGrid7->model()->index(0, 1).data().toString(), "2010-01-01");
    dialogs.clear();

    editCell(0, 1, "2020-05-06");
    editCell(0, 2, "");           // no end date
    editCell(0, 3, TrickyText);
    expectNothingShown();
    EXPECT_EQ(card("J1"), "1,1,2020-05-06");
    EXPECT_EQ(scalar("SELECT PRINT FROM CARDS"), TrickyText);
    EXPECT_EQ(shown(page->DBGrid7, 1), QStringList({"2020-05-06"}));
    EXPECT_EQ(shown(page->DBGrid7, 3), QStringList({TrickyText}));
    EXPECT_EQ(counter("CARDS"), 0);   // grid edits raise no counter
}

// The error box takes the focus from the cell editor, which then commits the same
// text again while the box is open: that commit neither writes nor shows a box.
TEST_F(CardsTest, ACommitWhileTheErrorBoxIsOpenIsIgnored)
{
    sql("INSERT INTO CARDS (ID_USER_FK, CODE, KARENCJA_OD) VALUES (0, 'F1', '2010-01-01')");
    start();
    ScriptedDialogs boxes;
    ErrorGuard guard(boxes);
    DatasetModel model(module->Karty, {{"KARENCJA_OD", "od", true}});
    model.setEditGuard(&guard);
    const QModelIndex cell = model.index(0, 0);
    bool second = true;
    bool committedAgain = false;
    boxes.whileShown = [&](const QString& kind, const QString&) {
        if (kind == "error" && !std::exchange(committedAgain, true))
            second = model.setData(cell, "2019-02-31", Qt::EditRole);
    };
    EXPECT_FALSE(model.setData(cell, "2019-02-31", Qt::EditRole));
    EXPECT_FALSE(second);
    EXPECT_EQ(boxes.errors().size(), 1);
    EXPECT_EQ(cell.data().toString(), "2010-01-01");
}

}  // namespace
