#include "support/Cluster.h"

#include <QProcess>
#include <gtest/gtest.h>
#include <mysql.h>

#include <chrono>

namespace {

MYSQL* connectTo(int node, const QString& database = {})
{
    const QByteArray host = Cluster::address(node).toUtf8(), db = database.toUtf8();
    if (!host.startsWith("127."))
        return nullptr;   // loopback nodes only
    MYSQL* mysql = mysql_init(nullptr);
    const unsigned timeout = 5;
    mysql_optionsv(mysql, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    mysql_optionsv(mysql, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    if (!mysql_real_connect(mysql, host.constData(), "vqx", "vqx",
                            db.isEmpty() ? nullptr : db.constData(), 3306, nullptr, 0)) {
        mysql_close(mysql);
        return nullptr;
    }
    return mysql;
}

void runScript(const char* command, int node)
{
    QProcess script;
    script.start(QStringLiteral(VALDRIX_CLUSTER_SCRIPT),
                 {QString::fromLatin1(command), QStringLiteral(VALDRIX_TEST_CLUSTER_DIR),
                  QString::number(node)});
    script.waitForFinished(600000);
    EXPECT_EQ(script.exitCode(), 0) << command << " node " << node << ": "
                                    << script.readAllStandardError().toStdString();
}

}  // namespace

namespace Cluster {

bool available() { return !addresses().isEmpty(); }

QStringList addresses()
{
    return QStringLiteral(VALDRIX_TEST_CLUSTER_ADDRESSES).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

QString address(int node) { return addresses().value(node - 1); }

QString serverStartingAt(int first)
{
    const QStringList all = addresses();
    QStringList list;
    for (int i = 0; i < all.size(); ++i)
        list << all[(first - 1 + i) % all.size()];
    return list.join(QLatin1Char(','));
}

void kill(int node) { runScript("kill", node); }
void revive(int node) { runScript("revive", node); }

QString scalarOn(int node, const QString& database, const QString& query)
{
    MYSQL* mysql = connectTo(node, database);
    if (!mysql) {
        ADD_FAILURE() << "node " << node << " does not answer";
        return {};
    }
    QString value;
    const QByteArray text = query.toUtf8();
    static const char causal[] = "SET SESSION wsrep_sync_wait = 1";
    if (mysql_real_query(mysql, causal, sizeof causal - 1) != 0
        || mysql_real_query(mysql, text.constData(), text.size()) != 0) {
        ADD_FAILURE() << "on node " << node << ": " << mysql_error(mysql) << "\n" << text.constData();
    } else if (MYSQL_RES* result = mysql_store_result(mysql)) {
        if (MYSQL_ROW row = mysql_fetch_row(result); row && row[0])
            value = QString::fromUtf8(row[0]);
        mysql_free_result(result);
    }
    mysql_close(mysql);
    return value;
}

}  // namespace Cluster

NodeLoss::NodeLoss(int node, unsigned long programThreadId, const QString& statementLike)
    : node_(node), watcher_(&NodeLoss::watch, this, programThreadId, statementLike.toUtf8())
{
}

NodeLoss::~NodeLoss()
{
    if (watcher_.joinable())
        watcher_.join();
}

bool NodeLoss::happened()
{
    if (watcher_.joinable())
        watcher_.join();
    return killed_;
}

void NodeLoss::watch(unsigned long threadId, QByteArray pattern)
{
    MYSQL* mysql = connectTo(node_);
    if (!mysql)
        return;
    const QByteArray find = "SELECT ID FROM information_schema.PROCESSLIST WHERE ID = "
                            + QByteArray::number(static_cast<qulonglong>(threadId))
                            + " AND INFO LIKE '" + pattern + "'";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    bool found = false;
    while (!found && std::chrono::steady_clock::now() < deadline) {
        if (mysql_real_query(mysql, find.constData(), find.size()) == 0) {
            if (MYSQL_RES* result = mysql_store_result(mysql)) {
                found = mysql_num_rows(result) > 0;
                mysql_free_result(result);
            }
        }
        if (!found)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    mysql_close(mysql);
    if (found) {
        Cluster::kill(node_);
        killed_ = true;
    }
}
