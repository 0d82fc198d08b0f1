#include "db/DatabaseCheck.h"

#include "dataaccess/Connection.h"
#include "dataaccess/Errors.h"
#include "text/PolishPlural.h"

#include <QHash>
#include <mysql.h>

namespace DatabaseCheck {

namespace {

// Every row of a statement as texts.
std::vector<QStringList> rowsOf(Connection& connection, const QString& statement)
{
    std::vector<QStringList> rows;
    MYSQL_RES* result = connection.query(statement);
    if (!result)
        return rows;
    const unsigned columns = mysql_num_fields(result);
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        QStringList cells;
        for (unsigned i = 0; i < columns; ++i)
            cells << QString::fromUtf8(row[i] ? row[i] : "", static_cast<qsizetype>(lengths[i]));
        rows.push_back(cells);
    }
    mysql_free_result(result);
    return rows;
}

QString quotedName(const QString& name) { return QLatin1Char('`') + name + QLatin1Char('`'); }

const QStringList ProgramTables = {"GROUPS", "USERS", "CARDS", "PERMISSIONS", "PERMISSIONS_has_GROUPS",
                                   "LOCALIZATION", "DEVICE", "EVENTS", "TYP", "STATUS"};

QStringList statusRow(Connection& connection)
{
    const std::vector<QStringList> exists = rowsOf(
        connection, QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES "
                                   "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'STATUS'"));
    if (exists.empty() || exists[0].value(0) == QLatin1String("0"))
        return {};   // told as a missing table
    const QString rows = rowsOf(connection, QStringLiteral("SELECT COUNT(*) FROM `STATUS`")).at(0).value(0);
    if (rows == QLatin1String("1"))
        return {};
    return {QStringLiteral("tabela STATUS ma %1 wierszy, a program potrzebuje dokładnie jednego "
                           "(liczniki zmian dla programów dzielących bazę)").arg(rows)};
}

QStringList characterSets(Connection& connection)
{
    QStringList quoted;
    for (const QString& table : ProgramTables)
        quoted << QLatin1Char('\'') + table + QLatin1Char('\'');
    const std::vector<QStringList> rows = rowsOf(
        connection, QStringLiteral("SELECT TABLE_NAME, CHARACTER_SET_NAME, GROUP_CONCAT(COLUMN_NAME ORDER BY "
                                   "ORDINAL_POSITION SEPARATOR ', ') FROM information_schema.COLUMNS "
                                   "WHERE TABLE_SCHEMA = DATABASE() AND CHARACTER_SET_NAME IS NOT NULL "
                                   "AND CHARACTER_SET_NAME <> 'utf8mb4' AND TABLE_NAME IN (%1) "
                                   "GROUP BY TABLE_NAME, CHARACTER_SET_NAME ORDER BY TABLE_NAME, CHARACTER_SET_NAME")
                        .arg(quoted.join(QLatin1Char(','))));
    QStringList problems;
    for (const QStringList& row : rows)
        problems << QStringLiteral("tabela %1 przechowuje tekst w kodowaniu %2 (kolumny %3), a polskie litery "
                                   "i pozostałe znaki wracają bez zmian tylko w utf8mb4")
                        .arg(row[0], row[1], row[2]);
    return problems;
}

Requirements buildProgramRequirements()
{
    Requirements r;
    const QString unit = QStringLiteral("zmiana i jej licznik w STATUS jako jedna transakcja");
    for (const QString& table : ProgramTables)
        r.table(table, unit);
    r.index("GROUPS", "GROUPS_DEL_NAME", {"DEL", "NAME"}, QStringLiteral("lista grup"))
        .index("GROUPS", "GROUPS_NAME", {"NAME"}, QStringLiteral("grupa po nazwie"))
        .index("USERS", "USERS_DEL_NAME", {"DEL", "NAME", "FIRST_NAME", "ID_GROUP"}, QStringLiteral("lista osób"))
        .index("USERS", "USERS_NAMES", {"NAME", "FIRST_NAME"}, QStringLiteral("osoba po nazwisku i imieniu"))
        .index("USERS", "USERS_GROUP", {"ID_GROUP"}, QStringLiteral("członkowie grupy"))
        .index("CARDS", "CARDS_CODE", {"CODE"}, QStringLiteral("karta po kodzie"))
        .index("CARDS", "CARDS_OWNER", {"ID_USER_FK"}, QStringLiteral("lista osób z liczbą kart, karty osoby"))
        .index("PERMISSIONS_has_GROUPS", "PHG_GROUP", {"ID_GROUP_FK"}, QStringLiteral("uprawnienia grupy"))
        .index("PERMISSIONS_has_GROUPS", "PHG_TEMPLATE", {"ID_PERMISSIONS_FK"}, QStringLiteral("użycie szablonu"))
        .index("PERMISSIONS_has_GROUPS", "PHG_DEVICE", {"ID_DEVICE_FK"}, QStringLiteral("uprawnienia przejścia"))
        .index("LOCALIZATION", "LOCALIZATION_DEL_NAME", {"DEL", "NAME"}, QStringLiteral("lista lokalizacji"))
        .index("DEVICE", "DEVICE_FACTORY", {"FACTORY"}, QStringLiteral("kontroler po numerze fabrycznym"))
        .index("DEVICE", "DEVICE_LOCALIZATION", {"ID_LOCALIZATION"}, QStringLiteral("kontrolery lokalizacji"))
        .index("EVENTS", "EVENTS_USER", {"ID_USER"}, QStringLiteral("filtr osoby w zdarzeniach"))
        .index("EVENTS", "EVENTS_DEVICE", {"ID_DEVICE"}, QStringLiteral("filtr przejścia w zdarzeniach"))
        .index("EVENTS", "EVENTS_TIME", {"TIME"}, QStringLiteral("filtry dat w zdarzeniach"))
        .index("EVENTS", "EVENTS_COUNT", {"ID_GROUP", "TYPE", "ID_DEVICE", "ID_USER", "TIME"},
               QStringLiteral("liczba zdarzeń i filtr grupy"));
    r.condition(QStringLiteral("jeden wiersz liczników w STATUS"), statusRow);
    r.condition(QStringLiteral("tekst w utf8mb4"), characterSets);
    return r;
}

bool startsWith(const QStringList& index, const QStringList& columns)
{
    if (index.size() < columns.size())
        return false;
    for (qsizetype i = 0; i < columns.size(); ++i)
        if (index[i].compare(columns[i], Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

}  // namespace

Requirements& Requirements::table(const QString& name, const QString& why)
{
    Requirement r;
    r.kind = Requirement::Kind::InnoDbTable;
    r.table = name;
    r.why = why;
    list_.push_back(std::move(r));
    return *this;
}

Requirements& Requirements::index(const QString& table, const QString& name, const QStringList& columns,
                                  const QString& why)
{
    Requirement r;
    r.kind = Requirement::Kind::Index;
    r.table = table;
    r.index = name;
    r.columns = columns;
    r.why = why;
    list_.push_back(std::move(r));
    return *this;
}

Requirements& Requirements::condition(const QString& why, std::function<QStringList(Connection&)> check)
{
    Requirement r;
    r.kind = Requirement::Kind::Condition;
    r.why = why;
    r.condition = std::move(check);
    list_.push_back(std::move(r));
    return *this;
}

const Requirements& programRequirements()
{
    static const Requirements requirements = buildProgramRequirements();
    return requirements;
}

std::vector<Finding> check(Connection& connection, const Requirements& requirements)
{
    // Table names compare as the server stores them, without regard to case.
    QHash<QString, QString> engines;
    for (const QStringList& row : rowsOf(connection, QStringLiteral(
             "SELECT TABLE_NAME, COALESCE(ENGINE, TABLE_TYPE) FROM information_schema.TABLES "
             "WHERE TABLE_SCHEMA = DATABASE()")))
        engines.insert(row[0].toUpper(), row[1]);
    // Each table's indexes: name -> columns in order.
    QHash<QString, QHash<QString, QStringList>> indexes;
    for (const QStringList& row : rowsOf(connection, QStringLiteral(
             "SELECT TABLE_NAME, INDEX_NAME, COLUMN_NAME FROM information_schema.STATISTICS "
             "WHERE TABLE_SCHEMA = DATABASE() ORDER BY TABLE_NAME, INDEX_NAME, SEQ_IN_INDEX")))
        indexes[row[0].toUpper()][row[1]] << row[2];

    std::vector<Finding> findings;
    for (const Requirement& r : requirements.all()) {
        const QString table = r.table.toUpper();
        switch (r.kind) {
        case Requirement::Kind::InnoDbTable:
            if (!engines.contains(table))
                findings.push_back({r.kind, QStringLiteral("brak tabeli %1").arg(r.table), {}});
            else if (engines.value(table).compare(QLatin1String("InnoDB"), Qt::CaseInsensitive) != 0)
                findings.push_back({r.kind,
                                    QStringLiteral("tabela %1 używa silnika %2, nie InnoDB: bez InnoDB nie ma "
                                                   "transakcji (%3)")
                                        .arg(r.table, engines.value(table), r.why),
                                    {}});
            break;
        case Requirement::Kind::Index: {
            if (!engines.contains(table))
                break;   // told as a missing table
            const QHash<QString, QStringList>& existing = indexes.value(table);
            const bool present = std::any_of(existing.begin(), existing.end(),
                                             [&](const QStringList& columns) { return startsWith(columns, r.columns); });
            if (present)
                break;
            // A name another index already carries gets a number.
            QString name = r.index;
            for (int n = 2; std::any_of(existing.keyBegin(), existing.keyEnd(), [&](const QString& taken) {
                     return taken.compare(name, Qt::CaseInsensitive) == 0;
                 });
                 ++n)
                name = QStringLiteral("%1_%2").arg(r.index).arg(n);
            QStringList columns;
            for (const QString& column : r.columns)
                columns << quotedName(column);
            findings.push_back({r.kind,
                                QStringLiteral("brak indeksu %1 (%2) w tabeli %3, potrzebnego dla: %4")
                                    .arg(r.index, r.columns.join(QStringLiteral(", ")), r.table, r.why),
                                QStringLiteral("CREATE INDEX %1 ON %2 (%3);")
                                    .arg(quotedName(name), quotedName(r.table), columns.join(QStringLiteral(", ")))});
            break;
        }
        case Requirement::Kind::Condition:
            if (r.condition)
                for (const QString& problem : r.condition(connection))
                    findings.push_back({r.kind, problem, {}});
            break;
        }
    }
    return findings;
}

int createMissingIndexes(Connection& connection, const std::vector<Finding>& findings,
                         const std::function<void(const QString& statement)>& before)
{
    int created = 0;
    for (const Finding& f : findings) {
        if (f.createStatement.isEmpty())
            continue;
        if (before)
            before(f.createStatement);
        connection.execute(f.createStatement);
        ++created;
    }
    return created;
}

QStringList describe(const std::vector<Finding>& findings)
{
    if (findings.empty())
        return {QStringLiteral("Baza danych ma wszystko, czego program potrzebuje.")};
    QStringList lines;
    for (const Finding& f : findings) {
        lines << f.text;
        if (!f.createStatement.isEmpty())
            lines << QStringLiteral("    ") + f.createStatement;
    }
    return lines;
}

QString summary(const std::vector<Finding>& findings)
{
    if (findings.empty())
        return {};
    return QStringLiteral("Baza danych nie ma wszystkiego, czego program potrzebuje: %1 (szczegóły na stronie "
                          "\u201eUstawienia\u201d)")
        .arg(countOf(static_cast<long long>(findings.size()), "brak", "braki", "braków"));
}

}  // namespace DatabaseCheck
