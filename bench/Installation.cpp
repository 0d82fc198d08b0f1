#include "Installation.h"

#include "dataaccess/Connection.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <mysql.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

const char* const MaleFirstNames[] = {
    "Adam", "Adrian", "Aleksander", "Andrzej", "Antoni", "Arkadiusz", "Artur", "Bartłomiej",
    "Bogdan", "Bogusław", "Bronisław", "Czesław", "Damian", "Daniel", "Dariusz", "Dawid",
    "Dominik", "Edward", "Emil", "Filip", "Franciszek", "Grzegorz", "Henryk", "Hubert",
    "Ignacy", "Ireneusz", "Jacek", "Jakub", "Jan", "Janusz", "Jarosław", "Jerzy",
    "Jędrzej", "Józef", "Kacper", "Kamil", "Karol", "Kazimierz", "Konrad", "Krystian",
    "Krzysztof", "Leszek", "Łukasz", "Maciej", "Marcin", "Marek", "Mariusz", "Mateusz",
    "Michał", "Mieczysław", "Mikołaj", "Mirosław", "Patryk", "Paweł", "Piotr", "Przemysław",
    "Radosław", "Rafał", "Ryszard", "Sławomir", "Stanisław", "Szymon", "Tadeusz", "Tomasz",
};

const char* const FemaleFirstNames[] = {
    "Agata", "Agnieszka", "Aleksandra", "Alicja", "Amelia", "Aneta", "Anna", "Barbara",
    "Beata", "Bożena", "Danuta", "Dorota", "Edyta", "Elżbieta", "Emilia", "Ewa",
    "Ewelina", "Grażyna", "Halina", "Hanna", "Helena", "Irena", "Iwona", "Izabela",
    "Jadwiga", "Janina", "Joanna", "Jolanta", "Julia", "Justyna", "Kamila", "Karolina",
    "Katarzyna", "Kinga", "Krystyna", "Lucyna", "Łucja", "Magdalena", "Maja", "Małgorzata",
    "Maria", "Marta", "Marzena", "Monika", "Natalia", "Oliwia", "Patrycja", "Paulina",
    "Renata", "Róża", "Sylwia", "Teresa", "Urszula", "Wanda", "Weronika", "Wiesława",
    "Zofia", "Zuzanna", "Żaneta", "Stanisława", "Genowefa", "Bogumiła", "Ilona", "Władysława",
};

// Male forms; the female form of -ski, -cki and -dzki ends in -a.
const char* const Surnames[] = {
    "Nowak", "Kowalski", "Wiśniewski", "Wójcik", "Kowalczyk", "Kamiński", "Lewandowski",
    "Zieliński", "Szymański", "Woźniak", "Dąbrowski", "Kozłowski", "Jankowski", "Mazur",
    "Wojciechowski", "Kwiatkowski", "Krawczyk", "Kaczmarek", "Piotrowski", "Grabowski",
    "Zając", "Pawłowski", "Michalski", "Król", "Wieczorek", "Jabłoński", "Wróbel",
    "Nowakowski", "Majewski", "Olszewski", "Stępień", "Malinowski", "Jaworski", "Adamczyk",
    "Dudek", "Nowicki", "Pawlak", "Górski", "Witkowski", "Walczak", "Sikora", "Baran",
    "Rutkowski", "Michalak", "Szewczyk", "Ostrowski", "Tomaszewski", "Pietrzak", "Marciniak",
    "Wróblewski", "Zalewski", "Jakubowski", "Jasiński", "Zawadzki", "Sadowski", "Bąk",
    "Chmielewski", "Włodarczyk", "Borkowski", "Czarnecki", "Sawicki", "Sokołowski",
    "Urbański", "Kubiak", "Maciejewski", "Szczepański", "Kucharski", "Wilk", "Kalinowski",
    "Lis", "Mazurek", "Wysocki", "Adamski", "Kaźmierczak", "Wasilewski", "Sobczak",
    "Czerwiński", "Andrzejewski", "Cieślak", "Głowacki", "Zakrzewski", "Kołodziej",
    "Sikorski", "Krajewski", "Gajewski", "Szymczak", "Szulc", "Baranowski", "Laskowski",
    "Brzeziński", "Makowski", "Ziółkowski", "Przybylski", "Domański", "Nowacki", "Borowski",
    "Błaszczyk", "Chojnacki", "Ciesielski", "Mróz", "Szczepaniak", "Wesołowski", "Górecki",
    "Krupa", "Kaczmarczyk", "Leszczyński", "Lipiński", "Kowalewski", "Urbaniak", "Kozak",
    "Kania", "Mikołajczyk", "Czajkowski", "Mucha", "Tomczak", "Kozieł", "Markowski",
    "Kowalik", "Nawrocki", "Brzozowski", "Janik", "Musiał", "Wawrzyniak", "Markiewicz",
    "Orłowski", "Tomczyk", "Jarosz", "Kołodziejczyk", "Kurek", "Kopeć", "Żak", "Wolski",
    "Łuczak", "Dziedzic", "Kot", "Stasiak", "Stankiewicz", "Piątek", "Jóźwiak", "Urban",
    "Dobrowolski", "Pawlik", "Kruk", "Domagała", "Piasecki", "Wierzbicki", "Karpiński",
    "Jastrzębski", "Polak", "Zięba", "Janicki", "Wójtowicz", "Stefański", "Sosnowski",
    "Bednarek", "Majchrzak", "Bielecki", "Małecki", "Maj", "Sowa", "Milczarek", "Kulesza",
    "Grzelak", "Socha", "Śliwiński", "Ślusarczyk", "Żukowski", "Żmuda", "Łukasik", "Świątek",
};

constexpr int FirstNameCount = int(std::size(MaleFirstNames));
constexpr int SurnameCount = int(std::size(Surnames));
static_assert(std::size(FemaleFirstNames) == std::size(MaleFirstNames));

// Card codes: index times an odd number modulo 2^40 is a bijection, so the codes
// are unique and look scattered.
constexpr long long CodeFactor = 2654435761LL;
constexpr long long CodeOffset = 0x5DEECE66DLL;
constexpr long long CodeModulus = 1LL << 40;

constexpr int YearSeconds = 365 * 86400;

using Handle = std::unique_ptr<MYSQL, void (*)(MYSQL*)>;

QStringList fromUtf8(const char* const* names, int count)
{
    QStringList list;
    for (int n = 0; n < count; ++n)
        list << QString::fromUtf8(names[n]);
    return list;
}

const QStringList& firstNames(int gender)
{
    static const QStringList lists[2] = {fromUtf8(MaleFirstNames, FirstNameCount),
                                         fromUtf8(FemaleFirstNames, FirstNameCount)};
    return lists[gender];
}

QStringList femaleForms(QStringList names)
{
    for (QString& surname : names)
        if (surname.endsWith("ski") || surname.endsWith("cki") || surname.endsWith("zki"))
            surname.back() = u'a';
    return names;
}

const QStringList& surnames(int gender)
{
    static const QStringList male = fromUtf8(Surnames, SurnameCount);
    static const QStringList lists[2] = {male, femaleForms(male)};
    return lists[gender];
}

// ELT(1 + index, 'a', 'b', ...): the list entry at a 0-based index, on the server.
QString elt(const QString& index, const QStringList& names)
{
    return QStringLiteral("ELT(1 + %1, '%2')").arg(index, names.join("', '"));
}

QString byGender(const QString& index, const QStringList& male, const QStringList& female)
{
    return QStringLiteral("IF(g = 0, %1, %2)").arg(elt(index, male), elt(index, female));
}

// Values that events repeat from their person and device, as expressions over the
// person's index i (ID_USER - 1) and the device's ID d: the events need no join.
QString groupOfPerson(const QString& i, int liveGroups)
{
    if (liveGroups == 0)
        return QStringLiteral("1");
    return QStringLiteral("IF((%1) MOD 10 = 3, 1, 2 + (%1) DIV 3 MOD %2)").arg(i).arg(liveGroups);
}

QString deviceFactory(const QString& d)
{
    return QStringLiteral("CONCAT(2019 + (%1) MOD 6, LPAD(%1, 8, '0'))").arg(d);
}

QString deviceName(const QString& d)
{
    return QStringLiteral("CONCAT(ELT(1 + (%1) MOD 10, 'Portiernia', 'Biuro', 'Hala', 'Magazyn',"
                          " 'Brama', 'Rampa', 'Serwerownia', 'Laboratorium', 'Stołówka', 'Szatnia'),"
                          " ' ', %1)").arg(d);
}

QString headName(const QString& h, const QString& d)
{
    return QStringLiteral("CONCAT(IF(%1 = 0, 'Wejście', 'Wyjście'), ' – ', %2)").arg(h, deviceName(d));
}

// A step coprime with n, so that index * step % n visits every value.
int coprimeStep(int step, int n)
{
    while (n > 0 && std::gcd(step, n) != 1)
        step += 2;
    return step;
}

QString sqlTime(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void run(st_mysql* mysql, const QString& statement)
{
    const QByteArray text = statement.toUtf8();
    if (mysql_real_query(mysql, text.constData(), text.size()) != 0)
        throw std::runtime_error(std::string(mysql_error(mysql)) + "\n" + text.left(2000).toStdString());
    do {
        if (MYSQL_RES* result = mysql_store_result(mysql))
            mysql_free_result(result);
    } while (mysql_next_result(mysql) == 0);
    if (mysql_errno(mysql) != 0)
        throw std::runtime_error(std::string(mysql_error(mysql)) + "\n" + text.left(2000).toStdString());
}

QStringList row(st_mysql* mysql, const QString& query)
{
    const QByteArray text = query.toUtf8();
    if (mysql_real_query(mysql, text.constData(), text.size()) != 0)
        throw std::runtime_error(std::string(mysql_error(mysql)) + "\n" + text.toStdString());
    QStringList values;
    MYSQL_RES* result = mysql_store_result(mysql);
    if (!result)
        return values;
    if (MYSQL_ROW r = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        for (unsigned c = 0; c < mysql_num_fields(result); ++c)
            values << (r[c] ? QString::fromUtf8(r[c], qsizetype(lengths[c])) : QString());
    }
    mysql_free_result(result);
    return values;
}

int scalar(st_mysql* mysql, const QString& query)
{
    const QStringList values = row(mysql, query);
    return values.isEmpty() ? 0 : values.first().toInt();
}

// The clauses of ALTER TABLE that drop and that re-create the secondary indexes of a
// table, taken from its definition so that they follow the schema exactly.
std::pair<QString, QString> secondaryIndexes(st_mysql* mysql, const QString& table)
{
    const QStringList definition = row(mysql, "SHOW CREATE TABLE " + table);
    QStringList drop, add;
    for (QString line : definition.value(1).split(u'\n')) {
        line = line.trimmed();
        if (line.endsWith(u','))
            line.chop(1);
        static const QRegularExpression key(QStringLiteral("^(UNIQUE |FULLTEXT |SPATIAL )?KEY (`[^`]+`)"));
        const QRegularExpressionMatch match = key.match(line);
        if (match.hasMatch()) {
            drop << "DROP KEY " + match.captured(2);
            add << "ADD " + line;
        }
    }
    return {drop.join(", "), add.join(", ")};
}

// Runs the statements that fill one table and prints how long they took.
template <typename Fill>
void fillTable(std::FILE* log, const char* table, long long rows, Fill fill)
{
    QElapsedTimer timer;
    timer.start();
    fill();
    if (log) {
        std::fprintf(log, "  %-24s %9lld rows %8.2f s\n", table, rows, timer.nsecsElapsed() / 1e9);
        std::fflush(log);
    }
}

void checkSizes(const InstallationSizes& s)
{
    if (s.people < 0 || s.cards < 0 || s.groups < 0 || s.templates < 0 || s.locations < 0
        || s.devices < 0 || s.permissionsPerGroup < 0 || s.events < 0)
        throw std::invalid_argument("sizes must not be negative");
    if (s.people > generatedNameCapacity())
        throw std::invalid_argument("at most " + std::to_string(generatedNameCapacity()) + " people");
    if (s.history > 0 && s.people == 0)
        throw std::invalid_argument("history needs people");
    if (s.events > 0 && (s.people == 0 || s.devices == 0))
        throw std::invalid_argument("events need people and devices");
    if (s.permissionsPerGroup > 0 && s.groups > 1 && s.templates == 0)
        throw std::invalid_argument("permissions need templates");
}

QString quotedDatabase(const QString& database)
{
    if (database.isEmpty() || database.contains(u'`'))
        throw std::invalid_argument("invalid database name: " + database.toStdString());
    return u'`' + database + u'`';
}

} // namespace

PersonName generatedPersonName(int index)
{
    if (index % 250 == 249)
        return {QString(), QStringLiteral("Nowy %1").arg(index / 250 + 1)};
    // Pair k of a gender: first name k % F, surname shifted by 7 per first name so that
    // neighbours differ in both; past F * S pairs a second, different surname follows.
    const int gender = index % 2;
    const int k = index / 2;
    const int first = k % FirstNameCount;
    const int surname = (k / FirstNameCount % SurnameCount + 7 * first) % SurnameCount;
    const int second = k / FirstNameCount / SurnameCount;   // 0: a single surname
    const QStringList& names = surnames(gender);
    QString full = names[surname];
    if (second > 0)
        full += u'-' + names[(surname + second) % SurnameCount];
    return {firstNames(gender)[first], full};
}

int generatedNameCapacity() { return 2 * FirstNameCount * SurnameCount * SurnameCount; }

QString generatedCardCode(int index)
{
    const long long value = ((index + 1LL) * CodeFactor + CodeOffset) % CodeModulus;
    return QStringLiteral("%1").arg(value, 10, 16, QLatin1Char('0')).toUpper();
}

namespace {

st_mysql* connect(const QString& server, const QString& database, unsigned long flags)
{
    if (!server.startsWith(QLatin1String("127.")))
        throw std::invalid_argument("benchmarks use loopback servers only, not " + server.toStdString());
    MYSQL* mysql = mysql_init(nullptr);
    mysql_optionsv(mysql, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    const QByteArray host = server.toUtf8();
    const QByteArray name = database.toUtf8();
    if (!mysql_real_connect(mysql, host.constData(), "vqx", "vqx",
                            database.isEmpty() ? nullptr : name.constData(), 3306, nullptr, flags)) {
        const std::string error = mysql_error(mysql);
        mysql_close(mysql);
        throw std::runtime_error("cannot connect to " + server.toStdString() + ": " + error);
    }
    return mysql;
}

// A session of the generator: several statements at once (the schema), and times
// computed in UTC, so that no daylight-saving gap or repeat disturbs them.
st_mysql* openSession(const QString& server, const QString& database = QString())
{
    st_mysql* mysql = connect(server, database, CLIENT_MULTI_STATEMENTS);
    run(mysql, "SET time_zone = '+00:00'");
    return mysql;
}

} // namespace

st_mysql* connectBare(const QString& server, const QString& database)
{
    return connect(server, database, 0);
}

void configureConnection(Connection& connection, const Installation& installation)
{
    connection.setServer(installation.server);
    connection.setLogin(QStringLiteral("vqx"));
    connection.setPassword(QStringLiteral("vqx"));
    connection.setDatabase(installation.database);
}

void dropInstallation(const Installation& installation)
{
    const Handle mysql(connectBare(installation.server), mysql_close);
    run(mysql.get(), "DROP DATABASE IF EXISTS " + quotedDatabase(installation.database));
}

Installation createInstallation(const QString& server, const QString& database,
                                const InstallationSizes& sizes, std::FILE* log)
{
    checkSizes(sizes);
    Installation in;
    in.server = server;
    in.database = database;
    in.sizes = sizes;
    if (!in.sizes.newestEvent.isValid())
        in.sizes.newestEvent = QDateTime::currentDateTime();
    in.sizes.newestEvent.setTime(QTime(in.sizes.newestEvent.time().hour(),
                                       in.sizes.newestEvent.time().minute(),
                                       in.sizes.newestEvent.time().second()));
    const InstallationSizes& s = in.sizes;
    const QString newest = sqlTime(s.newestEvent);
    const int liveGroups = s.groups;
    const int deletedGroups = s.groups / 20;
    const int perGroup = std::min(s.permissionsPerGroup, s.devices);
    const int groupsWithPermissions = std::max(0, liveGroups - 1);

    QFile schema(QStringLiteral(VALDRIX_SCHEMA_PATH));
    if (!schema.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " VALDRIX_SCHEMA_PATH);
    const Handle session(openSession(server), mysql_close);
    MYSQL* mysql = session.get();
    // The rows are unique by construction. Without these checks, one statement into an
    // empty table is a bulk load that sorts its indexes.
    run(mysql, "SET unique_checks = 0, foreign_key_checks = 0");
    QElapsedTimer total;
    total.start();
    if (log)
        std::fprintf(log, "generating %s on %s\n", qPrintable(database), qPrintable(server));
    fillTable(log, "schema", 0, [&] {
        run(mysql, "DROP DATABASE IF EXISTS " + quotedDatabase(database));
        run(mysql, "CREATE DATABASE " + quotedDatabase(database)
                       + " CHARACTER SET utf8mb4 COLLATE utf8mb4_polish_ci");
        run(mysql, "USE " + quotedDatabase(database) + ";\n" + QString::fromUtf8(schema.readAll()));
    });

    fillTable(log, "GROUPS", liveGroups + deletedGroups, [&] {
        if (liveGroups + deletedGroups == 0)
            return;
        run(mysql, QStringLiteral(
            "INSERT INTO `GROUPS` (ID_GROUP, NAME, DEL)"
            " SELECT seq + 1, CONCAT(ELT(1 + (seq - 1) MOD 12, 'Administracja', 'Produkcja',"
            " 'Magazyn', 'Ochrona', 'Serwis zewnętrzny', 'Goście', 'Księgowość', 'Logistyka',"
            " 'Sprzedaż', 'Kadry', 'Zarząd', 'Utrzymanie ruchu'), ' ', seq), seq > %1"
            " FROM seq_1_to_%2").arg(liveGroups).arg(liveGroups + deletedGroups));
    });

    fillTable(log, "USERS", s.people, [&] {
        if (s.people == 0)
            return;
        const QString group = groupOfPerson("i", liveGroups);
        const QString single = byGender("a", surnames(0), surnames(1));
        const QString second = byGender(QStringLiteral("(a + b) MOD %1").arg(SurnameCount),
                                        surnames(0), surnames(1));
        const QString statement = QStringLiteral(
            "INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME, DEL)"
            " SELECT i + 1, %1,"
            " IF(i MOD 250 = 249, '', %2),"
            " IF(i MOD 250 = 249, CONCAT('Nowy ', i DIV 250 + 1),"
            "    CONCAT(%3, IF(b = 0, '', CONCAT('-', %4)))),"
            " i MOD 50 = 17"
            " FROM (SELECT seq AS i, seq MOD 2 AS g, seq DIV 2 MOD %6 AS f,"
            "       (seq DIV 2 DIV %6 MOD %5 + 7 * (seq DIV 2 MOD %6)) MOD %5 AS a,"
            "       seq DIV 2 DIV %6 DIV %5 AS b"
            "       FROM seq_0_to_%7) s")
            .arg(group, byGender("f", firstNames(0), firstNames(1)), single, second)
            .arg(SurnameCount).arg(FirstNameCount).arg(s.people - 1);
        run(mysql, statement);
    });

    fillTable(log, "PERMISSIONS (templates)", s.templates, [&] {
        if (s.templates == 0)
            return;
        // Start on a quarter hour between 05:00 and 14:45, eight hours long;
        // every 5th around the clock; Saturday on odd ones, Sunday never.
        const QString hhmm = QStringLiteral("CONCAT(LPAD((%1) DIV 60, 2, '0'), ':', LPAD((%1) MOD 60, 2, '0'))");
        const QString day = QStringLiteral("IF(t MOD 5 = 0, '00:00:23:59', CONCAT(%1, ':', %2))")
                                .arg(hhmm.arg("m"), hhmm.arg("m + 480"));
        const QString statement = QStringLiteral(
            "INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME, D1, D2, D3, D4, D5, D6, D7)"
            " SELECT t, CONCAT(IF(t MOD 5 = 0, 'Całą dobę', ELT(1 + t MOD 4, 'Biuro', 'Zmiana',"
            " 'Magazyn', 'Portiernia')), ' ', t),"
            " %1, %1, %1, %1, %1, IF(t MOD 2 = 1 OR t MOD 5 = 0, %1, '00:00:00:00'),"
            " IF(t MOD 5 = 0, %1, '00:00:00:00')"
            " FROM (SELECT seq AS t, 300 + (seq * 3) MOD 40 * 15 AS m FROM seq_1_to_%2) s")
            .arg(day).arg(s.templates);
        run(mysql, statement);
    });

    fillTable(log, "LOCALIZATION", s.locations, [&] {
        if (s.locations == 0)
            return;
        const QString statement = QStringLiteral(
            "INSERT INTO LOCALIZATION (ID, NAME, ADRES, TIME_ZONE, DEL)"
            " SELECT seq, CONCAT('Oddział ', ELT(1 + seq MOD 12, 'Warszawa', 'Kraków', 'Łódź',"
            " 'Wrocław', 'Poznań', 'Gdańsk', 'Szczecin', 'Bydgoszcz', 'Lublin', 'Białystok',"
            " 'Katowice', 'Gdynia'), ' ', seq),"
            " CONCAT('ul. ', ELT(1 + seq MOD 5, 'Świętokrzyska', 'Żeromskiego', 'Piłsudskiego',"
            " 'Kościuszki', 'Długa'), ' ', seq, '\\n', LPAD(seq MOD 100, 2, '0'), '-',"
            " LPAD(seq MOD 1000, 3, '0'), ' ', ELT(1 + seq MOD 12, 'Warszawa', 'Kraków', 'Łódź',"
            " 'Wrocław', 'Poznań', 'Gdańsk', 'Szczecin', 'Bydgoszcz', 'Lublin', 'Białystok',"
            " 'Katowice', 'Gdynia')),"
            " IF(seq MOD 2 = 1, 13, seq * 7 MOD 26), 0"
            " FROM seq_1_to_%1").arg(s.locations);
        run(mysql, statement);
    });

    fillTable(log, "DEVICE", s.devices, [&] {
        if (s.devices == 0)
            return;
        const QString location = s.locations == 0
            ? QStringLiteral("0") : QStringLiteral("1 + (seq - 1) MOD %1").arg(s.locations);
        const QString statement = QStringLiteral(
            "INSERT INTO DEVICE (ID_DEVICE, FACTORY, NAME, IP, MASK, GETWAY, RELAY, WIEGAND_A,"
            " WIEGAND_B, SERWER, SERWER_PORT, SET_CONFIG, ID_LOCALIZATION, NAME_A, NAME_B,"
            " TYP_A, TYP_B, SAVE_A, SAVE_B, DEL)"
            " SELECT seq, %1, %2,"
            " CONCAT('10.', seq DIV 62500 MOD 256, '.', seq DIV 250 MOD 250, '.', 2 + seq MOD 250),"
            " '255.255.255.0', CONCAT('10.', seq DIV 62500 MOD 256, '.', seq DIV 250 MOD 250, '.1'),"
            " IF(seq MOD 7 = 0, 3, 5), IF(seq MOD 9 = 0, '26', '34'), IF(seq MOD 9 = 0, '26', '34'),"
            " '10.0.0.5', 36156, 0, %3, %4, %5, 1, 2, 1, 1, 0"
            " FROM seq_1_to_%6")
            .arg(deviceFactory("seq"), deviceName("seq"), location, headName("0", "seq"),
                 headName("1", "seq"))
            .arg(s.devices);
        run(mysql, statement);
    });

    fillTable(log, "PERMISSIONS_has_GROUPS", groupsWithPermissions * perGroup, [&] {
        if (groupsWithPermissions * perGroup == 0)
            return;
        // Row j of group g: distinct devices per group, head A and B mostly both.
        const QString statement = QStringLiteral(
            "INSERT INTO PERMISSIONS_has_GROUPS (ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK,"
            " INPUT, OUTPUT)"
            " SELECT 1 + (g + j) MOD %1, g, 1 + (g * 37 + j) MOD %2, j MOD 7 <> 6,"
            " j MOD 7 = 6 OR j MOD 5 <> 4"
            " FROM (SELECT 2 + seq DIV %3 AS g, seq MOD %3 AS j FROM seq_0_to_%4) s"
            " ORDER BY g, j")
            .arg(s.templates).arg(s.devices).arg(perGroup).arg(groupsWithPermissions * perGroup - 1);
        run(mysql, statement);
    });

    fillTable(log, "CARDS", s.cards, [&] {
        if (s.cards == 0)
            return;
        const QString owner = s.people == 0
            ? QStringLiteral("0") : QStringLiteral("1 + c MOD %1").arg(s.people);
        // Validity: most without limits as added ("2010-01-01" to "2030-12-31"), some as
        // overwritten without limits, some a current period, some expired.
        const QString statement = QStringLiteral(
            "INSERT INTO CARDS (ID_CARD, ID_USER_FK, CODE, TYPE, PRINT, KARENCJA_OD, KARENCJA_DO)"
            " SELECT c + 1, IF(c MOD 20 = 6 OR u.ID_USER IS NULL OR u.DEL = 1, 0, u.ID_USER),"
            " LPAD(HEX(((c + 1) * %1 + %2) MOD %3), 10, '0'), 1,"
            " IF(c MOD 20 = 6 OR u.ID_USER IS NULL, CONCAT('Zapasowa ', c + 1),"
            "    IF(u.FIRST_NAME = '', u.NAME, CONCAT(u.NAME, ' ', LEFT(u.FIRST_NAME, 1), '.'))),"
            " CASE c MOD 10 WHEN 7 THEN '1000-01-01'"
            "   WHEN 8 THEN DATE('%4') - INTERVAL (c MOD 300) DAY"
            "   WHEN 9 THEN DATE('%4') - INTERVAL 2 YEAR ELSE '2010-01-01' END,"
            " CASE c MOD 10 WHEN 7 THEN '2200-12-31'"
            "   WHEN 8 THEN DATE('%4') - INTERVAL (c MOD 300) DAY + INTERVAL 1 YEAR"
            "   WHEN 9 THEN DATE('%4') - INTERVAL (1 + c MOD 200) DAY ELSE '2030-12-31' END"
            " FROM (SELECT seq AS c FROM seq_0_to_%5) s"
            " LEFT JOIN USERS u ON u.ID_USER = %6")
            .arg(CodeFactor).arg(CodeOffset).arg(CodeModulus).arg(newest)
            .arg(s.cards - 1).arg(owner);
        run(mysql, statement);
    });

    const auto [dropIndexes, addIndexes] = secondaryIndexes(mysql, "EVENTS");
    fillTable(log, "EVENTS", s.events, [&] {
        if (s.events == 0)
            return;
        // Event e: person i + 1 and device d by coprime steps, head h (0 A, 1 B) in
        // pairs, times in whole seconds counted back from the newest (session in UTC).
        const int personStep = coprimeStep(7919, s.people);
        const int deviceStep = coprimeStep(131, s.devices);
        const qint64 newestSeconds =
            QDateTime(s.newestEvent.date(), s.newestEvent.time(), Qt::UTC).toSecsSinceEpoch();
        const QString statement = QStringLiteral(
            "INSERT INTO EVENTS (ID, ID_USER, ID_GROUP, ID_DEVICE, TYPE, TIME, SERIAL, CANAL, HEAD)"
            " SELECT e, IF(e MOD 100000 = 77777, 0, i + 1), IF(e MOD 100000 = 77777, 0, %1),"
            " IF(e MOD 100000 = 33333, 0, d),"
            " CASE WHEN e MOD 100000 = 55555 THEN 0 WHEN h = 0 THEN IF(e MOD 97 = 0, 4, 1)"
            "   ELSE IF(e MOD 53 = 0, 3, 2) END,"
            " CASE e MOD 1009 WHEN 0 THEN DATE(t)"
            "   WHEN 500 THEN LEAST(DATE(t) + INTERVAL 86399 SECOND, FROM_UNIXTIME(%2)) ELSE t END,"
            " %3, IF(h = 0, '1', '2'), IF(e MOD 101 = 0, NULL, %4)")
            .arg(groupOfPerson("i", liveGroups)).arg(newestSeconds)
            .arg(deviceFactory("d"), headName("h", "d"))
            + QStringLiteral(
            " FROM (SELECT seq AS e, seq * %1 MOD %2 AS i, 1 + seq * %3 MOD %4 AS d,"
            "       seq DIV 3 MOD 2 AS h, FROM_UNIXTIME(%5 - (%6 - seq) * %7 DIV %6) AS t"
            "       FROM seq_FIRST_to_LAST) s")
            .arg(personStep).arg(s.people).arg(deviceStep).arg(s.devices)
            .arg(newestSeconds).arg(s.events).arg(YearSeconds);
        // In parallel ranges without the secondary indexes, which are built afterwards:
        // half the work of one statement keeping them up. The parts keep the usual
        // checks: a bulk load into an empty table would lock it and serialise them.
        if (!dropIndexes.isEmpty())
            run(mysql, "ALTER TABLE EVENTS " + dropIndexes);
        const int parts = std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
        std::vector<std::thread> threads;
        std::vector<std::exception_ptr> errors(parts);
        for (int part = 0; part < parts; ++part) {
            const long long first = 1 + (long long)s.events * part / parts;
            const long long last = (long long)s.events * (part + 1) / parts;
            if (first > last)
                continue;
            QString range = statement;
            range.replace("seq_FIRST_to_LAST", QStringLiteral("seq_%1_to_%2").arg(first).arg(last));
            threads.emplace_back([&, part, range] {
                try {
                    const Handle own(openSession(server, database), mysql_close);
                    run(own.get(), range);
                } catch (...) {
                    errors[part] = std::current_exception();
                }
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        for (const std::exception_ptr& error : errors)
            if (error)
                std::rethrow_exception(error);
        run(mysql, QStringLiteral("UPDATE STATUS SET EVENTS = %1").arg(s.events));
    });
    fillTable(log, "EVENTS indexes", 0, [&] {
        if (s.events > 0 && !addIndexes.isEmpty())
            run(mysql, "ALTER TABLE EVENTS " + addIndexes);
    });

    fillTable(log, "HISTORY", s.history, [&] {
        if (s.history == 0)
            return;
        const qint64 newestSeconds =
            QDateTime(s.newestEvent.date(), s.newestEvent.time(), Qt::UTC).toSecsSinceEpoch();
        run(mysql, QStringLiteral(
            "INSERT INTO HISTORY (ID, TIME, LOGIN, OS_USER, HOST, ACTION, TABLE_NAME, ROW_KEY, LABEL,"
            " BEFORE_VALUES, AFTER_VALUES)"
            " SELECT h, FROM_UNIXTIME(%1 - (%2 - h) * %3 DIV %2),"
            " ELT(1 + h MOD 5, 'kadry', 'ochrona', 'admin', 'serwis', 'vqx'),"
            " ELT(1 + h MOD 5, 'anowak', 'portier', 'administrator', 'technik', 'kierownik'),"
            " ELT(1 + h MOD 3, 'KADRY-PC', 'PORTIERNIA', 'SERWEROWNIA'),"
            " ELT(1 + h MOD 4, 'Zmień', 'Dodaj kartę', 'Dodaj uprawnienie', 'Zmień nazwę'),"
            " ELT(1 + h MOD 4, 'USERS', 'CARDS', 'PERMISSIONS_has_GROUPS', 'GROUPS'),"
            " CASE h MOD 4 WHEN 0 THEN u.ID_USER WHEN 1 THEN 1 + h MOD %4 ELSE 1 + h MOD 1000 END,"
            " CASE h MOD 4 WHEN 0 THEN CONCAT_WS(' ', u.FIRST_NAME, u.NAME)"
            "   WHEN 1 THEN CONCAT_WS(' ', LPAD(HEX(((h MOD %4 + 1) * %5 + %6) MOD %7), 10, '0'),"
            "                         u.FIRST_NAME, u.NAME)"
            "   WHEN 2 THEN CONCAT('Grupa ', h MOD 50, ' / Przejście ', h MOD 500, ' / Szablon ', h MOD 20)"
            "   ELSE CONCAT('Grupa ', h MOD 50) END,"
            " IF(h MOD 4 = 1, NULL, CONCAT('{\"NAME\":\"', u.NAME, '\"}')),"
            " CONCAT('{\"NAME\":\"', u.NAME, ' ', h, '\"}')"
            " FROM (SELECT seq AS h FROM seq_1_to_%8) s JOIN USERS u ON u.ID_USER = 1 + (h * 7919) MOD %9")
            .arg(newestSeconds).arg(s.history).arg(YearSeconds).arg(std::max(1, s.cards))
            .arg(CodeFactor).arg(CodeOffset).arg(CodeModulus).arg(s.history).arg(s.people));
    });

    // Fresh statistics, so that the plans benchmarks see do not depend on timing.
    fillTable(log, "ANALYZE", 0, [&] {
        run(mysql, "ANALYZE TABLE USERS, `GROUPS`, CARDS, PERMISSIONS, PERMISSIONS_has_GROUPS,"
                   " LOCALIZATION, DEVICE, EVENTS, HISTORY");
    });

    in.lastPersonId = s.people;
    in.deletedPeople = scalar(mysql, "SELECT COUNT(*) FROM USERS WHERE DEL = 1");
    in.lastGroupId = 1 + liveGroups;
    in.lastDeletedGroupId = 1 + liveGroups + deletedGroups;
    in.groupWithoutPermissions = liveGroups > 0 ? 1 + liveGroups : 0;
    in.lastTemplateId = s.templates;
    in.lastLocationId = s.locations;
    in.lastDeviceId = s.devices;
    in.permissionRows = scalar(mysql, "SELECT COUNT(*) FROM PERMISSIONS_has_GROUPS");
    in.lastCardId = s.cards;
    in.cardsWithoutOwner = scalar(mysql, "SELECT COUNT(*) FROM CARDS WHERE ID_USER_FK = 0");
    in.lastEventId = s.events;
    for (int orphan : {33333, 55555, 77777})
        in.orphanEvents += s.events >= orphan ? (s.events - orphan) / 100000 + 1 : 0;
    if (s.events > 0) {
        in.newestEvent = s.newestEvent;
        in.oldestEvent = s.newestEvent.addSecs(-qint64(s.events - 1) * YearSeconds / s.events);
    }
    const QStringList sample = row(mysql,
        "SELECT u.ID_USER, u.ID_GROUP, u.FIRST_NAME, u.NAME,"
        " (SELECT COUNT(*) FROM CARDS WHERE ID_USER_FK = u.ID_USER),"
        " (SELECT COUNT(*) FROM EVENTS WHERE ID_USER = u.ID_USER)"
        " FROM USERS u WHERE u.DEL = 0 AND u.ID_GROUP > 1 AND u.FIRST_NAME <> ''"
        " AND EXISTS (SELECT 1 FROM CARDS WHERE ID_USER_FK = u.ID_USER)"
        " AND EXISTS (SELECT 1 FROM EVENTS WHERE ID_USER = u.ID_USER)"
        " ORDER BY u.ID_USER LIMIT 1");
    if (sample.size() == 6) {
        in.samplePersonId = sample[0].toInt();
        in.samplePersonGroupId = sample[1].toInt();
        in.samplePersonFirstName = sample[2];
        in.samplePersonSurname = sample[3];
        in.samplePersonCards = sample[4].toInt();
        in.samplePersonEvents = sample[5].toInt();
    }
    in.sampleDeviceId = s.devices > 0 ? 1 : 0;
    const QStringList busiest = row(mysql,
        "SELECT r.ID_DEVICE_FK, COUNT(*) FROM (SELECT DISTINCT ID_DEVICE_FK, ID_GROUP_FK"
        " FROM PERMISSIONS_has_GROUPS) r JOIN USERS u ON u.ID_GROUP = r.ID_GROUP_FK"
        " GROUP BY r.ID_DEVICE_FK ORDER BY COUNT(*) DESC, r.ID_DEVICE_FK LIMIT 1");
    if (busiest.size() == 2) {
        in.busiestDeviceId = busiest[0].toInt();
        in.busiestDevicePeople = busiest[1].toInt();
    }
    if (log)
        std::fprintf(log, "  %-24s %9s      %8.2f s\n", "total", "", total.nsecsElapsed() / 1e9);
    return in;
}
