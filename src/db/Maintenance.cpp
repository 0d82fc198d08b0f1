#include "db/Maintenance.h"

#include "dataaccess/Connection.h"

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
    const qint64 steps = static_cast<qint64>(std::size(statements));
    qint64 done = 0;
    for (const char* statement : statements) {
        if (progress)
            progress(done, steps);
        connection.execute(QString::fromLatin1(statement));
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
    if (progress)
        progress(std::max(done, total), std::max(done, total));
}
