// Builds a large installation by hand, as the benchmarks do.
// Usage: generate_installation SERVER DATABASE [--people N] [--cards N] [--groups N]
//          [--templates N] [--locations N] [--devices N] [--permissions-per-group N]
//          [--events N] [--newest "YYYY-MM-DD HH:MM:SS"] [--check]
// SERVER is a loopback address (login vqx / vqx); DATABASE is dropped first.
// --check then verifies the rows against what the generator promises.
#include "BenchSupport.h"
#include "Installation.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <mysql.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <string>

// SHOW CREATE TABLE without the AUTO_INCREMENT counter.
static QString definition(st_mysql* mysql, const char* table)
{
    const std::string query = std::string("SHOW CREATE TABLE ") + table;
    if (mysql_query(mysql, query.c_str()) != 0)
        throw std::runtime_error(mysql_error(mysql));
    MYSQL_RES* result = mysql_store_result(mysql);
    MYSQL_ROW row = mysql_fetch_row(result);
    QString text = QString::fromUtf8(row[1]);
    mysql_free_result(result);
    return text.remove(QRegularExpression(" AUTO_INCREMENT=\\d+"));
}

// Counts that must be zero, and the names and codes compared with the generator's.
static int check(const Installation& in)
{
    st_mysql* mysql = connectBare(in.server, in.database);
    int faults = 0;
    const auto expect = [&](const char* what, long long value, long long wanted) {
        std::printf("  %-58s %9lld%s\n", what, value, value == wanted ? "" : "   <-- WRONG");
        faults += value != wanted;
    };
    std::printf("check:\n");
    expect("USERS rows", number(mysql, "SELECT COUNT(*) FROM USERS"), in.lastPersonId);
    expect("duplicate (first name, surname) pairs",
           number(mysql, "SELECT COUNT(*) FROM (SELECT 1 FROM USERS GROUP BY FIRST_NAME, NAME"
                         " HAVING COUNT(*) > 1) d"), 0);
    expect("people whose group is missing or deleted",
           number(mysql, "SELECT COUNT(*) FROM USERS u LEFT JOIN `GROUPS` g ON g.ID_GROUP = u.ID_GROUP"
                         " WHERE g.ID_GROUP IS NULL OR g.DEL = 1"), 0);
    expect("CARDS rows", number(mysql, "SELECT COUNT(*) FROM CARDS"), in.lastCardId);
    expect("duplicate card codes",
           number(mysql, "SELECT COUNT(*) - COUNT(DISTINCT CODE) FROM CARDS"), 0);
    expect("codes not 10 upper-case hex digits",
           number(mysql, "SELECT COUNT(*) FROM CARDS WHERE CODE NOT REGEXP BINARY '^[0-9A-F]{10}$'"), 0);
    expect("cards of missing or deleted people",
           number(mysql, "SELECT COUNT(*) FROM CARDS c LEFT JOIN USERS u ON u.ID_USER = c.ID_USER_FK"
                         " WHERE c.ID_USER_FK <> 0 AND (u.ID_USER IS NULL OR u.DEL = 1)"), 0);
    expect("GROUPS rows (with group 1)", number(mysql, "SELECT COUNT(*) FROM `GROUPS`"),
           in.lastDeletedGroupId);
    expect("PERMISSIONS rows", number(mysql, "SELECT COUNT(*) FROM PERMISSIONS"), in.lastTemplateId);
    expect("malformed day strings",
           number(mysql, "SELECT SUM((D1 NOT REGEXP '^[0-2][0-9]:[0-5][0-9]:[0-2][0-9]:[0-5][0-9]$')"
                         " + (D7 NOT REGEXP '^[0-2][0-9]:[0-5][0-9]:[0-2][0-9]:[0-5][0-9]$')) FROM PERMISSIONS"), 0);
    expect("LOCALIZATION rows", number(mysql, "SELECT COUNT(*) FROM LOCALIZATION"), in.lastLocationId);
    expect("time zones outside 0..25",
           number(mysql, "SELECT COUNT(*) FROM LOCALIZATION WHERE TIME_ZONE NOT BETWEEN 0 AND 25"), 0);
    expect("DEVICE rows", number(mysql, "SELECT COUNT(*) FROM DEVICE"), in.lastDeviceId);
    expect("duplicate factory numbers",
           number(mysql, "SELECT COUNT(*) - COUNT(DISTINCT FACTORY) FROM DEVICE"), 0);
    expect("devices of missing locations",
           number(mysql, "SELECT COUNT(*) FROM DEVICE d LEFT JOIN LOCALIZATION l ON l.ID = d.ID_LOCALIZATION"
                         " WHERE l.ID IS NULL"), in.lastLocationId > 0 ? 0 : in.lastDeviceId);
    expect("PERMISSIONS_has_GROUPS rows",
           number(mysql, "SELECT COUNT(*) FROM PERMISSIONS_has_GROUPS"), in.permissionRows);
    expect("permission rows naming missing rows, group 1, a deleted group or no head",
           number(mysql, "SELECT COUNT(*) FROM PERMISSIONS_has_GROUPS p"
                         " LEFT JOIN `GROUPS` g ON g.ID_GROUP = p.ID_GROUP_FK"
                         " LEFT JOIN DEVICE d ON d.ID_DEVICE = p.ID_DEVICE_FK"
                         " LEFT JOIN PERMISSIONS t ON t.ID_PERMISSIONS = p.ID_PERMISSIONS_FK"
                         " WHERE g.ID_GROUP IS NULL OR g.ID_GROUP = 1 OR g.DEL = 1 OR d.ID_DEVICE IS NULL"
                         " OR t.ID_PERMISSIONS IS NULL OR INPUT + OUTPUT = 0"), 0);
    expect("duplicate (group, device) permission rows",
           number(mysql, "SELECT COUNT(*) - COUNT(DISTINCT ID_GROUP_FK, ID_DEVICE_FK)"
                         " FROM PERMISSIONS_has_GROUPS"), 0);
    expect("EVENTS rows", number(mysql, "SELECT COUNT(*) FROM EVENTS"), in.lastEventId);
    expect("events missing person, device or type (deliberate orphans)",
           number(mysql, "SELECT COUNT(*) FROM EVENTS e LEFT JOIN USERS u ON u.ID_USER = e.ID_USER"
                         " LEFT JOIN DEVICE d ON d.ID_DEVICE = e.ID_DEVICE LEFT JOIN TYP t ON t.ID = e.TYPE"
                         " WHERE u.ID_USER IS NULL OR d.ID_DEVICE IS NULL OR t.ID IS NULL"),
           in.orphanEvents);
    expect("events whose group is not the person's",
           number(mysql, "SELECT COUNT(*) FROM EVENTS e JOIN USERS u ON u.ID_USER = e.ID_USER"
                         " WHERE e.ID_GROUP <> u.ID_GROUP"), 0);
    expect("events whose SERIAL or HEAD is not their device's",
           number(mysql, "SELECT COUNT(*) FROM EVENTS e JOIN DEVICE d ON d.ID_DEVICE = e.ID_DEVICE"
                         " JOIN TYP t ON t.ID = e.TYPE WHERE e.SERIAL <> d.FACTORY"
                         " OR e.HEAD <> IF(e.TYPE IN (1, 4), d.NAME_A, d.NAME_B)"
                         " OR e.CANAL <> IF(e.TYPE IN (1, 4), '1', '2')"), 0);
    const QByteArray bounds = QStringLiteral(
        "SELECT COUNT(*) FROM EVENTS WHERE TIME > '%1' OR TIME < '%2'")
        .arg(in.newestEvent.toString("yyyy-MM-dd HH:mm:ss"),
             in.newestEvent.addDays(-366).toString("yyyy-MM-dd HH:mm:ss")).toUtf8();
    expect("events after the newest time or over a year older",
           in.lastEventId > 0 ? number(mysql, bounds.constData()) : 0, 0);
    std::printf("  %-58s %9lld\n", "events at exact midnight",
                number(mysql, "SELECT COUNT(*) FROM EVENTS WHERE TIME(TIME) = '00:00:00'"));
    std::printf("  %-58s %9lld\n", "events at 23:59:59",
                number(mysql, "SELECT COUNT(*) FROM EVENTS WHERE TIME(TIME) = '23:59:59'"));
    std::printf("  %-58s %9lld\n", "events without HEAD",
                number(mysql, "SELECT COUNT(*) FROM EVENTS WHERE HEAD IS NULL"));
    std::printf("  %-58s %9lld\n", "events out of time order (ID grows, TIME falls)",
                number(mysql, "SELECT COUNT(*) FROM EVENTS a JOIN EVENTS b ON b.ID = a.ID + 1"
                              " WHERE b.TIME < a.TIME"));
    std::printf("  %-58s %9lld\n", "STATUS.EVENTS",
                number(mysql, "SELECT EVENTS FROM STATUS"));

    // The names and codes the installation holds are the ones the generator names.
    const auto mismatches = [&](const char* query, auto differs) {
        long long count = 0;
        if (mysql_query(mysql, query) != 0)
            throw std::runtime_error(mysql_error(mysql));
        MYSQL_RES* result = mysql_store_result(mysql);
        while (MYSQL_ROW row = mysql_fetch_row(result))
            count += differs(std::atoi(row[0]) - 1, QString::fromUtf8(row[1]), QString::fromUtf8(row[2]));
        mysql_free_result(result);
        return count;
    };
    const long long nameMismatches = mismatches(
        "SELECT ID_USER, FIRST_NAME, NAME FROM USERS",
        [](int index, const QString& firstName, const QString& surname) {
            const PersonName name = generatedPersonName(index);
            return name.firstName != firstName || name.surname != surname;
        });
    const long long codeMismatches = mismatches(
        "SELECT ID_CARD, CODE, '' FROM CARDS",
        [](int index, const QString& code, const QString&) { return generatedCardCode(index) != code; });
    expect("people whose names differ from generatedPersonName", nameMismatches, 0);
    expect("cards whose codes differ from generatedCardCode", codeMismatches, 0);

    // The tables are those of the schema, indexes included (the events' are rebuilt).
    InstallationSizes none;
    none.people = none.cards = none.groups = none.templates = none.locations = none.devices = 0;
    none.permissionsPerGroup = none.events = 0;
    const Installation bare = createInstallation(in.server, in.database + "_schema", none, nullptr);
    st_mysql* reference = connectBare(bare.server, bare.database);
    long long differing = 0;
    for (const char* table : {"USERS", "`GROUPS`", "CARDS", "PERMISSIONS", "PERMISSIONS_has_GROUPS",
                              "LOCALIZATION", "DEVICE", "EVENTS", "TYP", "STATUS"})
        differing += definition(mysql, table) != definition(reference, table);
    mysql_close(reference);
    dropInstallation(bare);
    expect("tables whose definition differs from a fresh schema's", differing, 0);
    mysql_close(mysql);
    return faults;
}

int main(int argc, char** argv)
{
    if (argc < 3 || argv[1][0] == '-' || argv[2][0] == '-') {
        std::fprintf(stderr,
                     "usage: %s SERVER DATABASE [--people N] [--cards N] [--groups N] [--templates N]\n"
                     "       [--locations N] [--devices N] [--permissions-per-group N] [--events N]\n"
                     "       [--newest \"YYYY-MM-DD HH:MM:SS\"] [--check]\n", argv[0]);
        return 2;
    }
    InstallationSizes sizes;
    const std::map<std::string, int*> options = {
        {"--people", &sizes.people}, {"--cards", &sizes.cards}, {"--groups", &sizes.groups},
        {"--templates", &sizes.templates}, {"--locations", &sizes.locations},
        {"--devices", &sizes.devices}, {"--permissions-per-group", &sizes.permissionsPerGroup},
        {"--events", &sizes.events}};
    bool checkAfter = false;
    for (int a = 3; a < argc; ++a) {
        const std::string option = argv[a];
        if (option == "--check") {
            checkAfter = true;
            continue;
        }
        if (a + 1 >= argc) {
            std::fprintf(stderr, "%s needs a value\n", option.c_str());
            return 2;
        }
        const QString value = QString::fromUtf8(argv[++a]);
        if (option == "--newest") {
            sizes.newestEvent = QDateTime::fromString(value, "yyyy-MM-dd HH:mm:ss");
            if (!sizes.newestEvent.isValid()) {
                std::fprintf(stderr, "--newest wants \"YYYY-MM-DD HH:MM:SS\", not %s\n", argv[a]);
                return 2;
            }
            continue;
        }
        const auto found = options.find(option);
        bool ok = false;
        const int n = value.toInt(&ok);
        if (found == options.end() || !ok) {
            std::fprintf(stderr, "unknown option or not a number: %s %s\n", option.c_str(), argv[a]);
            return 2;
        }
        *found->second = n;
    }

    try {
        const Installation in = createInstallation(QString::fromUtf8(argv[1]), QString::fromUtf8(argv[2]), sizes);
        std::printf("people 1..%d (%d deleted), live groups %d..%d (%d without permissions),"
                    " deleted groups %d..%d\n",
                    in.lastPersonId, in.deletedPeople, in.firstGroupId, in.lastGroupId,
                    in.groupWithoutPermissions, in.lastGroupId + 1, in.lastDeletedGroupId);
        std::printf("templates 1..%d, locations 1..%d, devices 1..%d, %d permission rows\n",
                    in.lastTemplateId, in.lastLocationId, in.lastDeviceId, in.permissionRows);
        std::printf("cards 1..%d (%d without owner), events 1..%d (%d orphans) from %s to %s\n",
                    in.lastCardId, in.cardsWithoutOwner, in.lastEventId, in.orphanEvents,
                    qPrintable(in.oldestEvent.toString("yyyy-MM-dd HH:mm:ss")),
                    qPrintable(in.newestEvent.toString("yyyy-MM-dd HH:mm:ss")));
        std::printf("sample person %d \"%s %s\" of group %d: %d cards, %d events\n", in.samplePersonId,
                    qPrintable(in.samplePersonFirstName), qPrintable(in.samplePersonSurname),
                    in.samplePersonGroupId, in.samplePersonCards, in.samplePersonEvents);
        if (checkAfter && check(in) > 0) {
            std::fprintf(stderr, "the installation is not consistent\n");
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "generate_installation: %s\n", e.what());
        return 1;
    }
    return 0;
}
