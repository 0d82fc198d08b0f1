// The import of a file of people with cards through the real page, into a large
// installation, against the same rows' statements sent bare through the client
// library; then "Oczyść bazę zdarzeń z osób usunietych" and "Usuń wszystkie
// zdarzenia" on the installation's events.
// Usage: import_bench SERVER [ROWS [PEOPLE [EVENTS]]]   (defaults 10000, 20000 and
// 1000000; login vqx / vqx; builds and finally drops the database valdrix_import_bench)
// The bare sequence is, for every row: the person's duplicate test, insert, key
// read-back and two USERS bumps, then the card's duplicate test, insert with the
// person's key, key read-back and two CARDS bumps; no transactions and no list
// re-reads. The program runs the real window headless, on the page "Import". The
// bare rows are sent once before and once after the program's import (each with
// rows of their own), and the ratio is taken against their mean, so that a machine
// whose speed drifts during the run weighs on both sides alike.
// Targets: the program's import under 60 s, at most twice the bare time.
#include "BenchSupport.h"
#include "Installation.h"

#include "app/TForm1.h"
#include "text/Windows1250.h"
#include "db/TDataModule3.h"
#include "events/EventsPage.h"
#include "import/ImportPage.h"
#include "ui/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <mysql.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {

struct Row {
    QString firstName, surname, code;   // as the import stores them: spaces removed
};

// Rows from generator indexes that the installation does not hold yet.
std::vector<Row> rowsFrom(int firstPerson, int firstCard, int count)
{
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const PersonName name = generatedPersonName(firstPerson + i);
        rows.push_back({QString(name.firstName).remove(u' '), QString(name.surname).remove(u' '),
                        generatedCardCode(firstCard + i)});
    }
    return rows;
}

QByteArray fileText(const std::vector<Row>& rows)
{
    QString text;
    for (const Row& row : rows)
        text += row.firstName + u';' + row.surname + u';' + row.code + QStringLiteral("\r\n");
    return Windows1250::encode(text);
}

// The statements of the import for each row, as the program words them.
void importBare(MYSQL* mysql, const std::vector<Row>& rows, const QString& group)
{
    for (const Row& row : rows) {
        const QString f = escaped(mysql, row.firstName), s = escaped(mysql, row.surname),
                      c = escaped(mysql, row.code);
        if (number(mysql, "SELECT COUNT(*) FROM USERS WHERE FIRST_NAME = '" + f + "'\nAND NAME = '" + s + "'") != 0)
            die("bare: the person exists: " + row.surname);
        send(mysql, "INSERT INTO USERS (ID_GROUP, FIRST_NAME, NAME)VALUES\n(" + group + ",'" + f + "','" + s + "');");
        const QString id = firstValue(mysql, "SELECT ID_USER FROM USERS WHERE USERS.FIRST_NAME = '" + f
                                                 + "' AND USERS.NAME = '" + s + "';");
        send(mysql, "UPDATE STATUS SET USERS = USERS + 1");
        send(mysql, "UPDATE STATUS SET USERS = USERS + 1");
        if (number(mysql, "Select COUNT(*)  FROM CARDS WHERE CODE='" + c + "';") != 0)
            die("bare: the card exists: " + row.code);
        send(mysql, "INSERT INTO CARDS (ID_USER_FK,CODE,TYPE,PRINT,KARENCJA_OD,KARENCJA_DO)VALUES\n('" + id
                        + "','" + c + "','1','',\n'2010-01-01','2030-12-31');");
        firstValue(mysql, "Select ID_CARD  FROM CARDS WHERE CODE='" + c + "';");
        send(mysql, "UPDATE STATUS SET CARDS = CARDS + 1");
        send(mysql, "UPDATE STATUS SET CARDS = CARDS + 1");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SERVER [ROWS [PEOPLE [EVENTS]]]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const QString server = QString::fromLocal8Bit(argv[1]);
    const int rows = argc > 2 ? std::atoi(argv[2]) : 10000;
    InstallationSizes sizes;
    sizes.people = argc > 3 ? std::atoi(argv[3]) : 20000;
    sizes.cards = 2 * sizes.people;
    sizes.events = argc > 4 ? std::atoi(argv[4]) : 1000000;
    sizes.devices = 500;

    std::printf("building the installation (%d people, %d cards, %d events) ...\n", sizes.people,
                sizes.cards, sizes.events);
    std::fflush(stdout);
    QElapsedTimer timer;
    timer.start();
    const Installation in = createInstallation(server, "valdrix_import_bench", sizes, nullptr);
    std::printf("built in %.1f s\n", seconds(timer));

    // The program in a folder of its own, with a Config.ini for the installation.
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    writeConfig(work.path(), in.server, in.database);

    StrictDialogs dialogs(StrictDialogs::AnswerYes);
    TDataModule3 module;
    TForm1 form(module, dialogs);
    form.Timer1->stop();
    form.AdvOfficePager1->setCurrentIndex(5);
    form.show();
    form.Connect1->trigger();
    QCoreApplication::processEvents();
    ImportPage* page = form.importPage();
    page->ComboBox4->setCurrentIndex(0);
    const QString group = QString::number(form.lookups().GroupList.at(0).id);
    MYSQL* admin = connectBare(in.server, in.database);
    MYSQL* bare = connectBare(in.server, in.database);

    // Fresh names and codes for each run: the bare run, a short warm-up of the
    // program, the program's run, the bare run again.
    const int firstPerson = sizes.people, firstCard = sizes.cards;
    const std::vector<Row> bareRows = rowsFrom(firstPerson, firstCard, rows);
    const std::vector<Row> warmRows = rowsFrom(firstPerson + rows, firstCard + rows, 2);
    const std::vector<Row> programRows = rowsFrom(firstPerson + rows + 2, firstCard + rows + 2, rows);
    const std::vector<Row> bareAfterRows = rowsFrom(firstPerson + 2 * rows + 2, firstCard + 2 * rows + 2, rows);

    double cpu = cpuSeconds();
    timer.start();
    importBare(bare, bareRows, group);
    const double bareBefore = seconds(timer);
    const double bareCpu = cpuSeconds() - cpu;

    const QString warmFile = work.filePath("warm.csv"), programFile = work.filePath("people.csv");
    for (const auto& [path, content] : {std::pair{warmFile, fileText(warmRows)}, std::pair{programFile, fileText(programRows)}}) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            die("cannot write " + path);
    }
    page->LoadImportFile(warmFile);
    const QStringList warmStatements =
        capture(admin, mysql_thread_id(module.Quorvel.handle()), [&] { page->Button36->click(); });

    timer.start();
    page->LoadImportFile(programFile);
    const double loadSeconds = seconds(timer);
    cpu = cpuSeconds();
    timer.start();
    page->Button36->click();
    QCoreApplication::processEvents();
    const double programSeconds = seconds(timer);
    const double programCpu = cpuSeconds() - cpu;

    timer.start();
    importBare(bare, bareAfterRows, group);
    const double bareAfter = seconds(timer);
    const double bareSeconds = (bareBefore + bareAfter) / 2;

    const QString added = ImportPage::UserAddedText + ImportPage::CardAddedText;
    int wrong = 0;
    for (int r = 1; r <= rows; ++r)
        wrong += page->StringGrid1->cells(4, r) != added;
    if (wrong != 0 || page->StringGrid1->rowCount() != rows + 1)
        die(QStringLiteral("%1 rows of %2 were not imported").arg(wrong).arg(rows));
    // Every 7th card: its owner is the person of its row.
    long long misowned = 0;
    for (std::size_t i = 0; i < programRows.size(); i += 7) {
        const Row& row = programRows[i];
        misowned += firstValue(bare, "SELECT CONCAT(USERS.FIRST_NAME, ';', USERS.NAME) FROM CARDS JOIN USERS "
                                     "ON USERS.ID_USER = CARDS.ID_USER_FK WHERE CODE = '" + escaped(bare, row.code) + "'")
                    != row.firstName + u';' + row.surname;
    }
    std::printf("\nthe program's statements for 2 rows (then the lists once):\n");
    for (const QString& s : warmStatements)
        std::printf("  %s\n", qPrintable(QString(s).replace(u'\n', u' ').left(100)));

    std::printf("\nimport of %d rows (person + card) into %d people, %d cards\n", rows, sizes.people, sizes.cards);
    std::printf("  load of the file into the grid     %7.2f s\n", loadSeconds);
    std::printf("  program (Importuj, real window)    %7.2f s   %6.0f rows/s   (client CPU %.2f s)\n",
                programSeconds, rows / programSeconds, programCpu);
    std::printf("  bare statements, client library    %7.2f s   %6.0f rows/s   (client CPU %.2f s;"
                " %.2f s before the program, %.2f s after)\n",
                bareSeconds, rows / bareSeconds, bareCpu, bareBefore, bareAfter);
    std::printf("  ratio                              %7.2f     (targets: program < 60 s, ratio <= 2)\n",
                programSeconds / bareSeconds);
    std::printf("  people now %lld, counters USERS %lld CARDS %lld, sampled cards with a wrong owner %lld\n",
                number(bare, "SELECT COUNT(*) FROM USERS"), number(bare, "SELECT USERS FROM STATUS"),
                number(bare, "SELECT CARDS FROM STATUS"), misowned);

    // Maintenance on the installation's events.
    const long long events = number(bare, "SELECT COUNT(*) FROM EVENTS");
    const long long deletedPeople = number(bare, "SELECT COUNT(*) FROM USERS WHERE DEL = 1");
    const long long theirEvents = number(bare, "SELECT COUNT(*) FROM EVENTS JOIN USERS ON USERS.ID_USER = EVENTS.ID_USER WHERE USERS.DEL = 1");
    QPushButton* purge = form.findChild<QPushButton*>("Button24");
    QPushButton* deleteAll = form.findChild<QPushButton*>("Button34");
    if (!purge || !deleteAll)
        die("no maintenance buttons");
    timer.start();
    purge->click();
    const double purgeSeconds = seconds(timer);
    timer.start();
    form.guard().run([&] { form.eventsPage()->Button27Click(); });
    const double filterSeconds = seconds(timer);
    const long long left = number(bare, "SELECT COUNT(*) FROM EVENTS");
    timer.start();
    deleteAll->click();
    const double deleteSeconds = seconds(timer);

    std::printf("\nmaintenance on %lld events\n", events);
    std::printf("  \"Oczyść bazę zdarzeń z osób usunietych\"  %7.2f s   (%lld deleted people, %lld of their events removed;"
                " \"Filtruj\" alone %.2f s)\n", purgeSeconds, deletedPeople, events - left, filterSeconds);
    std::printf("  \"Usuń wszystkie zdarzenia\"               %7.2f s   (%lld events; EVENTS now %lld)\n",
                deleteSeconds, left, number(bare, "SELECT COUNT(*) FROM EVENTS"));
    if (events - left != theirEvents)
        die("the purge removed another number of events than the deleted people had");

    mysql_close(admin);
    mysql_close(bare);
    module.Quorvel.close();
    dropInstallation(in);
    const bool met = programSeconds < 60 && programSeconds / bareSeconds <= 2;
    return met ? 0 : 1;
}
