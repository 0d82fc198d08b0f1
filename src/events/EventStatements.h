#pragma once

#include <QDate>
#include <QString>

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

// The texts of the event statements: the count, one page of rows, and all rows
// of an export. Rows are the event number, the person's first name and surname,
// the type's name, the time, the controller's name, SERIAL, CANAL and HEAD,
// newest first; conditions come in the order person, group, device, type, date.
namespace EventStatements {
QString conditions(const EventFilter& filter);
QString count(const EventFilter& filter);
QString page(const EventFilter& filter, qint64 offset, int rowCount);
QString all(const EventFilter& filter);
}
