// The export of the filtered events to CSV and XML files, through the real
// window, dialogs and database.
#include "events/EventCsv.h"
#include "events/EventExport.h"
#include "events/EventStatements.h"
#include "text/Windows1250.h"
#include "events/EventsPage.h"
#include "support/AppFixture.h"
#include "support/Files.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <atomic>
#include <future>

namespace {

const QString ExpectedXml = QFileInfo(QStringLiteral(__FILE__)).dir().filePath("data/events_export.xml");

class ExportTest : public AppTest {
protected:
    void start()
    {
        startConnected();
        page = form->eventsPage();
    }
    // Presses an export button and answers its file dialog with `file`.
    QByteArray exportTo(const char* button, const QString& file)
    {
        const QString path = workPath(file);
        dialogs.fileNames.enqueue(path);
        click(button);
        page->waitForExport();
        return QFile::exists(path) ? readFile(path) : QByteArray();
    }
    QByteArray csv(const QString& text) const { return Windows1250::encode(text); }

    EventsPage* page = nullptr;
};

const QString Header = QString::fromUtf8(
    "Data i czas;imię;nazwisko;zdarzenie;nazwa kontrolera;nr kontrolera;typ;nazwa głowicy");

TEST_F(ExportTest, NoMatchingEventsGiveTheHeaderAloneAndNoRows)
{
    start();
    EXPECT_EQ(exportTo("Button30", "puste.csv"), csv(Header));
    const QByteArray xml = exportTo("Button31", "puste.xml");
    EXPECT_TRUE(xml.endsWith("  </s:Schema>\r\n  <rs:data />\r\n</xml>")) << xml.constData();
    EXPECT_EQ(dialogs.texts("save"), QStringList({"CSV|csv", "XML|xml"}));
    EXPECT_EQ(page->Label61->text(), QString::fromUtf8("liczba rekordów: 0"));
    EXPECT_EQ(page->Label62->text(), "1");
    EXPECT_EQ(dialogs.errors(), QStringList());
}

TEST_F(ExportTest, EveryFilteredEventNewestFirstWhateverPageIsShown)
{
    sql("INSERT INTO USERS (FIRST_NAME, NAME) VALUES ('Jan', 'Nowak')");
    sql("INSERT INTO DEVICE (NAME) VALUES ('Brama')");
    sql("INSERT INTO EVENTS (ID_USER, ID_GROUP, ID_DEVICE, TYPE, TIME, SERIAL, CANAL, HEAD) "
        "SELECT 1, 1, 1, 1 + seq % 2, '2024-05-01' + INTERVAL seq HOUR, seq, '1', 'A' FROM seq_1_to_250");
    start();
    click("Button27");
    click("BitBtn4");   // page 3 of 3
    ASSERT_EQ(module->Events.rowCount(), 50);
    const QString gridStatement = module->Events.statement();

    const QList<QByteArray> lines = exportTo("Button30", "wszystkie.csv").split('\n');
    ASSERT_EQ(lines.size(), 251);
    EXPECT_EQ(lines[1], csv(QString::fromUtf8("2024-05-11 10:00:00;Jan;Nowak;Wejście;Brama;'250';1;A\r")));
    EXPECT_EQ(lines[250], csv(QString::fromUtf8("2024-05-01 01:00:00;Jan;Nowak;Wyjście;Brama;'1';1;A")));

    const QByteArray xml = exportTo("Button31", "wszystkie.xml");
    EXPECT_EQ(xml.count("<z:row "), 250);
    EXPECT_LT(xml.indexOf("<z:row ID='250' "), xml.indexOf("<z:row ID='249' "));

    // An export refreshes the counts for its filter and leaves the grid as it was.
    page->ComboBox12->setCurrentIndex(2);
    EXPECT_EQ(exportTo("Button30", "wyjscia.csv").count('\n'), 125);
    EXPECT_EQ(page->Label61->text(), QString::fromUtf8("liczba rekordów: 125"));
    EXPECT_EQ(page->Label62->text(), "2");
    EXPECT_EQ(module->Events.statement(), gridStatement);
    EXPECT_EQ(module->Events.rowCount(), 50);
    EXPECT_EQ(page->Edit18->text(), "3");
}

// Two events with an apostrophe and Polish letters in the name, the five XML
// specials, a null SERIAL, a null HEAD, and one at exact midnight.
TEST_F(ExportTest, SmallFixedSetWrittenByteForByte)
{
    sql("INSERT INTO USERS (ID_USER, FIRST_NAME, NAME) VALUES (1, 'Łucja', 'O''Brien-Wąsik')");
    sql("INSERT INTO DEVICE (ID_DEVICE, NAME) VALUES (1, 'Brama <główna> & furtka')");
    sql("INSERT INTO EVENTS (ID, ID_USER, ID_GROUP, ID_DEVICE, TYPE, TIME, SERIAL, CANAL, HEAD) VALUES "
        "(1, 1, 1, 1, 1, '2024-03-01 00:00:00', '12345', '1', NULL),"
        "(2, 1, 1, 1, 2, '2024-02-29 23:59:59', NULL, '2', 'Wyjście \"B\"')");
    start();

    const QByteArray xml = exportTo("Button31", "zdarzenia.xml");
    EXPECT_EQ(xml, readFile(ExpectedXml)) << xml.constData();

    const QByteArray expectedCsv = csv(
        Header + QString::fromUtf8(
                     "\r\n2024-02-29 23:59:59;Łucja;O'Brien-Wąsik;Wyjście;Brama <główna> & furtka;'';2;Wyjście \"B\""
                     "\r\n2024-03-01;Łucja;O'Brien-Wąsik;Wejście;Brama <główna> & furtka;'12345';1;"));
    const QByteArray written = exportTo("Button30", "zdarzenia.csv");
    EXPECT_EQ(written, expectedCsv);
    EXPECT_TRUE(written.contains("\xa3" "ucja;O'Brien-W\xb9sik"));   // one byte per Polish letter

    // Characters that Windows-1250 lacks become one "?" each.
    sql("UPDATE USERS SET FIRST_NAME = 'Жанна 😀 €'");
    EXPECT_TRUE(exportTo("Button30", "zdarzenia.csv").contains("\r\n2024-03-01;????? ? \x80;O'Brien"));
}

TEST_F(ExportTest, ExistingFileIsReplacedAndAFileThatCannotBeCreatedIsAnError)
{
    sql("INSERT INTO USERS (FIRST_NAME, NAME) VALUES ('Jan', 'Nowak')");
    sql("INSERT INTO DEVICE (NAME) VALUES ('Brama')");
    sql("INSERT INTO EVENTS (ID_USER, ID_DEVICE, TYPE, TIME) VALUES (1, 1, 1, '2024-01-01 10:00:00')");
    start();
    ASSERT_TRUE(writeFile(workPath("stary.csv"), QByteArray(5000, 'x')));
    EXPECT_EQ(exportTo("Button30", "stary.csv").count('\n'), 1);
    EXPECT_TRUE(dialogs.texts("question").isEmpty());

    // A folder where a file stands: nothing is written, the reason is told,
    // and the counts were refreshed before.
    for (const char* button : {"Button30", "Button31"}) {
        dialogs.clear();
        page->Label61->setText("---");
        const QString path = workPath("stary.csv/nowy.txt");
        dialogs.fileNames.enqueue(path);
        click(button);
        page->waitForExport();
        ASSERT_EQ(dialogs.errors().size(), 1) << button;
        EXPECT_TRUE(dialogs.errors().first().contains(path)) << dialogs.errors().first().toStdString();
        EXPECT_TRUE(dialogs.errors().first().contains("Not a directory")) << dialogs.errors().first().toStdString();
        EXPECT_EQ(page->Label61->text(), QString::fromUtf8("liczba rekordów: 1"));
    }
    EXPECT_EQ(readFile(workPath("stary.csv")).count('\n'), 1);
    EXPECT_EQ(QDir(workDir.path()).entryList(QDir::Files), QStringList({"Config.ini", "stary.csv"}));
}

TEST_F(ExportTest, NothingIsWrittenWithoutAFileAConnectionOrAPageNumber)
{
    sql("INSERT INTO USERS (FIRST_NAME, NAME) VALUES ('Jan', 'Nowak')");
    sql("INSERT INTO DEVICE (NAME) VALUES ('Brama')");
    sql("INSERT INTO EVENTS (ID_USER, ID_DEVICE, TYPE, TIME) VALUES (1, 1, 1, '2024-01-01 10:00:00')");
    start();

    click("Button30");   // the dialog is cancelled
    EXPECT_EQ(dialogs.texts("save"), QStringList({"CSV|csv"}));
    EXPECT_FALSE(module->SQL.statement().contains("EVENTS"));

    // The page number is read as for "Filtruj", but it does not limit the export.
    page->Edit18->setText("strona");
    exportTo("Button31", "a.xml");
    EXPECT_EQ(dialogs.errors(), QStringList({"'strona' is not a valid integer value"}));
    EXPECT_FALSE(QFile::exists(workPath("a.xml")));
    page->Edit18->setText("9");
    EXPECT_EQ(exportTo("Button31", "a.xml").count("<z:row "), 1);

    // The hidden spreadsheet button runs the query and writes nothing.
    EXPECT_TRUE(page->Button29->isHidden());
    dialogs.clear();
    dialogs.fileNames.enqueue(workPath("export_valdrix.xlsx"));
    page->Button29->click();
    EXPECT_EQ(dialogs.shown, QStringList({"save: XLSX|xlsx"}));
    EXPECT_FALSE(QFile::exists(workPath("export_valdrix.xlsx")));
    EXPECT_TRUE(module->SQL.statement().endsWith(" order by EVENTS.ID DESC;"));
    EXPECT_EQ(module->SQL.rowCount(), 1);

    // Without a connection there is no dialog, no query and no file.
    form->UNCONNECT1->trigger();
    dialogs.clear();
    EXPECT_TRUE(exportTo("Button30", "b.csv").isEmpty());
    expectNothingShown();
    EXPECT_FALSE(QFile::exists(workPath("b.csv")));
    EXPECT_FALSE(module->Quorvel.isOpen());
}

// The export streams its rows on a connection of its own; the file must hold
// exactly the bytes written from the whole result read at once (as the exports
// were first written), for both formats, with the people's, devices' and
// types' missing rows left out.
TEST_F(ExportTest, BackgroundExportWritesTheBytesOfTheWholeResult)
{
    sql("INSERT INTO USERS (ID_USER, FIRST_NAME, NAME) VALUES (1, 'Łucja', 'O''Brien'), (2, 'Jan', 'Żak <&>')");
    sql("INSERT INTO DEVICE (ID_DEVICE, NAME) VALUES (1, 'Brama'), (2, 'Hala \"B\"')");
    sql("INSERT INTO EVENTS (ID_USER, ID_GROUP, ID_DEVICE, TYPE, TIME, SERIAL, CANAL, HEAD) "
        "SELECT IF(seq % 97 = 0, 7, 1 + seq % 2), 1, IF(seq % 89 = 0, 9, 1 + seq % 2), 1 + seq % 4, "
        "'2024-05-01' + INTERVAL seq * 7 MINUTE, IF(seq % 5 = 0, NULL, seq), seq % 3, "
        "IF(seq % 6 = 0, NULL, 'Głowica A') FROM seq_1_to_2500");
    start();
    module->SQL.setStatement(EventStatements::all(EventFilter{}));
    module->SQL.reexecute();
    ASSERT_GT(module->SQL.rowCount(), 2000);
    writeEventsCsv(module->SQL, workPath("whole.csv"));
    module->SQL.saveAsXml(workPath("whole.xml"));

    EXPECT_EQ(exportTo("Button30", "streamed.csv"), readFile(workPath("whole.csv")));
    EXPECT_EQ(exportTo("Button31", "streamed.xml"), readFile(workPath("whole.xml")));
    EXPECT_EQ(dialogs.errors(), QStringList());
    EXPECT_EQ(form->statusText(), QStringLiteral("Zapisano %1 zdarzeń do pliku %2")
                                      .arg(module->SQL.rowCount()).arg(workPath("streamed.xml")));
    EXPECT_TRUE(page->ExportProgress->isHidden());
    EXPECT_TRUE(page->Button30->isEnabled());
}

// Held at its first step, the export lets the operator work on (the window's
// connection is free); stopped there, it leaves the file as it was.
TEST_F(ExportTest, AStoppedExportLeavesThePreviousFileAndTheWindowAnswersMeanwhile)
{
    sql("INSERT INTO USERS (FIRST_NAME, NAME) VALUES ('Jan', 'Nowak')");
    sql("INSERT INTO DEVICE (NAME) VALUES ('Brama')");
    sql("INSERT INTO EVENTS (ID_USER, ID_GROUP, ID_DEVICE, TYPE, TIME) "
        "SELECT 1, 1, 1, 1, '2024-05-01' + INTERVAL seq MINUTE FROM seq_1_to_3500");
    start();
    ASSERT_TRUE(writeFile(workPath("stary.csv"), "poprzednia zawartość"));

    std::promise<void> reached, release;
    std::shared_future<void> go = release.get_future().share();
    std::atomic<int> steps{0};
    page->backgroundExport().stepHook = [&](qint64) {
        if (steps++ == 0) {
            reached.set_value();
            go.wait();
        }
    };
    dialogs.fileNames.enqueue(workPath("stary.csv"));
    click("Button30");
    reached.get_future().wait();
    EXPECT_TRUE(page->exportRunning());
    EXPECT_FALSE(page->Button30->isEnabled());
    EXPECT_FALSE(page->Button31->isEnabled());
    EXPECT_FALSE(page->ExportStop->isHidden());
    page->ComboBox12->setCurrentIndex(2);
    click("Button27");   // "Filtruj" while the export is held
    EXPECT_EQ(page->Label61->text(), QString::fromUtf8("liczba rekordów: 0"));
    page->ComboBox12->setCurrentIndex(0);

    click("ExportStop");
    release.set_value();
    page->waitForExport();
    EXPECT_EQ(steps.load(), 1);
    EXPECT_EQ(readFile(workPath("stary.csv")), QByteArray("poprzednia zawartość"));
    EXPECT_EQ(QDir(workDir.path()).entryList(QDir::Files), QStringList({"Config.ini", "stary.csv"}));
    EXPECT_EQ(form->statusText(), "Eksport przerwany: plik " + workPath("stary.csv") + QString::fromUtf8(" pozostał bez zmian"));
    EXPECT_EQ(dialogs.errors(), QStringList());
    EXPECT_TRUE(page->ExportStop->isHidden());

    // The next export runs to its end.
    page->backgroundExport().stepHook = nullptr;
    EXPECT_EQ(exportTo("Button30", "stary.csv").count('\n'), 3500);
    EXPECT_EQ(form->statusText(), QString::fromUtf8("Zapisano 3500 zdarzeń do pliku ") + workPath("stary.csv"));
}

}  // namespace
