// The program on a three-node Galera cluster against a single server: the cost of
// one change (a person added, with the counter bump), and the time from the loss
// of the node in use to the first change kept through another node.
// Usage: cluster_bench SERVER [PEOPLE [CHANGES]]   (defaults 2000 and 60)
// SERVER is the single server; the cluster is started on 127.0.0.121-123 (or the
// comma-separated VALDRIX_BENCH_CLUSTER_ADDRESSES) by scripts/galera-cluster in
// the build folder, and stopped at the end. Prints the median change on each, their
// ratio, and the loss-to-change time of three losses.
#include "BenchSupport.h"
#include "Installation.h"

#include "dataaccess/Errors.h"
#include "db/TDataModule3.h"
#include "people/PeopleChanges.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

QStringList clusterAddresses()
{
    const QString fromEnvironment = qEnvironmentVariable("VALDRIX_BENCH_CLUSTER_ADDRESSES");
    return (fromEnvironment.isEmpty() ? QStringLiteral("127.0.0.121,127.0.0.122,127.0.0.123")
                                      : fromEnvironment)
        .split(QLatin1Char(','), Qt::SkipEmptyParts);
}

void cluster(const QStringList& arguments)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    script.start(QStringLiteral(VALDRIX_CLUSTER_SCRIPT),
                 QStringList{arguments.first(), QStringLiteral(VALDRIX_BENCH_CLUSTER_DIR)} + arguments.mid(1));
    if (!script.waitForFinished(900000) || script.exitCode() != 0)
        die(QStringLiteral("scripts/galera-cluster %1 failed").arg(arguments.join(QLatin1Char(' '))));
}

// The server text that starts at node `first` (1-based) and goes round.
QString startingAt(const QStringList& nodes, int first)
{
    QStringList list;
    for (int i = 0; i < nodes.size(); ++i)
        list << nodes[(first - 1 + i) % nodes.size()];
    return list.join(QLatin1Char(','));
}

void connect(TDataModule3& m, const Installation& installation, const QString& server)
{
    configureConnection(m.Quorvel, installation);
    m.Quorvel.setServer(server);
    m.Quorvel.open();
    m.Status.open();
}

void addPerson(TDataModule3& m, int index)
{
    const PersonName name = generatedPersonName(index);
    const Outcome added = PeopleChanges::AddUser(m, name.firstName, name.surname, QStringLiteral("1"));
    if (added.id <= 0)
        die(QStringLiteral("person not added: ") + added.notice);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        die(QStringLiteral("usage: cluster_bench SERVER [PEOPLE [CHANGES]]"));
    const QString single = args[1];
    const QStringList nodes = clusterAddresses();
    const QStringList everyAddress = QStringList(nodes) << single;
    for (const QString& address : everyAddress)
        if (!address.startsWith(QStringLiteral("127.")))
            die(QStringLiteral("refusing address %1: loopback addresses only").arg(address));
    InstallationSizes sizes;
    sizes.people = args.size() > 2 ? args[2].toInt() : 2000;
    sizes.cards = sizes.people * 2;
    sizes.devices = 50;
    sizes.events = 10000;
    const int changes = args.size() > 3 ? args[3].toInt() : 60;

    cluster(QStringList{QStringLiteral("start")} + nodes);
    try {
        const QString database = QStringLiteral("valdrix_cluster_bench");
        const Installation onSingle = createInstallation(single, database, sizes, nullptr);
        const Installation onCluster = createInstallation(nodes.first(), database, sizes, nullptr);

        // One change, alternately on each, so that both see the same growth.
        TDataModule3 a, b;
        connect(a, onSingle, single);
        connect(b, onCluster, startingAt(nodes, 2));
        std::vector<double> singleTimes, clusterTimes;
        QElapsedTimer timer;
        int next = onSingle.lastPersonId;
        for (int round = 0; round < changes; ++round, ++next) {
            timer.start();
            addPerson(a, next);
            singleTimes.push_back(timer.nsecsElapsed() / 1e6);
            timer.start();
            addPerson(b, next);
            clusterTimes.push_back(timer.nsecsElapsed() / 1e6);
        }
        const double singleMedian = median(singleTimes), clusterMedian = median(clusterTimes);
        std::printf("add a person (%d people, %d changes each)\n", sizes.people, changes);
        std::printf("  single server   %8.2f ms\n", singleMedian);
        std::printf("  3-node cluster  %8.2f ms   ratio %.2f\n", clusterMedian, clusterMedian / singleMedian);

        // The node in use is lost; the operator's change fails, "Connect" reaches
        // the next node, and the change is made again.
        std::printf("loss of the node in use to the first change kept through another node\n");
        for (const int lost : {2, 3, 2}) {
            connect(b, onCluster, startingAt(nodes, lost));
            cluster({QStringLiteral("kill"), QString::number(lost)});
            timer.start();
            int failures = 0;
            for (;;) {
                try {
                    addPerson(b, next);
                    break;
                } catch (const OperatorError&) {
                    if (++failures > 5)
                        throw;
                    b.Quorvel.open();
                    b.Status.open();
                }
            }
            std::printf("  node %d lost: %8.1f ms (%d failed attempt%s, then %s)\n", lost,
                        timer.nsecsElapsed() / 1e6, failures, failures == 1 ? "" : "s",
                        qPrintable(b.Quorvel.connectedAddress()));
            ++next;
            cluster({QStringLiteral("revive"), QString::number(lost)});
        }
        b.Quorvel.close();
        dropInstallation(onCluster);
        dropInstallation(onSingle);
    } catch (const std::exception& error) {
        cluster({QStringLiteral("stop")});
        die(QString::fromUtf8(error.what()));
    }
    cluster({QStringLiteral("stop")});
    return 0;
}
