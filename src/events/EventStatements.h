#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// What the event filter asks for; a number of 0 means no condition of that kind.
struct EventFilter {
    int personId = 0;
    int groupId = 0;
    int deviceId = 0;
    int eventType = 0;
    int dateMode = 0;   // 0 all dates, 1 today, 2 from..to (both days included)
    QDate from;
    QDate to;
    QDate today;
};

// What the count statement finds: the number of events shown, and the people,
// devices and types that events of the filter name but that do not exist (those
// events are never shown). A page statement needs both to find its rows by the
// event number alone.
struct EventCount {
    QString text;            // the count as the server wrote it
    qint64 total = -1;       // -1: not known
    bool missingKnown = false;
    QString missingUsers, missingDevices, missingTypes;   // "3,17", empty for none

    // From the cells of the count statement's row, in its column order; a list the
    // server cut short (or anything unexpected) leaves missingKnown false.
    static EventCount fromRow(const QStringList& cells);
};

// The texts of the event statements: the count, one page of rows, and all rows
// of an export. Rows are the event number, the person's first name and surname,
// the type's name, the time, the controller's name, SERIAL, CANAL and HEAD,
// newest first; conditions come in the order person, group, device, type, date.
namespace EventStatements {
QString conditions(const EventFilter& filter);
// One row: the count, then per missing kind (people, devices, types) the list of
// missing keys and how many there are.
QString count(const EventFilter& filter);
// A page: the events at offset .. offset + rowCount - 1 of the filtered list.
// With what the count found, the page's event numbers are found on EVENTS alone
// (from the nearer end of the list), and only those rows are joined; without it
// (or with a very long list of missing keys) every skipped row is joined.
QString page(const EventFilter& filter, qint64 offset, int rowCount, const EventCount& counted = {});
// The deferred join itself, whatever the offset (page() uses it unless the page
// lies within the first few newest events, where joining every skipped row is
// cheaper). Needs what the count found.
QString deferredPage(const EventFilter& filter, qint64 offset, int rowCount, const EventCount& counted);
// The page as first written: every skipped row joined.
QString joinedPage(const EventFilter& filter, qint64 offset, int rowCount);
QString all(const EventFilter& filter);
}
