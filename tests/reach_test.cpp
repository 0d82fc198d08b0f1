// The window "Kto i dokąd wejdzie" and the "Skutki..." buttons of the access page.
#include "support/AppFixture.h"

#include "access/AccessPage.h"
#include "access/ChangePreviewDialog.h"
#include "access/ReachDialog.h"
#include "access/ScheduleEditor.h"
#include "app/CommandLine.h"
#include "text/Windows1250.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimeEdit>

#include <cstdio>

namespace {

// Two groups on two passages, open all day every day, cards valid for a century:
// who passes does not depend on when the test runs.
class ReachWindowTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        sql("INSERT INTO `GROUPS` (ID_GROUP, NAME) VALUES (2, 'Biuro'), (3, 'Magazyn')");
        sql("INSERT INTO DEVICE (ID_DEVICE, NAME, NAME_A, NAME_B) VALUES (1, 'Brama', 'Wejście', 'Wyjście'), "
            "(2, 'Drzwi', 'We', 'Wy')");
        sql("INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME, D1, D2, D3, D4, D5, D6, D7) VALUES (1, 'Zawsze', "
            "'00:00:23:59', '00:00:23:59', '00:00:23:59', '00:00:23:59', '00:00:23:59', '00:00:23:59', "
            "'00:00:23:59')");
        sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME, DEL) VALUES (1, 2, 'Anna', 'Nowak', 0), "
            "(2, 2, 'Jan', 'Kowalski', 0), (3, 3, 'Ewa', 'Zając', 0), (4, 2, 'Piotr', 'Bez Karty', 0), "
            "(5, 2, 'Olga', 'Usunięta', 1)");
        sql("INSERT INTO CARDS (ID_CARD, ID_USER_FK, CODE, KARENCJA_OD, KARENCJA_DO) VALUES "
            "(1, 1, '00000000A1', '2000-01-01', '2100-12-31'), (2, 2, '00000000B2', '2000-01-01', '2100-12-31'), "
            "(3, 3, '00000000C3', '2000-01-01', '2100-12-31'), (4, 5, '00000000D4', '2000-01-01', '2100-12-31'), "
            "(5, 2, '00000000E5', NULL, NULL)");
        sql("INSERT INTO PERMISSIONS_has_GROUPS (NMID, ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK, INPUT, OUTPUT) "
            "VALUES (1, 1, 2, 1, 1, 0), (2, 1, 3, 1, 1, 1), (3, 1, 2, 2, 1, 1)");
        startConnected();
        page = form->accessPage();
    }

    static QStringList column(const QTableWidget* table, int column, bool visibleOnly = false)
    {
        QStringList out;
        for (int r = 0; r < table->rowCount(); ++r)
            if (!visibleOnly || !table->isRowHidden(r))
                out << (table->item(r, column) ? table->item(r, column)->text() : QString());
        return out;
    }

    AccessPage* page = nullptr;
};

TEST_F(ReachWindowTest, WhoListsPassersAndTheRefusedFindsAsYouTypeAndExports)
{
    click("ReachButton");
    ReachDialog* d = page->reachDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(items(d->whoPassage), QStringList({"Brama", "Drzwi"}));
    d->whoPassage->setCurrentIndex(0);
    d->whoHead->setCurrentIndex(0);
    d->whoRun->click();
    EXPECT_EQ(column(d->whoTable, 1),
              QStringList({"Bez Karty Piotr", "Kowalski Jan", "Nowak Anna", "Usunięta Olga", "Zając Ewa"}));
    EXPECT_EQ(column(d->whoTable, 0), QStringList({"nie", "tak", "tak", "nie", "tak"}));
    EXPECT_EQ(column(d->whoTable, 3), QStringList({"", "00000000B2", "00000000A1", "", "00000000C3"}));
    EXPECT_EQ(column(d->whoTable, 7), QStringList({"brak karty", "", "", "osoba usunięta", ""}));
    EXPECT_EQ(d->whoCounts->text(), QStringLiteral("Wejdzie: 3 osoby, nie wejdzie: 2 osoby."));

    // Head B: only the group whose row covers it.
    d->whoHead->setCurrentIndex(1);
    d->whoRun->click();
    EXPECT_EQ(column(d->whoTable, 0), QStringList({"nie", "nie", "nie", "nie", "tak"}));
    EXPECT_EQ(d->whoTable->item(1, 7)->text(), QStringLiteral("uprawnienie nie obejmuje głowicy B"));

    d->whoHead->setCurrentIndex(0);
    d->whoRun->click();
    d->whoFind->setText("nowak");
    EXPECT_EQ(column(d->whoTable, 1, true), QStringList({"Nowak Anna"}));
    EXPECT_TRUE(d->whoCounts->text().endsWith("Pasuje do „nowak”: 1 (wejdzie: 1)."));
    d->whoFind->setText("Biuro");
    EXPECT_EQ(column(d->whoTable, 1, true).size(), 4);

    // The rows in view go to the file, in Windows-1250.
    const QString file = workPath("kto.csv");
    dialogs.fileNames.enqueue(file);
    d->whoExport->click();
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = Windows1250::decode(csv.readAll()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith("Wejdzie;Nazwisko i imię;ID_USER;Grupa;Karta"));
    EXPECT_EQ(lines[2], QStringLiteral("tak;Kowalski Jan;2;Biuro;00000000B2;2;1;Zawsze;00:00–24:00;"));
    EXPECT_EQ(dialogs.shown, QStringList({"save: CSV|csv"}));
}

TEST_F(ReachWindowTest, WhereShowsEachPassageHeadAndTheWeek)
{
    click("ReachButton");
    ReachDialog* d = page->reachDialog();
    d->tabs->setCurrentIndex(1);
    d->wherePerson->setCurrentIndex(d->wherePerson->findText("Kowalski Jan"));
    d->whereRun->click();
    EXPECT_EQ(column(d->whereTable, 0), QStringList({"Brama", "Brama", "Drzwi", "Drzwi"}));
    EXPECT_EQ(column(d->whereTable, 2), QStringList({"wejdzie", "nie wejdzie", "wejdzie", "wejdzie"}));
    EXPECT_EQ(column(d->whereTable, 4), QStringList({"00:00–24:00", "—", "00:00–24:00", "00:00–24:00"}));
    EXPECT_TRUE(d->whereSummary->text().endsWith("głowice, przez które wejdzie teraz: 3."))
        << d->whereSummary->text().toStdString();

    d->whereCard->setText("nieznana");
    d->whereByCard->setChecked(true);
    d->whereRun->click();
    EXPECT_EQ(d->whereTable->rowCount(), 0);
    EXPECT_TRUE(d->whereSummary->text().endsWith("Karta nieznana nie istnieje."));

    d->tabs->setCurrentIndex(2);
    d->cardsRun->click();
    EXPECT_EQ(column(d->cardsTable, 1), QStringList({"00000000D4", "00000000E5"}));
    expectNothingShown();
}

TEST_F(ReachWindowTest, PreviewsTellWhoLosesAndWriteNothing)
{
    const QString before = scalar("SELECT CONCAT_WS(',', USERS, `GROUPS`, CARDS, PERMISSIONS, "
                                  "PERMISSIONS_has_GROUPS) FROM STATUS");
    clickRow(page->DBGrid4, "Biuro");
    click("PreviewGroupDelete");
    ChangePreviewDialog* preview = page->changePreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->summary->text(),
              QStringLiteral("Usunięcie grupy „Biuro”: 2 osoby stracą dostęp do 2 przejść."));
    EXPECT_EQ(preview->list->rowCount(), 6);   // Brama A, Drzwi A and B, for two people each
    EXPECT_EQ(preview->list->item(0, 0)->text(), QStringLiteral("straci"));

    // The first row of Biuro's list: Brama, head A.
    clickRow(page->DBGrid6, "Brama");
    click("PreviewPermissionRevoke");
    EXPECT_EQ(preview->summary->text(),
              QStringLiteral("Usunięcie uprawnienia na przejściu „Brama”: 2 osoby stracą dostęp do 1 przejścia."));

    clickRow(page->DBGrid5, "Zawsze");
    click("PreviewTemplateDelete");
    EXPECT_EQ(preview->summary->text(),
              QStringLiteral("Usunięcie szablonu „Zawsze”: 3 osoby stracą dostęp do 2 przejść."));

    // The editor's fields as they would be saved: unchanged, then every day closed.
    click("PreviewTemplateSave");
    EXPECT_EQ(preview->summary->text(),
              QStringLiteral("Zapamiętanie zmian szablonu „Zawsze”: Nikt nie zyska ani nie straci dostępu."));
    for (int day = 0; day < 7; ++day)
        page->editor()->setDayFields(day, "00:00", "00:00");
    click("PreviewTemplateSave");
    EXPECT_EQ(preview->summary->text(),
              QStringLiteral("Zapamiętanie zmian szablonu „Zawsze”: 3 osoby stracą dostęp do 2 przejść."));

    expectNothingShown();
    EXPECT_EQ(scalar("SELECT CONCAT_WS(',', USERS, `GROUPS`, CARDS, PERMISSIONS, PERMISSIONS_has_GROUPS) "
                     "FROM STATUS"),
              before);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM PERMISSIONS_has_GROUPS"), 3);
    EXPECT_EQ(scalarInt("SELECT DEL FROM `GROUPS` WHERE ID_GROUP = 2"), 0);
}

}  // namespace

namespace {

// Runs the program's command line in the test's folder (its Config.ini names the
// test database); returns the exit status, with what was printed.
int command(const QStringList& arguments, QString& out, QString& err)
{
    std::FILE* o = std::tmpfile();
    std::FILE* e = std::tmpfile();
    const int status = CommandLine::run(arguments, o, e);
    auto read = [](std::FILE* f) {
        std::rewind(f);
        QByteArray bytes;
        char buffer[4096];
        while (const size_t n = std::fread(buffer, 1, sizeof buffer, f))
            bytes.append(buffer, static_cast<qsizetype>(n));
        std::fclose(f);
        return QString::fromLocal8Bit(bytes);
    };
    out = read(o);
    err = read(e);
    return status;
}

TEST_F(ReachWindowTest, CommandsWhoWhereAndCards)
{
    QString out, err;
    ASSERT_EQ(command({"who", "--device-name", "Brama", "--head", "a", "--date", "2026-03-02", "--time", "08:00"},
                      out, err),
              0)
        << err.toStdString();
    QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 8) << out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Kto wejdzie: Brama (ID_DEVICE = 1), głowica A Wejście, 2026-03-02 08:00:00"));
    EXPECT_TRUE(lines[1].startsWith("Wejdzie\tNazwisko i imię\tID_USER"));
    EXPECT_EQ(lines[3], QStringLiteral("tak\tKowalski Jan\t2\tBiuro\t00000000B2\t2\t1\tZawsze\t00:00–24:00\t"));
    EXPECT_EQ(lines[7], QStringLiteral("Wejdzie: 3 osoby, nie wejdzie: 2 osoby."));

    ASSERT_EQ(command({"where", "--card", "00000000C3"}, out, err), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("głowica B Wyjście: wejdzie (karta 00000000C3, NMID = 2)")) << out.toStdString();
    EXPECT_TRUE(out.contains("Przejścia z uprawnieniami: 1, głowice, przez które wejdzie teraz: 2."));

    ASSERT_EQ(command({"cards", "--expiring", "7"}, out, err), 0) << err.toStdString();
    EXPECT_TRUE(out.startsWith("Ważność kończy się w ciągu 7 dni")) << out.toStdString();
    EXPECT_TRUE(out.contains("Ważne karty usuniętych osób lub grup: 1\n  00000000D4"));

    // Wrong arguments and unknown passages end in one line on err and status 2.
    EXPECT_EQ(command({"who", "--device", "1"}, out, err), 2);
    EXPECT_EQ(err, QStringLiteral("valdrix who: --head musi być A albo B (zobacz valdrix --help)\n"));
    EXPECT_EQ(command({"who", "--device-name", "Nie ma", "--head", "B"}, out, err), 2);
    EXPECT_EQ(err, QStringLiteral("valdrix who: żadne przejście nie nazywa się 'Nie ma' (zobacz valdrix --help)\n"));
    EXPECT_EQ(command({"where", "--person", "x"}, out, err), 2);
    EXPECT_EQ(command({"cards", "--expiring", "-1"}, out, err), 2);
    ASSERT_EQ(command({"--help"}, out, err), 0);
    EXPECT_TRUE(out.contains("  where (--person ID | --card KOD)"));
}

}  // namespace
