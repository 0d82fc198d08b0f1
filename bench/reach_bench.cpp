// "Kto wejdzie" and "Dokąd wejdzie" at 20,000 people, 40,000 cards and 500
// passages, against the same statements sent bare through the client library.
// Usage: reach_bench SERVER [ROUNDS]   (login vqx / vqx; database valdrix_reach_bench)
// The operation's statements are taken from the server's general log of a first,
// untimed run, so the bare run sends exactly what the operation sent; the rest of
// the operation's time is reading the rows into its own form and applying the
// access rule to every person. Medians, their ratio (at most 1.2 wanted) and
// whether each stays under 1 s are printed.
#include "BenchSupport.h"
#include "Installation.h"

#include "access/Reach.h"
#include "dataaccess/Connection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <mysql.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Result {
    double program = 0, bare = 0;
};

Result measure(const char* name, MYSQL* admin, MYSQL* bare, Connection& connection, int rounds,
               const std::function<int()>& call)
{
    int rows = 0;
    const QStringList statements =
        capture(admin, mysql_thread_id(connection.handle()), [&] { rows = call(); });
    std::vector<double> program, sent;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        call();
        program.push_back(seconds(timer));
        timer.start();
        for (const QString& statement : statements)
            send(bare, statement);
        sent.push_back(seconds(timer));
    }
    const Result r{median(program), median(sent)};
    std::printf("%-14s %5d rows, %d statements: operation %7.1f ms, bare %7.1f ms, ratio %.2f%s%s\n", name,
                rows, static_cast<int>(statements.size()), r.program * 1e3, r.bare * 1e3, r.program / r.bare,
                r.program / r.bare <= 1.2 ? "" : "  (over 1.2)", r.program < 1.0 ? "" : "  (over 1 s)");
    std::fflush(stdout);
    return r;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SERVER [ROUNDS]\n", argv[0]);
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QString server = QString::fromLocal8Bit(argv[1]);
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    try {
        InstallationSizes sizes;
        sizes.events = 1000;
        const Installation in = createInstallation(server, QStringLiteral("valdrix_reach_bench"), sizes);
        MYSQL* bare = connectBare(server, in.database);
        MYSQL* admin = connectBare(server);
        // The default group (a tenth of everyone) on the busiest passage too, as
        // installations that let everyone through the main door have it.
        send(bare, QStringLiteral("INSERT INTO PERMISSIONS_has_GROUPS (ID_PERMISSIONS_FK, ID_GROUP_FK, "
                                  "ID_DEVICE_FK, INPUT, OUTPUT) VALUES (5, 1, %1, 1, 1)")
                       .arg(in.busiestDeviceId));
        Connection connection;
        configureConnection(connection, in);
        connection.open();
        const QDateTime utc(in.newestEvent.date(), QTime(9, 30), Qt::UTC);
        const QDateTime local = Reach::PassageNow(connection, in.busiestDeviceId, utc);
        std::printf("reach_bench: %d people, %d cards, %d passages; Kto wejdzie at passage %d (%d people "
                    "through its groups before the default group), Dokąd wejdzie for person %d\n",
                    in.sizes.people, in.sizes.cards, in.sizes.devices, in.busiestDeviceId,
                    in.busiestDevicePeople, in.samplePersonId);
        const Result who = measure("Kto wejdzie", admin, bare, connection, rounds, [&] {
            return static_cast<int>(
                Reach::WhoCanPass(connection, in.busiestDeviceId, ReaderHead::A, local.date(), local.time())
                    .entries.size());
        });
        const Result where = measure("Dokąd wejdzie", admin, bare, connection, rounds, [&] {
            return static_cast<int>(Reach::WhereCanGo(connection, in.samplePersonId, {}, utc).passages.size());
        });
        // Not a target, for the record: the preview of deleting the most used template.
        const int used = static_cast<int>(number(bare, "SELECT ID_PERMISSIONS_FK FROM PERMISSIONS_has_GROUPS "
                                                       "GROUP BY ID_PERMISSIONS_FK ORDER BY COUNT(*) DESC, "
                                                       "ID_PERMISSIONS_FK LIMIT 1"));
        measure("Skutki", admin, bare, connection, rounds, [&] {
            const ChangePreview p = Reach::PreviewChange(connection, {AccessChange::DeleteTemplate, used, {}}, utc);
            return static_cast<int>(p.losses.size() + p.gains.size());
        });
        mysql_close(admin);
        mysql_close(bare);
        dropInstallation(in);
        const bool fine = who.program / who.bare <= 1.2 && where.program / where.bare <= 1.2 &&
                          who.program < 1.0 && where.program < 1.0;
        std::printf("reach_bench: %s\n", fine ? "within the targets" : "outside the targets");
    } catch (const std::exception& e) {
        die(QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
