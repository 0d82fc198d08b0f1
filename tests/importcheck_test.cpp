// The import's dry run: what "Sprawdź plik" forecasts is what "Importuj" then
// does with the same grid, and the forecast itself writes nothing.
#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"
#include "import/ImportCheck.h"
#include "import/ImportFile.h"
#include "support/ImportPageTest.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {

using F = ImportForecast;

// The Status text "Importuj" writes for each forecast.
QString realOutcome(const QString& forecast)
{
    if (forecast.startsWith(QString::fromUtf8("nowa osoba z kartą")))
        return ImportPage::UserAddedText + ImportPage::CardAddedText;
    if (forecast.startsWith(QString::fromUtf8("nowa osoba, karta")))
        return ImportPage::UserAddedText + ImportPage::CardExistsText;
    if (forecast == QString::fromUtf8("nowa osoba"))
        return ImportPage::UserAddedText;
    if (forecast.startsWith(QString::fromUtf8("osoba już istnieje")) ||
        forecast.startsWith(QString::fromUtf8("osoba powtórzona w pliku")))
        return ImportPage::UserExistsText;
    if (forecast == QString::fromUtf8("wiersz bez nazwiska i imienia"))
        return ImportPage::NoNamesText;
    return QStringLiteral("(unknown forecast) ") + forecast;
}

class ImportCheckTest : public ImportPageTest {
protected:
    void SetUp() override
    {
        ImportPageTest::SetUp();
        sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro')");
        sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME, DEL) VALUES "
            "(1, 2, 'Anna', 'Wiśniewska', 0), (2, 2, 'Stary', 'Usunięty', 1)");
        sql("INSERT INTO CARDS (ID_USER_FK, CODE, KARENCJA_OD, KARENCJA_DO) VALUES "
            "(1, '00C88B2875', '2010-01-01', '2030-12-31'), (0, 'wolna', '2010-01-01', '2030-12-31')");
    }
    // Loads the text, written in Windows-1250, and forgets what the load showed.
    void load(const char* utf8)
    {
        ImportPageTest::load(cp1250(utf8));
        dialogs.clear();
    }
    QString everything()
    {
        return scalar("SELECT CONCAT_WS('|', (SELECT COUNT(*) FROM USERS), (SELECT COUNT(*) FROM CARDS), "
                      "(SELECT CONCAT_WS(',', USERS, GROUPS, CARDS, PERMISSIONS, PERMISSIONS_has_GROUPS, "
                      "DEVICE, LOCALIZATION, EVENTS) FROM STATUS))");
    }
};

// Every kind of row; names and codes compared as the database compares them
// (letter case ignored, Polish letters not), earlier rows of the file counting.
const char* const Mixed =
    "Jan;Kowalski;\r\n"                    // 1 new person
    "Ewa;Nowak;AB12\r\n"                   // 2 new person with card
    "ANNA;wiśniewska;777\r\n"              // 3 exists (other letter case); card not added
    "Stary;Usunięty;\r\n"                  // 4 a deleted person's name stays taken
    "Piotr;Zięba;00c88b2875\r\n"           // 5 card in the system (other case)
    "Adam;Wolny;wolna\r\n"                 // 6 a card without owner is in the system too
    "\r\n"                                 //   skipped, not counted
    ";;123\r\n"                            // 7 no names
    "linia bez średnika\r\n"               // 8 no fields
    "jan;KOWALSKI;999\r\n"                 // 9 repeats row 1
    "Ola;Zięba;ab12\r\n"                   // 10 repeats row 2's card
    "Anna;Wisniewska;777\r\n"              // 11 new: s is not ś (though the connection's
                                           //    collation takes them for one); gets 777
    "Ola;;777\r\n"                         // 12 new, surname empty; 777 now repeats row 11
    ";Zięba;\r\n"                          // 13 new, first name empty
    "Ewa;Nowak;\r\n";                      // 14 repeats row 2

TEST_F(ImportCheckTest, WhatItForecastsIsWhatTheImportDoes)
{
    start();
    load(Mixed);
    ASSERT_EQ(grid->rowCount(), 15);
    const QString before = everything();
    click("ImportCheckButton");
    expectNothingShown();
    EXPECT_EQ(everything(), before);

    const QStringList forecast = statuses();
    EXPECT_EQ(forecast, QStringList({
                            "nowa osoba",
                            QString::fromUtf8("nowa osoba z kartą"),
                            QString::fromUtf8("osoba już istnieje, karta nie zostanie dodana"),
                            QString::fromUtf8("osoba już istnieje"),
                            QString::fromUtf8("nowa osoba, karta już w systemie"),
                            QString::fromUtf8("nowa osoba, karta już w systemie"),
                            "wiersz bez nazwiska i imienia",
                            "wiersz bez nazwiska i imienia",
                            QString::fromUtf8("osoba powtórzona w pliku (wiersz 1), karta nie zostanie dodana"),
                            QString::fromUtf8("nowa osoba, karta powtórzona (wiersz 2)"),
                            QString::fromUtf8("nowa osoba z kartą"),
                            QString::fromUtf8("nowa osoba, karta powtórzona (wiersz 11)"),
                            "nowa osoba",
                            QString::fromUtf8("osoba powtórzona w pliku (wiersz 2)"),
                        }));
    EXPECT_EQ(page->ImportState->text(),
              QString::fromUtf8("Sprawdzenie pliku (nic nie zapisano): 14 wierszy; nowe osoby: 8, w tym "
                                "z kartą: 2; osoby już istniejące: 2; karty już w systemie: 2; "
                                "powtórzone w pliku: osoby 2, karty 2; bez nazwiska i imienia: 2."));

    click("Button36");
    const QStringList outcome = statuses();
    ASSERT_EQ(outcome.size(), forecast.size());
    for (int i = 0; i < forecast.size(); ++i)
        EXPECT_EQ(outcome[i], realOutcome(forecast[i])) << "row " << i + 1;
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 2 + 8);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM CARDS"), 2 + 2);

    // Checked again, the same file is all known now.
    click("ImportCheckButton");
    EXPECT_TRUE(page->ImportState->text().contains(QString::fromUtf8("nowe osoby: 0, w tym z kartą: 0; "
                                                                     "osoby już istniejące: 12")));
}

TEST_F(ImportCheckTest, ValuesTheDatabaseRefusesStopTheImportWhereForecast)
{
    start();
    const QString longName(256, QLatin1Char('x'));
    const QString longCode(65, QLatin1Char('9'));
    load(QStringLiteral("Jan;Kowalski;1\r\nEwa;Nowak;%1\r\nOla;Lis;2\r\n%2;Nowy;\r\n")
             .arg(longCode, longName)
             .toUtf8()
             .constData());
    page->ComboBox4->setCurrentIndex(-1);
    click("ImportCheckButton");
    // The rows after the stop are not imported, and the counts say what the import does.
    EXPECT_EQ(statuses(), QStringList({QString::fromUtf8("nowa osoba z kartą"),
                                       QString::fromUtf8("nowa osoba, błąd: kod karty dłuższy niż "
                                                         "64 znaki – tu import się zatrzyma"),
                                       QString::fromUtf8("nie zostanie zaimportowany: import zatrzyma się na wierszu 2"),
                                       QString::fromUtf8("nie zostanie zaimportowany: import zatrzyma się na wierszu 2")}));
    EXPECT_TRUE(page->ImportState->text().contains(QString::fromUtf8("nowe osoby: 2, w tym z kartą: 1;")))
        << page->ImportState->text().toStdString();
    EXPECT_TRUE(page->ImportState->text().endsWith(QString::fromUtf8(
        "Import zatrzyma się na wierszu 2: baza nie przyjmie wartości dłuższej niż kolumna. Wierszy po "
        "nim, których import nie obejmie: 2. Nie wybrano grupy: „Importuj” nic nie zrobi, dopóki jej nie "
        "wybierzesz.")))
        << page->ImportState->text().toStdString();

    page->ComboBox4->setCurrentIndex(0);
    click("Button36");
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors()[0].contains(QString::fromUtf8("kod karty dłuższy niż 64 znaki")))
        << dialogs.errors()[0].toStdString();
    EXPECT_EQ(statuses()[1], ImportPage::UserAddedText + ImportPage::CardFailedText);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 2 + 2);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM CARDS"), 2 + 1);
}

// A value larger than the server's largest statement: the dry run and the import
// refuse it without sending it, and the connection stays.
TEST_F(ImportCheckTest, AValueLongerThanItsColumnIsNeverSent)
{
    start();
    const QByteArray huge(2 * 1024 * 1024, 'x');
    ImportPageTest::load("Jan;Kowalski;\r\n" + huge + ";Nowy;\r\nEwa;Nowak;" + huge + "\r\nOla;Lis;\r\n");
    dialogs.clear();
    Dataset received(module->Quorvel, QStringLiteral("Received"));
    received.setStatement(QStringLiteral("SHOW SESSION STATUS LIKE 'Bytes_received'"));
    auto bytesReceived = [&] {
        received.reexecute();
        return received.textAt(1).toLongLong();
    };
    const long long before = bytesReceived();
    click("ImportCheckButton");
    expectNothingShown();
    EXPECT_LT(bytesReceived() - before, 100000);
    EXPECT_EQ(statuses(), QStringList({"nowa osoba",
                                       QString::fromUtf8("błąd: imię dłuższe niż 255 znaków – tu import się zatrzyma"),
                                       QString::fromUtf8("nie zostanie zaimportowany: import zatrzyma się na wierszu 2"),
                                       QString::fromUtf8("nie zostanie zaimportowany: import zatrzyma się na wierszu 2")}));

    click("Button36");
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors()[0].contains(QString::fromUtf8("imię dłuższe niż 255 znaków")));
    EXPECT_LT(bytesReceived() - before, 200000);
    EXPECT_TRUE(module->Quorvel.isOpen());
    EXPECT_EQ(column("SELECT NAME FROM USERS ORDER BY ID_USER"), QStringList({QString::fromUtf8("Wiśniewska"),
                                                                             QString::fromUtf8("Usunięty"), "Kowalski"}));
}

// A file saved with LF line ends: its lines are one row, which the dry run
// forecasts as refused and the import refuses, storing nothing with a line break.
TEST_F(ImportCheckTest, ARowHoldingALineBreakIsRefusedAndSaidWhy)
{
    start();
    ImportPageTest::load("Jan;Kowalski;1\nEwa;Nowak;2\nOla;Lis;\n");
    dialogs.clear();
    EXPECT_TRUE(page->ImportState->text().contains(QString::fromUtf8("Plik ma końce wierszy LF")))
        << page->ImportState->text().toStdString();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->cells(3, 1), "1\nEwa;Nowak;2\nOla;Lis;\n");
    click("ImportCheckButton");
    EXPECT_EQ(statuses(), QStringList({QString::fromUtf8("wiersz odrzucony: wartość ze znakiem końca wiersza "
                                                         "(plik ma końce wierszy LF; zapisz go z końcami CR LF)")}));
    EXPECT_TRUE(page->ImportState->text().contains(QString::fromUtf8("nowe osoby: 0,")));
    EXPECT_TRUE(page->ImportState->text().contains(QString::fromUtf8("Odrzucone wiersze ze znakiem końca wiersza: 1")));

    click("Button36");
    expectNothingShown();
    EXPECT_EQ(statuses(), QStringList({ImportPage::LineBreakText}));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS WHERE NAME = 'Kowalski'"), 0);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM CARDS WHERE CODE LIKE '%\\n%'"), 0);
}

TEST_F(ImportCheckTest, WithoutConnectionOrFileItSaysWhatItDid)
{
    createForm();
    page = form->importPage();
    grid = page->StringGrid1;
    click("ImportCheckButton");
    EXPECT_TRUE(page->ImportState->text().contains(QString::fromUtf8("brak połączenia z bazą")));
    EXPECT_TRUE(grid->cells(4, 1).isEmpty());
    connectDatabase();
    // Before any load the grid holds one empty row, which "Importuj" would skip.
    click("ImportCheckButton");
    EXPECT_EQ(statuses(), QStringList({"wiersz bez nazwiska i imienia"}));
}

// A file too large for one statement is asked in parts, and the repeats across
// the parts are still found.
TEST_F(ImportCheckTest, ALargeFileIsAskedInPartsWithTheSameAnswers)
{
    Connection connection;
    configure(connection);
    std::vector<ImportCheckRow> rows;
    const QString padding(60, QChar(u'ż'));
    for (int i = 0; i < 30000; ++i)
        rows.push_back({QStringLiteral("Imię%1").arg(i % 20000) + padding, QStringLiteral("Nazwisko"),
                        QStringLiteral("K%1").arg(i % 25000)});
    rows.push_back({QStringLiteral("Anna"), QString::fromUtf8("Wiśniewska"), QString()});
    const QStringList statements = ImportCheck::statements(connection, rows);
    EXPECT_GE(statements.size(), 1 + 3 + 1);   // the columns, the people in parts, the cards
    const ImportCheckResult result = ImportCheck::check(connection, rows);
    EXPECT_EQ(result.rows[0].kind, F::NewPersonWithCard);
    EXPECT_EQ(result.rows[20000].kind, F::PersonRepeated);
    EXPECT_EQ(result.rows[20000].earlierRow, 1);
    EXPECT_EQ(result.rows[29999].kind, F::PersonRepeated);
    EXPECT_EQ(result.count(F::NewPersonWithCard), 20000);
    EXPECT_EQ(result.rows.back().kind, F::PersonExists);
}

TEST_F(ImportCheckTest, FileRowsAreTheRowsOfAFreshGrid)
{
    const QString path = workPath("rows.csv");
    ASSERT_TRUE(writeFile(path, Windows1250::encode(QString::fromUtf8("Jan ;Kowalski;12;3\r\nbez pól\r\n\r\nŁucja;\r\n"))));
    const std::vector<ImportCheckRow> rows = ImportCheck::rowsOf(readImportFile(path));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].firstName, "Jan");
    EXPECT_EQ(rows[0].cardCode, "12;3");
    EXPECT_TRUE(rows[1].firstName.isEmpty() && rows[1].surname.isEmpty() && rows[1].cardCode.isEmpty());
    EXPECT_EQ(rows[2].firstName, QString::fromUtf8("Łucja"));
}

}  // namespace
