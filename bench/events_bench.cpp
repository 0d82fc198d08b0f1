// The event page on a large installation: "Filtruj", the two exports and the
// watch, each next to a baseline run side by side.
// Usage: events_bench SERVER [--events N] [--people N] [--devices N] [--rounds N]
//                     [--watch SECONDS] [--reuse DATABASE]
//   Builds the installation valdrix_events_bench (1,000,000 events, 10,000 people,
//   500 devices) with the shared generator and drops it afterwards; --reuse runs on
//   an existing installation instead and leaves it.
// Prints:
//   - one "Filtruj" (count and page statements, labels, grid painted) against the
//     same two statements sent bare through the client library: without a filter,
//     with a person filter and with a seven-day range (target: ratio <= 1.2, < 1 s);
//   - the CSV and the XML export of every event against a bare program that fetches
//     the same rows and writes the same bytes, each in a process of its own (target:
//     ratio <= 2, peak memory < 1 GiB);
//   - with the event writer adding an event every second, the longest time the GUI
//     thread did not answer while the watch refreshed the page (target: < 0.2 s).
#include "BenchSupport.h"
#include "Installation.h"

#include "app/TForm1.h"
#include "text/Windows1250.h"
#include "db/TDataModule3.h"
#include "events/EventStatements.h"
#include "events/EventsPage.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <mysql.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

// Dialogs that answer the save dialog with a preset name and print errors.
class BenchDialogs : public Dialogs {
public:
    QString file;
    int errors = 0;
    void notice(const QString& text) override { std::fprintf(stderr, "notice: %s\n", qPrintable(text)); }
    bool question(const QString&) override { return true; }
    ConnectAnswer connectMessage(const QString& text, const QString& details) override
    {
        std::fprintf(stderr, "connect message: %s (%s)\n", qPrintable(text), qPrintable(details));
        ++errors;
        return ConnectAnswer::Cancel;
    }
    void errorBox(const QString& text) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
        ++errors;
    }
    QString saveFileName(const QString&, const QString&, const QString&) override { return file; }
    QString openFileName(const QString&) override { return QString(); }
};

// The program's window on the installation, connected.
struct Window {
    QTemporaryDir dir;
    BenchDialogs dialogs;
    TDataModule3 module;
    std::unique_ptr<TForm1> form;

    Window(const QString& server, const QString& database)
    {
        writeConfig(dir.path(), server, database);
        QDir::setCurrent(dir.path());
        form = std::make_unique<TForm1>(module, dialogs);
        form->Timer1->stop();
        form->resize(1300, 880);
        form->show();
        form->Connect1->trigger();
        if (dialogs.errors || !module.Quorvel.isOpen())
            throw std::runtime_error("the window did not connect");
        form->AdvOfficePager1->setCurrentIndex(2);
        QApplication::processEvents();
    }
    EventsPage* page() const { return form->eventsPage(); }
};

void query(MYSQL* mysql, const QString& statement)
{
    const QByteArray text = statement.toUtf8();
    if (mysql_real_query(mysql, text.constData(), text.size()) != 0)
        throw std::runtime_error(mysql_error(mysql));
}

// Keeps the cells read from being optimised away.
volatile long long cellSink = 0;

// The two statements of a "Filtruj" sent bare, every cell read.
double bareFiltruj(MYSQL* mysql, const QString& count, const QString& page)
{
    QElapsedTimer timer;
    timer.start();
    long long cells = 0;
    for (const QString& statement : {count, page}) {
        query(mysql, statement);
        MYSQL_RES* result = mysql_store_result(mysql);
        const unsigned columns = mysql_num_fields(result);
        while (MYSQL_ROW row = mysql_fetch_row(result)) {
            const unsigned long* lengths = mysql_fetch_lengths(result);
            for (unsigned c = 0; c < columns; ++c)
                cells += row[c] ? QString::fromUtf8(row[c], static_cast<qsizetype>(lengths[c])).size() : 0;
        }
        mysql_free_result(result);
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    cellSink = cellSink + cells;
    return ms;
}

// Rounds alternate which of the two goes first; quick filters get more rounds,
// until both together took two seconds.
void filtrujRow(Window& w, MYSQL* bare, const char* label, int rounds)
{
    EventsPage* page = w.page();
    std::vector<double> ours, theirs;
    QElapsedTimer total;
    total.start();
    for (int round = 0; round < rounds || (total.elapsed() < 2000 && round < 500); ++round) {
        QApplication::processEvents();   // the previous round painted
        auto program = [&] {
            QElapsedTimer timer;
            timer.start();
            page->Button27Click();       // statements, labels, the grid's rows
            ours.push_back(timer.nsecsElapsed() / 1e6);
        };
        auto statements = [&] {
            theirs.push_back(bareFiltruj(bare, w.module.SQL.statement(), w.module.Events.statement()));
        };
        if (round == 0)
            program();   // the statements of this filter, for the bare run
        else if (round % 2)
            statements(), program();
        else
            program(), statements();
    }
    ours.erase(ours.begin());
    const double a = median(ours), b = median(theirs);
    std::printf("  %-22s Filtruj %8.1f ms   bare statements %8.1f ms   ratio %.2f (target <= 1.2, < 1000 ms)"
                "  %s events, %zu rounds\n",
                label, a, b, a / b, qPrintable(w.module.SQL.textAt(0)), theirs.size());
    std::fflush(stdout);
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// --- The export processes ---------------------------------------------------

// Fetches every event as the export statement does and writes the CSV bytes.
void bareCsv(MYSQL* mysql, std::FILE* out)
{
    query(mysql, EventStatements::all(EventFilter{}));
    MYSQL_RES* result = mysql_store_result(mysql);
    QByteArray buffer = Windows1250::encode(QStringLiteral(
        "Data i czas;imię;nazwisko;zdarzenie;nazwa kontrolera;nr kontrolera;typ;nazwa głowicy"));
    const int order[] = {4, 1, 2, 3, 5, 6, 7, 8};
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        buffer += "\r\n";
        for (int i = 0; i < 8; ++i) {
            const int c = order[i];
            if (i > 0)
                buffer += ';';
            if (c == 6)
                buffer += '\'';
            QByteArray value(row[c] ? row[c] : "", static_cast<qsizetype>(row[c] ? lengths[c] : 0));
            if (c == 4 && value.endsWith(" 00:00:00"))
                value.chop(9);
            const bool ascii = std::none_of(value.begin(), value.end(), [](char x) { return x & 0x80; });
            buffer += ascii ? value : Windows1250::encode(QString::fromUtf8(value));
            if (c == 6)
                buffer += '\'';
        }
        if (buffer.size() > (1 << 20)) {
            std::fwrite(buffer.constData(), 1, buffer.size(), out);
            buffer.truncate(0);
        }
    }
    std::fwrite(buffer.constData(), 1, buffer.size(), out);
    mysql_free_result(result);
}

// Fetches every event and writes the rows of the XML document after the schema
// that the program wrote (a few kilobytes, taken as they are).
void bareXml(MYSQL* mysql, const QByteArray& schema, std::FILE* out)
{
    query(mysql, EventStatements::all(EventFilter{}));
    MYSQL_RES* result = mysql_store_result(mysql);
    const char* const names[] = {"ID", "FIRST_NAME", "NAME", "NAME_1", "TIME", "NAME_2", "SERIAL", "CANAL", "HEAD"};
    QByteArray buffer = schema;
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        buffer += "\r\n    <z:row";
        for (int c = 0; c < 9; ++c) {
            if (!row[c])
                continue;
            buffer += ' ';
            buffer += names[c];
            buffer += "='";
            for (unsigned long i = 0; i < lengths[c]; ++i) {
                const char x = row[c][i];
                switch (x) {
                case '&': buffer += "&#x26;"; break;
                case '\'': buffer += "&#x27;"; break;
                case '"': buffer += "&#x22;"; break;
                case '<': buffer += "&#x3c;"; break;
                case '>': buffer += "&#x3e;"; break;
                case ' ': buffer += c == 4 ? 'T' : ' '; break;
                default: buffer += x;
                }
            }
            buffer += '\'';
        }
        buffer += " />";
        if (buffer.size() > (1 << 20)) {
            std::fwrite(buffer.constData(), 1, buffer.size(), out);
            buffer.truncate(0);
        }
    }
    buffer += "\r\n  </rs:data>\r\n</xml>";
    std::fwrite(buffer.constData(), 1, buffer.size(), out);
    mysql_free_result(result);
}

// One export in this process: prints "ms kilobytes".
int child(int argc, char** argv)
{
    const QString mode = argv[3], server = argv[1], database = argv[4], file = argv[5];
    QElapsedTimer timer;
    if (mode.startsWith("valdrix")) {
        QApplication app(argc, argv);
        Window w(server, database);
        w.dialogs.file = file;
        timer.start();
        if (mode == "valdrix-csv")
            w.page()->Button30Click();
        else
            w.page()->Button31Click();
        const double ms = timer.nsecsElapsed() / 1e6;
        if (w.dialogs.errors)
            return 1;
        std::printf("%.1f %ld\n", ms, peakKilobytes());
        return 0;
    }
    MYSQL* mysql = connectBare(server, database);
    std::FILE* out = std::fopen(argv[5], "wb");
    if (!out)
        return 1;
    timer.start();
    if (mode == "bare-csv") {
        bareCsv(mysql, out);
    } else {
        QFile programs(argv[6]);
        if (!programs.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray all = programs.readAll();
        bareXml(mysql, all.left(all.indexOf("<rs:data>") + 9), out);
    }
    std::fclose(out);
    const double ms = timer.nsecsElapsed() / 1e6;
    mysql_close(mysql);
    std::printf("%.1f %ld\n", ms, peakKilobytes());
    return 0;
}

struct Run {
    double ms = 0;
    long kilobytes = 0;
};

Run runChild(const QString& server, const QString& database, const QString& mode, const QString& file,
             const QString& extra = QString())
{
    QProcess process;
    QStringList arguments{server, "--child", mode, database, file};
    if (!extra.isEmpty())
        arguments << extra;
    process.start(QCoreApplication::applicationFilePath(), arguments);
    process.waitForFinished(-1);
    const QStringList out = QString::fromLatin1(process.readAllStandardOutput()).split(' ');
    if (process.exitCode() != 0 || out.size() != 2)
        throw std::runtime_error(("export " + mode + " failed: " + process.readAllStandardError()).toStdString());
    return {out[0].toDouble(), out[1].trimmed().toLong()};
}

void exportRow(const QString& server, const QString& database, const QString& dir, const char* kind, int rounds)
{
    const QString ours = dir + "/valdrix." + kind, theirs = dir + "/bare." + kind;
    std::vector<double> a, b;
    long memA = 0, memB = 0;
    for (int round = 0; round < rounds; ++round) {
        const Run r1 = runChild(server, database, QStringLiteral("valdrix-%1").arg(kind), ours);
        const Run r2 = runChild(server, database, QStringLiteral("bare-%1").arg(kind), theirs, ours);
        a.push_back(r1.ms);
        b.push_back(r2.ms);
        memA = std::max(memA, r1.kilobytes);
        memB = std::max(memB, r2.kilobytes);
    }
    QFile f1(ours), f2(theirs);
    f1.open(QIODevice::ReadOnly);
    f2.open(QIODevice::ReadOnly);
    const bool same = f1.readAll() == f2.readAll();
    std::printf("  %-4s export  %8.0f ms  peak %5ld MiB   bare program %8.0f ms  peak %5ld MiB   ratio %.2f "
                "(target <= 2, < 1024 MiB)  %lld bytes%s\n",
                kind, median(a), memA / 1024, median(b), memB / 1024, median(a) / median(b),
                static_cast<long long>(f1.size()), same ? ", the same bytes" : ", FILES DIFFER");
    std::fflush(stdout);
    QFile::remove(ours);
    QFile::remove(theirs);
}

// --- The watch --------------------------------------------------------------

void watchRow(Window& w, const QString& server, const QString& database, int seconds)
{
    const QString writer = QCoreApplication::applicationDirPath() + "/../tools/event_writer";
    QProcess events;
    events.start(writer, {server, database, "--every", "1", "--for", QString::number(seconds + 5)});
    if (!events.waitForStarted())
        throw std::runtime_error("cannot start " + writer.toStdString());

    int refreshes = 0;
    QObject::connect(&w.module.Events, &Dataset::reset, [&] { ++refreshes; });
    // A heartbeat every 5 ms; a gap between two beats is time the GUI thread was busy.
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longest = 0;
    QTimer heartbeat;
    heartbeat.setInterval(5);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last > 0)
            longest = std::max(longest, now - last);
        last = now;
    });
    w.form->Timer1Timer();   // the counter as it stands is the one seen last
    w.page()->waitForWatchRefresh();
    refreshes = 0;
    heartbeat.start();
    w.form->Timer1->start();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    w.form->Timer1->stop();
    heartbeat.stop();
    events.kill();
    events.waitForFinished();
    std::printf("  watch, %d s with an event a second: %d refreshes of the page; the GUI thread "
                "answered within %.0f ms at the longest (target < 200 ms)\n",
                seconds, refreshes, longest / 1e6);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && QString(argv[2]) == "--child")
        return child(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SERVER [--events N] [--people N] [--devices N] [--rounds N] "
                             "[--watch SECONDS] [--reuse DATABASE]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const QString server = argv[1];
    InstallationSizes sizes;
    sizes.people = 10000;
    sizes.cards = 20000;
    sizes.devices = 500;
    int rounds = 5, watchSeconds = 40;
    QString reuse;
    for (int i = 2; i + 1 < argc; i += 2) {
        const QString option = argv[i];
        const QString value = argv[i + 1];
        if (option == "--events") sizes.events = value.toInt();
        else if (option == "--people") sizes.people = value.toInt();
        else if (option == "--devices") sizes.devices = value.toInt();
        else if (option == "--rounds") rounds = std::max(1, value.toInt());
        else if (option == "--watch") watchSeconds = std::max(5, value.toInt());
        else if (option == "--reuse") reuse = value;
        else {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
    }
    try {
        Installation installation;
        if (reuse.isEmpty()) {
            installation = createInstallation(server, "valdrix_events_bench", sizes, nullptr);
        } else {
            installation.server = server;
            installation.database = reuse;
        }
        const QString database = installation.database;
        MYSQL* bare = connectBare(server, database);
        query(bare, "SELECT MAX(TIME), (SELECT ID_USER FROM EVENTS WHERE ID_USER > 0 ORDER BY ID DESC LIMIT 1),"
                    " COUNT(*) FROM EVENTS");
        MYSQL_RES* facts = mysql_store_result(bare);
        MYSQL_ROW row = mysql_fetch_row(facts);
        const QDate newest = QDate::fromString(QString::fromLatin1(row[0]).left(10), Qt::ISODate);
        const int person = QByteArray(row[1]).toInt();
        std::printf("events_bench: %s events on %s, database %s\n", row[2], qPrintable(server), qPrintable(database));
        mysql_free_result(facts);

        {
            Window w(server, database);
            EventsPage* page = w.page();
            filtrujRow(w, bare, "without a filter", rounds);

            page->CheckBox11->click();   // fills the person list of 10,000 people
            const std::vector<Tuser>& persons = w.form->lookups().PersonList;
            const auto found = std::find_if(persons.begin(), persons.end(), [&](const Tuser& u) { return u.id == person; });
            page->ComboBox9->setCurrentIndex(static_cast<int>(found - persons.begin()) - 1);
            filtrujRow(w, bare, "one person", rounds);
            page->CheckBox11->click();

            page->RadioButton3->setChecked(true);
            page->DateTimePicker3->setDate(newest.addDays(-6));
            page->DateTimePicker4->setDate(newest);
            filtrujRow(w, bare, "seven days", rounds);
            page->RadioButton2->setChecked(true);
            page->Button27Click();

            watchRow(w, server, database, watchSeconds);
        }

        QTemporaryDir files;
        exportRow(server, database, files.path(), "csv", std::min(rounds, 2));
        exportRow(server, database, files.path(), "xml", std::min(rounds, 2));

        mysql_close(bare);
        if (reuse.isEmpty())
            dropInstallation(installation);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "events_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
