// The window on a large installation: how long the GUI thread stays silent for
// each action of the event page, the exports and the maintenance, and the page
// and export statements next to today's ones and the bare client library.
// Usage: window_bench SERVER [--events N] [--people N] [--rounds N] [--reuse DATABASE]
//   Builds valdrix_window_bench (1,000,000 events, 20,000 people, 40,000 cards,
//   500 devices) with the shared generator and drops it afterwards. --reuse runs
//   on an existing installation instead: its deleted rows are purged and, last,
//   all its events deleted.
// Prints, with the machine's load before and after:
//   - the count and the page statements (first, middle, last page) as sent today
//     (every skipped row joined) and as the window sends them now (deferred join),
//     side by side through the bare client library, medians; the last page
//     against the first (target: ratio <= 3);
//   - for "Connect", "Filtruj", ">>", a typed page, "<<", a person filter, adding
//     a person and a card, the CSV and XML exports, "Oczyść bazę..." and "Usuń
//     wszystkie zdarzenia": the longest time the GUI thread was silent, seen by a
//     5 ms timer that notes its own lateness (target: < 300 ms);
//   - each export's time against the bare client library fetching the same rows
//     and writing the same bytes (target: ratio <= 1.2).
#include "BenchSupport.h"
#include "Installation.h"

#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "events/EventStatements.h"
#include "events/EventsPage.h"
#include "people/UsersPage.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <mysql.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

QString load()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

// Answers every question Yes and every save dialog with `file`; any error ends the run.
class BenchDialogs : public Dialogs {
public:
    QString file;
    void notice(const QString& text) override { die("notice: " + text); }
    bool question(const QString&) override { return true; }
    ConnectAnswer connectMessage(const QString& text, const QString& details) override
    {
        die("connect: " + text + " (" + details + ")");
    }
    void errorBox(const QString& text) override { die("error: " + text); }
    QString saveFileName(const QString&, const QString&, const QString&) override { return file; }
    QString openFileName(const QString&) override { return {}; }
};

// A timer every 5 ms on the GUI thread; the longest gap between two of its beats
// while an action ran is the time the window did not answer.
class Heartbeat {
public:
    Heartbeat()
    {
        clock_.start();
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
            if (done_ && done_())
                loop_.quit();
        });
        timer_.start();
    }
    // Runs `action` from the event loop and waits, beating, until `done` holds
    // (at once after the action, when not given); returns the longest silence in
    // ms and, in `total`, the time until done.
    double silence(const std::function<void()>& action, std::function<bool()> done = {}, double* total = nullptr)
    {
        bool returned = false;
        done_ = [&] { return returned && (!done || done()); };
        QTimer::singleShot(0, [&] {
            last_ = clock_.nsecsElapsed();
            longest_ = 0;
            start_ = last_;
            action();
            returned = true;
        });
        loop_.exec();
        const qint64 end = clock_.nsecsElapsed();
        longest_ = std::max(longest_, end - last_);
        done_ = nullptr;
        if (total)
            *total = (end - start_) / 1e6;
        return longest_ / 1e6;
    }

private:
    QElapsedTimer clock_;
    QTimer timer_;
    QEventLoop loop_;
    qint64 last_ = 0, longest_ = 0, start_ = 0;
    std::function<bool()> done_;
};

// One statement sent bare, every row fetched; ms.
double bare(MYSQL* mysql, const QString& statement)
{
    QElapsedTimer timer;
    timer.start();
    send(mysql, statement);
    return timer.nsecsElapsed() / 1e6;
}

EventCount countNow(MYSQL* mysql)
{
    const QByteArray text = EventStatements::count(EventFilter{}).toUtf8();
    if (mysql_real_query(mysql, text.constData(), text.size()) != 0)
        die(mysql_error(mysql));
    MYSQL_RES* result = mysql_store_result(mysql);
    MYSQL_ROW row = mysql_fetch_row(result);
    QStringList cells;
    for (unsigned i = 0; i < mysql_num_fields(result); ++i)
        cells << QString::fromUtf8(row[i] ? row[i] : "");
    mysql_free_result(result);
    return EventCount::fromRow(cells);
}

void row(const char* what, double ms, const char* note = "")
{
    std::printf("  %-34s GUI thread silent at most %7.0f ms  %s%s\n", what, ms, ms < 300 ? "ok" : "OVER 300 ms", note);
    std::fflush(stdout);
}

void statementRow(const char* what, MYSQL* mysql, const QString& today, const QString& now, int rounds,
                  double* nowMedian = nullptr)
{
    std::vector<double> a, b;
    for (int i = 0; i < rounds; ++i) {
        if (i % 2) {
            a.push_back(bare(mysql, today));
            b.push_back(bare(mysql, now));
        } else {
            b.push_back(bare(mysql, now));
            a.push_back(bare(mysql, today));
        }
    }
    std::printf("  %-22s today %8.1f ms   now %8.1f ms   now/today %.3f\n", what, median(a), median(b),
                median(b) / median(a));
    std::fflush(stdout);
    if (nowMedian)
        *nowMedian = median(b);
}

// The export's bytes written by the bare client library: the same statement,
// every row fetched, then the file's bytes written; ms.
double bareExport(MYSQL* mysql, const QByteArray& bytes, const QString& file)
{
    QElapsedTimer timer;
    timer.start();
    send(mysql, EventStatements::all(EventFilter{}));
    std::FILE* out = std::fopen(file.toLocal8Bit().constData(), "wb");
    if (!out)
        die("cannot write " + file);
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out);
    std::fclose(out);
    return timer.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SERVER [--events N] [--people N] [--rounds N] [--reuse DATABASE]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const QString server = argv[1];
    InstallationSizes sizes;
    int rounds = 3;
    QString reuse;
    for (int i = 2; i + 1 < argc; i += 2) {
        const QString option = argv[i], value = argv[i + 1];
        if (option == "--events") sizes.events = value.toInt();
        else if (option == "--people") sizes.people = value.toInt();
        else if (option == "--rounds") rounds = std::max(1, value.toInt());
        else if (option == "--reuse") reuse = value;
        else die("unknown option " + option);
    }
    std::printf("window_bench: load before %s\n", qPrintable(load()));
    Installation installation;
    try {
        if (reuse.isEmpty()) {
            installation = createInstallation(server, "valdrix_window_bench", sizes, nullptr);
        } else {
            installation.server = server;
            installation.database = reuse;
        }
    } catch (const std::exception& e) {
        die(e.what());
    }
    const QString database = installation.database;
    MYSQL* mysql = connectBare(server, database);
    std::printf("%s events on %s, database %s\n",
                qPrintable(firstValue(mysql, "SELECT COUNT(*) FROM EVENTS")), qPrintable(server), qPrintable(database));

    // --- The statements, bare, today's next to the window's ---------------------
    std::printf("statements through the bare client library (medians of %d, alternating):\n", rounds);
    const EventCount counted = countNow(mysql);
    const qint64 total = counted.total;
    const QString oldCount = QStringLiteral(
        "SELECT COALESCE(SUM(counted.n), 0) from (SELECT EVENTS.ID_USER, EVENTS.ID_DEVICE, EVENTS.TYPE, COUNT(*) AS n "
        "FROM EVENTS WHERE TRUE GROUP BY EVENTS.ID_GROUP, EVENTS.TYPE, EVENTS.ID_DEVICE, EVENTS.ID_USER) counted,"
        "USERS,DEVICE,TYP WHERE counted.ID_USER = USERS.ID_USER AND counted.ID_DEVICE = DEVICE.ID_DEVICE "
        "AND counted.TYPE = TYP.ID");
    statementRow("count", mysql, oldCount, EventStatements::count(EventFilter{}), rounds);
    const qint64 middle = total / 200 * 100, last = total / 100 * 100;
    double first = 0, lastMs = 0;
    statementRow("first page", mysql, EventStatements::joinedPage({}, 0, 100), EventStatements::page({}, 0, 100, counted),
                 rounds, &first);
    statementRow("middle page", mysql, EventStatements::joinedPage({}, middle, 100),
                 EventStatements::page({}, middle, 100, counted), rounds);
    statementRow("last page", mysql, EventStatements::joinedPage({}, last, 100),
                 EventStatements::page({}, last, 100, counted), rounds, &lastMs);
    std::printf("  last page / first page now: %.2f (target <= 3)\n", lastMs / first);

    // --- The window ---------------------------------------------------------------
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    writeConfig(work.path(), server, database);
    BenchDialogs dialogs;
    TDataModule3 module;
    auto form = std::make_unique<TForm1>(module, dialogs);
    form->Timer1->stop();
    form->resize(1300, 880);
    form->show();
    QApplication::processEvents();
    Heartbeat beat;
    std::printf("the window (load %s):\n", qPrintable(load()));
    row("Connect", beat.silence([&] { form->Connect1->trigger(); }));
    form->AdvOfficePager1->setCurrentIndex(2);
    EventsPage* page = form->eventsPage();
    row("Filtruj (page 1)", beat.silence([&] { page->Button27->click(); }));
    row(">> (last page)", beat.silence([&] { page->BitBtn4->click(); }));
    page->Edit18->setText(QString::number(middle / 100 + 1));
    row("typed page (the middle one)", beat.silence([&] { page->Button27->click(); }));
    row("<< (first page)", beat.silence([&] { page->BitBtn1->click(); }));
    page->CheckBox11->click();
    page->ComboBox9->setCurrentIndex(page->ComboBox9->count() / 2);
    row("Filtruj, one person", beat.silence([&] { page->Button27->click(); }));
    page->CheckBox11->click();

    UsersPage* users = form->usersPage();
    const PersonName name = generatedPersonName(generatedNameCapacity() - 1);
    row("adding a person", beat.silence([&] {
        if (users->AddUser(name.firstName, name.surname, QStringLiteral("1")) <= 0)
            die("AddUser added nobody");
    }));
    row("adding a card", beat.silence([&] {
        if (users->AddCard(generatedCardCode(sizes.cards + 7), "Druk", "1", "2010-01-01", "2030-12-31") <= 0)
            die("AddCard added nothing");
    }));

    for (const auto& [kind, button] : {std::pair{"csv", page->Button30}, std::pair{"xml", page->Button31}}) {
        dialogs.file = work.filePath(QStringLiteral("valdrix.%1").arg(kind));
        double ms = 0;
        const double silent = beat.silence([&, b = button] { b->click(); }, [&] { return !page->exportRunning(); }, &ms);
        row(qPrintable(QStringLiteral("%1 export of every event").arg(kind)), silent);
        QFile file(dialogs.file);
        if (!file.open(QIODevice::ReadOnly))
            die("no export file");
        const QByteArray bytes = file.readAll();
        const double bareMs = bareExport(mysql, bytes, work.filePath(QStringLiteral("bare.%1").arg(kind)));
        std::printf("  %-4s export %8.0f ms, bare client library writing the same %lld bytes %8.0f ms, "
                    "ratio %.2f (target <= 1.2)\n",
                    kind, ms, static_cast<long long>(bytes.size()), bareMs, ms / bareMs);
        std::fflush(stdout);
    }

    form->AdvOfficePager1->setCurrentIndex(4);
    page->Edit18->setText("1");
    row("Oczyść bazę... (purge)", beat.silence([&] { form->findChild<QPushButton*>("Button24")->click(); }));
    row("Usuń wszystkie zdarzenia", beat.silence([&] { form->findChild<QPushButton*>("Button34")->click(); }));
    std::printf("window_bench: load after %s\n", qPrintable(load()));

    form.reset();
    mysql_close(mysql);
    if (reuse.isEmpty())
        dropInstallation(installation);
    return 0;
}
