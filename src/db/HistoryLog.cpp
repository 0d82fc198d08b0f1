#include "db/HistoryLog.h"

#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"
#include "dataaccess/Errors.h"

#include <QSaveFile>

#include <mysql.h>

const std::vector<HistoryLog::Kind>& HistoryLog::kinds()
{
    static const std::vector<Kind> all{
        {QStringLiteral("USERS"), QStringLiteral("Osoba")},
        {QStringLiteral("CARDS"), QStringLiteral("Karta")},
        {QStringLiteral("GROUPS"), QStringLiteral("Grupa")},
        {QStringLiteral("PERMISSIONS"), QStringLiteral("Szablon")},
        {QStringLiteral("PERMISSIONS_has_GROUPS"), QStringLiteral("Uprawnienie")},
        {QStringLiteral("DEVICE"), QStringLiteral("Urządzenie")},
        {QStringLiteral("LOCALIZATION"), QStringLiteral("Lokalizacja")},
        {QStringLiteral("EVENTS"), QStringLiteral("Zdarzenia")},
    };
    return all;
}

namespace {

QString day(const QDate& date) { return date.toString(Qt::ISODate); }

// A typed text searched anywhere in the label: its own % and _ match themselves.
QString containing(const Connection& connection, const QString& text)
{
    QString pattern = text;
    pattern.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    pattern.replace(QLatin1Char('%'), QLatin1String("\\%"));
    pattern.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return connection.quoted(QLatin1Char('%') + pattern + QLatin1Char('%'));
}

QString kindExpression()
{
    QStringList tables, names;
    for (const HistoryLog::Kind& kind : HistoryLog::kinds()) {
        tables << QLatin1Char('\'') + kind.table + QLatin1Char('\'');
        names << QLatin1Char('\'') + kind.name + QLatin1Char('\'');
    }
    return QStringLiteral("COALESCE(ELT(FIELD(TABLE_NAME, %1), %2), TABLE_NAME)")
        .arg(tables.join(QLatin1Char(',')), names.join(QLatin1Char(',')));
}

}  // namespace

QString HistoryLog::where(const Connection& connection, const Filter& f)
{
    QStringList conditions;
    if (f.since.isValid())
        conditions << QStringLiteral("TIME >= '%1'").arg(day(f.since));
    if (f.until.isValid())
        conditions << QStringLiteral("TIME < '%1'").arg(day(f.until.addDays(1)));
    if (!f.login.isEmpty())
        conditions << QStringLiteral("LOGIN = ") + connection.quoted(f.login);
    if (!f.table.isEmpty())
        conditions << QStringLiteral("TABLE_NAME = ") + connection.quoted(f.table);
    if (f.key != 0)
        conditions << QStringLiteral("ROW_KEY = ") + QString::number(f.key);
    if (!f.text.isEmpty())
        conditions << QStringLiteral("LABEL LIKE ") + containing(connection, f.text);
    if (f.personId != 0) {
        // The cards' keys as a list: the server then reads both by the row index.
        QStringList cards{QStringLiteral("0")};
        for (int card : f.personCards)
            cards << QString::number(card);
        conditions << QStringLiteral("((TABLE_NAME = 'USERS' AND ROW_KEY = %1) OR (TABLE_NAME = 'CARDS' AND ROW_KEY IN "
                                     "(%2)))")
                          .arg(QString::number(f.personId), cards.join(QLatin1Char(',')));
    }
    return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

QString HistoryLog::countStatement(const Connection& connection, const Filter& filter)
{
    return QStringLiteral("SELECT COUNT(*) FROM HISTORY") + where(connection, filter);
}

QString HistoryLog::pageStatement(const Connection& connection, const Filter& filter, long long offset,
                                  int count)
{
    // The page's keys first, read from the narrowest index that serves the filter,
    // and only then their whole rows.
    return QStringLiteral("SELECT TIME, LOGIN, OS_USER, HOST, ACTION, TABLE_NAME, %1 AS KIND, ROW_KEY, LABEL, "
                          "BEFORE_VALUES, AFTER_VALUES FROM HISTORY JOIN (SELECT ID AS PAGE_ID FROM HISTORY")
               .arg(kindExpression())
           + where(connection, filter)
           + QStringLiteral(" ORDER BY ID DESC LIMIT %1, %2) page ON page.PAGE_ID = HISTORY.ID ORDER BY ID DESC")
                 .arg(offset)
                 .arg(count);
}

QList<int> HistoryLog::cardsOf(Connection& connection, int personId)
{
    QList<int> cards;
    MYSQL_RES* result =
        connection.query(QStringLiteral("SELECT ID_CARD FROM CARDS WHERE ID_USER_FK = %1").arg(personId));
    if (!result)
        return cards;
    while (MYSQL_ROW row = mysql_fetch_row(result))
        cards << QByteArray(row[0]).toInt();
    mysql_free_result(result);
    return cards;
}

QStringList HistoryLog::logins(Connection& connection)
{
    QStringList found;
    MYSQL_RES* result = connection.query(QStringLiteral("SELECT DISTINCT LOGIN FROM HISTORY ORDER BY LOGIN"));
    if (!result)
        return found;
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        found << QString::fromUtf8(row[0], static_cast<qsizetype>(lengths[0]));
    }
    mysql_free_result(result);
    return found;
}

namespace {

const char* const Columns[] = {"TIME", "LOGIN", "OS_USER", "HOST", "ACTION", "TABLE_NAME",
                               "ROW_KEY", "LABEL", "BEFORE_VALUES", "AFTER_VALUES"};

}  // namespace

void HistoryLog::writeCsv(const Dataset& rows, const QString& fileName)
{
    std::vector<int> columns;
    for (const char* name : Columns)
        columns.push_back(rows.requireColumn(QString::fromLatin1(name)));
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(fileName, file.errorString());
    auto field = [](const QString& text) {
        QString quoted = text;
        quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
        return QLatin1Char('"') + quoted + QLatin1Char('"');
    };
    QStringList lines;
    lines << QStringLiteral("\"Czas\";\"Login\";\"Użytkownik stacji\";\"Stacja\";\"Akcja\";\"Tabela\";"
                            "\"Klucz\";\"Obiekt\";\"Przed\";\"Po\"");
    for (int r = 0; r < rows.rowCount(); ++r) {
        QStringList fields;
        for (int c : columns)
            fields << field(rows.cell(r, c));
        lines << fields.join(QLatin1Char(';'));
    }
    const QByteArray text = "\xEF\xBB\xBF" + lines.join(QStringLiteral("\r\n")).toUtf8();
    if (file.write(text) != text.size() || !file.commit())
        throw FileError(fileName, file.errorString());
}

QString HistoryLog::tabLine(const Dataset& rows, int row)
{
    QStringList fields;
    for (const char* name : Columns) {
        QString value = rows.cell(row, rows.requireColumn(QString::fromLatin1(name)));
        value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        value.replace(QLatin1Char('\t'), QLatin1String("\\t"));
        value.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        value.replace(QLatin1Char('\r'), QLatin1String("\\r"));
        fields << value;
    }
    return fields.join(QLatin1Char('\t'));
}
