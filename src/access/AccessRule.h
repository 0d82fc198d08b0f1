#pragma once

#include "access/AccessCheck.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// The decision a controller makes, in the pieces that every question about access
// is answered with: the single check (CheckAccess), "Kto wejdzie", "Dokąd wejdzie"
// and the preview of a change. Each piece is written here once; the callers only
// gather the rows it is applied to.
namespace AccessRule {

// A card at a date: it needs an owner and both validity dates, and the date must
// lie between them, both days included.
enum class CardState { Valid, NoOwner, NoValidity, NotYet, Expired };
CardState cardOn(int owner, const QString& from, const QString& to, const QDate& date);
// The same with the stored dates already read (validityDate), for many questions at once.
CardState cardOn(int owner, const QDate& first, const QDate& last, const QDate& date);
// KARENCJA_OD or KARENCJA_DO as stored ("YYYY-MM-DD"); invalid when NULL, not in
// that form, or not a day of the calendar ("0000-00-00").
QDate validityDate(const QString& stored);
QDate validityDate(const char* stored, unsigned long length);

// A person or a group takes part while its row exists and is not marked deleted.
inline bool live(bool found, int del) { return found && del == 0; }

// One permission row at one head and one second of the day: the head's flag
// (INPUT for A, OUTPUT for B) must be 1, the template must exist, its day string
// must be a period, and the second must lie in it (start included, end excluded).
enum class RowState { Grants, OtherHead, NoTemplate, DayClosed, OutsidePeriod };
RowState rowAt(ReaderHead head, int input, int output, bool templateFound, const QString& dayString,
               int secondOfDay);
// The same with the day string already read (ReadDayString), for many questions at once.
RowState rowAt(ReaderHead head, int input, int output, bool templateFound, const DayPeriod& period,
               int secondOfDay);
bool periodCovers(const DayPeriod& period, int secondOfDay);
inline int secondOf(const QTime& time) { return time.msecsSinceStartOfDay() / 1000; }

// The date and time at a passage: a location's time zone position p stands for
// GMT + (p - 12) hours; a passage without a location (or with a zone out of the
// list) keeps the workstation's own time.
QDateTime passageTime(const QDateTime& utc, bool hasZone, int zonePosition);

// "08:00–16:00", the end "23:59" shown as "24:00".
QString periodText(const DayPeriod& period);
QString headName(ReaderHead head);

}  // namespace AccessRule
