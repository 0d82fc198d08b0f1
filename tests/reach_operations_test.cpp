// "Kto wejdzie", "Dokąd wejdzie", cards needing attention and the preview of a
// change, held against the single access check and against the real changes.
#include "support/TestDatabase.h"

#include "access/AccessCheck.h"
#include "access/AccessRule.h"
#include "access/GroupChanges.h"
#include "access/PermissionChanges.h"
#include "access/Reach.h"
#include "access/TemplateChanges.h"
#include "dataaccess/Connection.h"
#include "db/Lookups.h"
#include "db/TDataModule3.h"

#include <QSet>

#include <random>

namespace {

const int People = 24, Devices = 6, Groups = 7, Templates = 6;

// One (person, passage, head) as a number, for sets of them.
qint64 key(int person, int device, int head) { return person * 1000000LL + device * 10 + head; }

// A small installation drawn from a seed: every kind of row the rule must get
// right, including deleted and missing people, groups, devices and templates,
// malformed day strings, heads flagged 0, 1 or 2, and cards without validity.
class ReachTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        configure(m.Quorvel);
        m.Quorvel.open();
        for (Dataset* d : {&m.Users, &m.Groups, &m.Szablony, &m.Device, &m.Status})
            d->open();
        PermissionChanges::RefreshGroupPermissions(m);
    }

    void seed(unsigned seed)
    {
        std::mt19937 random(seed);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        const QStringList days{"08:00:16:00", "00:00:23:59", "00:00:00:00", "22:00:06:00", "12:00:12:00",
                               "",            "7:00:15:00",  "06:30:14:15", "13:00:23:59", "00:00:12:00",
                               "11:45-12:15", "23:59:23:59"};
        for (int g = 2; g <= Groups; ++g)
            sql(QStringLiteral("INSERT INTO `GROUPS` (ID_GROUP, NAME, DEL) VALUES (%1, 'Grupa %1', %2)")
                    .arg(g)
                    .arg(g == 5 ? 1 : 0));
        for (int t = 1; t <= Templates; ++t) {
            QStringList values;
            for (int d = 0; d < 7; ++d)
                values << "'" + days[pick(days.size())] + "'";
            sql(QStringLiteral("INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME, D1, D2, D3, D4, D5, D6, D7) "
                               "VALUES (%1, 'Szablon %1', %2)")
                    .arg(t)
                    .arg(values.join(',')));
        }
        sql("INSERT INTO LOCALIZATION (ID, NAME, TIME_ZONE) VALUES (1, 'Warszawa', 13), (2, 'Zachód', 0), "
            "(3, 'Tonga', 25)");
        for (int d = 1; d <= Devices; ++d)
            sql(QStringLiteral("INSERT INTO DEVICE (ID_DEVICE, NAME, NAME_A, NAME_B, ID_LOCALIZATION, DEL) "
                               "VALUES (%1, 'Przejście %1', 'Wejście %1', 'Wyjście %1', %2, %3)")
                    .arg(d)
                    .arg(d == 5 ? 0 : d == 6 ? 9 : 1 + d % 3)
                    .arg(d == 4 ? 1 : 0));
        const QList<int> groups{1, 2, 3, 4, 5, 6, 7, 99};
        for (int r = 0; r < 40; ++r)
            sql(QStringLiteral("INSERT INTO PERMISSIONS_has_GROUPS (ID_PERMISSIONS_FK, ID_GROUP_FK, "
                               "ID_DEVICE_FK, INPUT, OUTPUT) VALUES (%1, %2, %3, %4, %5)")
                    .arg(pick(10) == 0 ? 42 : 1 + pick(Templates))
                    .arg(groups[pick(groups.size())])
                    .arg(1 + pick(Devices))
                    .arg(pick(6) == 0 ? 2 : pick(4) != 0)
                    .arg(pick(4) != 0));
        for (int p = 1; p <= People; ++p)
            sql(QStringLiteral("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME, DEL) "
                               "VALUES (%1, %2, 'Imię%1', 'Nazwisko%3', %4)")
                    .arg(p)
                    .arg(groups[pick(groups.size())])
                    .arg(pick(8))
                    .arg(pick(10) == 0 ? 1 : 0));
        const QStringList validity{"NULL, NULL", "'2026-01-01', '2026-12-31'", "'2026-03-02', '2026-03-02'",
                                   "'2026-03-03', '2027-01-01'", "'2000-01-01', '2026-03-01'",
                                   "'2026-01-01', NULL", "'2010-01-01', '2030-12-31'"};
        for (int c = 1; c <= 40; ++c) {
            const int owner = pick(12) == 0 ? 0 : pick(15) == 0 ? 77 : 1 + pick(People);
            // Two cards share a code, as rows written outside the program may.
            const QString code = c == 40 ? QStringLiteral("00000000C3") : QStringLiteral("00000000C%1").arg(c);
            sql(QStringLiteral("INSERT INTO CARDS (ID_CARD, ID_USER_FK, CODE, KARENCJA_OD, KARENCJA_DO) "
                               "VALUES (%1, %2, '%3', %4)")
                    .arg(c)
                    .arg(owner)
                    .arg(code, validity[pick(validity.size())]));
        }
    }

    AccessAnswer check(int personId, const QString& code, int deviceId, ReaderHead head, const QDate& date,
                       const QTime& time)
    {
        AccessQuestion q;
        q.personId = personId;
        q.cardCode = code;
        q.deviceId = deviceId;
        q.head = head;
        q.date = date;
        q.time = time;
        return CheckAccess(m.Quorvel, q);
    }

    // Who passes every head of every passage at the UTC moment: (person, device, head).
    QSet<qint64> passersEverywhere(const QDateTime& utc)
    {
        QSet<qint64> out;
        for (int d = 1; d <= Devices; ++d)
            for (ReaderHead head : {ReaderHead::A, ReaderHead::B}) {
                const QDateTime local = Reach::PassageNow(m.Quorvel, d, utc);
                for (const WhoEntry& e : Reach::WhoCanPass(m.Quorvel, d, head, local.date(), local.time()).entries)
                    if (e.passes)
                        out.insert(key(e.personId, d, head == ReaderHead::A ? 0 : 1));
            }
        return out;
    }

    TDataModule3 m;
    Lookups lookups;
};

// Mondays and Saturdays, validity edges, midnight and the last minute of a day.
const QList<QDateTime> Moments{QDateTime(QDate(2026, 3, 2), QTime(7, 30), Qt::UTC),
                               QDateTime(QDate(2026, 3, 7), QTime(23, 15, 30), Qt::UTC),
                               QDateTime(QDate(2026, 3, 2), QTime(11, 0), Qt::UTC)};

TEST(ReachRuleTest, PassageTimeFollowsTheLocationsZone)
{
    const QDateTime utc(QDate(2026, 3, 2), QTime(12, 0), Qt::UTC);
    const QDateTime tonga = AccessRule::passageTime(utc, true, 25);
    EXPECT_EQ(tonga.date(), QDate(2026, 3, 3));
    EXPECT_EQ(tonga.time(), QTime(1, 0));
    EXPECT_EQ(AccessRule::passageTime(utc, true, 0).time(), QTime(0, 0));
    EXPECT_EQ(AccessRule::passageTime(utc, true, 13).time(), QTime(13, 0));
    // No location, or a zone outside the list: the workstation's own clock.
    EXPECT_EQ(AccessRule::passageTime(utc, false, 0), utc.toLocalTime());
    EXPECT_EQ(AccessRule::passageTime(utc, true, 26), utc.toLocalTime());
}

TEST(ReachRuleTest, PreviewSummaryCountsPeopleAndPassagesInPolish)
{
    ChangePreview p;
    for (int i = 0; i < 37; ++i)
        p.losses << PreviewEntry{i + 1, QString(), 1 + i % 4, QString(), ReaderHead::A};
    EXPECT_EQ(p.summary(), QStringLiteral("37 osób straci dostęp do 4 przejść."));
    p.losses = {PreviewEntry{1, {}, 1, {}, ReaderHead::A}, PreviewEntry{2, {}, 1, {}, ReaderHead::B}};
    p.gains = {PreviewEntry{3, {}, 2, {}, ReaderHead::A}};
    EXPECT_EQ(p.summary(), QStringLiteral("2 osoby stracą dostęp do 1 przejścia; 1 osoba zyska dostęp do 1 przejścia."));
    EXPECT_EQ(ChangePreview().summary(), QStringLiteral("Nikt nie zyska ani nie straci dostępu."));
}

TEST_F(ReachTest, WhoAgreesWithTheAccessCheckForEveryPersonPassageHeadAndMoment)
{
    seed(2311);
    int granted = 0, refused = 0;
    for (const QDateTime& utc : Moments)
        for (int d = 1; d <= Devices + 1; ++d)
            for (ReaderHead head : {ReaderHead::A, ReaderHead::B}) {
                const QDateTime local = Reach::PassageNow(m.Quorvel, d, utc);
                const WhoAnswer who = Reach::WhoCanPass(m.Quorvel, d, head, local.date(), local.time());
                QHash<int, WhoEntry> listed;
                for (const WhoEntry& e : who.entries)
                    listed.insert(e.personId, e);
                EXPECT_EQ(who.passing() + who.refused(), who.entries.size());
                for (int p = 1; p <= People; ++p) {
                    const AccessAnswer a = check(p, {}, d, head, local.date(), local.time());
                    const WhoEntry e = listed.value(p);
                    const QString where = QStringLiteral("person %1 device %2 head %3 at %4 %5")
                                              .arg(p)
                                              .arg(d)
                                              .arg(AccessRule::headName(head), local.date().toString(Qt::ISODate),
                                                   local.time().toString());
                    ASSERT_EQ(e.passes, a.granted) << where.toStdString() << "\n"
                                                   << a.lines().join('\n').toStdString();
                    if (a.granted) {
                        EXPECT_EQ(e.cardId, a.decidingCardId) << where.toStdString();
                        EXPECT_EQ(e.permissionId, a.decidingPermissionId) << where.toStdString();
                        ++granted;
                    } else {
                        ++refused;
                        if (listed.contains(p)) {
                            EXPECT_FALSE(e.reason.isEmpty()) << where.toStdString();
                        }
                    }
                }
            }
    // The seed gives both answers plenty of times.
    EXPECT_GT(granted, 20);
    EXPECT_GT(refused, 20);
}

TEST_F(ReachTest, WhereAgreesWithTheAccessCheckForPeopleAndCards)
{
    seed(4127);
    int granted = 0;
    auto agree = [&](int personId, const QString& code, const QDateTime& utc) {
        const WhereAnswer where = Reach::WhereCanGo(m.Quorvel, personId, code, utc);
        QHash<int, WherePassage> listed;
        for (const WherePassage& p : where.passages)
            listed.insert(p.deviceId, p);
        for (int d = 1; d <= Devices; ++d) {
            const QDateTime local = Reach::PassageNow(m.Quorvel, d, utc);
            for (int h = 0; h < 2; ++h) {
                const ReaderHead head = h == 0 ? ReaderHead::A : ReaderHead::B;
                const AccessAnswer a = check(personId, code, d, head, local.date(), local.time());
                const std::string what = QStringLiteral("person %1 card %2 device %3 head %4")
                                             .arg(personId)
                                             .arg(code)
                                             .arg(d)
                                             .arg(h)
                                             .toStdString();
                if (!listed.contains(d)) {
                    EXPECT_FALSE(a.granted) << what;
                    continue;
                }
                const WherePassage& p = listed[d];
                EXPECT_EQ(p.date, local.date()) << what;
                EXPECT_EQ(p.time, local.time()) << what;
                ASSERT_EQ(p.heads[h].passes, a.granted) << what << "\n" << a.lines().join('\n').toStdString();
                ASSERT_EQ(p.heads[h].week.size(), 7);
                if (a.granted) {
                    ++granted;
                    EXPECT_EQ(p.heads[h].cardId, a.decidingCardId) << what;
                    EXPECT_EQ(p.heads[h].permissionId, a.decidingPermissionId) << what;
                    // Passing now means the week shows a period on this weekday.
                    EXPECT_NE(p.heads[h].week[local.date().dayOfWeek() - 1], QStringLiteral("—")) << what;
                }
            }
        }
    };
    for (const QDateTime& utc : Moments) {
        for (int p = 1; p <= People + 1; ++p)
            agree(p, {}, utc);
        for (const QString& code : column("SELECT DISTINCT CODE FROM CARDS ORDER BY CODE"))
            agree(0, code, utc);
    }
    EXPECT_GT(granted, 20);
}

TEST_F(ReachTest, WeekMergesPeriodsOfEveryRowAtTheHead)
{
    sql("INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME, D1, D2, D3, D4, D5, D6, D7) VALUES "
        "(1, 'Rano', '06:00:10:00', '08:00:16:00', '00:00:00:00', '', '22:00:06:00', '00:00:23:59', '00:00:00:00'),"
        "(2, 'Południe', '09:00:12:00', '18:00:20:00', '00:00:00:00', '00:00:00:00', '00:00:00:00', "
        "'00:00:00:00', '10:00:11:00')");
    sql("INSERT INTO DEVICE (ID_DEVICE, NAME, NAME_A, NAME_B) VALUES (1, 'Brama', 'Wejście', 'Wyjście')");
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES (1, 1, 'Anna', 'Nowak')");
    sql("INSERT INTO PERMISSIONS_has_GROUPS (ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK, INPUT, OUTPUT) "
        "VALUES (1, 1, 1, 1, 1), (2, 1, 1, 1, 0)");
    const WhereAnswer a = Reach::WhereCanGo(m.Quorvel, 1, {});
    ASSERT_EQ(a.passages.size(), 1);
    EXPECT_EQ(a.passages[0].heads[0].week,
              QStringList({"06:00–12:00", "08:00–16:00, 18:00–20:00", "—", "—", "—", "00:00–24:00",
                           "10:00–11:00"}));
    EXPECT_EQ(a.passages[0].heads[1].week,
              QStringList({"06:00–10:00", "08:00–16:00", "—", "—", "—", "00:00–24:00", "—"}));
    EXPECT_FALSE(a.passages[0].heads[0].passes);
    EXPECT_EQ(a.passages[0].heads[0].reason, QStringLiteral("brak karty"));
}

TEST_F(ReachTest, PreviewEqualsWhatTheChangeReallyDoesAndWritesNothing)
{
    seed(977);
    const QString tables = "CHECKSUM TABLE USERS, `GROUPS`, CARDS, PERMISSIONS, PERMISSIONS_has_GROUPS, STATUS";
    auto checksums = [&] { return column(tables); };
    auto entries = [](const QList<PreviewEntry>& list) {
        QSet<qint64> out;
        for (const PreviewEntry& e : list)
            out.insert(key(e.personId, e.deviceId, e.head == ReaderHead::A ? 0 : 1));
        return out;
    };
    auto firstOf = [&](const QString& query) { return static_cast<int>(scalarInt(query)); };

    QList<AccessChange> changes;
    const QStringList newDays{"00:00:23:59", "06:00:09:00", "00:00:00:00", "10:00:23:59",
                              "00:00:23:59", "00:00:23:59", "00:00:12:00"};
    int changed = 0;
    for (int step = 0; step < 6; ++step) {
        AccessChange c;
        switch (step) {
        case 0: c = {AccessChange::SaveTemplate, 1, newDays}; break;
        case 1: c = {AccessChange::RevokePermission, firstOf("SELECT MIN(NMID) FROM PERMISSIONS_has_GROUPS "
                                                             "WHERE ID_GROUP_FK = 2"), {}}; break;
        case 2: c = {AccessChange::DeleteGroup, 3, {}}; break;
        case 3: c = {AccessChange::DeleteTemplate, 2, {}}; break;
        case 4: c = {AccessChange::SaveTemplate, 3, QStringList(7, "00:00:00:00")}; break;
        case 5: c = {AccessChange::DeleteGroup, 6, {}}; break;
        }
        const QString what = QStringLiteral("step %1").arg(step);
        QList<ChangePreview> previews;
        QList<QSet<qint64>> before;
        const QStringList sums = checksums();
        for (const QDateTime& utc : Moments) {
            previews << Reach::PreviewChange(m.Quorvel, c, utc);
            before << passersEverywhere(utc);
        }
        EXPECT_EQ(checksums(), sums) << what.toStdString();

        switch (c.kind) {
        case AccessChange::SaveTemplate: TemplateChanges::SaveSchedule(m, c.id, c.days); break;
        case AccessChange::RevokePermission: PermissionChanges::RevokePermission(m, c.id); break;
        case AccessChange::DeleteGroup: GroupChanges::DeleteGroup(m, lookups, c.id); break;
        case AccessChange::DeleteTemplate: TemplateChanges::DeleteTemplate(m, lookups, c.id); break;
        case AccessChange::None: break;
        }
        for (int i = 0; i < Moments.size(); ++i) {
            const auto after = passersEverywhere(Moments[i]);
            EXPECT_EQ(entries(previews[i].losses), before[i] - after) << what.toStdString() << " moment " << i;
            EXPECT_EQ(entries(previews[i].gains), after - before[i]) << what.toStdString() << " moment " << i;
            changed += previews[i].losses.size() + previews[i].gains.size();
        }
    }
    EXPECT_GT(changed, 5);   // the seed makes changes that matter
}

TEST_F(ReachTest, CardsNeedingAttention)
{
    sql("INSERT INTO `GROUPS` (ID_GROUP, NAME, DEL) VALUES (2, 'Stara', 1)");
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME, DEL) VALUES (1, 1, 'Anna', 'Nowak', 0), "
        "(2, 1, 'Jan', 'Usunięty', 1), (3, 2, 'Ewa', 'Zgrupy', 0)");
    sql("INSERT INTO CARDS (ID_CARD, ID_USER_FK, CODE, KARENCJA_OD, KARENCJA_DO) VALUES "
        "(1, 1, 'DZIS', '2026-01-01', '2026-03-10'),"       // ends today
        "(2, 1, 'ZA30', '2026-01-01', '2026-04-09'),"       // the 30th day
        "(3, 1, 'ZA31', '2026-01-01', '2026-04-10'),"       // one day too far
        "(4, 1, 'WCZORAJ', '2026-01-01', '2026-03-09'),"    // already over
        "(5, 2, 'OSOBA', '2026-01-01', '2027-01-01'),"      // valid, person deleted
        "(6, 3, 'GRUPA', '2026-01-01', '2027-01-01'),"      // valid, group deleted
        "(7, 2, 'STARA', '2020-01-01', '2021-01-01'),"      // deleted person, card expired anyway
        "(8, 99, 'NIKT', '2026-01-01', '2027-01-01'),"      // valid, owner missing
        "(9, 1, 'BRAK', NULL, '2027-01-01'),"
        "(10, 0, 'ODWROTNIE', '2027-01-01', '2026-01-01')");
    const CardsReport r = Reach::CardsNeedingAttention(m.Quorvel, 30, QDate(2026, 3, 10));
    auto codes = [](const QList<AttentionCard>& list) {
        QStringList out;
        for (const AttentionCard& c : list)
            out << c.code;
        return out;
    };
    EXPECT_EQ(codes(r.expiring), QStringList({"DZIS", "ZA30"}));
    EXPECT_EQ(r.expiring[0].owner, QStringLiteral("Nowak Anna"));
    EXPECT_EQ(codes(r.orphaned), QStringList({"GRUPA", "NIKT", "OSOBA"}));
    EXPECT_EQ(r.orphaned[0].note, QStringLiteral("grupa usunięta"));
    EXPECT_EQ(r.orphaned[1].note, QStringLiteral("właściciel nie istnieje"));
    EXPECT_EQ(r.orphaned[2].note, QStringLiteral("osoba usunięta"));
    EXPECT_EQ(codes(r.withoutValidity), QStringList({"ODWROTNIE", "BRAK"}));
    EXPECT_EQ(codes(Reach::CardsNeedingAttention(m.Quorvel, 31, QDate(2026, 3, 10)).expiring),
              QStringList({"DZIS", "ZA30", "ZA31"}));
}

}  // namespace
