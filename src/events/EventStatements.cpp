#include "events/EventStatements.h"

#include <QRegularExpression>

#include <algorithm>

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

const QString Columns = QStringLiteral(
    "SELECT STRAIGHT_JOIN EVENTS.ID,USERS.FIRST_NAME,USERS.NAME,TYP.NAME,TIME,DEVICE.NAME,SERIAL, CANAL,HEAD from ");

// The rows start from EVENTS, in the order of the event number, with the person,
// device and type found by their keys: a page then reads only its own rows, and
// no join buffer makes the server sort the whole join first.
const QString Joins = QStringLiteral(" EVENTS,USERS,DEVICE,TYP FORCE INDEX (PRIMARY) ");
const QString JoinConditions = QStringLiteral(
    " WHERE  EVENTS.ID_USER =USERS.ID_USER  AND EVENTS.ID_DEVICE = DEVICE.ID_DEVICE  AND EVENTS.TYPE = TYP.ID");

QString rows(const EventFilter& filter)
{
    return Columns + Joins + JoinConditions + EventStatements::conditions(filter);
}

// Lists of missing keys longer than this make the statement itself large; such a
// database pages the way it always did.
constexpr int LongestMissingList = 4000;

const QRegularExpression& numberList()
{
    static const QRegularExpression list(QStringLiteral("^(-?[0-9]+(,-?[0-9]+)*)?$"));
    return list;
}

QString notIn(const char* column, const QString& keys)
{
    return keys.isEmpty() ? QString()
                          : QStringLiteral(" AND EVENTS.%1 NOT IN (%2)").arg(QLatin1String(column), keys);
}

}  // namespace

EventCount EventCount::fromRow(const QStringList& cells)
{
    EventCount c;
    c.text = cells.value(0);
    bool ok = false;
    const qint64 total = c.text.toLongLong(&ok);
    c.total = ok ? total : -1;
    if (!ok || cells.size() < 7)
        return c;
    QString* lists[] = {&c.missingUsers, &c.missingDevices, &c.missingTypes};
    for (int i = 0; i < 3; ++i) {
        const QString& list = cells[1 + 2 * i];
        const long long expected = cells[2 + 2 * i].toLongLong(&ok);
        // GROUP_CONCAT cuts a long list at the session's limit, possibly inside a
        // number: a list is used only when it holds every key the server counted.
        if (!ok || !numberList().match(list).hasMatch() || list.size() > LongestMissingList)
            return c;
        const long long found = list.isEmpty() ? 0 : list.count(QLatin1Char(',')) + 1;
        if (found != expected)
            return c;
        *lists[i] = list;
    }
    c.missingKnown = true;
    return c;
}

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
// holds those columns, and only these combinations are looked up: the same count
// as joining every event, for a fraction of the work. The combinations whose
// person, device or type does not exist are not counted; their keys are listed.
QString EventStatements::count(const EventFilter& filter)
{
    return QStringLiteral(
               "SELECT COALESCE(SUM(IF(USERS.ID_USER IS NULL OR DEVICE.ID_DEVICE IS NULL OR TYP.ID IS NULL,"
               " 0, counted.n)), 0),"
               " COALESCE(GROUP_CONCAT(DISTINCT IF(USERS.ID_USER IS NULL, counted.ID_USER, NULL)), ''),"
               " COUNT(DISTINCT IF(USERS.ID_USER IS NULL, counted.ID_USER, NULL)),"
               " COALESCE(GROUP_CONCAT(DISTINCT IF(DEVICE.ID_DEVICE IS NULL, counted.ID_DEVICE, NULL)), ''),"
               " COUNT(DISTINCT IF(DEVICE.ID_DEVICE IS NULL, counted.ID_DEVICE, NULL)),"
               " COALESCE(GROUP_CONCAT(DISTINCT IF(TYP.ID IS NULL, counted.TYPE, NULL)), ''),"
               " COUNT(DISTINCT IF(TYP.ID IS NULL, counted.TYPE, NULL))"
               " from (SELECT EVENTS.ID_USER, EVENTS.ID_DEVICE, EVENTS.TYPE, COUNT(*) AS n FROM EVENTS WHERE TRUE")
        + conditions(filter)
        + QStringLiteral(" GROUP BY EVENTS.ID_GROUP, EVENTS.TYPE, EVENTS.ID_DEVICE, EVENTS.ID_USER) counted"
                         " LEFT JOIN USERS ON counted.ID_USER = USERS.ID_USER"
                         " LEFT JOIN DEVICE ON counted.ID_DEVICE = DEVICE.ID_DEVICE"
                         " LEFT JOIN TYP ON counted.TYPE = TYP.ID");
}

QString EventStatements::joinedPage(const EventFilter& filter, qint64 offset, int rowCount)
{
    return rows(filter) + QStringLiteral(" order by EVENTS.ID DESC LIMIT ") + QString::number(offset)
        + QLatin1Char(',') + QString::number(rowCount) + QLatin1Char(';');
}

// A deferred join: the page's event numbers are found on EVENTS alone, through
// its primary key or a filter's index, with the events of missing people,
// devices and types left out by their keys; then only those rows are joined.
// A page nearer the end of the list is counted from the oldest event, so that
// no page skips more than half of the list.
// Pages this near the newest event join their few skipped rows faster than a
// derived table is built.
constexpr qint64 JoinedPagesUpTo = 1000;

QString EventStatements::page(const EventFilter& filter, qint64 offset, int rowCount, const EventCount& counted)
{
    if (!counted.missingKnown || counted.total < 0 || offset < 0 || rowCount < 0
        || (offset <= JoinedPagesUpTo && offset + rowCount / 2 <= counted.total / 2))
        return joinedPage(filter, offset, rowCount);
    return deferredPage(filter, offset, rowCount, counted);
}

QString EventStatements::deferredPage(const EventFilter& filter, qint64 offset, int rowCount,
                                      const EventCount& counted)
{

    QString order = QStringLiteral("DESC");
    qint64 skip = offset;
    qint64 take = rowCount;
    if (offset + rowCount / 2 > counted.total / 2) {
        order = QStringLiteral("ASC");
        skip = counted.total - offset - rowCount;
        if (skip < 0) {
            take += skip;
            skip = 0;
        }
        take = std::max<qint64>(take, 0);
    }
    const QString inner = QStringLiteral("SELECT EVENTS.ID FROM EVENTS WHERE TRUE") + conditions(filter)
        + notIn("ID_USER", counted.missingUsers) + notIn("ID_DEVICE", counted.missingDevices)
        + notIn("TYPE", counted.missingTypes) + QStringLiteral(" ORDER BY EVENTS.ID ") + order
        + QStringLiteral(" LIMIT ") + QString::number(skip) + QLatin1Char(',') + QString::number(take);
    return Columns + QStringLiteral("(") + inner + QStringLiteral(") shown,") + Joins
        + QStringLiteral(" WHERE EVENTS.ID = shown.ID AND EVENTS.ID_USER =USERS.ID_USER"
                         " AND EVENTS.ID_DEVICE = DEVICE.ID_DEVICE  AND EVENTS.TYPE = TYP.ID"
                         " order by EVENTS.ID DESC;");
}

QString EventStatements::all(const EventFilter& filter)
{
    return rows(filter) + QStringLiteral(" order by EVENTS.ID DESC;");
}
