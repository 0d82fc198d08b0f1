// The tools without a window: "check" and "card-code" against Config.ini in the
// working directory, their output and exit statuses, and the program itself run
// without a display.
#include "app/CommandLine.h"
#include "app/Version.h"
#include "support/AppFixture.h"
#include "support/Files.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include "support/CommandRun.h"

#include <QProcessEnvironment>

namespace {

using Outcome = CommandOutcome;
Outcome run(const QStringList& arguments) { return runCommand(arguments); }

// One line on standard error, nothing on standard output.
void expectError(const Outcome& r, const QString& part)
{
    EXPECT_EQ(r.status, 2) << r.out.toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(part)) << r.err.toStdString();
}

class CommandLineToolsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro')");
        sql("INSERT INTO DEVICE (ID_DEVICE, NAME) VALUES (1, 'Brama'), (2, 'Drzwi'), (3, 'Drzwi')");
        sql("INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME, D1) VALUES (1, 'Rano', '06:00:10:00')");
        sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES (1, 2, 'Jan', 'Kowalski')");
        sql("INSERT INTO CARDS (ID_USER_FK, CODE, KARENCJA_OD, KARENCJA_DO) VALUES "
            "(1, '0000000123', '2010-01-01', '2030-12-31')");
        sql("INSERT INTO PERMISSIONS_has_GROUPS (ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK, INPUT, "
            "OUTPUT) VALUES (1, 2, 1, 1, 0)");
        writeConfig(testServerAddress(), databaseName());
    }
    QByteArray config() { return readFile(workPath("Config.ini")); }
};

TEST_F(CommandLineToolsTest, CheckAnswersWithTheVerdictAndItsExitStatus)
{
    const QStringList monday = {"--date", "2024-03-04", "--head", "A"};
    const Outcome granted = run(QStringList{"check", "--card", "0000000123", "--device", "1", "--time",
                                        "09:59:59"} + monday);
    EXPECT_EQ(granted.status, 0) << granted.err.toStdString();
    EXPECT_TRUE(granted.out.startsWith(QString::fromUtf8("Wejdzie\nSprawdzenie: karta „0000000123”, "
                                                         "przejście DEVICE.ID_DEVICE = 1, głowica A, "
                                                         "2024-03-04 (poniedziałek), godz. 09:59:59.\n")))
        << granted.out.toStdString();
    EXPECT_TRUE(granted.out.contains(QString::fromUtf8("\n      [tak] Szablon „Rano”")));
    EXPECT_TRUE(granted.err.isEmpty());

    const Outcome late = run(QStringList{"check", "--person", "1", "--device-name", "Brama", "--time",
                                     "10:00"} + monday);
    EXPECT_EQ(late.status, 1);
    EXPECT_TRUE(late.out.startsWith("Nie wejdzie\n"));
    EXPECT_TRUE(late.out.contains("10:00:00 nie mieści się"));
    EXPECT_EQ(run({"check", "--card=0000000123", "--device=1", "--head=b", "--date=2024-03-04",
                   "--time=09:00"}).status, 1);
    // Without a date and time the check is for now; it answers either way.
    const int now = run({"check", "--card", "0000000123", "--device", "1", "--head", "A"}).status;
    EXPECT_TRUE(now == 0 || now == 1);
}

TEST_F(CommandLineToolsTest, CheckRefusesWhatItCannotAsk)
{
    const QStringList rest = {"--device", "1", "--head", "A"};
    expectError(run(QStringList{"check"} + rest), "podaj albo --card KOD, albo --person ID");
    expectError(run(QStringList{"check", "--card", "1", "--person", "1"} + rest), "albo");
    expectError(run({"check", "--card", "1", "--head", "A"}), "--device ID, albo --device-name NAZWA");
    expectError(run({"check", "--card", "1", "--device", "1"}), "--head musi być A albo B");
    expectError(run(QStringList{"check", "--card", "1", "--date", "2024-02-30"} + rest),
                "--date musi być datą RRRR-MM-DD, nie '2024-02-30'");
    expectError(run(QStringList{"check", "--card", "1", "--time", "25:00"} + rest), "--time");
    expectError(run(QStringList{"check", "--person", "x"} + rest), "--person wymaga dodatniej");
    expectError(run(QStringList{"check", "--card", "1", "--colour", "red"} + rest),
                "nieznany argument '--colour'");
    expectError(run(QStringList{"check", "--card", "1", "--card", "2"} + rest), "podana dwa razy");
    expectError(run({"check", "--card", "1", "--head", "A", "--device-name", "Drzwi"}),
                QString::fromUtf8("przejść o nazwie 'Drzwi' jest 2; podaj --device ID"));
    expectError(run({"check", "--card", "1", "--head", "A", "--device-name", "Okno"}),
                QString::fromUtf8("żadne przejście nie nazywa się 'Okno'"));
    expectError(run(QStringList{"check", "--card", "1", "--device"}), "wymaga wartości");
}

TEST_F(CommandLineToolsTest, ConfigIsReadLikeTheWindowAndNeverWritten)
{
    const QStringList question = {"check", "--card", "1", "--device", "1", "--head", "A"};
    // Lower-case names match; a missing key takes the window's default.
    ASSERT_TRUE(writeFile(workPath("Config.ini"),
                          "[server]\r\nip=" + testServerAddress().toLatin1() + "\r\nlogin=vqx\r\nPASSWORD=vqx\r\n"));
    const QByteArray before = config();
    const Outcome noDatabase = run(question);
    expectError(noDatabase, "valdrix check: ");
    EXPECT_TRUE(noDatabase.err.contains("Quorvel")) << noDatabase.err.toStdString();
    EXPECT_EQ(config(), before);

    writeConfig(deadServerAddress(), databaseName());
    const QByteArray dead = config();
    expectError(run(question), deadServerAddress());
    EXPECT_EQ(config(), dead);
}

TEST_F(CommandLineToolsTest, CardCodeConvertsOrNamesTheField)
{
    const Outcome w26 = run({"card-code", "w26", "12", "34567"});
    EXPECT_EQ(w26.status, 0);
    EXPECT_TRUE(w26.out.startsWith("Kod w systemie: 00000C8707\n")) << w26.out.toStdString();
    EXPECT_TRUE(w26.out.contains("1 00001100 1000011100000111 1"));
    EXPECT_EQ(run({"card-code", "W26", "12,34567"}).out, w26.out);
    EXPECT_EQ(run({"card-code", "dec", "820999"}).out, w26.out);
    EXPECT_EQ(run({"card-code", "hex", "C8707"}).out, w26.out);
    EXPECT_EQ(run({"card-code", "code", "00000c8707"}).out, w26.out);
    EXPECT_TRUE(run({"card-code", "w40", "1", "0"}).out.startsWith("Kod w systemie: 0000400000\n"));

    expectError(run({"card-code", "w26", "256", "1"}),
                QString::fromUtf8("valdrix card-code: Pole „Kod obiektu (FC)”: dozwolona liczba "
                                  "dziesiętna od 0 do 255 (wpisano „256”)."));
    expectError(run({"card-code", "w34", "1"}), "card-code w34 przyjmuje FC i CN");
    expectError(run({"card-code", "dec"}), "card-code dec przyjmuje jedną wartość");
    expectError(run({"card-code", "bin", "101"}), "wymaga postaci");
    expectError(run({"card-code"}), "wymaga postaci");
}

TEST_F(CommandLineToolsTest, ImportCheckForecastsEachRowOfTheFile)
{
    ASSERT_TRUE(writeFile(workPath("people.csv"), "Jan;Kowalski;0000000123\r\nEwa;Nowak;55\r\nbez pol\r\nEWA;NOWAK;\r\n"));
    const QString before = scalar("SELECT CONCAT_WS(',', (SELECT COUNT(*) FROM USERS), USERS, CARDS) FROM STATUS");
    const Outcome r = run({"import-check", "people.csv"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QString::fromUtf8("1\tJan\tKowalski\t0000000123\tosoba już istnieje, karta nie zostanie dodana\n"
                                       "2\tEwa\tNowak\t55\tnowa osoba z kartą\n"
                                       "3\t\t\t\twiersz bez nazwiska i imienia\n"
                                       "4\tEWA\tNOWAK\t\tosoba powtórzona w pliku (wiersz 2)\n"
                                       "Sprawdzenie pliku (nic nie zapisano): 4 wiersze; nowe osoby: 1, w tym z "
                                       "kartą: 1; osoby już istniejące: 1; karty już w systemie: 0; "
                                       "powtórzone w pliku: osoby 1, karty 0; bez nazwiska i imienia: 1. "
                                       "Kodowanie pliku: Windows-1250.\n"));
    EXPECT_EQ(scalar("SELECT CONCAT_WS(',', (SELECT COUNT(*) FROM USERS), USERS, CARDS) FROM STATUS"), before);

    expectError(run({"import-check", "missing.csv"}), "valdrix import-check: missing.csv: File not found");
    expectError(run({"import-check"}), "import-check przyjmuje jeden PLIK");
    expectError(run({"import-check", "a.csv", "b.csv"}), "import-check przyjmuje jeden PLIK");
}

// Options answered before any window exists.
TEST(CommandLineTest, VersionHelpAndUnknownOptions)
{
    EXPECT_EQ(run({}).status, -1);   // the window starts
    EXPECT_EQ(run({"-platform", "offscreen"}).status, -1);   // Qt's options go to the window
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "valdrix " VALDRIX_VERSION "\n");
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("--version"));
    const Outcome unknown = run({"--frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.out.isEmpty());
    EXPECT_EQ(unknown.err, "valdrix: nieznana opcja '--frobnicate' (zobacz valdrix --help)\n");
}

TEST(CommandLineHelpTest, ListsTheTools)
{
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* tool : {"  check (--card KOD | --person ID)", "  card-code hex WARTOŚĆ", "  import-check PLIK"})
        EXPECT_TRUE(help.out.contains(QString::fromUtf8(tool))) << tool;
    EXPECT_TRUE(help.out.contains("2 błąd"));
    expectError(run({"chek"}), "nieznana opcja 'chek'");
}

// The built program, with no display and no platform plugin chosen.
TEST_F(CommandLineToolsTest, TheProgramRunsTheToolsWithoutADisplay)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(workDir.path());
    auto exec = [&](const QStringList& arguments) {
        program.start(QStringLiteral(VALDRIX_EXECUTABLE), arguments);
        EXPECT_TRUE(program.waitForFinished(30000));
        return program.exitCode();
    };
    EXPECT_EQ(exec({"card-code", "dec", "820999"}), 0);
    EXPECT_TRUE(program.readAllStandardOutput().startsWith("Kod w systemie: 00000C8707\n"));
    EXPECT_EQ(exec({"check", "--card", "0000000123", "--device", "1", "--head", "A", "--date",
                    "2024-03-04", "--time", "06:00"}),
              0);
    EXPECT_TRUE(program.readAllStandardOutput().startsWith("Wejdzie\n"));
    EXPECT_EQ(exec({"check", "--card", "0000000123", "--device", "1", "--head", "B", "--date",
                    "2024-03-04", "--time", "06:00"}),
              1);
    EXPECT_EQ(exec({"card-code", "w26", "1"}), 2);
    EXPECT_EQ(program.readAllStandardError().count('\n'), 1);
}

// Stored names and a typed code holding "%1", "%2", "%99" and markup, through the
// built program: every line quotes them as they are.
TEST_F(CommandLineToolsTest, TheCheckQuotesStoredAndTypedTextExactly)
{
    sql("UPDATE USERS SET FIRST_NAME = 'Jan %1', NAME = 'Kowalski %2' WHERE ID_USER = 1");
    sql("UPDATE GROUPS SET NAME = 'Biuro %2%1' WHERE ID_GROUP = 2");
    sql("UPDATE DEVICE SET NAME = 'Brama %99', NAME_A = 'We <b>%1</b>' WHERE ID_DEVICE = 1");
    sql("UPDATE PERMISSIONS SET NAME = 'Rano %1 %2' WHERE ID_PERMISSIONS = 1");
    sql("INSERT INTO CARDS (ID_CARD, ID_USER_FK, CODE, KARENCJA_OD, KARENCJA_DO) VALUES "
        "(7, 1, '%1', '2010-01-01', '2030-12-31')");
    QProcess program;
    program.setWorkingDirectory(workDir.path());
    auto exec = [&](const QStringList& arguments) {
        program.start(QStringLiteral(VALDRIX_EXECUTABLE), arguments);
        EXPECT_TRUE(program.waitForFinished(30000));
        EXPECT_TRUE(program.readAllStandardError().isEmpty());
        return program.exitCode();
    };
    const QStringList when = {"--head", "A", "--date", "2024-03-04", "--time", "09:00"};
    ASSERT_EQ(exec(QStringList{"check", "--card", "%1", "--device-name", "Brama %99"} + when), 0);
    const QStringList lines = QString::fromUtf8(program.readAllStandardOutput()).split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QString::fromUtf8("Wejdzie"));
    EXPECT_EQ(lines[1], QString::fromUtf8("Sprawdzenie: karta „%1”, przejście DEVICE.ID_DEVICE = 1, głowica A, "
                                          "2024-03-04 (poniedziałek), godz. 09:00:00."));
    EXPECT_TRUE(lines[2].startsWith(QString::fromUtf8("Przejście „Brama %99” (DEVICE.ID_DEVICE = 1), głowica A "
                                                      "„We <b>%1</b>”; bez lokalizacji")))
        << lines[2].toStdString();
    for (const char* line :
         {"\n[tak] Karta „%1” (CARDS.ID_CARD = 7): właściciel USERS.ID_USER = 1, ważna od 2010-01-01",
          "\n  [tak] Osoba „Jan %1 Kowalski %2” (USERS.ID_USER = 1): nie usunięta",
          "\n  [tak] Grupa „Biuro %2%1” (GROUPS.ID_GROUP = 2): nie usunięta (DEL = 0).",
          "\n      [tak] Szablon „Rano %1 %2” (PERMISSIONS.ID_PERMISSIONS = 1), poniedziałek D1",
          "\nRozstrzyga karta „%1” (CARDS.ID_CARD = 7) z uprawnieniem NMID = "})
        EXPECT_TRUE(lines.join('\n').contains(QString::fromUtf8(line))) << line << "\n"
                                                                         << lines.join('\n').toStdString();

    // Each of the person's cards, named by the person's number.
    ASSERT_EQ(exec(QStringList{"check", "--person", "1", "--device", "1"} + when), 0);
    EXPECT_TRUE(QString::fromUtf8(program.readAllStandardOutput())
                    .contains(QString::fromUtf8("Karta „%1” (CARDS.ID_CARD = 7)")));
}

// Options that are not Qt's own, and words after --help or --version, are refused
// in one line; a word holding a line break is shown escaped.
TEST(CommandLineTest, SingleDashWordsAndExtraWordsAreRefusedInOneLine)
{
    for (const char* word : {"-version", "-help", "-x", "-platformx", "-reverse=1"})
        expectError(run({word}), QStringLiteral("nieznana opcja '%1'").arg(word));
    expectError(run({"--help", "extra"}), "--help nie przyjmuje argumentów, a podano 'extra'");
    expectError(run({"--version", "extra"}), "--version nie przyjmuje argumentów");
    expectError(run({"-style"}), "opcja '-style' wymaga wartości");
    expectError(run({"-style", "fusion", "extra"}), "nieznana opcja 'extra'");
    EXPECT_EQ(run({"-style", "fusion", "-reverse", "-platform=offscreen"}).status, -1);
    expectError(run({"--a\nb\tc"}), "nieznana opcja '--a\\nb\\tc'");
    expectError(run({"check", "--card\nx"}), "valdrix check: nieznany argument '--card\\nx'");
}

// The built program without a display: nothing aborts, every refusal is one line.
TEST_F(CommandLineToolsTest, WithoutADisplayNothingAborts)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    program.setWorkingDirectory(workDir.path());
    auto exec = [&](const QStringList& arguments, const QProcessEnvironment& env) {
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(VALDRIX_EXECUTABLE), arguments);
        EXPECT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << arguments.join(' ').toStdString();
        const QByteArray err = program.readAllStandardError();
        EXPECT_EQ(err.count('\n'), 1) << err.constData();
        EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
        return program.exitCode();
    };
    for (const QStringList& arguments : QList<QStringList>{{"-version"}, {"-help"}, {"-x"}, {"--help", "extra"}})
        EXPECT_EQ(exec(arguments, environment), 2) << arguments.join(' ').toStdString();
    // The window, or Qt's own options for it, without a display.
    EXPECT_EQ(exec({}, environment), 2);
    EXPECT_EQ(exec({"-style", "fusion"}, environment), 2);
    // A display that cannot be opened.
    QProcessEnvironment unreachable = environment;
    unreachable.insert("DISPLAY", ":97");
    EXPECT_EQ(exec({"-style", "fusion"}, unreachable), 2);
}

// The commands never guess a server: a missing, unreadable or binary Config.ini,
// or one without an address, is an error naming the file.
TEST_F(CommandLineToolsTest, WithoutAUsableConfigTheCommandsStop)
{
    const QStringList question = {"check", "--card", "1", "--device", "1", "--head", "A"};
    const QString path = workPath("Config.ini");
    ASSERT_TRUE(QFile::remove(path));
    expectError(run(question), QStringLiteral("valdrix check: %1 not found").arg(path));
    expectError(run({"import-check", "nic.csv"}), "nic.csv: File not found");
    ASSERT_TRUE(writeFile(workPath("people.csv"), "Jan;Kowalski;\r\n"));
    expectError(run({"import-check", "people.csv"}), QStringLiteral("%1 not found").arg(path));

    ASSERT_TRUE(writeFile(path, QByteArray("\x7f" "ELF\x02\x01\x01\x00\x00", 9)));
    expectError(run(question), QStringLiteral("%1 is not a text file").arg(path));
    ASSERT_TRUE(writeFile(path, "[SERVER]\r\nLogin=vqx\r\n"));
    expectError(run(question), QStringLiteral("%1 names no server address").arg(path));
    ASSERT_TRUE(writeFile(path, "[SERVER]\r\nIP=\r\n"));
    expectError(run(question), "names no server address");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    if (!QFile(path).open(QIODevice::ReadOnly))   // root reads it all the same
        expectError(run(question), QStringLiteral("cannot read %1").arg(path));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// "Now" is the current moment at the passage, in its location's time zone, and the
// output names it; unknown passages and persons are errors, deleted ones denials.
TEST_F(CommandLineToolsTest, NowIsThePassagesMomentAndMissingRowsAreErrors)
{
    sql("INSERT INTO LOCALIZATION (ID, NAME, TIME_ZONE) VALUES (1, 'Jekaterynburg', 17)");   // GMT+5
    sql("UPDATE DEVICE SET ID_LOCALIZATION = 1 WHERE ID_DEVICE = 1");
    const Outcome now = run({"check", "--card", "0000000123", "--device", "1", "--head", "A"});
    ASSERT_TRUE(now.status == 0 || now.status == 1) << now.err.toStdString();
    const QStringList lines = now.out.split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith("Teraz: ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(QString::fromUtf8("w strefie przejścia (GMT+5:00) Jekaterinburg (UTC ")))
        << lines[1].toStdString();
    const QDateTime said = QDateTime::fromString(lines[1].mid(7, 19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    ASSERT_TRUE(said.isValid()) << lines[1].toStdString();
    const QDateTime expected = QDateTime::currentDateTimeUtc().addSecs(5 * 3600);
    const QDateTime there(expected.date(), expected.time());
    EXPECT_LT(std::abs(said.secsTo(there)), 300) << lines[1].toStdString();
    // The check asked about that moment.
    EXPECT_TRUE(lines[2].contains(said.date().toString(Qt::ISODate)) &&
                lines[2].contains(said.time().toString(QStringLiteral("HH:mm:ss"))))
        << lines[2].toStdString();

    const QStringList when = {"--head", "A", "--date", "2024-03-04", "--time", "09:00"};
    expectError(run(QStringList{"check", "--card", "0000000123", "--device", "99"} + when),
                "no passage has the ID 99");
    expectError(run(QStringList{"check", "--person", "99", "--device", "1"} + when), "no person has the ID 99");
    EXPECT_EQ(run(QStringList{"check", "--person", "1", "--device", "1"} + when).status, 0);
    sql("UPDATE DEVICE SET DEL = 1 WHERE ID_DEVICE = 1");
    const Outcome deletedPassage = run(QStringList{"check", "--person", "1", "--device", "1"} + when);
    EXPECT_EQ(deletedPassage.status, 1);
    EXPECT_TRUE(deletedPassage.out.contains(QString::fromUtf8("Przejście jest usunięte")));
    EXPECT_EQ(run(QStringList{"check", "--person", "1", "--device-name", "Brama"} + when).status, 1);
    sql("UPDATE DEVICE SET DEL = 0 WHERE ID_DEVICE = 1");
    sql("UPDATE USERS SET DEL = 1 WHERE ID_USER = 1");
    const Outcome deletedPerson = run(QStringList{"check", "--person", "1", "--device", "1"} + when);
    EXPECT_EQ(deletedPerson.status, 1);
    EXPECT_TRUE(deletedPerson.err.isEmpty());
}

// import-check: one line a row whatever the values hold, and the encoding read.
TEST_F(CommandLineToolsTest, ImportCheckKeepsOneLineARowAndNamesTheEncoding)
{
    ASSERT_TRUE(writeFile(workPath("lf.csv"), "Jan;Kowalski;1\nEwa;Nowak;\t2\\n\n"));
    const Outcome lf = run({"import-check", "lf.csv"});
    EXPECT_EQ(lf.status, 0) << lf.err.toStdString();
    const QStringList lines = lf.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << lf.out.toStdString();
    EXPECT_EQ(lines[0], QString::fromUtf8("1\tJan\tKowalski\t1\\nEwa;Nowak;\\t2\\\\n\\n\twiersz odrzucony: wartość ze "
                                          "znakiem końca wiersza (plik ma końce wierszy LF; zapisz go z końcami CR LF)"));
    EXPECT_TRUE(lines[1].endsWith(" Kodowanie pliku: Windows-1250.")) << lines[1].toStdString();

    ASSERT_TRUE(writeFile(workPath("utf8.csv"), QString::fromUtf8("Anna;Łukaszewicz;\r\n").toUtf8()));
    const Outcome utf8 = run({"import-check", "utf8.csv"});
    EXPECT_TRUE(utf8.out.startsWith(QString::fromUtf8("1\tAnna\tŁukaszewicz\t\tnowa osoba\n"))) << utf8.out.toStdString();
    EXPECT_TRUE(utf8.out.endsWith(" Kodowanie pliku: UTF-8.\n"));
}

}  // namespace
