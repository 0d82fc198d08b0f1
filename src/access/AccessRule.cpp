#include "access/AccessRule.h"

#include "devices/TimeZones.h"

#include <QTime>

namespace AccessRule {

QDate validityDate(const char* stored, unsigned long length)
{
    if (!stored || length != 10 || stored[4] != '-' || stored[7] != '-')
        return {};
    int parts[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p)
        for (int i = starts[p]; i < starts[p] + lengths[p]; ++i) {
            if (stored[i] < '0' || stored[i] > '9')
                return {};
            parts[p] = parts[p] * 10 + (stored[i] - '0');
        }
    const QDate date(parts[0], parts[1], parts[2]);
    return parts[0] > 0 && date.isValid() ? date : QDate();
}

QDate validityDate(const QString& stored)
{
    const QByteArray bytes = stored.toLatin1();
    return validityDate(bytes.constData(), static_cast<unsigned long>(bytes.size()));
}

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
