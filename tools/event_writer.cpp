// Writes passage events into a demo database as the controllers' event server
// would: every few seconds one event of an existing person at a device, and
// STATUS.EVENTS raised with it, so that the client's event page fills while one
// watches. Stops by itself after a bounded time.
//
// Usage: event_writer SERVER DATABASE [--every SECONDS] [--for SECONDS]
//   SERVER    a loopback address (127.x.x.x) of a MariaDB/MySQL server, login vqx / vqx
//   --every   seconds between two events (default 3, at least 0.1)
//   --for     seconds until the writer stops (default 600, at most 86400)
#include "dataaccess/Command.h"
#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"
#include "dataaccess/Errors.h"
#include "dataaccess/Transaction.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

namespace {

struct Options {
    QString server;
    QString database;
    double every = 3;
    double duration = 600;
};

[[noreturn]] void usage(const char* why)
{
    std::fprintf(stderr, "event_writer: %s\nusage: event_writer SERVER DATABASE [--every SECONDS] [--for SECONDS]\n", why);
    std::exit(2);
}

bool isLoopback(const QString& address)
{
    const QStringList parts = address.split(QLatin1Char('.'));
    if (parts.size() != 4 || parts[0] != QLatin1String("127"))
        return false;
    for (const QString& part : parts) {
        bool ok = false;
        const int value = part.toInt(&ok);
        if (!ok || value < 0 || value > 255)
            return false;
    }
    return true;
}

Options parse(int argc, char** argv)
{
    Options o;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--every") || arg == QLatin1String("--for")) {
            if (++i >= argc)
                usage("a number is missing");
            bool ok = false;
            const double value = QString::fromLocal8Bit(argv[i]).toDouble(&ok);
            if (!ok || value <= 0)
                usage("not a positive number");
            (arg == QLatin1String("--every") ? o.every : o.duration) = value;
        } else if (positional == 0) {
            o.server = arg;
            ++positional;
        } else if (positional == 1) {
            o.database = arg;
            ++positional;
        } else {
            usage("too many arguments");
        }
    }
    if (positional != 2)
        usage("SERVER and DATABASE are needed");
    // Only a server of this machine: the writer invents events.
    if (!isLoopback(o.server))
        usage("SERVER must be a loopback address (127.x.x.x)");
    o.every = std::max(o.every, 0.1);
    o.duration = std::min(o.duration, 86400.0);
    return o;
}

QString quoted(Connection& connection, const QString& text)
{
    return QLatin1Char('\'') + connection.escape(text) + QLatin1Char('\'');
}

// One passage: a live person, one of the devices the person's group may pass
// (any device when there is none), mostly entries at head A and exits at head
// B, now and then a button opening or a forced entry.
bool writeEvent(Connection& connection, Dataset& query, Command& command, std::mt19937& random)
{
    query.setStatement(QStringLiteral(
        "SELECT ID_USER, ID_GROUP, FIRST_NAME, NAME FROM USERS WHERE DEL = 0 ORDER BY RAND() LIMIT 1"));
    query.reexecute();
    if (query.eof())
        return false;
    const int person = query.integer(QStringLiteral("ID_USER"));
    const int group = query.integer(QStringLiteral("ID_GROUP"));
    const QString who = query.text(QStringLiteral("FIRST_NAME")) + QLatin1Char(' ') + query.text(QStringLiteral("NAME"));

    query.setStatement(QStringLiteral(
        "SELECT DEVICE.ID_DEVICE, DEVICE.FACTORY, DEVICE.NAME, DEVICE.NAME_A, DEVICE.NAME_B FROM DEVICE "
        "LEFT JOIN PERMISSIONS_has_GROUPS ON ID_DEVICE_FK = DEVICE.ID_DEVICE AND ID_GROUP_FK = %1 "
        "WHERE DEVICE.DEL = 0 ORDER BY ID_DEVICE_FK IS NULL, RAND() LIMIT 1").arg(group));
    query.reexecute();
    if (query.eof())
        return false;
    const int roll = std::uniform_int_distribution<int>(0, 99)(random);
    const int type = roll < 46 ? 1 : roll < 92 ? 2 : roll < 97 ? 3 : 4;
    const QString head = query.text(type == 2 ? QStringLiteral("NAME_B") : QStringLiteral("NAME_A"));
    const QString device = query.text(QStringLiteral("NAME"));

    Transaction unit(connection);
    command.clearLines();
    command.addLine(QStringLiteral("INSERT INTO EVENTS (ID_USER, ID_GROUP, ID_DEVICE, TYPE, TIME, SERIAL, CANAL, HEAD)"));
    command.addLine(QStringLiteral("VALUES (%1, %2, %3, %4, NOW(), %5, '1', %6)")
                        .arg(person).arg(group).arg(query.integer(QStringLiteral("ID_DEVICE"))).arg(type)
                        .arg(quoted(connection, query.text(QStringLiteral("FACTORY"))), quoted(connection, head)));
    command.execute();
    command.clearLines();
    command.addLine(QStringLiteral("UPDATE STATUS SET EVENTS = COALESCE(EVENTS, 0) + 1"));
    command.execute();
    unit.commit();
    std::printf("%s  typ %d  %s\n", qPrintable(who), type, qPrintable(device + QStringLiteral(" / ") + head));
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = parse(argc, argv);
    Connection connection;
    connection.setServer(options.server);
    connection.setLogin(QStringLiteral("vqx"));
    connection.setPassword(QStringLiteral("vqx"));
    connection.setDatabase(options.database);
    Dataset query(connection, QStringLiteral("SQL"));
    Command command(connection, QStringLiteral("MyCommand1"));
    std::mt19937 random(std::random_device{}());

    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::duration<double>(options.duration);
    const auto step = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.every));
    QString lastProblem;
    for (auto next = Clock::now(); next < end; next += step) {
        std::this_thread::sleep_until(next);
        QString problem;
        try {
            if (!writeEvent(connection, query, command, random))
                problem = QStringLiteral("no live person or no device in the database yet");
        } catch (const DataAccessError& e) {
            problem = e.message();   // told once; the next round tries again
        }
        if (!problem.isEmpty() && problem != lastProblem)
            std::fprintf(stderr, "event_writer: %s\n", qPrintable(problem));
        lastProblem = problem;
    }
    std::printf("event_writer: stopped after %.0f s\n", options.duration);
    return 0;
}
