#include "access/AccessCheck.h"
#include "access/AccessRule.h"
#include "text/PolishPlural.h"

#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"
#include "devices/TimeZones.h"
#include "people/CardCode.h"

#include <optional>

namespace {

const char* const Weekdays[] = {"poniedziałek", "wtorek", "środa", "czwartek",
                                "piątek", "sobota", "niedziela"};

QString headName(ReaderHead head) { return head == ReaderHead::A ? "A" : "B"; }

QString inQuotes(const QString& text) { return QStringLiteral("„%1”").arg(text); }

// "HH:MM" with an hour 00-23 and minutes 00-59, as seconds since midnight.
std::optional<int> timeOfDay(const QString& text)
{
    if (text.size() != 5 || text[2] != QLatin1Char(':'))
        return std::nullopt;
    for (int i : {0, 1, 3, 4})
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return std::nullopt;
    const int hours = text.left(2).toInt(), minutes = text.mid(3).toInt();
    if (hours > 23 || minutes > 59)
        return std::nullopt;
    return hours * 3600 + minutes * 60;
}


QString clock(int second)
{
    return QTime(0, 0).addSecs(second).toString(QStringLiteral("HH:mm:ss"));
}

struct CardRow {
    int id = 0;
    int owner = 0;
    QString code;
    QString from, to;   // empty when NULL
};

struct PermissionRow {
    int nmid = 0;
    int input = 0, output = 0;
    int templateFk = 0;
    bool templateFound = false;
    QString templateName;
    QString day;
};

// One run of the check: the rows it reads and the reasons it writes.
class Checker {
public:
    Checker(Connection& connection, const AccessQuestion& question)
        : connection_(connection), q_(question), rows_(connection, QStringLiteral("AccessCheck"))
    {
    }

    AccessAnswer run();

private:
    void say(int level, AccessReason::Outcome outcome, const QString& text)
    {
        answer_.reasons << AccessReason{level, outcome, text};
    }
    void read(const QString& statement)
    {
        rows_.setStatement(statement);
        rows_.reexecute();
    }
    bool passage();
    QList<CardRow> cards(const QString& condition);
    QList<CardRow> cardsOfQuestion();
    std::optional<QString> personName(int personId);
    bool card(const CardRow& card);
    int person(int personId);    // the person's group, or -1 when the chain stops
    bool group(int groupId);
    bool permission(const PermissionRow& row);
    QList<PermissionRow> permissions(int groupId);

    Connection& connection_;
    const AccessQuestion& q_;
    Dataset rows_;
    AccessAnswer answer_;
    QString dayColumn_;
};

AccessAnswer Checker::run()
{
    const int weekday = q_.date.dayOfWeek();
    dayColumn_ = QStringLiteral("D%1").arg(weekday);
    const QString who = q_.cardCode.isEmpty()
                            ? QStringLiteral("karty osoby USERS.ID_USER = %1").arg(q_.personId)
                            : QStringLiteral("karta %1").arg(inQuotes(q_.cardCode));
    say(0, AccessReason::Info,
        QStringLiteral("Sprawdzenie: %1, przejście DEVICE.ID_DEVICE = %2, głowica %3, %4 (%5), "
                       "godz. %6.")
            .arg(who, QString::number(q_.deviceId), headName(q_.head), q_.date.toString(Qt::ISODate),
                 WeekdayName(weekday), q_.time.toString(QStringLiteral("HH:mm:ss"))));
    if (!passage())
        return answer_;

    const QList<CardRow> found = cardsOfQuestion();
    for (const CardRow& c : found)
        if (card(c) && !answer_.granted) {
            answer_.granted = true;
            answer_.decidingCardId = c.id;
        }
    if (found.isEmpty())
        return answer_;
    if (answer_.granted) {
        QString code;
        for (const CardRow& c : found)
            if (c.id == answer_.decidingCardId)
                code = c.code;
        say(0, AccessReason::Info,
            QStringLiteral("Rozstrzyga karta %1 (CARDS.ID_CARD = %2) z uprawnieniem NMID = %3: "
                           "pierwsze, które wpuszcza.")
                .arg(inQuotes(code), QString::number(answer_.decidingCardId),
                     QString::number(answer_.decidingPermissionId)));
    } else {
        say(0, AccessReason::Info,
            found.size() > 1 ? QStringLiteral("Żadna z %1 kart nie wpuszcza.").arg(found.size())
                             : QStringLiteral("Karta nie wpuszcza."));
    }
    return answer_;
}

bool Checker::passage()
{
    read(QStringLiteral("SELECT DEVICE.ID_DEVICE, DEVICE.NAME, DEVICE.NAME_A, DEVICE.NAME_B, "
                        "DEVICE.DEL, LOCALIZATION.NAME AS LOCATION, LOCALIZATION.TIME_ZONE "
                        "FROM DEVICE LEFT JOIN LOCALIZATION ON LOCALIZATION.ID = "
                        "DEVICE.ID_LOCALIZATION WHERE DEVICE.ID_DEVICE = %1")
             .arg(q_.deviceId));
    if (rows_.rowCount() == 0) {
        say(0, AccessReason::Fail,
            QStringLiteral("Przejście DEVICE.ID_DEVICE = %1 nie istnieje.").arg(q_.deviceId));
        return false;
    }
    QString place = QStringLiteral("bez lokalizacji");
    if (!rows_.isNull(QStringLiteral("LOCATION"))) {
        place = QStringLiteral("lokalizacja %1").arg(inQuotes(rows_.text(QStringLiteral("LOCATION"))));
        const int zone = rows_.integer(QStringLiteral("TIME_ZONE"));
        if (zone >= 0 && zone < TimeZoneTexts().size())
            place += QStringLiteral(", strefa czasowa %1").arg(TimeZoneTexts()[zone]);
    }
    const QString head = rows_.text(q_.head == ReaderHead::A ? QStringLiteral("NAME_A")
                                                             : QStringLiteral("NAME_B"));
    const QString text = QStringLiteral("Przejście %1 (DEVICE.ID_DEVICE = %2), głowica %3 %4; %5; "
                                        "data i godzina są czasem tego przejścia.")
                             .arg(inQuotes(rows_.text(QStringLiteral("NAME"))), QString::number(q_.deviceId),
                                  headName(q_.head), inQuotes(head), place);
    if (rows_.integer(QStringLiteral("DEL")) != 0) {
        say(0, AccessReason::Fail, text + QStringLiteral(" Przejście jest usunięte (DEL = %1).")
                                              .arg(rows_.integer(QStringLiteral("DEL"))));
        return false;
    }
    say(0, AccessReason::Info, text);
    return true;
}

QList<CardRow> Checker::cards(const QString& condition)
{
    read(QStringLiteral("SELECT ID_CARD, ID_USER_FK, CODE, KARENCJA_OD, KARENCJA_DO FROM CARDS "
                        "WHERE %1 ORDER BY ID_CARD")
             .arg(condition));
    QList<CardRow> out;
    for (rows_.first(); !rows_.eof(); rows_.next())
        out << CardRow{rows_.integer(QStringLiteral("ID_CARD")),
                       rows_.integer(QStringLiteral("ID_USER_FK")), rows_.text(QStringLiteral("CODE")),
                       rows_.text(QStringLiteral("KARENCJA_OD")),
                       rows_.text(QStringLiteral("KARENCJA_DO"))};
    return out;
}

std::optional<QString> Checker::personName(int personId)
{
    read(QStringLiteral("SELECT FIRST_NAME, NAME FROM USERS WHERE ID_USER = %1").arg(personId));
    if (rows_.rowCount() == 0)
        return std::nullopt;
    return (rows_.text(QStringLiteral("FIRST_NAME")) + QLatin1Char(' ') +
            rows_.text(QStringLiteral("NAME"))).trimmed();
}

// The cards the question names; tells why there are none.
QList<CardRow> Checker::cardsOfQuestion()
{
    auto quoted = [this](const QString& text) {
        return QLatin1Char('\'') + connection_.escape(text) + QLatin1Char('\'');
    };
    if (!q_.cardCode.isEmpty()) {
        const QList<CardRow> found = cards(QStringLiteral("CODE = %1").arg(quoted(q_.cardCode)));
        if (!found.isEmpty())
            return found;
        QString text = QStringLiteral("Karta %1 nie istnieje (CARDS: brak wiersza z tym kodem).")
                           .arg(inQuotes(q_.cardCode));
        const QString typed = CardCode::entered(q_.cardCode);
        if (typed != q_.cardCode &&
            !cards(QStringLiteral("CODE = %1").arg(quoted(typed))).isEmpty())
            text += QStringLiteral(" Istnieje karta %1: tak zapisuje ten kod strona "
                                   "„Użytkownicy” (10 znaków, wielkie litery).")
                        .arg(inQuotes(typed));
        say(0, AccessReason::Fail, text);
        return {};
    }
    if (q_.personId <= 0) {
        say(0, AccessReason::Fail, QStringLiteral("Nie wybrano osoby ani karty."));
        return {};
    }
    const QList<CardRow> found = cards(QStringLiteral("ID_USER_FK = %1").arg(q_.personId));
    if (found.isEmpty()) {
        const std::optional<QString> name = personName(q_.personId);
        say(0, AccessReason::Fail,
            !name ? QStringLiteral("Osoba USERS.ID_USER = %1 nie istnieje.").arg(q_.personId)
                  : QStringLiteral("Osoba %1 (USERS.ID_USER = %2) nie ma żadnej karty (CARDS: "
                                   "brak wierszy z ID_USER_FK = %2).")
                        .arg(inQuotes(*name), QString::number(q_.personId)));
    } else if (found.size() > 1) {
        say(0, AccessReason::Info,
            QStringLiteral("Osoba ma %1 (CARDS, ID_USER_FK = %2): każda sprawdzana po kolei, "
                           "rozstrzyga pierwsza, która wpuszcza.")
                .arg(countOf(found.size(), "kartę", "karty", "kart"))
                .arg(q_.personId));
    }
    return found;
}

// The card, then its owner, group, permission rows and templates. Returns whether
// any permission row of the card grants.
bool Checker::card(const CardRow& c)
{
    const QString head =
        QStringLiteral("Karta %1 (CARDS.ID_CARD = %2): ").arg(inQuotes(c.code), QString::number(c.id));
    if (c.owner == 0) {
        say(0, AccessReason::Fail, head + QStringLiteral("bez właściciela (ID_USER_FK = 0)."));
        return false;
    }
    const QString validity = QStringLiteral("właściciel USERS.ID_USER = %1, ważna od %2 do %3 "
                                            "(KARENCJA_OD, KARENCJA_DO)")
                                 .arg(c.owner)
                                 .arg(c.from.isEmpty() ? QStringLiteral("(brak)") : c.from,
                                      c.to.isEmpty() ? QStringLiteral("(brak)") : c.to);
    const QString date = q_.date.toString(Qt::ISODate);
    QString problem;
    switch (AccessRule::cardOn(c.owner, c.from, c.to, q_.date)) {
    case AccessRule::CardState::NoValidity:
        problem = QStringLiteral("brak daty ważności, karta nieważna");
        break;
    case AccessRule::CardState::NotYet:
        problem = QStringLiteral("%1 jest przed pierwszym dniem ważności").arg(date);
        break;
    case AccessRule::CardState::Expired:
        problem = QStringLiteral("%1 jest po ostatnim dniu ważności").arg(date);
        break;
    case AccessRule::CardState::NoOwner:   // told above
    case AccessRule::CardState::Valid:
        break;
    }
    if (!problem.isEmpty()) {
        say(0, AccessReason::Fail, head + validity + QStringLiteral(": ") + problem + '.');
        return false;
    }
    say(0, AccessReason::Pass, head + validity + QStringLiteral(": obejmuje %1.").arg(date));

    const int groupId = person(c.owner);
    if (groupId < 0 || !group(groupId))
        return false;
    const QList<PermissionRow> rows = permissions(groupId);
    bool grants = false;
    for (const PermissionRow& row : rows)
        if (permission(row) && !grants) {
            grants = true;
            if (!answer_.granted)
                answer_.decidingPermissionId = row.nmid;
        }
    return grants;
}

int Checker::person(int personId)
{
    read(QStringLiteral("SELECT ID_USER, FIRST_NAME, NAME, ID_GROUP, DEL FROM USERS "
                        "WHERE ID_USER = %1")
             .arg(personId));
    if (rows_.rowCount() == 0) {
        say(1, AccessReason::Fail, QStringLiteral("Osoba USERS.ID_USER = %1 nie istnieje.").arg(personId));
        return -1;
    }
    const QString name = (rows_.text(QStringLiteral("FIRST_NAME")) + QLatin1Char(' ') +
                          rows_.text(QStringLiteral("NAME"))).trimmed();
    const QString head =
        QStringLiteral("Osoba %1 (USERS.ID_USER = %2): ").arg(inQuotes(name), QString::number(personId));
    const int del = rows_.integer(QStringLiteral("DEL"));
    if (!AccessRule::live(true, del)) {
        say(1, AccessReason::Fail, head + QStringLiteral("usunięta (DEL = %1).").arg(del));
        return -1;
    }
    const int groupId = rows_.integer(QStringLiteral("ID_GROUP"));
    say(1, AccessReason::Pass,
        head + QStringLiteral("nie usunięta (DEL = 0), grupa GROUPS.ID_GROUP = %1.").arg(groupId));
    return groupId;
}

bool Checker::group(int groupId)
{
    read(QStringLiteral("SELECT ID_GROUP, NAME, DEL FROM GROUPS WHERE ID_GROUP = %1").arg(groupId));
    if (rows_.rowCount() == 0) {
        say(1, AccessReason::Fail, QStringLiteral("Grupa GROUPS.ID_GROUP = %1 nie istnieje.").arg(groupId));
        return false;
    }
    const QString head = QStringLiteral("Grupa %1 (GROUPS.ID_GROUP = %2): ")
                             .arg(inQuotes(rows_.text(QStringLiteral("NAME"))), QString::number(groupId));
    const int del = rows_.integer(QStringLiteral("DEL"));
    if (!AccessRule::live(true, del)) {
        say(1, AccessReason::Fail, head + QStringLiteral("usunięta (DEL = %1).").arg(del));
        return false;
    }
    say(1, AccessReason::Pass, head + QStringLiteral("nie usunięta (DEL = 0)."));
    return true;
}

QList<PermissionRow> Checker::permissions(int groupId)
{
    read(QStringLiteral("SELECT PERMISSIONS_has_GROUPS.NMID, PERMISSIONS_has_GROUPS.INPUT, "
                        "PERMISSIONS_has_GROUPS.OUTPUT, PERMISSIONS_has_GROUPS.ID_PERMISSIONS_FK, "
                        "PERMISSIONS.ID_PERMISSIONS, PERMISSIONS.NAME, PERMISSIONS.%1 AS DAY "
                        "FROM PERMISSIONS_has_GROUPS LEFT JOIN PERMISSIONS ON "
                        "PERMISSIONS.ID_PERMISSIONS = PERMISSIONS_has_GROUPS.ID_PERMISSIONS_FK "
                        "WHERE PERMISSIONS_has_GROUPS.ID_GROUP_FK = %2 "
                        "AND PERMISSIONS_has_GROUPS.ID_DEVICE_FK = %3 "
                        "ORDER BY PERMISSIONS_has_GROUPS.NMID")
             .arg(dayColumn_)
             .arg(groupId)
             .arg(q_.deviceId));
    QList<PermissionRow> out;
    for (rows_.first(); !rows_.eof(); rows_.next())
        out << PermissionRow{rows_.integer(QStringLiteral("NMID")),
                             rows_.integer(QStringLiteral("INPUT")),
                             rows_.integer(QStringLiteral("OUTPUT")),
                             rows_.integer(QStringLiteral("ID_PERMISSIONS_FK")),
                             !rows_.isNull(QStringLiteral("ID_PERMISSIONS")),
                             rows_.text(QStringLiteral("NAME")),
                             rows_.text(QStringLiteral("DAY"))};
    const QString where = QStringLiteral("PERMISSIONS_has_GROUPS, ID_GROUP_FK = %1, ID_DEVICE_FK = %2")
                              .arg(groupId)
                              .arg(q_.deviceId);
    if (out.isEmpty())
        say(1, AccessReason::Fail,
            QStringLiteral("Grupa nie ma uprawnień na tym przejściu (%1: brak wierszy).").arg(where));
    else
        say(1, AccessReason::Info,
            QStringLiteral("Uprawnienia grupy na tym przejściu (%1): %2, sprawdzane po kolei.")
                .arg(where)
                .arg(countOf(out.size(), "wiersz", "wiersze", "wierszy")));
    return out;
}

// The row's reader head, then its template's period on the weekday: the verdict
// is AccessRule's, the texts say which of its steps decided.
bool Checker::permission(const PermissionRow& row)
{
    const int second = AccessRule::secondOf(q_.time);
    const AccessRule::RowState state =
        AccessRule::rowAt(q_.head, row.input, row.output, row.templateFound, row.day, second);
    const QString head = QStringLiteral("Uprawnienie NMID = %1: INPUT = %2, OUTPUT = %3 – ")
                             .arg(row.nmid)
                             .arg(row.input)
                             .arg(row.output);
    if (state == AccessRule::RowState::OtherHead) {
        say(2, AccessReason::Fail, head + QStringLiteral("nie obejmuje głowicy %1.").arg(headName(q_.head)));
        return false;
    }
    say(2, AccessReason::Pass,
        head + QStringLiteral("obejmuje głowicę %1; szablon ID_PERMISSIONS_FK = %2.")
                   .arg(headName(q_.head))
                   .arg(row.templateFk));
    if (state == AccessRule::RowState::NoTemplate) {
        say(3, AccessReason::Fail,
            QStringLiteral("Szablon PERMISSIONS.ID_PERMISSIONS = %1 nie istnieje.").arg(row.templateFk));
        return false;
    }
    const QString day = QStringLiteral("Szablon %1 (PERMISSIONS.ID_PERMISSIONS = %2), %3 %4 = %5: ")
                            .arg(inQuotes(row.templateName), QString::number(row.templateFk),
                                 WeekdayName(q_.date.dayOfWeek()), dayColumn_, inQuotes(row.day));
    const DayPeriod period = ReadDayString(row.day);
    if (state == AccessRule::RowState::DayClosed) {
        say(3, AccessReason::Fail, day + period.problem + QStringLiteral(" – w tym dniu nie wpuszcza."));
        return false;
    }
    const QString range = QStringLiteral("od %1 do %2")
                              .arg(period.start,
                                   period.endSecond == 86400 ? QStringLiteral("końca dnia (23:59)")
                                                             : period.end + QStringLiteral(" (wyłącznie)"));
    const bool inside = state == AccessRule::RowState::Grants;
    say(3, inside ? AccessReason::Pass : AccessReason::Fail,
        day + range + QStringLiteral("; %1 %2 się w tym okresie.")
                          .arg(clock(second), inside ? QStringLiteral("mieści") : QStringLiteral("nie mieści")));
    return inside;
}

}  // namespace

QString WeekdayName(int dayOfWeek)
{
    return dayOfWeek >= 1 && dayOfWeek <= 7 ? QString::fromUtf8(Weekdays[dayOfWeek - 1]) : QString();
}

DayPeriod ReadDayString(const QString& dayString)
{
    DayPeriod p;
    p.start = dayString.mid(0, 5);
    p.end = dayString.mid(6, 5);
    if (dayString.isEmpty()) {
        p.problem = QStringLiteral("pusty ciąg dnia");
        return p;
    }
    const std::optional<int> start = timeOfDay(p.start);
    const std::optional<int> end = timeOfDay(p.end);
    if (!start || !end) {
        p.problem = QStringLiteral("nieprawidłowy ciąg dnia: %1 %2 nie jest godziną GG:MM")
                        .arg(!start ? QStringLiteral("początek") : QStringLiteral("koniec"),
                             inQuotes(!start ? p.start : p.end));
        return p;
    }
    p.startSecond = *start;
    p.endSecond = p.end == QLatin1String("23:59") ? 86400 : *end;
    if (p.start == p.end) {
        p.problem = QStringLiteral("okres pusty (początek równy końcowi)");
        return p;
    }
    if (p.endSecond < p.startSecond) {
        p.problem = QStringLiteral("nieprawidłowy ciąg dnia: koniec %1 przed początkiem %2")
                        .arg(p.end, p.start);
        return p;
    }
    p.open = true;
    return p;
}

AccessAnswer CheckAccess(Connection& connection, const AccessQuestion& question)
{
    return Checker(connection, question).run();
}

QString AccessAnswer::verdict() const
{
    return granted ? QStringLiteral("Wejdzie") : QStringLiteral("Nie wejdzie");
}

QStringList AccessAnswer::lines() const
{
    QStringList out{verdict()};
    for (const AccessReason& r : reasons) {
        const QString mark = r.outcome == AccessReason::Pass   ? QStringLiteral("[tak] ")
                             : r.outcome == AccessReason::Fail ? QStringLiteral("[nie] ")
                                                               : QString();
        out << QString(2 * r.level, QLatin1Char(' ')) + mark + r.text;
    }
    return out;
}
