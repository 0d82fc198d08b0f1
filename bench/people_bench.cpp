// One AddUser and one AddCard, with their re-queries, on a large installation,
// against the same statements sent bare through the client library.
// Usage: people_bench SERVER [PEOPLE [CARDS]]   (defaults 20000 and 40000; login
// vqx / vqx; builds and finally drops the database valdrix_people_bench)
// The statements the program sends are read from the server's general log during
// a warm-up call and replayed bare with fresh names or codes, so that both sides
// send exactly the same text. The program runs the real page, with its grids,
// headless. Prints the median of the rounds of each, their ratio (target at most
// 1.5, each under 0.5 s) and EXPLAIN of the list statements: the card count of
// each person must go through the owner index, not a scan of CARDS.
#include "BenchSupport.h"
#include "Installation.h"

#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "people/UsersPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <mysql.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <tuple>
#include <vector>

namespace {

// Every row of the result as text ("NULL" for a null), for EXPLAIN.
QList<QStringList> rows(MYSQL* mysql, const QString& query)
{
    const QByteArray text = query.toUtf8();
    if (mysql_real_query(mysql, text.constData(), static_cast<unsigned long>(text.size())) != 0)
        die(QString::fromUtf8(mysql_error(mysql)) + "\n" + query);
    QList<QStringList> out;
    MYSQL_RES* result = mysql_store_result(mysql);
    if (!result)
        return out;
    const unsigned columns = mysql_num_fields(result);
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        QStringList values;
        for (unsigned c = 0; c < columns; ++c)
            values << (row[c] ? QString::fromUtf8(row[c], static_cast<qsizetype>(lengths[c]))
                              : QStringLiteral("NULL"));
        out << values;
    }
    mysql_free_result(result);
    return out;
}

QStringList replaced(QStringList statements, const QString& from, const QString& to)
{
    for (QString& s : statements)
        s.replace(QLatin1Char('\'') + from + QLatin1Char('\''), QLatin1Char('\'') + to + QLatin1Char('\''));
    return statements;
}

struct Result {
    double program;
    double bare;
};

// Time of each replayed statement, per round, to show where the time goes.
std::vector<std::vector<double>> statementTimes;

void replay(MYSQL* mysql, const QStringList& statements)
{
    statementTimes.resize(static_cast<std::size_t>(statements.size()));
    QElapsedTimer timer;
    for (qsizetype i = 0; i < statements.size(); ++i) {
        timer.start();
        send(mysql, statements[i]);
        statementTimes[static_cast<std::size_t>(i)].push_back(timer.nsecsElapsed() / 1e6);
    }
}

void printStatementTimes(const char* what, const QStringList& statements)
{
    std::printf("\n%s, client library, median per statement:\n", what);
    for (qsizetype i = 0; i < statements.size(); ++i)
        std::printf("  %7.1f ms  %s\n", median(statementTimes[static_cast<std::size_t>(i)]),
                    qPrintable(statements[i].left(90).replace('\n', ' ')));
    statementTimes.clear();
}

// Alternates the program and the bare replay so that both see the same growth.
Result measure(int rounds, const std::function<void(int)>& program, const std::function<void(int)>& bare)
{
    std::vector<double> a, b;
    QElapsedTimer timer;
    for (int round = 0; round < rounds; ++round) {
        timer.start();
        program(round);
        QCoreApplication::processEvents();   // the grids repaint
        a.push_back(timer.nsecsElapsed() / 1e6);
        timer.start();
        bare(round);
        b.push_back(timer.nsecsElapsed() / 1e6);
    }
    return {median(a), median(b)};
}

void explain(MYSQL* mysql, const char* what, const QString& statement)
{
    std::printf("\nEXPLAIN %s:\n  %s\n", what, qPrintable(QString(statement).replace('\n', ' ')));
    std::printf("  %-4s %-20s %-8s %-8s %-14s %8s  %s\n", "id", "select_type", "table", "type", "key",
                "rows", "Extra");
    for (const QStringList& r : rows(mysql, "EXPLAIN " + statement))
        std::printf("  %-4s %-20s %-8s %-8s %-14s %8s  %s\n", qPrintable(r[0]), qPrintable(r[1]),
                    qPrintable(r[2]), qPrintable(r[3]), qPrintable(r[5]), qPrintable(r[8]),
                    qPrintable(r.value(9)));
}

// The card count per person is a dependent subquery: it must look CARDS up by owner.
bool countsByOwnerIndex(MYSQL* mysql, const QString& statement)
{
    for (const QStringList& r : rows(mysql, "EXPLAIN " + statement))
        if (r[2] == QLatin1String("CARDS"))
            return r[3] == QLatin1String("ref") && r[5] == QLatin1String("CARDS_OWNER");
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SERVER [PEOPLE [CARDS]]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const QString server = QString::fromLocal8Bit(argv[1]);
    InstallationSizes sizes;
    sizes.people = argc > 2 ? std::atoi(argv[2]) : 20000;
    sizes.cards = argc > 3 ? std::atoi(argv[3]) : 40000;
    sizes.devices = 20;
    sizes.permissionsPerGroup = 5;
    sizes.events = 0;
    const int rounds = 7;

    std::printf("building the installation (%d people, %d cards) ...\n", sizes.people, sizes.cards);
    QElapsedTimer build;
    build.start();
    const Installation in = createInstallation(server, "valdrix_people_bench", sizes, nullptr);
    std::printf("built in %.1f s\n", build.nsecsElapsed() / 1e9);

    // The program in a folder of its own, with a Config.ini for the installation.
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    writeConfig(work.path(), in.server, in.database);

    StrictDialogs dialogs;   // any box means the benchmark did not do what it meant to
    TDataModule3 module;
    TForm1 form(module, dialogs);
    form.Timer1->stop();
    form.show();
    form.ConnectDatabase();
    QCoreApplication::processEvents();
    UsersPage* page = form.usersPage();
    MYSQL* admin = connectBare(in.server, in.database);
    MYSQL* bare = connectBare(in.server, in.database);
    const unsigned long programThread = mysql_thread_id(module.Quorvel.handle());
    const QString group = QString::number(in.firstGroupId);

    // AddUser: a person whose names the installation does not hold yet, each time.
    int nextName = sizes.people;
    const PersonName warm = generatedPersonName(nextName++);
    const QStringList userStatements = capture(admin, programThread, [&] {
        if (page->AddUser(warm.firstName, warm.surname, group) <= 0)
            die("AddUser added nobody");
    });
    std::vector<PersonName> programNames, bareNames;
    for (int i = 0; i < rounds; ++i) {
        programNames.push_back(generatedPersonName(nextName++));
        bareNames.push_back(generatedPersonName(nextName++));
    }
    const Result addUser = measure(
        rounds,
        [&](int i) { page->AddUser(programNames[i].firstName, programNames[i].surname, group); },
        [&](int i) {
            const QStringList statements =
                replaced(replaced(userStatements, warm.firstName, bareNames[i].firstName),
                         warm.surname, bareNames[i].surname);
            replay(bare, statements);
        });
    printStatementTimes("AddUser", userStatements);

    // AddCard: a new code for a person in the middle of the list.
    module.Users.setRecordNo(module.Users.rowCount() / 2);
    int nextCode = sizes.cards;
    const QString warmCode = generatedCardCode(nextCode++);
    const QStringList cardStatements = capture(admin, programThread, [&] {
        if (page->AddCard(warmCode, "Druk", "1", "2010-01-01", "2030-12-31") <= 0)
            die("AddCard added nothing");
    });
    std::vector<QString> programCodes, bareCodes;
    for (int i = 0; i < rounds; ++i) {
        programCodes.push_back(generatedCardCode(nextCode++));
        bareCodes.push_back(generatedCardCode(nextCode++));
    }
    const Result addCard = measure(
        rounds,
        [&](int i) { page->AddCard(programCodes[i], "Druk", "1", "2010-01-01", "2030-12-31"); },
        [&](int i) {
            replay(bare, replaced(cardStatements, warmCode, bareCodes[i]));
        });
    printStatementTimes("AddCard", cardStatements);

    std::printf("\n%d people, %d cards; median of %d rounds each, side by side\n", sizes.people,
                sizes.cards, rounds);
    std::printf("                        program  client library  ratio   (target: ratio <= 1.5, each < 500 ms)\n");
    for (const auto& [name, r, count] : {std::tuple{"AddUser + re-queries", addUser, userStatements.size()},
                                        std::tuple{"AddCard + re-queries", addCard, cardStatements.size()}})
        std::printf("%-22s %7.1f ms  %9.1f ms   %5.2f   (%lld statements)\n", name, r.program, r.bare,
                    r.program / r.bare, static_cast<long long>(count));

    // The list statements, as the program holds them.
    const QString activeList = module.Users.statement();
    page->CheckBox14->click();
    const QString deletedList = module.Users.statement();
    page->CheckBox14->click();
    explain(bare, "list of people (Users)", activeList);
    explain(bare, "deleted people (Users)", deletedList);
    explain(bare, "cards of a person (Karty)", module.Karty.statement());
    for (const QString& s : userStatements + cardStatements)
        if (s.startsWith("SELECT COUNT(*) FROM USERS") || s.startsWith("Select COUNT(*)"))
            explain(bare, "duplicate test", s);
    const bool indexed = countsByOwnerIndex(bare, activeList);
    std::printf("\ncard count per person through the owner index (no scan of CARDS per person): %s\n",
                indexed ? "yes" : "NO");

    mysql_close(admin);
    mysql_close(bare);
    module.Quorvel.close();
    dropInstallation(in);
    return indexed ? 0 : 1;
}
