#pragma once

#include "events/EventStatements.h"

#include <QString>
#include <QStringList>

class Dataset;
class Lookups;
class TDataModule3;

// The event log as the event page reads it: the count and one page of the
// filtered events, the export of all of them, and the person list of the filter.
// It only reads.
namespace EventLog {

// The number of events the filter selects, as the server writes it, with the
// missing keys a page needs; the count stays in SQL.
EventCount CountEvents(TDataModule3& m, const EventFilter& filter);
// The count read from the first row of a count statement's result.
EventCount countOf(const Dataset& counted);
// One page of the filtered events into Events.
void ShowEventPage(TDataModule3& m, const EventFilter& filter, qint64 offset, int count,
                   const EventCount& counted);
// All filtered events into SQL (the spreadsheet export, which writes no file).
void RunExportStatement(TDataModule3& m, const EventFilter& filter);

// PersonList[i] for i = 1, 2, ... is the i-th person of Users (entry 0 is never
// filled); returns the texts of the filter's person list, "surname first name".
// The rows are read where they stand, so that the current row of Users, on which
// the people page acts, stays where it was.
QStringList FillPersonList(const TDataModule3& m, Lookups& lookups);

}  // namespace EventLog
