#include "support/ConnectionCut.h"

#include "support/TestDatabase.h"

#include <mysql.h>

#include <chrono>

namespace {

MYSQL* adminConnection()
{
    MYSQL* mysql = mysql_init(nullptr);
    const QByteArray host = testServerAddress().toUtf8();
    if (!mysql_real_connect(mysql, host.constData(), "vqx", "vqx", nullptr, 3306, nullptr, 0)) {
        mysql_close(mysql);
        return nullptr;
    }
    return mysql;
}

}  // namespace

ConnectionCut::ConnectionCut(unsigned long programThreadId, const QString& statementLike)
    : watcher_(&ConnectionCut::watch, this, programThreadId, statementLike.toUtf8())
{
}

ConnectionCut::~ConnectionCut()
{
    if (watcher_.joinable())
        watcher_.join();
}

bool ConnectionCut::happened()
{
    if (watcher_.joinable())
        watcher_.join();
    return killed_;
}

void ConnectionCut::watch(unsigned long threadId, QByteArray pattern)
{
    MYSQL* mysql = adminConnection();
    if (!mysql)
        return;
    const QByteArray find = "SELECT ID FROM information_schema.PROCESSLIST WHERE ID = "
                            + QByteArray::number(static_cast<qulonglong>(threadId))
                            + " AND INFO LIKE '" + pattern + "'";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        bool found = false;
        if (mysql_real_query(mysql, find.constData(), find.size()) == 0) {
            if (MYSQL_RES* result = mysql_store_result(mysql)) {
                found = mysql_num_rows(result) > 0;
                mysql_free_result(result);
            }
        }
        if (found) {
            const QByteArray kill = "KILL CONNECTION " + QByteArray::number(static_cast<qulonglong>(threadId));
            killed_ = mysql_real_query(mysql, kill.constData(), kill.size()) == 0;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    mysql_close(mysql);
}

QString ConnectionCut::slowDownUpdatesOf(const QString& table, double seconds)
{
    return QStringLiteral("CREATE TRIGGER slow_%1 BEFORE UPDATE ON `%1` FOR EACH ROW "
                          "DO SLEEP(%2)")
        .arg(table)
        .arg(seconds);
}

void killConnection(unsigned long programThreadId)
{
    MYSQL* mysql = adminConnection();
    if (!mysql)
        return;
    const QByteArray kill = "KILL CONNECTION " + QByteArray::number(static_cast<qulonglong>(programThreadId));
    mysql_real_query(mysql, kill.constData(), kill.size());
    mysql_close(mysql);
}
