#include "events/EventStatements.h"

namespace {

QString quotedNumber(int value) { return QLatin1Char('\'') + QString::number(value) + QLatin1Char('\''); }
QString quotedDate(const QDate& date) { return QLatin1Char('\'') + date.toString(Qt::ISODate) + QLatin1Char('\''); }

// A day range as a range of TIME, which its index can serve; it holds the same
// events as comparing DATE(EVENTS.TIME) with the days.
QString timeRange(const QDate& first, const QDate& last)
{
    return QStringLiteral(" AND EVENTS.TIME >= ") + quotedDate(first)
        + QStringLiteral(" AND EVENTS.TIME < ") + quotedDate(last.addDays(1));
}

// The rows start from EVENTS, in the order of the event number, with the person,
// device and type found by their keys: a page then reads only its own rows, and
// no join buffer makes the server sort the whole join first.
const QString Joins = QStringLiteral(" EVENTS,USERS,DEVICE,TYP FORCE INDEX (PRIMARY) ");
const QString JoinConditions = QStringLiteral(
    " WHERE  EVENTS.ID_USER =USERS.ID_USER  AND EVENTS.ID_DEVICE = DEVICE.ID_DEVICE  AND EVENTS.TYPE = TYP.ID");

QString rows(const EventFilter& filter)
{
    return QStringLiteral("SELECT STRAIGHT_JOIN EVENTS.ID,USERS.FIRST_NAME,USERS.NAME,TYP.NAME,TIME,DEVICE.NAME,SERIAL, CANAL,HEAD from ")
        + Joins + JoinConditions + EventStatements::conditions(filter);
}

}  // namespace

QString EventStatements::conditions(const EventFilter& filter)
{
    QString c;
    if (filter.personId > 0)
        c += QStringLiteral(" AND EVENTS.ID_USER = ") + quotedNumber(filter.personId);
    if (filter.groupId > 0)
        c += QStringLiteral(" AND EVENTS.ID_GROUP = ") + quotedNumber(filter.groupId);
    if (filter.deviceId > 0)
        c += QStringLiteral(" AND EVENTS.ID_DEVICE = ") + quotedNumber(filter.deviceId);
    if (filter.eventType > 0)
        c += QStringLiteral(" AND EVENTS.TYPE = ") + quotedNumber(filter.eventType);
    if (filter.dateMode == 1)
        c += timeRange(filter.today, filter.today);
    else if (filter.dateMode == 2)
        c += timeRange(filter.from, filter.to);
    return c;
}

// The events are counted per group, type, device and person over the index that
// holds those columns, and only these combinations are joined: the same count as
// joining every event, for a fraction of the work.
QString EventStatements::count(const EventFilter& filter)
{
    return QStringLiteral("SELECT COALESCE(SUM(counted.n), 0) from (SELECT EVENTS.ID_USER, EVENTS.ID_DEVICE, "
                          "EVENTS.TYPE, COUNT(*) AS n FROM EVENTS WHERE TRUE")
        + conditions(filter)
        + QStringLiteral(" GROUP BY EVENTS.ID_GROUP, EVENTS.TYPE, EVENTS.ID_DEVICE, EVENTS.ID_USER) counted,"
                         "USERS,DEVICE,TYP WHERE counted.ID_USER = USERS.ID_USER"
                         " AND counted.ID_DEVICE = DEVICE.ID_DEVICE AND counted.TYPE = TYP.ID");
}

QString EventStatements::page(const EventFilter& filter, qint64 offset, int rowCount)
{
    return rows(filter) + QStringLiteral(" order by EVENTS.ID DESC LIMIT ") + QString::number(offset)
        + QLatin1Char(',') + QString::number(rowCount) + QLatin1Char(';');
}

QString EventStatements::all(const EventFilter& filter)
{
    return rows(filter) + QStringLiteral(" order by EVENTS.ID DESC;");
}
