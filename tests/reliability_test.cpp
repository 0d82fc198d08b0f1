// Changes that are never half-made: a change and its counter bump as one unit, the
// connection cut at the moment that matters, a dead connection on "Connect", a
// missing table in the connect sequence, overlong values and Config.ini values
// the file cannot hold.
#include "access/AccessPage.h"
#include "access/ScheduleEditor.h"
#include "app/SettingsPage.h"
#include "people/UsersPage.h"
#include "dataaccess/Errors.h"
#include "dataaccess/Transaction.h"
#include "support/AppFixture.h"
#include "support/ConnectionCut.h"
#include "support/Files.h"
#include "ui/BoundGrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <mysql.h>

namespace {

// The unit itself, on a bare connection.
class UnitTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        configure(connection);
    }
    QString groups() { return scalar("SELECT GROUP_CONCAT(NAME ORDER BY ID_GROUP) FROM GROUPS"); }

    Connection connection;
};

TEST_F(UnitTest, OnlyTheOutermostUnitCommitsAndAnyErrorUndoesAll)
{
    {
        Transaction outer(connection);
        {
            Transaction inner(connection);
            connection.execute("INSERT INTO GROUPS (NAME) VALUES ('a')");
            inner.commit();
        }
        EXPECT_EQ(groups(), QString::fromUtf8("Domyślna"));   // not visible outside yet
        connection.execute("INSERT INTO GROUPS (NAME) VALUES ('b')");
        outer.commit();
    }
    EXPECT_EQ(groups(), QString::fromUtf8("Domyślna,a,b"));

    // An error inside an inner unit undoes the outer unit's writes too, and the
    // dataset read inside the unit shows the rows as they stand afterwards.
    Dataset list(connection, "list");
    list.setStatement("SELECT NAME FROM GROUPS ORDER BY ID_GROUP");
    try {
        Transaction outer(connection);
        connection.execute("INSERT INTO GROUPS (NAME) VALUES ('c')");
        list.open();
        EXPECT_EQ(list.rowCount(), 4);
        Transaction inner(connection);
        connection.execute("INSERT INTO NO_SUCH_TABLE VALUES (1)");
        inner.commit();
        outer.commit();
        ADD_FAILURE() << "the statement should have failed";
    } catch (const DatabaseError&) {
    }
    EXPECT_FALSE(connection.inTransaction());
    EXPECT_EQ(groups(), QString::fromUtf8("Domyślna,a,b"));
    EXPECT_EQ(list.rowCount(), 3);
}

TEST_F(UnitTest, ALostConnectionKeepsNothingAndSendsNothingMoreForTheUnit)
{
    connection.open();
    try {
        Transaction unit(connection);
        connection.execute("INSERT INTO GROUPS (NAME) VALUES ('a')");
        killConnection(mysql_thread_id(connection.handle()));
        // A statement that would reconnect and go on without the lost part is refused.
        EXPECT_THROW(connection.execute("INSERT INTO GROUPS (NAME) VALUES ('b')"), DatabaseError);
        EXPECT_FALSE(connection.isOpen());
        EXPECT_THROW(connection.execute("INSERT INTO GROUPS (NAME) VALUES ('c')"), DatabaseError);
        EXPECT_FALSE(connection.isOpen());
        unit.commit();
        ADD_FAILURE() << "the commit should have failed";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.message().contains(QString::fromUtf8("nie została zapisana")))
            << error.message().toStdString();
    }
    EXPECT_EQ(groups(), QString::fromUtf8("Domyślna"));
    // The next change works on a fresh connection.
    Transaction unit(connection);
    connection.execute("INSERT INTO GROUPS (NAME) VALUES ('d')");
    unit.commit();
    EXPECT_EQ(groups(), QString::fromUtf8("Domyślna,d"));
}

// The same, through the real window.
class ReliabilityTest : public AppTest {
protected:
    void start()
    {
        createForm();
        connectDatabase();
        page = form->accessPage();
        editor = page->editor();
    }
    unsigned long programThread() const { return mysql_thread_id(module->Quorvel.handle()); }
    void clickGrid(int col, int row)
    {
        QTest::mouseClick(editor->grid(), Qt::LeftButton, {},
                          QPoint(col * ScheduleGrid::ColumnPitch + 2, row * ScheduleGrid::RowPitch + 10));
    }
    QString template1() { return scalar("SELECT CONCAT_WS(',', D1, D2, D7) FROM PERMISSIONS WHERE ID_PERMISSIONS = 1"); }

    AccessPage* page = nullptr;
    ScheduleEditor* editor = nullptr;
};

const QString Refusal = QString::fromUtf8(
    "Edytor nie zawiera harmonogramu: wybierz szablon z listy albo zaznacz godziny na siatce.");

TEST_F(ReliabilityTest, EditorWithoutScheduleSavesNothing)
{
    sql("INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME, D1, D2, D7) "
        "VALUES (1, 'Biuro', '08:00:16:00', '9', NULL)");
    start();   // the current group has no permission: nothing is loaded
    EXPECT_EQ(editor->startText(0), "");
    click("Button11");
    page->Edit9->setText("Nowy");
    click("Button9");
    EXPECT_EQ(dialogs.shown, QStringList({"notice: " + Refusal, "notice: " + Refusal}));
    EXPECT_EQ(template1(), "08:00:16:00,9");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM PERMISSIONS"), 1);
    EXPECT_EQ(counter("PERMISSIONS"), 0);

    // A loaded template saves its unusual day strings exactly as shown.
    dialogs.clear();
    page->DBGrid5->clickRow(0);
    click("Button11");
    expectNothingShown();
    EXPECT_EQ(template1(), "08:00:16:00,9:,:");
    EXPECT_EQ(counter("PERMISSIONS"), 1);

    // A click in a group without permissions empties the editor again; a drawing fills it.
    page->DBGrid4->clickRow(0);
    click("Button11");
    EXPECT_EQ(dialogs.texts("notice"), QStringList({Refusal}));
    clickGrid(40, 1);
    click("Button9");
    EXPECT_EQ(scalar("SELECT D2 FROM PERMISSIONS WHERE NAME = 'Nowy'"), "10:00:10:15");
    EXPECT_EQ(counter("PERMISSIONS"), 2);
}

TEST_F(ReliabilityTest, SaveRetriedAfterACutAndAReconnectIsRefused)
{
    sql("INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME, D1) VALUES (1, 'Biuro', '08:00:16:00')");
    start();
    page->DBGrid5->clickRow(0);
    clickGrid(40, 1);
    killConnection(programThread());
    click("Button11");
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_FALSE(module->Quorvel.isOpen());

    dialogs.clear();
    connectDatabase();
    expectNothingShown();
    click("Button11");
    EXPECT_EQ(dialogs.texts("notice"), QStringList({Refusal}));
    EXPECT_EQ(scalar("SELECT D1 FROM PERMISSIONS"), "08:00:16:00");
    EXPECT_EQ(counter("PERMISSIONS"), 0);
}

TEST_F(ReliabilityTest, CutInsideTheBumpLeavesNeitherChangeNorBump)
{
    sql("INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME, D1) VALUES (1, 'Biuro', '08:00:16:00')");
    start();
    page->DBGrid5->clickRow(0);
    clickGrid(40, 1);
    sql(ConnectionCut::slowDownUpdatesOf("STATUS", 3));

    {
        ConnectionCut cut(programThread(), ConnectionCut::SleepingInTrigger);
        click("Button11");
        EXPECT_TRUE(cut.happened()) << dialogs.shown.join("\n").toStdString();
    }
    EXPECT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(scalar("SELECT D2 FROM PERMISSIONS"), "00:00:00:00");
    EXPECT_EQ(counter("PERMISSIONS"), 0);

    dialogs.clear();
    connectDatabase();
    page->Edit5->setText("Magazyn");
    {
        ConnectionCut cut(programThread(), ConnectionCut::SleepingInTrigger);
        click("Button7");
        EXPECT_TRUE(cut.happened());
    }
    EXPECT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM GROUPS WHERE NAME = 'Magazyn'"), 0);
    EXPECT_EQ(counter("GROUPS"), 0);
}

TEST_F(ReliabilityTest, BumpFailingOnALiveConnectionKeepsTheChangeAndSaysSo)
{
    start();
    // The row of STATUS gone (the program still holds it as last read), then the table.
    sql("DELETE FROM STATUS");
    page->Edit5->setText("Magazyn");
    click("Button7");
    sql("DROP TABLE STATUS");
    page->Edit5->setText("Biuro");
    click("Button7");
    ASSERT_EQ(dialogs.errors().size(), 2);
    EXPECT_TRUE(dialogs.errors()[0].contains("Record not found")) << dialogs.errors()[0].toStdString();
    EXPECT_TRUE(dialogs.errors()[1].contains("STATUS")) << dialogs.errors()[1].toStdString();
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM GROUPS WHERE NAME IN ('Magazyn', 'Biuro')"), 2);
    EXPECT_FALSE(module->Quorvel.inTransaction());
    EXPECT_TRUE(module->Quorvel.isOpen());
}

// Another client deleted the rows the forms show: each save writes nothing, raises
// no counter and says why. A save that changes no value still finds its row.
TEST_F(ReliabilityTest, SavingARowAnotherClientDeletedWritesNothingAndSaysSo)
{
    sql("INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME, D1) VALUES (1, 'Biuro', '08:00:16:00')");
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES (1, 1, 'Jan', 'Kowalski')");
    sql("INSERT INTO CARDS (ID_CARD, ID_USER_FK, CODE) VALUES (1, 1, '0000000001')");
    sql("INSERT INTO LOCALIZATION (ID, NAME) VALUES (1, 'Hala')");
    sql("INSERT INTO DEVICE (ID_DEVICE, FACTORY, NAME, ID_LOCALIZATION) VALUES (1, 'F1', 'Brama', 1)");
    start();
    page->DBGrid5->clickRow(0);
    form->usersPage()->DBGrid3->clickRow(0);   // Kowalski, and his card in the card list
    const char* saves[] = {"Button11", "Button17", "Button4", "Button18", "Button21"};
    for (const char* save : saves)
        click(save);
    ASSERT_TRUE(dialogs.errors().isEmpty()) << dialogs.errors().join("\n").toStdString();
    const QString counters = "SELECT CONCAT_WS(',', PERMISSIONS, CARDS, USERS, DEVICE, LOCALIZATION) FROM STATUS";
    EXPECT_EQ(scalar(counters), "1,1,1,1,1");

    for (const char* table : {"PERMISSIONS", "CARDS", "USERS", "DEVICE", "LOCALIZATION"})
        sql(QStringLiteral("DELETE FROM %1").arg(table));
    for (const char* save : saves)
        click(save);
    const QString gone = QString::fromUtf8("Nie zapisano zmian: %1 nie ma już w bazie (usunięto w międzyczasie).");
    QStringList expected;
    for (const char* row : {"tego szablonu", "tej karty", "tej osoby", "tego urządzenia", "tej lokalizacji"})
        expected << gone.arg(QString::fromUtf8(row));
    EXPECT_EQ(dialogs.errors(), expected);
    EXPECT_EQ(scalar(counters), "1,1,1,1,1");
    EXPECT_FALSE(module->Quorvel.inTransaction());
    for (const char* table : {"PERMISSIONS", "CARDS", "USERS", "DEVICE", "LOCALIZATION"})
        EXPECT_EQ(scalarInt(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)), 0) << table;
}

TEST_F(ReliabilityTest, FailureHalfWayUndoesTheWholeOperation)
{
    sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (5, 'Piąta')");
    sql("INSERT INTO USERS (ID_GROUP, NAME) VALUES (5, 'a')");
    start();
    sql("RENAME TABLE PERMISSIONS_has_GROUPS TO PHG_AWAY");
    module->Groups.last();   // "Piąta"
    click("Button6");
    EXPECT_EQ(dialogs.errors().size(), 1);
    // The members stay in their group, and the list of people shows it.
    EXPECT_EQ(scalarInt("SELECT ID_GROUP FROM USERS"), 5);
    EXPECT_EQ(scalar("SELECT CONCAT_WS(',', USERS, GROUPS) FROM STATUS"), "0,0");
    EXPECT_EQ(module->Users.integer("ID_GROUP"), 5);
}

TEST_F(ReliabilityTest, ConnectAfterAnUnnoticedCutConnectsAfreshAtOnce)
{
    sql("INSERT INTO GROUPS (NAME) VALUES ('Biuro')");
    start();
    killConnection(programThread());
    statusTexts.clear();
    connectDatabase();
    expectNothingShown();
    EXPECT_EQ(statusTexts, QStringList({TDataModule3::DisconnectedText, TDataModule3::ConnectingText,
                                        TDataModule3::ConnectedText}));
    EXPECT_EQ(page->DBGrid4->model()->rowCount(), 2);
    page->Edit5->setText("Magazyn");
    click("Button7");
    EXPECT_EQ(counter("GROUPS"), 1);
}

TEST_F(ReliabilityTest, MissingGroupsTableSkipsOnlyWhatNeedsIt)
{
    sql("INSERT INTO PERMISSIONS (NAME) VALUES ('Biuro')");
    sql("DROP TABLE GROUPS");
    start();
    // The people's list joins the groups, so it fails too; nothing else is shown.
    EXPECT_EQ(dialogs.shown, QStringList({QString::fromUtf8("connect: Problem z tabelą \"Users\""),
                                          QString::fromUtf8("connect: Problem z tabelą \"GROUPS\"")}));
    // The rest of the sequence ran: the template list is there and the editor was loaded.
    EXPECT_EQ(page->DBGrid5->model()->rowCount(), 1);
    EXPECT_EQ(find<QLabel>("Label38")->text(), "Szablon: ");
}

TEST_F(ReliabilityTest, ConfigValuesTheFileCannotHoldAreRefused)
{
    createForm();
    SettingsPage* settings = form->settingsPage();
    const QString config = workPath("Config.ini");
    const QByteArray before = readFile(config);
    ASSERT_FALSE(before.isEmpty());

    settings->MaskEdit2->setText(QString::fromUtf8("hasło中"));
    click("Button1");
    settings->MaskEdit2->setText("vqx");
    settings->Edit2->setText("Baza\nIP=10.0.0.1");
    click("Button1");
    EXPECT_EQ(dialogs.errors(),
              QStringList({QString::fromUtf8("Nie zapisano Config.ini: pole \"Hasło\" zawiera znak, "
                                             "którego nie ma w kodowaniu Windows-1250."),
                           QString::fromUtf8("Nie zapisano Config.ini: pole \"Nazwa bazy\" zawiera "
                                             "znak końca wiersza.")}));
    EXPECT_EQ(readFile(config), before);

    // Polish letters the code page has are saved.
    settings->Edit2->setText(QString::fromUtf8("Łódź"));
    click("Button1");
    EXPECT_EQ(dialogs.errors().size(), 2);
    EXPECT_TRUE(readFile(config).contains("DATABASE=\xA3\xF3\x64\x9F"));
}

}  // namespace
