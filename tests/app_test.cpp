// The main window, Config.ini, connecting and the event-counter watch.
#include "app/SettingsPage.h"
#include "devices/DevicesPage.h"
#include "events/EventsPage.h"
#include "support/AppFixture.h"
#include "support/Files.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

namespace {

const QStringList TableMessages = {
    QString::fromUtf8("Problem z tabelą \"Devices\""),
    QString::fromUtf8("Problem z tabelę \"Events\""),
    QString::fromUtf8("Problem z tabelą \"Users\""),
    QString::fromUtf8("Problem z tabelą \"GROUPS\""),
    QString::fromUtf8("Problem z tabelą \"PERMISSIONS\" "),
    QString::fromUtf8("Problem z tabelą \"Localization\" "),
    QString::fromUtf8("Problem z tabelą \"STATUS\" "),
};


using WindowTest = AppTest;

TEST_F(WindowTest, StartsDisconnectedWithItsFrame)
{
    createForm();
    EXPECT_EQ(form->windowTitle(), "Valdrix V1.21");   // the project version
    EXPECT_FALSE(module->Quorvel.isOpen());
    EXPECT_TRUE(statusTexts.isEmpty());
    EXPECT_EQ(form->statusText(), "");
    EXPECT_EQ(form->LastEventsCount, 0);

    QTabWidget* pager = find<QTabWidget>("AdvOfficePager1");
    EXPECT_EQ(pager->tabPosition(), QTabWidget::West);
    EXPECT_EQ(pager->currentIndex(), 0);
    const QStringList captions = {QString::fromUtf8("Użytkownicy"), "Uprawnienia grup", "Zdarzenia",
                                  QString::fromUtf8("Urządzenia"), "Ustawienia", "Import", "Historia zmian"};
    const QStringList names = {"AdvOfficePager11", "AdvOfficePager12", "AdvOfficePager13",
                               "AdvOfficePage3", "AdvOfficePage4", "AdvOfficePage1", "HistoryPage"};
    ASSERT_EQ(pager->count(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(pager->tabText(i), captions[i]);
        EXPECT_EQ(qobject_cast<QScrollArea*>(pager->widget(i))->widget()->objectName(), names[i]);
    }
    const QList<QAction*> menus = form->menuBar()->actions();
    ASSERT_EQ(menus.size(), 1);
    EXPECT_EQ(menus[0]->text(), "DATABASE");
    EXPECT_EQ(form->Connect1->text(), "Connect");
    EXPECT_EQ(form->UNCONNECT1->text(), "Unconnect");

    // The initial choices of FormCreate.
    EXPECT_EQ(find<QComboBox>("ComboBox8")->currentText(), QString::fromUtf8("Wejściowy"));
    EXPECT_EQ(find<QComboBox>("ComboBox7")->currentText(), QString::fromUtf8("Wyjśćiowy"));
    EXPECT_EQ(find<QComboBox>("wiegand_a")->currentText(), "34");
    EXPECT_EQ(find<QComboBox>("wiegand_b")->currentText(), "34");
    EXPECT_EQ(find<QComboBox>("ComboBox12")->currentText(), "Wszystkie");
    expectNothingShown();

    // Unconnect on a closed connection does nothing.
    form->UNCONNECT1->trigger();
    EXPECT_TRUE(statusTexts.isEmpty());

    if (qEnvironmentVariableIsSet("VALDRIX_SCREENSHOT_DIR")) {
        form->resize(1100, 700);
        connectDatabase();
        form->grab().save(qEnvironmentVariable("VALDRIX_SCREENSHOT_DIR") + "/window.png");
    }
}

using ConfigTest = AppTest;

TEST_F(ConfigTest, MissingFileGivesDefaultsAndIsWritten)
{
    createForm(false);
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), SettingsPage::DefaultServer);
    EXPECT_EQ(find<QLineEdit>("MaskEdit1")->text(), "vqx");
    EXPECT_EQ(find<QLineEdit>("MaskEdit2")->text(), "vqx");
    EXPECT_EQ(find<QLineEdit>("Edit2")->text(), "Quorvel");
    EXPECT_EQ(readFile(workPath("Config.ini")),
              "[SERVER]\r\nIP=" + SettingsPage::DefaultServer.toLatin1()
                  + "\r\nLogin=vqx\r\npassword=vqx\r\nDATABASE=Quorvel\r\n");
}

TEST_F(ConfigTest, MissingKeysAreAddedAndTheRestOfTheFileKept)
{
    // Windows-1250: "Łódź" in the database name, other sections and comments around it.
    ASSERT_TRUE(writeFile(workPath("Config.ini"),
                          "; ustawienia\n[Other]\nIP=1.2.3.4\n\n[server]\n  database = \xa3\xf3\x64\x9f  \n"
                          "Extra=1\n\n[Last]\nx=y\n"));
    createForm();
    EXPECT_EQ(find<QLineEdit>("Edit2")->text(), QString::fromUtf8("Łódź"));
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), SettingsPage::DefaultServer);
    EXPECT_EQ(readFile(workPath("Config.ini")),
              "; ustawienia\n[Other]\nIP=1.2.3.4\n\n[server]\nDATABASE=\xa3\xf3\x64\x9f\nExtra=1\n"
              "IP=" + SettingsPage::DefaultServer.toLatin1()
                  + "\nLogin=vqx\npassword=vqx\n\n[Last]\nx=y\n");

    // "Zapisz" writes the four fields; a typed Polish letter is stored in Windows-1250.
    find<QLineEdit>("MaskEdit2")->setText(QString::fromUtf8("hasło"));
    click("Button1");
    EXPECT_TRUE(readFile(workPath("Config.ini")).contains("\npassword=has\xb3o\n"));
    expectNothingShown();
}

// A field the file cannot hold as typed keeps every field out of the file,
// also a valid change typed before it.
TEST_F(ConfigTest, ARefusedFieldWritesNoFieldAtAll)
{
    createForm();
    const QByteArray before = readFile(workPath("Config.ini"));
    find<QLineEdit>("Edit1")->setText("127.0.0.99");
    for (const auto& [field, value] : {std::pair{"MaskEdit2", QStringLiteral("tajne ")},
                                       std::pair{"MaskEdit1", QString(2048, QLatin1Char('a'))}}) {
        find<QLineEdit>(field)->setText(value);
        dialogs.clear();
        click("Button1");
        ASSERT_EQ(dialogs.errors().size(), 1) << field;
        EXPECT_TRUE(dialogs.errors()[0].startsWith("Nie zapisano Config.ini: pole ")) << field;
        EXPECT_EQ(readFile(workPath("Config.ini")), before) << field;
        find<QLineEdit>(field)->setText("vqx");
    }
}

TEST_F(ConfigTest, UnwritableFileIsReportedAndTheProgramStarts)
{
    // A folder in the file's place cannot be written, not even by root.
    ASSERT_TRUE(QDir(workDir.path()).mkdir("Config.ini"));
    createForm(false);
    EXPECT_EQ(dialogs.shown, QStringList({"error: Unable to write to ./Config.ini"}));
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), SettingsPage::DefaultServer);
    EXPECT_EQ(find<QLineEdit>("MaskEdit1")->text(), "");
    EXPECT_EQ(find<QLineEdit>("Edit2")->text(), "");
    EXPECT_EQ(find<QComboBox>("ComboBox12")->currentIndex(), -1);   // the rest of FormCreate did not run

    dialogs.clear();
    click("Button1");
    EXPECT_EQ(dialogs.errors(), QStringList({"Unable to write to ./Config.ini"}));
}

TEST_F(ConfigTest, ConnectUsesTheFieldsNotTheFile)
{
    writeConfig(testServerAddress(), "no_such_database");
    createForm();
    sql("CREATE USER IF NOT EXISTS 'vqx_other'@'%' IDENTIFIED BY 'vqx'");
    sql("GRANT ALL PRIVILEGES ON *.* TO 'vqx_other'@'%'");
    find<QLineEdit>("MaskEdit1")->setText("vqx_other");
    find<QLineEdit>("Edit2")->setText(databaseName());
    connectDatabase();
    EXPECT_TRUE(module->Quorvel.isOpen());
    EXPECT_EQ(module->Quorvel.login(), "vqx_other");
    expectNothingShown();
    EXPECT_TRUE(readFile(workPath("Config.ini")).contains("\nLogin=vqx\r\n"));
    EXPECT_TRUE(readFile(workPath("Config.ini")).contains("DATABASE=no_such_database"));
}

using ConnectTest = AppTest;

TEST_F(ConnectTest, UnreachableServerShowsEveryMessageAndFillsNothing)
{
    writeConfig(deadServerAddress(), databaseName());
    createForm();
    connectDatabase();
    QStringList expected = {"connect: Problem z otwarciem bazy danych"};
    for (const QString& message : TableMessages)
        expected << "connect: " + message;
    EXPECT_EQ(dialogs.shown, expected);
    // Each opening made its own attempt.
    EXPECT_EQ(statusTexts.count(TDataModule3::ConnectingText), 8);
    EXPECT_EQ(form->statusText(), TDataModule3::ProblemText);
    EXPECT_EQ(find<QComboBox>("ComboBox1")->count(), 0);
    EXPECT_EQ(find<QComboBox>("ComboBox10")->count(), 0);
    EXPECT_FALSE(module->Quorvel.isOpen());
}

TEST_F(ConnectTest, WrongDatabaseNameFailsAtTheConnectAndEveryOpening)
{
    writeConfig(testServerAddress(), "no_such_database");
    createForm();
    connectDatabase();
    ASSERT_EQ(dialogs.shown.size(), 8);
    EXPECT_EQ(dialogs.shown.first(), "connect: Problem z otwarciem bazy danych");
    EXPECT_EQ(dialogs.texts("connect").mid(1), TableMessages);
    EXPECT_EQ(form->statusText(), TDataModule3::ProblemText);
}

// The described messages, each with the reason of its failure beside it: a wrong
// password and an unreachable server read differently; a missing table names itself.
TEST_F(ConnectTest, EveryConnectMessageGivesTheServersOrTheLibrarysReason)
{
    QStringList expected = {"connect: Problem z otwarciem bazy danych"};
    for (const QString& message : TableMessages)
        expected << "connect: " + message;
    createForm();
    find<QLineEdit>("MaskEdit2")->setText("zle haslo");
    connectDatabase();
    EXPECT_EQ(dialogs.shown, expected);
    ASSERT_EQ(dialogs.connectDetails.size(), 8);
    for (const QString& reason : dialogs.connectDetails)
        EXPECT_TRUE(reason.startsWith("Access denied for user 'vqx'@") && reason.contains("using password: YES"))
            << reason.toStdString();

    dialogs.clear();
    find<QLineEdit>("MaskEdit2")->setText("vqx");
    find<QLineEdit>("Edit1")->setText(deadServerAddress());
    connectDatabase();
    EXPECT_EQ(dialogs.shown, expected);
    ASSERT_EQ(dialogs.connectDetails.size(), 8);
    for (const QString& reason : dialogs.connectDetails)
        EXPECT_TRUE(reason.startsWith("Can't connect to server on '" + deadServerAddress() + "'"))
            << reason.toStdString();

    dialogs.clear();
    sql("DROP TABLE STATUS");
    find<QLineEdit>("Edit1")->setText(testServerAddress());
    connectDatabase();
    EXPECT_EQ(dialogs.shown, QStringList("connect: " + TableMessages.last()));
    EXPECT_EQ(dialogs.connectDetails,
              QStringList("Table '" + databaseName() + ".STATUS' doesn't exist"));
    EXPECT_TRUE(module->Quorvel.isOpen());
}

TEST_F(ConnectTest, ConnectOpensEverythingAndFillsTheGroupLists)
{
    sql("INSERT INTO GROUPS (NAME) VALUES ('Biuro'), ('Ochrona')");
    createForm();
    connectDatabase();
    expectNothingShown();
    EXPECT_EQ(statusTexts, QStringList({TDataModule3::ConnectingText, TDataModule3::ConnectedText}));
    EXPECT_EQ(form->statusText(), QString::fromUtf8("Połączony z bazą"));
    for (Dataset* d : {&module->Device, &module->Events, &module->Users, &module->Groups,
                       &module->Szablony, &module->LOCALIZATION, &module->Status})
        EXPECT_TRUE(d->isOpen()) << d->name().toStdString();
    EXPECT_EQ(find<QComboBox>("ComboBox4")->count(), 3);
    // The fill walked the groups: the last one in name order is current.
    EXPECT_EQ(module->Groups.text("NAME"), "Ochrona");
}

TEST_F(ConnectTest, DatabaseWithoutStatusOpensTheRestAndFailsAtTheBump)
{
    sql("DROP TABLE STATUS");
    createForm();
    connectDatabase();
    EXPECT_EQ(dialogs.shown, QStringList({"connect: " + TableMessages.last()}));
    EXPECT_TRUE(module->Groups.isOpen());

    dialogs.clear();
    find<QLineEdit>("Edit5")->setText("Nowa");
    click("Button7");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM GROUPS WHERE NAME = 'Nowa'"), "1");
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors().first().contains("closed dataset"));
}

TEST_F(ConnectTest, SecondConnectReadsNothingAgain)
{
    createForm();
    connectDatabase();
    sql("INSERT INTO GROUPS (NAME) VALUES ('Późniejsza')");
    QSignalSpy resets(&module->Groups, &Dataset::reset);
    connectDatabase();
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(module->Groups.rowCount(), 1);
    EXPECT_EQ(find<QComboBox>("ComboBox2")->count(), 1);
    EXPECT_EQ(statusTexts.count(TDataModule3::ConnectingText), 1);
}

TEST_F(ConnectTest, UnconnectClosesEverythingAndConnectOpensAfresh)
{
    createForm();
    connectDatabase();
    form->UNCONNECT1->trigger();
    EXPECT_EQ(form->statusText(), TDataModule3::DisconnectedText);
    EXPECT_FALSE(module->Quorvel.isOpen());
    EXPECT_FALSE(module->Groups.isOpen());
    EXPECT_EQ(find<QTableView>("DBGrid4")->model()->rowCount(), 0);   // grids empty
    EXPECT_EQ(find<QComboBox>("ComboBox1")->count(), 1);   // lists keep their entries

    sql("INSERT INTO GROUPS (NAME) VALUES ('Druga')");
    connectDatabase();
    EXPECT_EQ(module->Groups.rowCount(), 2);
    EXPECT_EQ(find<QComboBox>("ComboBox1")->count(), 2);
}

TEST_F(ConnectTest, ChangedLoginClosesAndChangedDatabaseSwitches)
{
    createForm();
    connectDatabase();

    // Only the database name changed: the open connection switches to it.
    const QString other = createExtraDatabase();
    sql(QStringLiteral("INSERT INTO `%1`.GROUPS (NAME) VALUES ('Inna baza')").arg(other));
    find<QLineEdit>("Edit2")->setText(other);
    statusTexts.clear();
    connectDatabase();
    EXPECT_TRUE(statusTexts.isEmpty());
    EXPECT_EQ(module->Groups.rowCount(), 1);   // rows already read stay until re-executed
    module->Groups.reexecute();
    EXPECT_EQ(module->Groups.rowCount(), 2);

    // A database that does not exist ends the sequence with the error box.
    find<QLineEdit>("Edit2")->setText("no_such_database");
    connectDatabase();
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(form->statusText(), TDataModule3::ProblemText);
    EXPECT_TRUE(module->Quorvel.isOpen());

    // A changed login closes the connection at "Connect" and connects again.
    find<QLineEdit>("Edit2")->setText(databaseName());
    find<QLineEdit>("MaskEdit1")->setText("nobody");
    statusTexts.clear();
    dialogs.clear();
    connectDatabase();
    EXPECT_EQ(statusTexts.mid(0, 3), QStringList({TDataModule3::DisconnectedText,
                                                  TDataModule3::ConnectingText,
                                                  TDataModule3::ProblemText}));
    EXPECT_FALSE(module->Quorvel.isOpen());
    EXPECT_EQ(dialogs.shown.size(), 8);
}

TEST_F(ConnectTest, RejectedStatementEndsTheOperationWithTheErrorBox)
{
    createForm();
    connectDatabase();
    sql("RENAME TABLE GROUPS TO GROUPS_GONE");
    find<QLineEdit>("Edit5")->setText("Nowa");
    statusTexts.clear();
    click("Button7");
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors().first().contains("GROUPS"));
    EXPECT_EQ(form->statusText(), TDataModule3::ProblemText);
    EXPECT_TRUE(module->Quorvel.isOpen());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM GROUPS_GONE"), "1");   // nothing was inserted
}

class WatchTest : public AppTest {
protected:
    // One tick of the watch; a refresh it starts runs off the GUI thread, and
    // is waited for.
    void tick()
    {
        form->Timer1Timer();
        form->eventsPage()->waitForWatchRefresh();
    }
};

TEST_F(WatchTest, RefreshesTheEventPageOnlyWhenTheCounterChanges)
{
    sql("INSERT INTO USERS (FIRST_NAME, NAME) VALUES ('Jan', 'Nowak')");
    sql("INSERT INTO DEVICE (NAME) VALUES ('Brama')");
    sql("INSERT INTO EVENTS (ID_USER, ID_DEVICE, TYPE, TIME) SELECT 1, 1, 1, NOW() FROM seq_1_to_8");
    createForm();
    tick();   // disconnected: nothing happens
    EXPECT_FALSE(module->Quorvel.isOpen());
    connectDatabase();
    QSignalSpy refreshes(&module->Events, &Dataset::reset);

    tick();   // STATUS.EVENTS = 0 as last seen: no change
    EXPECT_EQ(refreshes.count(), 0);

    // A change while another page is shown is noted, not shown.
    sql("UPDATE STATUS SET EVENTS = 3");
    tick();
    EXPECT_EQ(form->LastEventsCount, 3);
    EXPECT_EQ(refreshes.count(), 0);
    form->AdvOfficePager1->setCurrentIndex(2);
    tick();
    EXPECT_EQ(refreshes.count(), 0);

    // On the event page the view is refreshed and keeps its row position.
    module->Events.setRecordNo(5);
    const QString fifthBefore = module->Events.text("ID");
    sql("INSERT INTO EVENTS (ID_USER, ID_DEVICE, TYPE, TIME) VALUES (1, 1, 2, NOW())");
    sql("UPDATE STATUS SET EVENTS = 4");
    tick();
    EXPECT_EQ(refreshes.count(), 1);
    EXPECT_EQ(module->Events.recordNo(), 5);
    EXPECT_EQ(module->Events.text("ID").toInt(), fifthBefore.toInt() + 1);

    // After "Unconnect" the watch rests; after "Connect" it goes on at the next change.
    form->UNCONNECT1->trigger();
    sql("UPDATE STATUS SET EVENTS = 5");
    tick();
    EXPECT_EQ(form->LastEventsCount, 4);
    connectDatabase();
    refreshes.clear();
    tick();
    EXPECT_EQ(form->LastEventsCount, 5);
    EXPECT_EQ(refreshes.count(), 1);
    expectNothingShown();
}

TEST_F(WatchTest, MissingStatusIsReportedOnceAndEmptyStatusIsIgnored)
{
    createForm();
    connectDatabase();
    sql("DELETE FROM STATUS");
    form->Timer1Timer();
    expectNothingShown();

    sql("DROP TABLE STATUS");
    for (int tick = 0; tick < 5; ++tick)
        QMetaObject::invokeMethod(form->Timer1, "timeout", Qt::DirectConnection);
    EXPECT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(form->statusText(), TDataModule3::ProblemText);

    // Once the table is back the watch works again, and a new loss is told again.
    sql("CREATE TABLE STATUS (EVENTS INT)");
    sql("INSERT INTO STATUS VALUES (9)");
    form->Timer1Timer();
    EXPECT_EQ(form->LastEventsCount, 9);
    sql("DROP TABLE STATUS");
    QMetaObject::invokeMethod(form->Timer1, "timeout", Qt::DirectConnection);
    EXPECT_EQ(dialogs.errors().size(), 2);
}

TEST_F(WatchTest, SaveGaugeRunsAHundredTicksAndRestartsOnANewSave)
{
    createForm();
    QProgressBar* gauge = find<QProgressBar>("Gauge1");
    EXPECT_FALSE(form->Timer2->isActive());
    form->StartDeviceSaveGauge();
    EXPECT_TRUE(form->Timer2->isActive());
    EXPECT_FALSE(gauge->isHidden());
    for (int tick = 0; tick < 30; ++tick)
        form->Timer2Timer();
    EXPECT_EQ(gauge->value(), 30);
    form->StartDeviceSaveGauge();
    for (int tick = 0; tick < 99; ++tick)
        form->Timer2Timer();
    EXPECT_FALSE(gauge->isHidden());
    EXPECT_EQ(gauge->value(), 99);
    form->Timer2Timer();
    EXPECT_TRUE(gauge->isHidden());
    EXPECT_EQ(gauge->value(), 0);
    EXPECT_FALSE(form->Timer2->isActive());
}

}  // namespace
