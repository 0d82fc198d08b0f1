// The page "Import": reading files into the preview grid and importing its rows,
// against the real window and database.
#include "support/ImportPageTest.h"
#include "ui/LongWork.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace {

const QStringList Titles = {"nr", QString::fromUtf8("Imię"), "Nazwisko", "Kod karty", "Status"};
const QString& Added = ImportPage::UserAddedText;
const QString& Exists = ImportPage::UserExistsText;
QString addedWithCard() { return ImportPage::UserAddedText + ImportPage::CardAddedText; }

class ImportTest : public ImportPageTest {
protected:
    QStringList row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells << grid->cells(c, r);
        return cells;
    }
    // Every change of STATUS, with the counters it raised and by how much, for bumps().
    void logBumps()
    {
        sql("CREATE TABLE BUMPS (ID INT AUTO_INCREMENT PRIMARY KEY, NAMES VARCHAR(100))");
        sql("CREATE TRIGGER STATUS_LOG AFTER UPDATE ON STATUS FOR EACH ROW INSERT INTO BUMPS (NAMES) "
            "VALUES (CONCAT_WS(',', IF(NEW.USERS <=> OLD.USERS, NULL, CONCAT('USERS+', NEW.USERS - OLD.USERS)), "
            "IF(NEW.CARDS <=> OLD.CARDS, NULL, CONCAT('CARDS+', NEW.CARDS - OLD.CARDS))))");
    }
    QString bumps() { return scalar("SELECT GROUP_CONCAT(NAMES ORDER BY ID SEPARATOR ' ') FROM BUMPS"); }
    // The owner each card had when it was inserted, and any later change of owner.
    void logCardOwners()
    {
        sql("CREATE TABLE CARD_LOG (ID INT AUTO_INCREMENT PRIMARY KEY, ENTRY VARCHAR(200))");
        sql("CREATE TRIGGER CARD_INSERT_LOG AFTER INSERT ON CARDS FOR EACH ROW INSERT INTO CARD_LOG "
            "(ENTRY) VALUES (CONCAT('insert ', NEW.CODE, ' ', NEW.ID_USER_FK))");
        sql("CREATE TRIGGER CARD_UPDATE_LOG AFTER UPDATE ON CARDS FOR EACH ROW INSERT INTO CARD_LOG "
            "(ENTRY) VALUES (CONCAT('update ', NEW.CODE, ' ', NEW.ID_USER_FK))");
    }
    QStringList cardLog() { return column("SELECT ENTRY FROM CARD_LOG ORDER BY ID"); }
    QString userId(const char* surname)
    {
        return scalar(QStringLiteral("SELECT ID_USER FROM USERS WHERE NAME = '%1'").arg(surname));
    }
};

TEST_F(ImportTest, LinesAreCutAtCrLfAndLoneCrAndTheFieldsAtTheFirstTwoSemicolons)
{
    start();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(row(0), QStringList(5, QString()));
    EXPECT_EQ(page->Label65->text(), "0");

    // A header line is a person too; an empty line is skipped; spaces go wherever
    // they stand; a lone CR ends a line, a lone LF does not; a line without ";"
    // counts but fills nothing; Ctrl-Z ends the file.
    load(cp1250("Imię; Nazwisko ;Kod karty\r\n"
                "Jan ; Kowalski;12345\r\n"
                "\r\n"
                "Anna;Nowak;\r"
                "Ewa;Lis;123;\r\n"
                "Jan Maria;Kowalski;55\r\n"
                "   \r\n"
                "Adam;A1;\tB\r\n"
                "Łukasz;Żółć;x\ny\r\n"
                "Olga\r\n"
                "Zenon;Zięba;9\x1a"
                "Po;Końcu;1\r\n"));
    EXPECT_TRUE(dialogs.errors().isEmpty()) << dialogs.shown.join("\n").toStdString();
    EXPECT_EQ(dialogs.texts("open"), QStringList("csv|*.csv"));
    EXPECT_EQ(page->Label65->text(), "10");
    ASSERT_EQ(grid->rowCount(), 11);
    EXPECT_EQ(row(0), Titles);
    const QStringList expected[] = {
        {"1", QString::fromUtf8("Imię"), "Nazwisko", "Kodkarty", ""},
        {"2", "Jan", "Kowalski", "12345", ""},
        {"3", "Anna", "Nowak", "", ""},
        {"4", "Ewa", "Lis", "123;", ""},
        {"5", "JanMaria", "Kowalski", "55", ""},
        {"", "", "", "", ""},
        {"7", "Adam", "A1", "\tB", ""},
        {"8", QString::fromUtf8("Łukasz"), QString::fromUtf8("Żółć"), "x\ny", ""},
        {"", "", "", "", ""},
        {"10", "Zenon", QString::fromUtf8("Zięba"), "9", ""},
    };
    for (int r = 1; r <= 10; ++r)
        EXPECT_EQ(row(r), expected[r - 1]) << "row " << r;

    // One ";": the first name and the rest as the code.
    load("Solo;A1;B2\r\nJedyny;K7");
    EXPECT_EQ(page->Label65->text(), "2");
    EXPECT_EQ(row(2), QStringList({"2", "Jedyny", "", "K7", ""}));

    // LF line ends only: one line, the LFs inside its code.
    load("Jan;Kowalski;1\nAnna;Nowak;2\n");
    EXPECT_EQ(page->Label65->text(), "1");
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(row(1), QStringList({"1", "Jan", "Kowalski", "1\nAnna;Nowak;2\n", ""}));
}

TEST_F(ImportTest, ALoadWritesOnlyTheCellsOfItsLines)
{
    start();
    load("A;Pierwszy;1\r\nB;Drugi;2\r\nC;Trzeci;3\r\n");
    click("Button36");
    ASSERT_EQ(statuses(), QStringList({addedWithCard(), addedWithCard(), addedWithCard()}));

    // The statuses stay until the next import; a line without ";" keeps its row,
    // rows past the count are hidden but kept, and show again in a longer grid.
    load("D;Czwarty;\r\nbez pola\r\n");
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(row(1), QStringList({"1", "D", "Czwarty", "", addedWithCard()}));
    EXPECT_EQ(row(2), QStringList({"2", "B", "Drugi", "2", addedWithCard()}));
    load("x\r\ny\r\nz\r\n");
    EXPECT_EQ(row(3), QStringList({"3", "C", "Trzeci", "3", addedWithCard()}));

    // A file without any non-empty line: the count is 0, the rows stay.
    load("\r\n\r\n");
    EXPECT_EQ(page->Label65->text(), "0");
    EXPECT_EQ(grid->rowCount(), 4);
    load("");
    EXPECT_EQ(grid->rowCount(), 4);
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(ImportTest, AFileThatCannotBeReadIsAnInputOutputError)
{
    start();
    load("A;Pierwszy;1\r\nB;Drugi;2\r\n");
    ASSERT_EQ(page->Label65->text(), "2");
    dialogs.clear();

    // Cancelled: nothing.
    click("Button35");
    EXPECT_EQ(dialogs.shown, QStringList("open: csv|*.csv"));
    dialogs.clear();

    // Missing: the error, and the rows of the last load still counted.
    dialogs.fileNames.enqueue(workPath("missing.csv"));
    click("Button35");
    EXPECT_EQ(dialogs.errors(), QStringList("File not found"));
    EXPECT_EQ(page->Label65->text(), "2");
    EXPECT_EQ(row(0), Titles);
    EXPECT_EQ(row(2), QStringList({"2", "B", "Drugi", "2", ""}));
    dialogs.clear();

    // A folder opens but cannot be read: the system's error number, no rows read.
    ASSERT_TRUE(QDir(workDir.path()).mkdir("folder.csv"));
    dialogs.fileNames.enqueue(workPath("folder.csv"));
    click("Button35");
    EXPECT_EQ(dialogs.errors(), QStringList("I/O error 21"));
    EXPECT_EQ(page->Label65->text(), "0");
    EXPECT_EQ(grid->rowCount(), 3);
}

TEST_F(ImportTest, ImportAddsEachPersonAndCardWithItsOwnerAndReportsEveryRow)
{
    sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro')");
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES "
        "(1, 1, 'Stary', 'Właściciel'), (2, 1, 'Ewa', 'Lis')");
    sql("INSERT INTO CARDS (ID_USER_FK, CODE) VALUES (1, '0000000123')");
    logBumps();
    logCardOwners();
    start();
    page->ComboBox4->setCurrentIndex(page->ComboBox4->findText("Biuro"));
    load(cp1250("Jan;Kowalski;123\r\n"
                "Anna;Nowak;\r\n"
                "Ewa;Lis;777\r\n"
                "Piotr;Zając;0000000123\r\n"
                ";;999\r\n"
                "Jan;Kowalski;555\r\n"
                "Olga;Bąk;ab'c\\\r\n"));
    click("Button36");

    EXPECT_EQ(dialogs.texts("notice"),
              QStringList({QString::fromUtf8("Osoba: Ewa  Lis  już istnieje w bazie."),
                           QString::fromUtf8("Karta z kodem: 0000000123 już istnieje i nalezy do: Stary Właściciel"),
                           QString::fromUtf8("Osoba: Jan  Kowalski  już istnieje w bazie.")}));
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_EQ(statuses(), QStringList({addedWithCard(), Added, Exists,
                                       Added + ImportPage::CardExistsText, ImportPage::NoNamesText,
                                       Exists, addedWithCard()}));
    EXPECT_EQ(QString(Added + ImportPage::CardExistsText),
              QString::fromUtf8("Dodano użytkownikaale kata juz była w systemie"));
    EXPECT_EQ(addedWithCard(), QString::fromUtf8("Dodano użytkownika - dodano kartę"));

    // The people in the chosen group; each card stored with its owner at once and
    // never moved; codes as in the file, not made 10 long.
    EXPECT_EQ(column("SELECT CONCAT(FIRST_NAME, ' ', NAME, ' ', ID_GROUP) FROM USERS WHERE ID_USER > 2 ORDER BY ID_USER"),
              QStringList({"Jan Kowalski 2", "Anna Nowak 2", QString::fromUtf8("Piotr Zając 2"),
                           QString::fromUtf8("Olga Bąk 2")}));
    EXPECT_EQ(cardLog(), QStringList({"insert 123 " + userId("Kowalski"), "insert ab'c\\ " + userId("Bąk")}));
    EXPECT_EQ(column("SELECT CONCAT(CODE, ' ', TYPE, ' ', PRINT, ' ', KARENCJA_OD, ' ', KARENCJA_DO) FROM CARDS WHERE ID_CARD > 1 ORDER BY ID_CARD"),
              QStringList({"123 1  2010-01-01 2030-12-31", "ab'c\\ 1  2010-01-01 2030-12-31"}));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM CARDS WHERE CODE IN ('999', '777', '555')"), 0);

    // Each person and each card counted twice, within its own unit, in the order of the rows.
    EXPECT_EQ(bumps(), "USERS+2 CARDS+2 USERS+2 USERS+2 USERS+2 CARDS+2");
    // The list of people read again at the end, on its first row after a card.
    EXPECT_EQ(module->Users.rowCount(), 6);
    EXPECT_EQ(module->Users.recordNo(), 1);
    EXPECT_EQ(page->ImportProgress->value(), 7);
    EXPECT_EQ(page->ImportState->text(),
              QString::fromUtf8("Import zakończony: 7 z 7 wierszy; dodano osób: 4, kart: 2."));
    EXPECT_TRUE(page->Button36->isEnabled());

    // A second run finds everybody: one message per person, nothing written.
    dialogs.clear();
    click("Button36");
    EXPECT_EQ(dialogs.texts("notice").size(), 6);
    EXPECT_EQ(statuses(), QStringList({Exists, Exists, Exists, Exists, ImportPage::NoNamesText, Exists, Exists}));
    EXPECT_EQ(counter("USERS"), 8);
    EXPECT_EQ(counter("CARDS"), 4);
    EXPECT_EQ(page->Label65->text(), "7");
    EXPECT_EQ(row(4), QStringList({"4", "Piotr", QString::fromUtf8("Zając"), "0000000123", Exists}));
}

TEST_F(ImportTest, AMessageBoxPausesTheImportWithNothingOpenAndNothingElseStartable)
{
    sql("INSERT INTO USERS (ID_GROUP, FIRST_NAME, NAME) VALUES (1, 'Ewa', 'Lis')");
    sql("INSERT INTO CARDS (ID_USER_FK, CODE) VALUES (0, 'C3')");
    start();
    load("A;Pierwszy;C1\r\nEwa;Lis;C2\r\nB;Trzeci;C3\r\nC;Czwarty;\r\n");
    dialogs.clear();

    QStringList seen;
    dialogs.whileShown = [&](const QString& kind, const QString&) {
        if (kind != "notice")
            return;
        // Clicks on the page start nothing while the import waits.
        page->Button36->click();
        page->Button35->click();
        page->Button36Click();
        seen << QStringLiteral("%1|%2|%3|%4|%5")
                    .arg(page->ImportState->text())
                    .arg(statuses().join(","))
                    .arg(int(module->Quorvel.inTransaction()))
                    .arg(int(page->Button36->isEnabled() || page->Button35->isEnabled()
                             || page->ComboBox4->isEnabled()))
                    .arg(scalarInt("SELECT COUNT(*) FROM USERS"));
    };
    click("Button36");
    dialogs.whileShown = nullptr;

    EXPECT_EQ(seen, QStringList({"Import: wiersz 2 z 4|" + addedWithCard() + ",,,|0|0|2",
                                 "Import: wiersz 3 z 4|" + addedWithCard() + "," + Exists + "," + Added
                                     + ",|0|0|3"}));
    EXPECT_EQ(dialogs.texts("open"), QStringList());
    EXPECT_EQ(statuses(), QStringList({addedWithCard(), Exists, Added + ImportPage::CardExistsText, Added}));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 4);
    // Ended on a person without card: the list stands on its last row.
    EXPECT_EQ(module->Users.recordNo(), module->Users.rowCount());
    EXPECT_TRUE(page->Button36->isEnabled());
    EXPECT_TRUE(page->Button35->isEnabled());
    EXPECT_TRUE(page->ComboBox4->isEnabled());
}

// A new load leaves nothing of the last import's progress and outcome; names
// holding "%1" and markup are shown and stored as they are in the file.
TEST_F(ImportTest, ALoadClearsTheLastImportsProgressAndOutcome)
{
    sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro')");
    start();
    page->ComboBox4->setCurrentIndex(page->ComboBox4->findText("Biuro"));
    load("Jan%1;<b>Kowalski</b>%2;%99\r\nAnna;Nowak;\r\n");
    click("Button36");
    EXPECT_EQ(dialogs.shown, QStringList("open: csv|*.csv"));
    ASSERT_FALSE(page->ImportProgress->isHidden());
    EXPECT_EQ(page->ImportProgress->text(), "2 z 2");
    EXPECT_EQ(page->ImportState->text(),
              QString::fromUtf8("Import zakończony: 2 z 2 wierszy; dodano osób: 2, kart: 1."));
    EXPECT_EQ(column("SELECT CONCAT(FIRST_NAME, '|', NAME) FROM USERS ORDER BY ID_USER"),
              QStringList({"Jan%1|<b>Kowalski</b>%2", "Anna|Nowak"}));
    EXPECT_EQ(scalar("SELECT CODE FROM CARDS"), "%99");

    load("Ewa;Lis;\r\nOla;Kot;\r\nPiotr;Mak;\r\n");
    EXPECT_EQ(dialogs.shown.size(), 2);
    EXPECT_TRUE(page->ImportProgress->isHidden());
    EXPECT_EQ(page->ImportProgress->value(), 0);
    // The last import's outcome gives way to what the load read.
    EXPECT_EQ(page->ImportState->text(), QString::fromUtf8("Wczytano plik: kodowanie Windows-1250."));
    EXPECT_EQ(page->ImportState->textFormat(), Qt::PlainText);

    // The next import counts the new file's rows.
    click("Button36");
    EXPECT_EQ(page->ImportProgress->text(), "3 z 3");
}

TEST_F(ImportTest, NothingIsImportedWithoutAGroupAConnectionOrNames)
{
    start();
    // Before any load: the one empty row creates nobody and says so.
    click("Button36");
    expectNothingShown();
    EXPECT_EQ(statuses(), QStringList(ImportPage::NoNamesText));
    EXPECT_EQ(counter("USERS"), 0);

    load("A;Pierwszy;C1\r\n");
    page->ComboBox4->setCurrentIndex(-1);
    click("Button36");
    EXPECT_EQ(dialogs.texts("notice"), QStringList(ImportPage::NoGroupText));
    EXPECT_EQ(statuses(), QStringList(ImportPage::NoNamesText));   // the last import's
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 0);
    EXPECT_EQ(counter("USERS"), 0);
    dialogs.clear();

    // Without a connection: nothing at all.
    page->ComboBox4->setCurrentIndex(0);
    form->UNCONNECT1->trigger();
    click("Button36");
    expectNothingShown();
    EXPECT_EQ(statuses(), QStringList(ImportPage::NoNamesText));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 0);
}

TEST_F(ImportTest, ADatabaseErrorStopsTheImportAtItsRowKeepingTheRowsBefore)
{
    sql("CREATE TRIGGER CARD_REFUSED BEFORE INSERT ON CARDS FOR EACH ROW "
        "IF NEW.CODE = 'ZLA' THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'karta zablokowana'; END IF");
    sql("CREATE TRIGGER USER_REFUSED BEFORE INSERT ON USERS FOR EACH ROW "
        "IF NEW.NAME = 'Zly' THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'osoba zablokowana'; END IF");
    start();

    // The card of row 2 fails: its person stays, with the count of one card.
    load("A;Pierwszy;C1\r\nB;Drugi;ZLA\r\nC;Trzeci;C3\r\n");
    click("Button36");
    EXPECT_EQ(dialogs.errors(),
              QStringList(QString::fromUtf8("karta zablokowana\n\nImport przerwany w wierszu 2 z 3; "
                                            "dodano osób: 2, kart: 1.")));
    EXPECT_EQ(statuses(), QStringList({addedWithCard(), Added + ImportPage::CardFailedText, ""}));
    EXPECT_EQ(column("SELECT NAME FROM USERS ORDER BY ID_USER"), QStringList({"Pierwszy", "Drugi"}));
    EXPECT_EQ(column("SELECT CODE FROM CARDS"), QStringList("C1"));
    EXPECT_EQ(counter("USERS"), 4);
    EXPECT_EQ(counter("CARDS"), 2);
    EXPECT_FALSE(module->Quorvel.inTransaction());
    EXPECT_EQ(module->Users.rowCount(), 2);
    EXPECT_TRUE(page->Button36->isEnabled());
    dialogs.clear();

    // The person of row 2 fails: nothing of that row, nothing after it.
    load("D;Czwarty;C4\r\nE;Zly;C5\r\nF;Szosty;\r\n");
    click("Button36");
    EXPECT_EQ(dialogs.errors(),
              QStringList(QString::fromUtf8("osoba zablokowana\n\nImport przerwany w wierszu 2 z 3; "
                                            "dodano osób: 1, kart: 1.")));
    EXPECT_EQ(statuses(), QStringList({addedWithCard(), ImportPage::FailedText, ""}));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 3);
    EXPECT_EQ(counter("USERS"), 6);
    EXPECT_EQ(counter("CARDS"), 4);
    EXPECT_EQ(page->ImportState->text(),
              QString::fromUtf8("Import przerwany w wierszu 2 z 3; dodano osób: 1, kart: 1."));
}

// The guard of long work: the operator's clicks meanwhile are dropped, not kept for later.
TEST_F(ImportTest, InputDuringLongWorkIsDroppedAndTheControlsComeBack)
{
    start();
    QPushButton other("inny");
    other.resize(100, 30);
    other.show();
    int clicks = 0;
    QObject::connect(&other, &QPushButton::clicked, [&] { ++clicks; });
    const auto postClick = [&] {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(&other, new QMouseEvent(type, QPointF(5, 5), QPointF(5, 5),
                                                                other.mapToGlobal(QPointF(5, 5)),
                                                                Qt::LeftButton, Qt::LeftButton, {}));
    };
    {
        LongWork work({page->Button36, page->Button35});
        EXPECT_FALSE(page->Button36->isEnabled());
        EXPECT_FALSE(page->Button35->isEnabled());
        postClick();
        work.repaintNow();
        EXPECT_EQ(clicks, 0);
        postClick();   // still waiting when the work ends
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(page->Button36->isEnabled());
    EXPECT_TRUE(page->Button35->isEnabled());
    postClick();       // and once it is over, a click is a click
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);

    // A modal box opened meanwhile (by a timer's handler, say) can still be answered.
    LongWork work({page->Button36});
    QDialog box;
    box.setModal(true);
    QPushButton* ok = new QPushButton("OK", &box);
    box.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &box);
    int answered = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++answered; });
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(ok, new QMouseEvent(type, QPointF(5, 5), QPointF(5, 5), ok->mapToGlobal(QPointF(5, 5)),
                                                        Qt::LeftButton, Qt::LeftButton, {}));
    work.repaintNow();
    EXPECT_EQ(answered, 1);
}

// Files as operators have them: UTF-8 (with or without the mark) is read as
// UTF-8 and imported unchanged, Windows-1250 as before, and the page says which.
TEST_F(ImportTest, TheEncodingIsRecognisedAndNamed)
{
    start();
    const QString name = QString::fromUtf8("Łukaszewicz");
    load("\xEF\xBB\xBF" + QStringLiteral("Anna;%1;Ż1\r\n").arg(name).toUtf8());
    EXPECT_EQ(row(1), QStringList({"1", "Anna", name, QString::fromUtf8("Ż1"), ""}));
    EXPECT_EQ(page->ImportState->text(), QString::fromUtf8("Wczytano plik: kodowanie UTF-8."));

    load(QStringLiteral("Ewa;%1;\r\nOla;Zoë;\r\n").arg(name).toUtf8());   // no mark
    EXPECT_EQ(row(1).mid(1, 2), QStringList({"Ewa", name}));
    EXPECT_EQ(row(2).mid(1, 2), QStringList({"Ola", QString::fromUtf8("Zoë")}));
    EXPECT_EQ(page->ImportState->text(), QString::fromUtf8("Wczytano plik: kodowanie UTF-8."));
    click("Button36");
    EXPECT_EQ(column("SELECT NAME FROM USERS ORDER BY ID_USER"), QStringList({name, QString::fromUtf8("Zoë")}));

    // Windows-1250 Polish text is no valid UTF-8; plain ASCII reads the same either way.
    load(cp1250("Piotr;Łęcki;\r\n"));
    EXPECT_EQ(row(1).mid(1, 2), QStringList({"Piotr", QString::fromUtf8("Łęcki")}));
    EXPECT_EQ(page->ImportState->text(), QString::fromUtf8("Wczytano plik: kodowanie Windows-1250."));
    load("Jan;Kowalski;\r\n");
    EXPECT_EQ(page->ImportState->text(), QString::fromUtf8("Wczytano plik: kodowanie Windows-1250."));
}

// One line of 8 MB: the grid shows its cells shortened, and the dry run and the
// import refuse the value at once.
TEST_F(ImportTest, AHugeLineIsShownShortenedAndRefusedAtOnce)
{
    start();
    const QByteArray huge(8 * 1024 * 1024, 'x');
    load("Jan;Kowalski;1\r\n" + huge + ";" + huge + ";" + huge + "\r\n");
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->cells(1, 2).size(), huge.size());
    const QString shownText = grid->model()->index(1, 1).data().toString();
    EXPECT_LE(shownText.size(), 1001);
    EXPECT_TRUE(shownText.startsWith("xxxx"));
    EXPECT_TRUE(shownText.endsWith(QChar(0x2026)));
    EXPECT_EQ(grid->model()->index(0, 1).data().toString(), "Jan");

    click("ImportCheckButton");
    EXPECT_EQ(grid->cells(4, 2), QString::fromUtf8("błąd: imię dłuższe niż 255 znaków – tu import się zatrzyma"));
    click("Button36");
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(row(1)[4], addedWithCard());
    EXPECT_EQ(row(2)[4], ImportPage::FailedText);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 1);
}

}  // namespace
