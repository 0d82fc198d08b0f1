#include "db/Maintenance.h"

#include "dataaccess/Connection.h"
#include "dataaccess/Transaction.h"
#include "db/History.h"

#include <QString>
#include <mysql.h>

#include <algorithm>
#include <iterator>

namespace {

qint64 number(Connection& connection, const QString& statement)
{
    MYSQL_RES* result = connection.query(statement);
    qint64 value = 0;
    if (result) {
        if (MYSQL_ROW row = mysql_fetch_row(result); row && row[0])
            value = QByteArray(row[0]).toLongLong();
        mysql_free_result(result);
    }
    return value;
}

// Runs one statement in a unit of its own with, where the history table exists,
// one history row per table it removes from, counting the rows removed.
void removeCounted(Connection& connection, bool recording, const QString& action, const QString& statement,
                   const std::vector<std::pair<QString, QString>>& counted)
{
    Transaction unit(connection);
    std::vector<long long> before;
    if (recording)
        for (const auto& [table, where] : counted)
            before.push_back(History::countRows(connection, table, where));
    connection.execute(statement);
    if (recording) {
        std::vector<History::Entry> entries;
        for (std::size_t i = 0; i < counted.size(); ++i) {
            const long long after = History::countRows(connection, counted[i].first, counted[i].second);
            if (after == before[i])
                continue;
            History::RowImage was, is;
            was.values.insert(QStringLiteral("COUNT"), QString::number(before[i]));
            is.values.insert(QStringLiteral("COUNT"), QString::number(after));
            entries.push_back({counted[i].first, 0, QStringLiteral("usunięte wiersze"), History::difference(was, is)});
        }
        if (!entries.empty())
            History::write(connection, action, entries);
    }
    unit.commit();
}

const QString PurgeAction = QStringLiteral("Oczyść bazę zdarzeń z osób usunietych");

}  // namespace

void Maintenance::PurgeDeletedRows(Connection& connection, const Progress& progress)
{
    // The deleted people who have events, together with all their events; then
    // the deleted people without events.
    const char* const statements[] = {
        "DELETE USERS, EVENTS FROM USERS INNER JOIN EVENTS ON EVENTS.ID_USER = USERS.ID_USER  WHERE USERS.DEL =1;",
        "DELETE FROM USERS WHERE USERS.DEL=1;",
        "DELETE FROM GROUPS WHERE GROUPS.DEL=1;",
        "DELETE FROM DEVICE WHERE DEVICE.DEL=1;",
        "DELETE FROM LOCALIZATION WHERE DEL=1;",
    };
    const std::vector<std::pair<QString, QString>> counted[] = {
        {{QStringLiteral("USERS"), QStringLiteral("DEL = 1")},
         {QStringLiteral("EVENTS"), QStringLiteral("ID_USER IN (SELECT ID_USER FROM USERS WHERE DEL = 1)")}},
        {{QStringLiteral("USERS"), QStringLiteral("DEL = 1")}},
        {{QStringLiteral("GROUPS"), QStringLiteral("DEL = 1")}},
        {{QStringLiteral("DEVICE"), QStringLiteral("DEL = 1")}},
        {{QStringLiteral("LOCALIZATION"), QStringLiteral("DEL = 1")}},
    };
    const bool recording = History::tableExists(connection);
    const qint64 steps = static_cast<qint64>(std::size(statements));
    qint64 done = 0;
    for (const char* statement : statements) {
        if (progress)
            progress(done, steps);
        removeCounted(connection, recording, PurgeAction, QString::fromLatin1(statement),
                      counted[done]);
        ++done;
    }
    if (progress)
        progress(done, steps);
}

void Maintenance::DeleteAllEvents(Connection& connection, const Progress& progress)
{
    const qint64 last = number(connection, QStringLiteral("SELECT COALESCE(MAX(ID), 0) FROM EVENTS"));
    const qint64 total = number(connection, QStringLiteral("SELECT COUNT(*) FROM EVENTS WHERE ID <= %1").arg(last));
    qint64 done = 0;
    for (;;) {
        if (progress)
            progress(done, total);
        const auto removed = static_cast<qint64>(connection.execute(
            QStringLiteral("DELETE FROM EVENTS WHERE ID <= %1 ORDER BY ID LIMIT %2;").arg(last).arg(DeleteSlice)));
        if (removed == 0)
            break;
        done += removed;
    }
    // One history row for the whole run: the events it removed, counted.
    if (done > 0 && History::tableExists(connection)) {
        History::RowImage was, is;
        was.values.insert(QStringLiteral("COUNT"), QString::number(done));
        is.values.insert(QStringLiteral("COUNT"), QStringLiteral("0"));
        History::write(connection, QStringLiteral("Usuń wszystkie zdarzenia"),
                       {{QStringLiteral("EVENTS"), 0, QStringLiteral("zdarzenia"), History::difference(was, is)}});
    }
    if (progress)
        progress(std::max(done, total), std::max(done, total));
}
