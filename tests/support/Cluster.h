#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <thread>

// The run's private Galera cluster (scripts/galera-cluster), when the run has one:
// its node addresses come from VALDRIX_TEST_CLUSTER_ADDRESSES, its folder from
// VALDRIX_TEST_CLUSTER_DIR. Nodes are numbered from 1 in the order of the list.
namespace Cluster {

bool available();
QStringList addresses();
QString address(int node);
// The addresses as a server text, starting with `first` and going round.
QString serverStartingAt(int first);

// Kills the node's server at once, as a crash would; revive() brings it back and
// waits until it has caught up with the cluster.
void kill(int node);
void revive(int node);

// The first column of the first row of a query on one node, read after every
// change the cluster has committed (causal read); empty when there is no row.
QString scalarOn(int node, const QString& database, const QString& query);

}  // namespace Cluster

// Kills the node a program's session runs on as soon as that session runs a
// statement matching `statementLike` (an SQL LIKE pattern), watching from a
// connection of its own to that node.
class NodeLoss {
public:
    NodeLoss(int node, unsigned long programThreadId, const QString& statementLike);
    ~NodeLoss();
    bool happened();

private:
    void watch(unsigned long threadId, QByteArray pattern);

    int node_;
    std::atomic<bool> killed_{false};
    std::thread watcher_;
};
