#include "db/History.h"

#include "dataaccess/Connection.h"

#include <QHash>
#include <QJsonDocument>
#include <QSysInfo>

#include <mysql.h>

const QString History::TableName = QStringLiteral("HISTORY");

const QString History::MissingTableText = QStringLiteral(
    "Zmiany nie są zapisywane w historii zmian: baza danych nie ma tabeli HISTORY.\n"
    "Aby ją dodać, uruchom: valdrix db-check --fix");

QStringList History::createStatements()
{
    // TIME serves the date filters and the newest-first order, HISTORY_ROW a row's
    // history (a person with their cards), HISTORY_LOGIN the operator filter and
    // its list, HISTORY_LABEL the text filter (read as a short index, not the rows).
    return {QStringLiteral(
        "CREATE TABLE IF NOT EXISTS `HISTORY` (\n"
        "  `ID` BIGINT NOT NULL AUTO_INCREMENT,\n"
        "  `TIME` DATETIME NOT NULL,\n"
        "  `LOGIN` VARCHAR(128) NOT NULL DEFAULT '',\n"
        "  `OS_USER` VARCHAR(128) NOT NULL DEFAULT '',\n"
        "  `HOST` VARCHAR(255) NOT NULL DEFAULT '',\n"
        "  `ACTION` VARCHAR(255) NOT NULL DEFAULT '',\n"
        "  `TABLE_NAME` VARCHAR(64) NOT NULL DEFAULT '',\n"
        "  `ROW_KEY` INT NOT NULL DEFAULT 0,\n"
        "  `LABEL` VARCHAR(255) NOT NULL DEFAULT '',\n"
        "  `BEFORE_VALUES` MEDIUMTEXT NULL,\n"
        "  `AFTER_VALUES` MEDIUMTEXT NULL,\n"
        "  PRIMARY KEY (`ID`),\n"
        "  KEY `HISTORY_TIME` (`TIME`),\n"
        "  KEY `HISTORY_ROW` (`TABLE_NAME`, `ROW_KEY`),\n"
        "  KEY `HISTORY_LOGIN` (`LOGIN`),\n"
        "  KEY `HISTORY_LABEL` (`LABEL`)\n"
        ") ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_polish_ci")};
}

bool History::tableExists(Connection& connection)
{
    MYSQL_RES* result = connection.query(QStringLiteral("SHOW TABLES LIKE 'HISTORY'"));
    const bool found = result && mysql_num_rows(result) > 0;
    if (result)
        mysql_free_result(result);
    return found;
}

History::TableInfo History::tableInfo(const QString& table)
{
    static const QHash<QString, TableInfo> tables{
        {QStringLiteral("USERS"),
         {QStringLiteral("ID_USER"), QStringLiteral("CONCAT_WS(' ', FIRST_NAME, NAME)")}},
        {QStringLiteral("CARDS"),
         {QStringLiteral("ID_CARD"),
          QStringLiteral("CONCAT_WS(' ', CODE, (SELECT CONCAT_WS(' ', U.FIRST_NAME, U.NAME) FROM USERS U "
                         "WHERE U.ID_USER = CARDS.ID_USER_FK))")}},
        {QStringLiteral("GROUPS"), {QStringLiteral("ID_GROUP"), QStringLiteral("NAME")}},
        {QStringLiteral("PERMISSIONS"), {QStringLiteral("ID_PERMISSIONS"), QStringLiteral("NAME")}},
        {QStringLiteral("PERMISSIONS_has_GROUPS"),
         {QStringLiteral("NMID"),
          QStringLiteral("CONCAT_WS(' / ', (SELECT G.NAME FROM GROUPS G WHERE G.ID_GROUP = ID_GROUP_FK), "
                         "(SELECT D.NAME FROM DEVICE D WHERE D.ID_DEVICE = ID_DEVICE_FK), "
                         "(SELECT P.NAME FROM PERMISSIONS P WHERE P.ID_PERMISSIONS = ID_PERMISSIONS_FK))")}},
        {QStringLiteral("DEVICE"), {QStringLiteral("ID_DEVICE"), QStringLiteral("NAME")}},
        {QStringLiteral("LOCALIZATION"), {QStringLiteral("ID"), QStringLiteral("NAME")}},
    };
    return tables.value(table);
}

namespace {

QJsonValue cellValue(MYSQL_ROW row, const unsigned long* lengths, unsigned column)
{
    if (!row[column])
        return QJsonValue::Null;
    return QString::fromUtf8(row[column], static_cast<qsizetype>(lengths[column]));
}

QString compact(const QJsonObject& values)
{
    return QString::fromUtf8(QJsonDocument(values).toJson(QJsonDocument::Compact));
}

}  // namespace

std::vector<History::RowImage> History::readRows(Connection& connection, const QString& table,
                                                 const QString& where, const QString& lockClause)
{
    const TableInfo info = tableInfo(table);
    const QString label = info.label.isEmpty() ? QStringLiteral("''") : info.label;
    MYSQL_RES* result = connection.query(QStringLiteral("SELECT %1.*, LEFT(%2, 255) FROM %1 WHERE %3%4")
                                             .arg(table, label, where, lockClause));
    std::vector<RowImage> rows;
    if (!result)
        return rows;
    const unsigned columns = mysql_num_fields(result);
    const MYSQL_FIELD* fields = mysql_fetch_fields(result);
    int keyColumn = 0;
    for (unsigned c = 0; c + 1 < columns; ++c)
        if (QString::fromUtf8(fields[c].name).compare(info.keyColumn, Qt::CaseInsensitive) == 0)
            keyColumn = static_cast<int>(c);
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        RowImage image;
        for (unsigned c = 0; c + 1 < columns; ++c)
            image.values.insert(QString::fromUtf8(fields[c].name), cellValue(row, lengths, c));
        image.key = image.values.value(QString::fromUtf8(fields[keyColumn].name)).toString().toInt();
        image.label = cellValue(row, lengths, columns - 1).toString();
        rows.push_back(std::move(image));
    }
    mysql_free_result(result);
    return rows;
}

long long History::countRows(Connection& connection, const QString& table, const QString& where)
{
    MYSQL_RES* result = connection.query(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table, where));
    long long count = 0;
    if (result) {
        if (MYSQL_ROW row = mysql_fetch_row(result); row && row[0])
            count = QByteArray(row[0]).toLongLong();
        mysql_free_result(result);
    }
    return count;
}

History::Difference History::difference(const std::optional<RowImage>& before,
                                        const std::optional<RowImage>& after)
{
    Difference d;
    if (!before && !after)
        return d;
    if (!before || !after) {
        d.changed = true;
        (before ? d.before : d.after) = compact((before ? before : after)->values);
        return d;
    }
    QJsonObject was, is;
    for (auto it = after->values.begin(); it != after->values.end(); ++it) {
        const QJsonValue old = before->values.value(it.key());
        if (old != it.value()) {
            was.insert(it.key(), old);
            is.insert(it.key(), it.value());
        }
    }
    if (is.isEmpty())
        return d;
    d.changed = true;
    d.before = compact(was);
    d.after = compact(is);
    return d;
}

QString History::workstationUser()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    return user;
}

QString History::workstationHost() { return QSysInfo::machineHostName(); }

void History::write(Connection& connection, const QString& action, const std::vector<Entry>& entries)
{
    if (entries.empty())
        return;
    const QString who = QStringLiteral("NOW(), SUBSTRING_INDEX(USER(), '@', 1), %1, %2, %3")
                            .arg(connection.quoted(workstationUser().left(128)),
                                 connection.quoted(workstationHost().left(255)),
                                 connection.quoted(action.left(255)));
    auto text = [&](const QString& value) {
        return value.isNull() ? QStringLiteral("NULL") : connection.quoted(value);
    };
    QStringList rows;
    for (const Entry& e : entries)
        rows << QStringLiteral("(%1, %2, %3, %4, %5, %6)")
                    .arg(who, connection.quoted(e.table), QString::number(e.key),
                         connection.quoted(e.label.left(255)), text(e.values.before), text(e.values.after));
    connection.execute(QStringLiteral("INSERT INTO HISTORY (TIME, LOGIN, OS_USER, HOST, ACTION, TABLE_NAME, "
                                      "ROW_KEY, LABEL, BEFORE_VALUES, AFTER_VALUES) VALUES ")
                       + rows.join(QStringLiteral(",\n")));
}
