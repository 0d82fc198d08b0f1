#include "access/Reach.h"

#include "access/AccessRule.h"
#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"
#include "text/Errors.h"
#include "text/PolishPlural.h"
#include "text/Windows1250.h"

#include <QSaveFile>

#include <QHash>
#include <QSet>
#include <QVarLengthArray>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

using AccessRule::CardState;
using AccessRule::RowState;

namespace {

// The rows a decision is made from, as read (and, for a preview, as changed).
struct Row {
    int nmid = 0, groupId = 0, deviceId = 0, input = 0, output = 0, templateId = 0;
    bool templateFound = false;
    QString templateName;
    QString days[7];
    DayPeriod periods[7];   // the day strings as read by the rule
    QString periodTexts[7];  // "08:00–16:00", empty on a closed day

    void readDays()
    {
        for (int day = 0; day < 7; ++day) {
            periods[day] = ReadDayString(days[day]);
            periodTexts[day] = periods[day].open ? AccessRule::periodText(periods[day]) : QString();
        }
    }
};

struct Card {
    int id = 0, owner = 0;
    QString code;
    QDate first, last;   // KARENCJA_OD and KARENCJA_DO as the rule reads them
};

struct Person {
    int id = 0;
    bool found = false;
    int del = 0, groupId = 0;
    QString firstName, surname;
    QList<Card> cards;   // by ID_CARD
};

struct Group {
    bool found = false;
    int del = 0;
    QString name;
};

struct Device {
    int id = 0, del = 0, zone = 0;
    bool hasZone = false;
    QString name, nameA, nameB;
};

QString idList(const QSet<int>& ids)
{
    QList<int> sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    QStringList out;
    for (int id : sorted)
        out << QString::number(id);
    return out.isEmpty() ? QStringLiteral("0") : out.join(QLatin1Char(','));
}

QString personText(const QString& surname, const QString& firstName)
{
    return (surname + QLatin1Char(' ') + firstName).trimmed();
}

// Everything a set of questions needs: passages, their permission rows, the
// groups and the people with their cards.
class Facts {
public:
    explicit Facts(Connection& connection)
        : rows_(std::make_shared<Dataset>(connection, QStringLiteral("Reach")))
    {
    }

    QHash<int, Device> devices;
    QList<int> deviceOrder;              // by name
    QList<Row> rows;                     // by NMID
    QHash<int, Group> groups;
    QList<Person> people;                // by surname, first name

    void readDevices(const QString& condition)
    {
        read(QStringLiteral("SELECT DEVICE.ID_DEVICE, DEVICE.NAME, DEVICE.NAME_A, DEVICE.NAME_B, "
                            "DEVICE.DEL, LOCALIZATION.ID AS LOCATION, LOCALIZATION.TIME_ZONE "
                            "FROM DEVICE LEFT JOIN LOCALIZATION ON LOCALIZATION.ID = "
                            "DEVICE.ID_LOCALIZATION WHERE %1 ORDER BY DEVICE.NAME, DEVICE.ID_DEVICE")
                 .arg(condition));
        for (int r = 0; r < rows_->rowCount(); ++r) {
            Device d;
            d.id = integer(r, 0);
            d.name = rows_->cell(r, 1);
            d.nameA = rows_->cell(r, 2);
            d.nameB = rows_->cell(r, 3);
            d.del = integer(r, 4);
            d.hasZone = !rows_->cellIsNull(r, 5);
            d.zone = d.hasZone ? integer(r, 6) : 0;
            devices.insert(d.id, d);
            deviceOrder << d.id;
        }
    }

    void readRows(const QString& condition)
    {
        read(QStringLiteral("SELECT PERMISSIONS_has_GROUPS.NMID, PERMISSIONS_has_GROUPS.ID_GROUP_FK, "
                            "PERMISSIONS_has_GROUPS.ID_DEVICE_FK, PERMISSIONS_has_GROUPS.INPUT, "
                            "PERMISSIONS_has_GROUPS.OUTPUT, PERMISSIONS_has_GROUPS.ID_PERMISSIONS_FK, "
                            "PERMISSIONS.ID_PERMISSIONS, PERMISSIONS.NAME, PERMISSIONS.D1, "
                            "PERMISSIONS.D2, PERMISSIONS.D3, PERMISSIONS.D4, PERMISSIONS.D5, "
                            "PERMISSIONS.D6, PERMISSIONS.D7 "
                            "FROM PERMISSIONS_has_GROUPS LEFT JOIN PERMISSIONS ON "
                            "PERMISSIONS.ID_PERMISSIONS = PERMISSIONS_has_GROUPS.ID_PERMISSIONS_FK "
                            "WHERE %1 ORDER BY PERMISSIONS_has_GROUPS.NMID")
                 .arg(condition));
        rows.reserve(rows.size() + rows_->rowCount());
        for (int r = 0; r < rows_->rowCount(); ++r) {
            Row row;
            row.nmid = integer(r, 0);
            row.groupId = integer(r, 1);
            row.deviceId = integer(r, 2);
            row.input = integer(r, 3);
            row.output = integer(r, 4);
            row.templateId = integer(r, 5);
            row.templateFound = !rows_->cellIsNull(r, 6);
            row.templateName = rows_->cell(r, 7);
            for (int day = 0; day < 7; ++day)
                row.days[day] = rows_->cell(r, 8 + day);
            row.readDays();
            rows << std::move(row);
        }
    }

    void readGroups(const QSet<int>& ids)
    {
        read(QStringLiteral("SELECT ID_GROUP, NAME, DEL FROM `GROUPS` WHERE ID_GROUP IN (%1)").arg(idList(ids)));
        for (int r = 0; r < rows_->rowCount(); ++r)
            groups.insert(integer(r, 0), Group{true, integer(r, 2), rows_->cell(r, 1)});
    }

    // The people the condition picks, each with all their cards.
    void readPeople(const QString& condition)
    {
        read(QStringLiteral("SELECT USERS.ID_USER, USERS.FIRST_NAME, USERS.NAME, USERS.DEL, USERS.ID_GROUP, "
                            "CARDS.ID_CARD, CARDS.CODE, CARDS.KARENCJA_OD, CARDS.KARENCJA_DO "
                            "FROM USERS LEFT JOIN CARDS ON CARDS.ID_USER_FK = USERS.ID_USER "
                            "WHERE %1 ORDER BY USERS.NAME, USERS.FIRST_NAME, USERS.ID_USER, CARDS.ID_CARD")
                 .arg(condition));
        people.reserve(people.size() + rows_->rowCount());
        for (int r = 0; r < rows_->rowCount(); ++r) {
            const int id = integer(r, 0);
            if (people.isEmpty() || people.last().id != id) {
                Person p;
                p.id = id;
                p.found = true;
                p.firstName = rows_->cell(r, 1);
                p.surname = rows_->cell(r, 2);
                p.del = integer(r, 3);
                p.groupId = integer(r, 4);
                people << p;
            }
            if (!rows_->cellIsNull(r, 5))
                people.last().cards << Card{integer(r, 5), id, rows_->cell(r, 6), date(r, 7), date(r, 8)};
        }
    }

    // The change applied to the rows read, as the change itself would leave them.
    void apply(const AccessChange& change)
    {
        switch (change.kind) {
        case AccessChange::None:
            break;
        case AccessChange::SaveTemplate:
            for (Row& row : rows)
                if (row.templateId == change.id && row.templateFound)
                {
                    for (int day = 0; day < 7; ++day)
                        row.days[day] = change.days.value(day);
                    row.readDays();
                }
            break;
        case AccessChange::RevokePermission:
            rows.removeIf([&](const Row& row) { return row.nmid == change.id; });
            break;
        case AccessChange::DeleteTemplate:
            rows.removeIf([&](const Row& row) { return row.templateId == change.id; });
            break;
        case AccessChange::DeleteGroup:
            // Members go to group 1, the group's rows go, the group is marked deleted.
            for (Person& p : people)
                if (p.groupId == change.id)
                    p.groupId = 1;
            rows.removeIf([&](const Row& row) { return row.groupId == change.id; });
            if (groups.contains(change.id))
                groups[change.id].del = 1;
            break;
        }
        index_.clear();
    }

    // The rows of a group on a passage, by NMID, as positions in `rows`.
    const QList<int>& rowsOf(int groupId, int deviceId)
    {
        if (index_.isEmpty() && !rows.isEmpty())
            for (int i = 0; i < rows.size(); ++i)
                index_[{rows[i].groupId, rows[i].deviceId}] << i;
        static const QList<int> none;
        const auto found = index_.constFind({groupId, deviceId});
        return found == index_.constEnd() ? none : *found;
    }

    // The people whose group has rows on the passage, before or after a change
    // (`extra`), as positions in `people`.
    QList<int> peopleAt(int deviceId, const QSet<int>& extra) const
    {
        QSet<int> groupsThere = extra;
        for (const Row& row : rows)
            if (row.deviceId == deviceId)
                groupsThere << row.groupId;
        QList<int> out;
        for (int i = 0; i < people.size(); ++i)
            if (groupsThere.contains(people[i].groupId))
                out << i;
        return out;
    }

    Group group(int id) const { return groups.value(id); }

private:
    // One dataset for the statements in turn: each keeps its rows until the next.
    void read(const QString& statement)
    {
        rows_->setStatement(statement);
        rows_->reexecute();
    }
    QDate date(int row, int column) const
    {
        unsigned long length = 0;
        const char* data = rows_->cellData(row, column, &length);
        return AccessRule::validityDate(data, length);
    }
    int integer(int row, int column) const
    {
        unsigned long length = 0;
        const char* data = rows_->cellData(row, column, &length);
        return data ? Dataset::toInteger(data, length) : 0;
    }

    std::shared_ptr<Dataset> rows_;   // shared by copies, which read no more
    QHash<QPair<int, int>, QList<int>> index_;
};

// A card with its owner as the rows have them (owner null when no such person).
struct Candidate {
    const Card* card;
    const Person* owner;
};
using Candidates = QVarLengthArray<Candidate, 8>;

struct Decision {
    bool granted = false;
    // What decides a grant; for a refusal, where the card that came furthest along
    // the chain stopped (its text is made only when it is shown).
    enum Stop { NoPassage, PassageDeleted, NoCard, CardStep, OwnerStep, GroupStep, NoRows, RowStep };
    Stop stop = NoCard;
    int rank = -1;
    const Card* card = nullptr;
    const Person* owner = nullptr;
    const Row* row = nullptr;
    CardState cardState = CardState::Valid;
    RowState rowState = RowState::Grants;
};

// The controller's decision for cards taken in order: the first card that opens
// decides, with its group's first row that opens.
Decision decide(Facts& f, const Candidates& cards, int deviceId, ReaderHead head, int weekday,
                const QDate& date, int second)
{
    Decision d;
    auto stopAt = [&](Decision::Stop stop, int rank, const Candidate& c) {
        if (rank > d.rank) {
            d.stop = stop;
            d.rank = rank;
            d.card = c.card;
            d.owner = c.owner;
            return true;
        }
        return false;
    };
    const auto device = f.devices.constFind(deviceId);
    if (device == f.devices.constEnd() || !AccessRule::live(true, device->del)) {
        d.stop = device == f.devices.constEnd() ? Decision::NoPassage : Decision::PassageDeleted;
        return d;
    }
    for (const Candidate& c : cards) {
        const CardState state = AccessRule::cardOn(c.card->owner, c.card->first, c.card->last, date);
        if (state != CardState::Valid) {
            if (stopAt(Decision::CardStep, 0, c))
                d.cardState = state;
            continue;
        }
        if (!c.owner || !AccessRule::live(c.owner->found, c.owner->del)) {
            stopAt(Decision::OwnerStep, 1, c);
            continue;
        }
        const Group g = f.group(c.owner->groupId);
        if (!AccessRule::live(g.found, g.del)) {
            stopAt(Decision::GroupStep, 2, c);
            continue;
        }
        const QList<int>& rows = f.rowsOf(c.owner->groupId, deviceId);
        if (rows.isEmpty())
            stopAt(Decision::NoRows, 3, c);
        for (int index : rows) {
            const Row* row = &f.rows[index];
            const RowState state = AccessRule::rowAt(head, row->input, row->output, row->templateFound,
                                                     row->periods[weekday - 1], second);
            if (state == RowState::Grants) {
                d.granted = true;
                d.card = c.card;
                d.owner = c.owner;
                d.row = row;
                return d;
            }
            if (stopAt(Decision::RowStep, 3 + static_cast<int>(state), c)) {
                d.row = row;
                d.rowState = state;
            }
        }
    }
    return d;
}

// Why a refused decision refused, in a few words.
QString reasonOf(Facts& f, const Decision& d, ReaderHead head, int weekday)
{
    switch (d.stop) {
    case Decision::NoPassage:
        return QStringLiteral("przejście nie istnieje");
    case Decision::PassageDeleted:
        return QStringLiteral("przejście usunięte");
    case Decision::NoCard:
        return QStringLiteral("brak karty");
    case Decision::CardStep:
        switch (d.cardState) {
        case CardState::NoOwner:
            return QStringLiteral("karta %1 bez właściciela").arg(d.card->code);
        case CardState::NoValidity:
            return QStringLiteral("karta %1 bez daty ważności").arg(d.card->code);
        case CardState::NotYet:
            return QStringLiteral("karta %1 ważna dopiero od %2").arg(d.card->code, d.card->first.toString(Qt::ISODate));
        case CardState::Expired:
        case CardState::Valid:
            return QStringLiteral("karta %1 ważna tylko do %2").arg(d.card->code, d.card->last.toString(Qt::ISODate));
        }
        break;
    case Decision::OwnerStep:
        return d.owner ? QStringLiteral("osoba usunięta") : QStringLiteral("właściciel nie istnieje");
    case Decision::GroupStep:
        return f.group(d.owner->groupId).found ? QStringLiteral("grupa usunięta")
                                               : QStringLiteral("grupa nie istnieje");
    case Decision::NoRows:
        return QStringLiteral("grupa nie ma uprawnień na tym przejściu");
    case Decision::RowStep:
        switch (d.rowState) {
        case RowState::OtherHead:
            return QStringLiteral("uprawnienie nie obejmuje głowicy %1").arg(AccessRule::headName(head));
        case RowState::NoTemplate:
            return QStringLiteral("szablon uprawnienia nie istnieje");
        case RowState::DayClosed:
            return QStringLiteral("szablon %1 nie wpuszcza w %2").arg(d.row->templateName, WeekdayName(weekday));
        case RowState::OutsidePeriod:
        case RowState::Grants:
            return QStringLiteral("poza godzinami szablonu %1 (%2)")
                .arg(d.row->templateName, AccessRule::periodText(d.row->periods[weekday - 1]));
        }
        break;
    }
    return {};
}

Candidates cardsOf(const Person& p)
{
    Candidates out;
    for (const Card& card : p.cards)
        out << Candidate{&card, &p};
    return out;
}

// The answer for every person the facts hold, at one passage and head.
WhoAnswer who(Facts& f, const QList<int>& persons, int deviceId, ReaderHead head, const QDate& date,
              const QTime& time)
{
    WhoAnswer a;
    a.deviceId = deviceId;
    a.head = head;
    a.date = date;
    a.time = time;
    const auto device = f.devices.constFind(deviceId);
    if (device == f.devices.constEnd()) {
        a.problem = QStringLiteral("Przejście DEVICE.ID_DEVICE = %1 nie istnieje.").arg(deviceId);
        return a;
    }
    a.passage = device->name;
    a.headLabel = head == ReaderHead::A ? device->nameA : device->nameB;
    if (device->del != 0)
        a.problem = QStringLiteral("Przejście jest usunięte: nikt nie wejdzie.");
    const int second = AccessRule::secondOf(time);
    const int weekday = date.dayOfWeek();
    a.entries.reserve(persons.size());
    for (int index : persons) {
        const Person& p = f.people[index];
        WhoEntry e;
        e.personId = p.id;
        e.firstName = p.firstName;
        e.surname = p.surname;
        e.groupId = p.groupId;
        e.groupName = f.group(p.groupId).name;
        const Decision d = decide(f, cardsOf(p), deviceId, head, weekday, date, second);
        e.passes = d.granted;
        if (!d.granted)
            e.reason = reasonOf(f, d, head, weekday);
        if (d.granted) {
            e.cardId = d.card->id;
            e.cardCode = d.card->code;
            e.permissionId = d.row->nmid;
            e.templateId = d.row->templateId;
            e.templateName = d.row->templateName;
            e.period = d.row->periodTexts[weekday - 1];
        }
        a.entries << e;
    }
    return a;
}

// The groups with rows on the passages, plus those a change moves people between.
QSet<int> groupsOfRows(const Facts& f, const AccessChange& change)
{
    QSet<int> groups;
    for (const Row& row : f.rows)
        groups.insert(row.groupId);
    if (change.kind == AccessChange::DeleteGroup)
        groups << change.id << 1;
    return groups;
}

// Reads the passages, their rows, and the people of the groups concerned.
void readPassages(Facts& f, const QString& devices, const AccessChange& change = {})
{
    f.readDevices(QStringLiteral("DEVICE.ID_DEVICE IN (%1)").arg(devices));
    f.readRows(QStringLiteral("PERMISSIONS_has_GROUPS.ID_DEVICE_FK IN (%1)").arg(devices));
    const QSet<int> groups = groupsOfRows(f, change);
    f.readGroups(groups);
    f.readPeople(QStringLiteral("USERS.ID_GROUP IN (%1)").arg(idList(groups)));
}

QDateTime localNow(const Device& d, const QDateTime& utc)
{
    return AccessRule::passageTime(utc, d.hasZone, d.zone);
}

// The open periods of the rows on one weekday, merged: "08:00–12:00, 13:00–17:00".
QString dayText(const QList<const Row*>& rows, int weekday)
{
    QList<DayPeriod> periods;
    const Row* only = nullptr;
    for (const Row* row : rows)
        if (row->periods[weekday].open) {
            if (only)
                periods << only->periods[weekday];
            only = row;
        }
    if (!only)
        return QStringLiteral("—");
    if (periods.isEmpty())   // one period, the usual case
        return only->periodTexts[weekday];
    periods << only->periods[weekday];
    std::sort(periods.begin(), periods.end(),
              [](const DayPeriod& a, const DayPeriod& b) { return a.startSecond < b.startSecond; });
    QList<DayPeriod> merged{periods.first()};
    for (const DayPeriod& p : periods.mid(1)) {
        DayPeriod& last = merged.last();
        if (p.startSecond <= last.endSecond) {
            if (p.endSecond > last.endSecond) {
                last.endSecond = p.endSecond;
                last.end = p.end;
            }
        } else {
            merged << p;
        }
    }
    QStringList texts;
    for (const DayPeriod& p : merged)
        texts << AccessRule::periodText(p);
    return texts.join(QStringLiteral(", "));
}

QString people(int n) { return countOf(n, "osoba", "osoby", "osób"); }

QString csvField(QString text, QChar separator)
{
    if (separator == QLatin1Char('\t'))
        return text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (text.contains(separator) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n')))
        return QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return text;
}

}  // namespace

QString WhoEntry::personText() const { return ::personText(surname, firstName); }

int WhoAnswer::passing() const
{
    return static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const WhoEntry& e) { return e.passes; }));
}

int WhoAnswer::refused() const { return static_cast<int>(entries.size()) - passing(); }

QString WhoAnswer::summary() const
{
    return QStringLiteral("Wejdzie: %1, nie wejdzie: %2.").arg(people(passing()), people(refused()));
}

QStringList WhoAnswer::lines(QChar separator) const
{
    QStringList out{QStringList{"Wejdzie", "Nazwisko i imię", "ID_USER", "Grupa", "Karta", "ID_CARD",
                                "NMID", "Szablon", "Okres", "Powód"}
                        .join(separator)};
    for (const WhoEntry& e : entries) {
        const QStringList fields{e.passes ? QStringLiteral("tak") : QStringLiteral("nie"),
                                 e.personText(), QString::number(e.personId), e.groupName, e.cardCode,
                                 e.passes ? QString::number(e.cardId) : QString(),
                                 e.passes ? QString::number(e.permissionId) : QString(),
                                 e.templateName, e.period, e.reason};
        QStringList quoted;
        for (const QString& field : fields)
            quoted << csvField(field, separator);
        out << quoted.join(separator);
    }
    return out;
}

int WhereAnswer::passableHeads() const
{
    int n = 0;
    for (const WherePassage& p : passages)
        n += p.heads[0].passes + p.heads[1].passes;
    return n;
}

QStringList WhereAnswer::lines() const
{
    QStringList out{subject};
    if (!problem.isEmpty())
        out << problem;
    for (const WherePassage& p : passages) {
        out << QStringLiteral("%1 (ID_DEVICE = %2), %3 %4")
                   .arg(p.name, QString::number(p.deviceId), p.date.toString(Qt::ISODate),
                        p.time.toString(QStringLiteral("HH:mm")));
        for (const WhereHead& h : p.heads) {
            out << QStringLiteral("  głowica %1 %2: %3")
                       .arg(AccessRule::headName(h.head), h.label,
                            h.passes ? QStringLiteral("wejdzie (karta %1, NMID = %2)")
                                           .arg(h.cardCode, QString::number(h.permissionId))
                                     : QStringLiteral("nie wejdzie (%1)").arg(h.reason));
            QStringList days;
            for (int day = 0; day < 7; ++day)
                days << WeekdayName(day + 1).left(3) + QLatin1Char(' ') + h.week[day];
            out << QStringLiteral("    ") + days.join(QStringLiteral("; "));
        }
    }
    out << QStringLiteral("Przejścia z uprawnieniami: %1, głowice, przez które wejdzie teraz: %2.")
               .arg(passages.size())
               .arg(passableHeads());
    return out;
}

QStringList CardsReport::lines() const
{
    QStringList out;
    auto section = [&](const QString& title, const QList<AttentionCard>& cards) {
        out << QStringLiteral("%1: %2").arg(title).arg(cards.size());
        for (const AttentionCard& c : cards)
            out << QStringLiteral("  %1\tID_CARD = %2\t%3 – %4\t%5\t%6\t%7")
                       .arg(c.code, QString::number(c.cardId),
                            c.validFrom.isEmpty() ? QStringLiteral("(brak)") : c.validFrom,
                            c.validTo.isEmpty() ? QStringLiteral("(brak)") : c.validTo,
                            c.owner.isEmpty() ? QStringLiteral("(bez właściciela)") : c.owner, c.groupName,
                            c.note);
    };
    section(QStringLiteral("Ważność kończy się w ciągu %1 dni (do %2)")
                .arg(days)
                .arg(today.addDays(days).toString(Qt::ISODate)),
            expiring);
    section(QStringLiteral("Ważne karty usuniętych osób lub grup"), orphaned);
    section(QStringLiteral("Karty bez daty ważności"), withoutValidity);
    return out;
}

QString ChangePreview::summary() const
{
    auto part = [](const QList<PreviewEntry>& list, const char* verbOne, const char* verbMany) {
        QSet<int> who, where;
        for (const PreviewEntry& e : list) {
            who << e.personId;
            where << e.deviceId;
        }
        const int n = static_cast<int>(who.size());
        const long long tens = n % 100 / 10, units = n % 10;
        const bool few = n != 1 && tens != 1 && units >= 2 && units <= 4;
        return QStringLiteral("%1 %2 dostęp do %3")
            .arg(people(n), QString::fromUtf8(few ? verbMany : verbOne),
                 where.size() == 1 ? QStringLiteral("1 przejścia")
                                   : QStringLiteral("%1 przejść").arg(where.size()));
    };
    if (gains.isEmpty() && losses.isEmpty())
        return QStringLiteral("Nikt nie zyska ani nie straci dostępu.");
    QStringList parts;
    if (!losses.isEmpty())
        parts << part(losses, "straci", "stracą");
    if (!gains.isEmpty())
        parts << part(gains, "zyska", "zyskają");
    return parts.join(QStringLiteral("; ")) + QLatin1Char('.');
}

QStringList ChangePreview::lines() const
{
    QStringList out{summary()};
    for (const PreviewEntry& e : losses)
        out << QStringLiteral("straci\t%1\t%2\t%3").arg(e.passage, AccessRule::headName(e.head), e.person);
    for (const PreviewEntry& e : gains)
        out << QStringLiteral("zyska\t%1\t%2\t%3").arg(e.passage, AccessRule::headName(e.head), e.person);
    return out;
}

namespace Reach {

QDateTime PassageNow(Connection& connection, int deviceId, const QDateTime& utc)
{
    Facts f(connection);
    f.readDevices(QStringLiteral("DEVICE.ID_DEVICE = %1").arg(deviceId));
    return f.devices.contains(deviceId) ? localNow(f.devices[deviceId], utc) : utc.toLocalTime();
}

WhoAnswer WhoCanPass(Connection& connection, int deviceId, ReaderHead head, const QDate& date,
                     const QTime& time)
{
    Facts f(connection);
    readPassages(f, QString::number(deviceId));
    return who(f, f.peopleAt(deviceId, {}), deviceId, head, date, time);
}

void SaveWhoCsv(const WhoAnswer& answer, const QString& fileName, const QList<int>& shown)
{
    const QStringList all = answer.lines(QLatin1Char(';'));
    QStringList lines{all.first()};
    for (int row : shown)
        lines << all.value(row + 1);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(fileName, file.errorString());
    file.write(Windows1250::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    if (!file.commit())
        throw FileError(fileName, file.errorString());
}

WhereAnswer WhereCanGo(Connection& connection, int personId, const QString& cardCode,
                       const QDateTime& utc)
{
    Facts f(connection);
    WhereAnswer a;
    QList<Card> codeCards;   // the cards of a code, which the candidates point at
    Candidates cards;
    QSet<int> groups;
    if (cardCode.isEmpty()) {
        f.readPeople(QStringLiteral("USERS.ID_USER = %1").arg(personId));
        if (f.people.isEmpty()) {
            a.subject = QStringLiteral("Osoba USERS.ID_USER = %1").arg(personId);
            a.problem = QStringLiteral("Osoba USERS.ID_USER = %1 nie istnieje.").arg(personId);
            return a;
        }
        const Person& p = f.people.first();
        a.subject = QStringLiteral("Osoba %1 (USERS.ID_USER = %2), %3")
                        .arg(personText(p.surname, p.firstName), QString::number(p.id),
                             countOf(p.cards.size(), "karta", "karty", "kart"));
        cards = cardsOf(p);
        groups << p.groupId;
    } else {
        // The cards with the code, in order, each with its owner.
        f.readPeople(QStringLiteral("USERS.ID_USER IN (SELECT ID_USER_FK FROM CARDS WHERE CODE = %1)")
                         .arg(connection.quoted(cardCode)));
        Dataset rows(connection, QStringLiteral("ReachCards"));
        rows.setStatement(QStringLiteral("SELECT ID_CARD, ID_USER_FK, CODE, KARENCJA_OD, KARENCJA_DO "
                                         "FROM CARDS WHERE CODE = %1 ORDER BY ID_CARD")
                              .arg(connection.quoted(cardCode)));
        rows.open();
        a.subject = QStringLiteral("Karta %1 (%2)")
                        .arg(cardCode, countOf(rows.rowCount(), "wiersz w CARDS", "wiersze w CARDS",
                                               "wierszy w CARDS"));
        if (rows.rowCount() == 0) {
            a.problem = QStringLiteral("Karta %1 nie istnieje.").arg(cardCode);
            return a;
        }
        for (int r = 0; r < rows.rowCount(); ++r)
            codeCards << Card{rows.cell(r, 0).toInt(), rows.cell(r, 1).toInt(), rows.cell(r, 2),
                              AccessRule::validityDate(rows.cell(r, 3)), AccessRule::validityDate(rows.cell(r, 4))};
        for (const Card& card : codeCards) {
            const Person* owner = nullptr;
            for (const Person& p : f.people)
                if (p.id == card.owner)
                    owner = &p;
            cards << Candidate{&card, owner};
            if (owner)
                groups << owner->groupId;
        }
    }
    f.readGroups(groups);
    f.readRows(QStringLiteral("PERMISSIONS_has_GROUPS.ID_GROUP_FK IN (%1)").arg(idList(groups)));
    QSet<int> devices;
    for (const Row& row : f.rows)
        devices << row.deviceId;
    f.readDevices(QStringLiteral("DEVICE.ID_DEVICE IN (%1)").arg(idList(devices)));

    for (int deviceId : f.deviceOrder) {
        const Device& d = f.devices[deviceId];
        const QDateTime local = localNow(d, utc);
        WherePassage p;
        p.deviceId = deviceId;
        p.name = d.name;
        p.date = local.date();
        p.time = local.time();
        QList<const Row*> weekRows;
        for (int h = 0; h < 2; ++h) {
            WhereHead& head = p.heads[h];
            head.head = h == 0 ? ReaderHead::A : ReaderHead::B;
            head.label = h == 0 ? d.nameA : d.nameB;
            const Decision decision = decide(f, cards, deviceId, head.head, p.date.dayOfWeek(), p.date,
                                             AccessRule::secondOf(p.time));
            head.passes = decision.granted;
            if (!decision.granted)
                head.reason = reasonOf(f, decision, head.head, p.date.dayOfWeek());
            if (decision.granted) {
                head.cardId = decision.card->id;
                head.cardCode = decision.card->code;
                head.permissionId = decision.row->nmid;
            }
            // The week: what the rows of the groups concerned open at this head.
            QList<const Row*> rows;
            for (int group : groups)
                for (int index : f.rowsOf(group, deviceId))
                    if (const Row* row = &f.rows[index]; (head.head == ReaderHead::A ? row->input : row->output) == 1 && row->templateFound)
                        rows << row;
            if (h == 1 && rows == weekRows) {   // both heads on the same rows, as most are
                head.week = p.heads[0].week;
                continue;
            }
            weekRows = rows;
            for (int day = 0; day < 7; ++day)
                head.week << dayText(rows, day);
        }
        a.passages << p;
    }
    return a;
}

CardsReport CardsNeedingAttention(Connection& connection, int days, const QDate& today)
{
    CardsReport report;
    report.days = days;
    report.today = today;
    Dataset rows(connection, QStringLiteral("ReachAttention"));
    const QString columns = QStringLiteral(
        "SELECT CARDS.ID_CARD, CARDS.CODE, CARDS.KARENCJA_OD, CARDS.KARENCJA_DO, CARDS.ID_USER_FK, "
        "USERS.ID_USER, USERS.FIRST_NAME, USERS.NAME, USERS.DEL, `GROUPS`.ID_GROUP, `GROUPS`.NAME AS GNAME, "
        "`GROUPS`.DEL AS GDEL FROM CARDS LEFT JOIN USERS ON USERS.ID_USER = CARDS.ID_USER_FK "
        "LEFT JOIN `GROUPS` ON `GROUPS`.ID_GROUP = USERS.ID_GROUP WHERE ");
    auto list = [&](const QString& condition, const std::function<QString(int)>& note) {
        rows.setStatement(columns + condition + QStringLiteral(" ORDER BY CARDS.KARENCJA_DO, CARDS.CODE, CARDS.ID_CARD"));
        rows.reexecute();
        QList<AttentionCard> out;
        for (int r = 0; r < rows.rowCount(); ++r) {
            const QString why = note(r);
            if (why.isNull())
                continue;
            AttentionCard c;
            c.cardId = rows.cell(r, 0).toInt();
            c.code = rows.cell(r, 1);
            c.validFrom = rows.cell(r, 2);
            c.validTo = rows.cell(r, 3);
            c.ownerId = rows.cell(r, 4).toInt();
            if (!rows.cellIsNull(r, 5))
                c.owner = personText(rows.cell(r, 7), rows.cell(r, 6));
            c.groupName = rows.cell(r, 10);
            c.note = why;
            out << c;
        }
        return out;
    };
    const QString first = connection.quoted(today.toString(Qt::ISODate));
    const QString last = connection.quoted(today.addDays(days).toString(Qt::ISODate));
    report.expiring = list(QStringLiteral("CARDS.KARENCJA_DO >= %1 AND CARDS.KARENCJA_DO <= %2").arg(first, last),
                           [&](int r) {
                               const int left = static_cast<int>(
                                   today.daysTo(QDate::fromString(rows.cell(r, 3), Qt::ISODate)));
                               return left == 0 ? QStringLiteral("ostatni dzień ważności dziś")
                                                : QStringLiteral("zostało dni: %1").arg(left);
                           });
    // Owners and groups that are gone or deleted; the card's own validity by the rule.
    report.orphaned = list(
        QStringLiteral("CARDS.ID_USER_FK <> 0 AND (USERS.ID_USER IS NULL OR USERS.DEL <> 0 OR "
                       "`GROUPS`.ID_GROUP IS NULL OR `GROUPS`.DEL <> 0)"),
        [&](int r) {
            if (AccessRule::cardOn(rows.cell(r, 4).toInt(), rows.cell(r, 2), rows.cell(r, 3), today) !=
                CardState::Valid)
                return QString();
            if (rows.cellIsNull(r, 5))
                return QStringLiteral("właściciel nie istnieje");
            if (rows.cell(r, 8).toInt() != 0)
                return QStringLiteral("osoba usunięta");
            return rows.cellIsNull(r, 9) ? QStringLiteral("grupa nie istnieje") : QStringLiteral("grupa usunięta");
        });
    report.withoutValidity = list(
        QStringLiteral("(CARDS.KARENCJA_OD IS NULL OR CARDS.KARENCJA_DO IS NULL OR "
                       "CARDS.KARENCJA_OD > CARDS.KARENCJA_DO)"),
        [&](int r) {
            return AccessRule::cardOn(1, rows.cell(r, 2), rows.cell(r, 3), today) == CardState::NoValidity
                       ? QStringLiteral("brak daty ważności")
                       : QStringLiteral("koniec ważności przed początkiem");
        });
    return report;
}

ChangePreview PreviewChange(Connection& connection, const AccessChange& change, const QDateTime& utc)
{
    ChangePreview preview;
    QString touched;
    switch (change.kind) {
    case AccessChange::None:
        return preview;
    case AccessChange::SaveTemplate:
    case AccessChange::DeleteTemplate:
        touched = QStringLiteral("ID_PERMISSIONS_FK = %1").arg(change.id);
        break;
    case AccessChange::RevokePermission:
        touched = QStringLiteral("NMID = %1").arg(change.id);
        break;
    case AccessChange::DeleteGroup:
        // Its members move to group 1: its passages and those of group 1.
        touched = QStringLiteral("ID_GROUP_FK IN (%1, 1)").arg(change.id);
        break;
    }
    Facts before(connection);
    readPassages(before, QStringLiteral("SELECT DISTINCT ID_DEVICE_FK FROM PERMISSIONS_has_GROUPS WHERE ") + touched,
                 change);
    Facts after = before;
    after.apply(change);
    QSet<int> moved;
    if (change.kind == AccessChange::DeleteGroup)
        moved << change.id << 1;

    std::map<std::tuple<int, int, int>, PreviewEntry> gains, losses;   // passage order, head, person order
    for (int order = 0; order < before.deviceOrder.size(); ++order) {
        const int deviceId = before.deviceOrder[order];
        const QDateTime local = localNow(before.devices[deviceId], utc);
        // Group 1 and the deleted group are read for a group's deletion anyway.
        const QList<int> persons = before.peopleAt(deviceId, moved);
        const int weekday = local.date().dayOfWeek();
        const int second = AccessRule::secondOf(local.time());
        for (ReaderHead head : {ReaderHead::A, ReaderHead::B}) {
            for (int i = 0; i < persons.size(); ++i) {
                const Person& was = before.people[persons[i]];
                const Person& will = after.people[persons[i]];   // the same person, maybe moved
                const bool passed = decide(before, cardsOf(was), deviceId, head, weekday, local.date(), second).granted;
                const bool passes = decide(after, cardsOf(will), deviceId, head, weekday, local.date(), second).granted;
                if (passed == passes)
                    continue;
                const PreviewEntry e{was.id, personText(was.surname, was.firstName), deviceId,
                                     before.devices[deviceId].name, head};
                (passes ? gains : losses)[{order, head == ReaderHead::A ? 0 : 1, i}] = e;
            }
        }
    }
    for (const auto& [key, e] : gains)
        preview.gains << e;
    for (const auto& [key, e] : losses)
        preview.losses << e;
    return preview;
}

}  // namespace Reach
