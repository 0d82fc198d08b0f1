#include "access/AccessRule.h"

#include "devices/TimeZones.h"

#include <QTime>

namespace AccessRule {

QDate validityDate(const QString& stored) { return QDate::fromString(stored, Qt::ISODate); }

CardState cardOn(int owner, const QString& from, const QString& to, const QDate& date)
{
    return cardOn(owner, validityDate(from), validityDate(to), date);
}

CardState cardOn(int owner, const QDate& first, const QDate& last, const QDate& date)
{
    if (owner == 0)
        return CardState::NoOwner;
    if (!first.isValid() || !last.isValid())
        return CardState::NoValidity;
    if (date < first)
        return CardState::NotYet;
    if (date > last)
        return CardState::Expired;
    return CardState::Valid;
}

bool periodCovers(const DayPeriod& period, int secondOfDay)
{
    return period.open && secondOfDay >= period.startSecond && secondOfDay < period.endSecond;
}

RowState rowAt(ReaderHead head, int input, int output, bool templateFound, const QString& dayString,
               int secondOfDay)
{
    return rowAt(head, input, output, templateFound, ReadDayString(dayString), secondOfDay);
}

RowState rowAt(ReaderHead head, int input, int output, bool templateFound, const DayPeriod& period,
               int secondOfDay)
{
    if ((head == ReaderHead::A ? input : output) != 1)
        return RowState::OtherHead;
    if (!templateFound)
        return RowState::NoTemplate;
    if (!period.open)
        return RowState::DayClosed;
    return periodCovers(period, secondOfDay) ? RowState::Grants : RowState::OutsidePeriod;
}

QDateTime passageTime(const QDateTime& utc, bool hasZone, int zonePosition)
{
    if (!hasZone || zonePosition < 0 || zonePosition >= TimeZoneTexts().size())
        return utc.toLocalTime();
    return utc.toOffsetFromUtc((zonePosition - 12) * 3600);
}

QString periodText(const DayPeriod& period)
{
    return period.start + QStringLiteral("–") +
           (period.endSecond == 86400 ? QStringLiteral("24:00") : period.end);
}

QString headName(ReaderHead head) { return head == ReaderHead::A ? QStringLiteral("A") : QStringLiteral("B"); }

}  // namespace AccessRule
