#include "import/ImportCheck.h"

#include "text/PolishPlural.h"
#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"
#include "import/ImportFile.h"
#include "import/ImportRows.h"

#include <QHash>

namespace {

// How the database holds one text column: the import's duplicate tests compare
// with its collation, and a longer value is refused.
struct ColumnTraits {
    QString charset;
    QString collation;
    int maxLength = 0;   // characters; 0 when not known
};

struct Columns {
    ColumnTraits firstName, surname, code;
};

const QString ColumnsStatement = QStringLiteral(
    "SELECT TABLE_NAME, COLUMN_NAME, CHARACTER_SET_NAME, COLLATION_NAME, CHARACTER_MAXIMUM_LENGTH "
    "FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND "
    "((TABLE_NAME = 'USERS' AND COLUMN_NAME IN ('FIRST_NAME', 'NAME')) OR "
    "(TABLE_NAME = 'CARDS' AND COLUMN_NAME = 'CODE'))");

// Characters of one statement part: a very large file is asked in parts small
// enough for a server's packet limit of 1 MB (a character takes up to 3 bytes).
constexpr qsizetype PartLimit = 300000;

Columns readColumns(Connection& connection)
{
    Dataset rows(connection, QStringLiteral("ImportCheckColumns"));
    rows.setStatement(ColumnsStatement);
    rows.open();
    Columns out;
    for (rows.first(); !rows.eof(); rows.next()) {
        const QString table = rows.text(QStringLiteral("TABLE_NAME"));
        const QString column = rows.text(QStringLiteral("COLUMN_NAME"));
        // A server that folds table names to lower case reports "cards".
        ColumnTraits* traits =
            table.compare(QLatin1String("CARDS"), Qt::CaseInsensitive) == 0 ? &out.code
            : column.compare(QLatin1String("NAME"), Qt::CaseInsensitive) == 0 ? &out.surname
                                                                             : &out.firstName;
        traits->charset = rows.text(QStringLiteral("CHARACTER_SET_NAME"));
        traits->collation = rows.text(QStringLiteral("COLLATION_NAME"));
        traits->maxLength = rows.text(QStringLiteral("CHARACTER_MAXIMUM_LENGTH")).toInt();
    }
    return out;
}

bool isIdentifier(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('_'))
            return false;
    return true;
}

// A value of the row table compared as the column compares it.
QString compared(const QString& value, const ColumnTraits& column)
{
    if (!isIdentifier(column.charset) || !isIdentifier(column.collation))
        return value;
    return QStringLiteral("CONVERT(%1 USING %2) COLLATE %3").arg(value, column.charset, column.collation);
}

bool hasNames(const ImportCheckRow& row) { return !row.firstName.isEmpty() || !row.surname.isEmpty(); }

bool tooLong(const QString& value, const ColumnTraits& column)
{
    return ImportRows::TooLong(value, column.maxLength);
}

bool holdsLineBreak(const ImportCheckRow& row)
{
    return ImportRows::HoldsLineBreak(row.firstName) || ImportRows::HoldsLineBreak(row.surname) ||
           ImportRows::HoldsLineBreak(row.cardCode);
}

// Whether the database is asked about the row's person or card: rows the import
// refuses or stops at before sending the value are not.
bool asked(const ImportCheckRow& row, bool card, const Columns& columns)
{
    if (!hasNames(row) || holdsLineBreak(row) || tooLong(row.firstName, columns.firstName) ||
        tooLong(row.surname, columns.surname))
        return false;
    return !card || (!row.cardCode.isEmpty() && !tooLong(row.cardCode, columns.code));
}

// The statements of one kind: a table of the asked rows (grid row number and
// values), and for each row whether the table holds it and the key under which
// the column's collation files it (equal keys: equal for the duplicate test).
// The values take the column's collation before anything compares them, also
// the server's cache of subquery results, which would otherwise take two values
// equal under the connection's collation for one.
QStringList statementsOf(Connection& connection, const std::vector<ImportCheckRow>& rows,
                         bool cards, const Columns& columns)
{
    const QString head = cards ? QStringLiteral("WITH v(nr, c) AS (VALUES ")
                               : QStringLiteral("WITH v(nr, f, n) AS (VALUES ");
    const QString tail =
        cards ? QStringLiteral("), t AS (SELECT nr, %1 AS c FROM v) SELECT t.nr, EXISTS(SELECT 1 FROM "
                               "CARDS WHERE CARDS.CODE = t.c) AS KNOWN, WEIGHT_STRING(t.c) AS K1 FROM t")
                    .arg(compared(QStringLiteral("v.c"), columns.code))
              : QStringLiteral("), t AS (SELECT nr, %1 AS f, %2 AS n FROM v) SELECT t.nr, EXISTS(SELECT 1 "
                               "FROM USERS WHERE USERS.FIRST_NAME = t.f AND USERS.NAME = t.n) AS KNOWN, "
                               "WEIGHT_STRING(t.f) AS K1, WEIGHT_STRING(t.n) AS K2 FROM t")
                    .arg(compared(QStringLiteral("v.f"), columns.firstName),
                         compared(QStringLiteral("v.n"), columns.surname));
    auto quoted = [&](const QString& text) {
        return QLatin1Char('\'') + connection.escape(text) + QLatin1Char('\'');
    };
    QStringList out;
    QString values;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ImportCheckRow& row = rows[i];
        if (!asked(row, cards, columns))
            continue;
        if (!values.isEmpty())
            values += QLatin1Char(',');
        values += QLatin1Char('(') + QString::number(i + 1) + QLatin1Char(',');
        values += cards ? quoted(row.cardCode)
                        : quoted(row.firstName) + QLatin1Char(',') + quoted(row.surname);
        values += QLatin1Char(')');
        if (values.size() > PartLimit) {
            out << head + values + tail;
            values.clear();
        }
    }
    if (!values.isEmpty())
        out << head + values + tail;
    return out;
}

struct Answer {
    bool known = false;
    QByteArray key;
};

void ask(Connection& connection, const QStringList& statements, std::vector<Answer>& answers)
{
    Dataset result(connection, QStringLiteral("ImportCheck"));
    for (const QString& statement : statements) {
        result.setStatement(statement);
        result.reexecute();
        const int keys = result.columnCount() - 2;
        for (int r = 0; r < result.rowCount(); ++r) {
            const auto nr = static_cast<std::size_t>(result.cell(r, 0).toLongLong());
            if (nr < 1 || nr > answers.size())
                continue;
            Answer& answer = answers[nr - 1];
            answer.known = result.cell(r, 1).toInt() != 0;
            for (int k = 0; k < keys; ++k) {
                unsigned long length = 0;
                const char* data = result.cellData(r, 2 + k, &length);
                // Length first, so that two columns never run into each other.
                answer.key += QByteArray::number(static_cast<qulonglong>(length)) + ':';
                answer.key += QByteArray(data ? data : "", static_cast<qsizetype>(length));
            }
        }
    }
}

QString limit(const char* valueLongerThan, int maxLength)
{
    return ImportRows::TooLongText(valueLongerThan, maxLength);
}

}  // namespace

QString ImportForecast::status() const
{
    const QString cardSkipped = hasCode ? QStringLiteral(", karta nie zostanie dodana") : QString();
    switch (kind) {
    case NoNames:
        return QStringLiteral("wiersz bez nazwiska i imienia");
    case NewPerson:
        return QStringLiteral("nowa osoba");
    case NewPersonWithCard:
        return QStringLiteral("nowa osoba z kartą");
    case PersonExists:
        return QStringLiteral("osoba już istnieje") + cardSkipped;
    case PersonRepeated:
        return QStringLiteral("osoba powtórzona w pliku (wiersz %1)").arg(earlierRow) + cardSkipped;
    case CardExists:
        return QStringLiteral("nowa osoba, karta już w systemie");
    case CardRepeated:
        return QStringLiteral("nowa osoba, karta powtórzona (wiersz %1)").arg(earlierRow);
    case NameTooLong:
        return QStringLiteral("błąd: %1 – tu import się zatrzyma").arg(field);
    case CodeTooLong:
        return QStringLiteral("nowa osoba, błąd: %1 – tu import się zatrzyma").arg(field);
    case LineBreak:
        return QStringLiteral("wiersz odrzucony: wartość ze znakiem końca wiersza (plik ma końce "
                              "wierszy LF; zapisz go z końcami CR LF)");
    case NotReached:
        return QStringLiteral("nie zostanie zaimportowany: import zatrzyma się na wierszu %1").arg(earlierRow);
    }
    return {};
}

int ImportCheckResult::count(ImportForecast::Kind kind) const
{
    int n = 0;
    for (const ImportForecast& row : rows)
        n += row.kind == kind;
    return n;
}

QString ImportCheckResult::summary() const
{
    using F = ImportForecast;
    const int people = count(F::NewPerson) + count(F::NewPersonWithCard) + count(F::CardExists) +
                       count(F::CardRepeated) + count(F::CodeTooLong);
    QString text = QStringLiteral("Sprawdzenie pliku (nic nie zapisano): %1; nowe osoby: %2, w tym z "
                                  "kartą: %3; osoby już istniejące: %4; karty już w systemie: %5; "
                                  "powtórzone w pliku: osoby %6, karty %7; bez nazwiska i imienia: %8.")
                       .arg(countOf(static_cast<long long>(rows.size()), "wiersz", "wiersze", "wierszy"))
                       .arg(people)
                       .arg(count(F::NewPersonWithCard))
                       .arg(count(F::PersonExists))
                       .arg(count(F::CardExists))
                       .arg(count(F::PersonRepeated))
                       .arg(count(F::CardRepeated))
                       .arg(count(F::NoNames));
    if (const int refused = count(F::LineBreak); refused > 0)
        text += QStringLiteral(" Odrzucone wiersze ze znakiem końca wiersza: %1 (plik ma końce wierszy LF; "
                               "zapisz go z końcami CR LF).")
                    .arg(refused);
    if (stopRow > 0) {
        text += QStringLiteral(" Import zatrzyma się na wierszu %1: baza nie przyjmie wartości "
                               "dłuższej niż kolumna.")
                    .arg(stopRow);
        if (const int after = count(F::NotReached); after > 0)
            text += QStringLiteral(" Wierszy po nim, których import nie obejmie: %1.").arg(after);
    }
    return text;
}

namespace ImportCheck {

QStringList statements(Connection& connection, const std::vector<ImportCheckRow>& rows)
{
    const Columns columns = readColumns(connection);
    return QStringList{ColumnsStatement} + statementsOf(connection, rows, false, columns) +
           statementsOf(connection, rows, true, columns);
}

// The rows in the import's order: a person already added by an earlier row is
// refused like one in the database, and so is a card; a refused person's card is
// not added, so a later row may still add that code.
ImportCheckResult check(Connection& connection, const std::vector<ImportCheckRow>& rows)
{
    const Columns columns = readColumns(connection);
    std::vector<Answer> people(rows.size()), cards(rows.size());
    ask(connection, statementsOf(connection, rows, false, columns), people);
    ask(connection, statementsOf(connection, rows, true, columns), cards);

    ImportCheckResult result;
    result.rows.resize(rows.size());
    QHash<QByteArray, int> peopleAdded, cardsAdded;   // key -> the row that adds it
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ImportCheckRow& row = rows[i];
        ImportForecast& f = result.rows[i];
        const int nr = static_cast<int>(i + 1);
        f.hasCode = !row.cardCode.isEmpty();
        if (result.stopRow > 0) {
            f.kind = ImportForecast::NotReached;
            f.earlierRow = result.stopRow;
        } else if (!hasNames(row)) {
            f.kind = ImportForecast::NoNames;
        } else if (holdsLineBreak(row)) {
            f.kind = ImportForecast::LineBreak;
        } else if (tooLong(row.firstName, columns.firstName)) {
            f.kind = ImportForecast::NameTooLong;
            f.field = limit("imię dłuższe niż", columns.firstName.maxLength);
        } else if (tooLong(row.surname, columns.surname)) {
            f.kind = ImportForecast::NameTooLong;
            f.field = limit("nazwisko dłuższe niż", columns.surname.maxLength);
        } else if (people[i].known) {
            f.kind = ImportForecast::PersonExists;
        } else if (const auto earlier = peopleAdded.constFind(people[i].key); earlier != peopleAdded.cend()) {
            f.kind = ImportForecast::PersonRepeated;
            f.earlierRow = *earlier;
        } else {
            peopleAdded.insert(people[i].key, nr);
            if (!f.hasCode) {
                f.kind = ImportForecast::NewPerson;
            } else if (tooLong(row.cardCode, columns.code)) {
                f.kind = ImportForecast::CodeTooLong;
                f.field = limit("kod karty dłuższy niż", columns.code.maxLength);
            } else if (cards[i].known) {
                f.kind = ImportForecast::CardExists;
            } else if (const auto first = cardsAdded.constFind(cards[i].key); first != cardsAdded.cend()) {
                f.kind = ImportForecast::CardRepeated;
                f.earlierRow = *first;
            } else {
                cardsAdded.insert(cards[i].key, nr);
                f.kind = ImportForecast::NewPersonWithCard;
            }
        }
        if (f.kind == ImportForecast::NameTooLong || f.kind == ImportForecast::CodeTooLong)
            result.stopRow = nr;
    }
    return result;
}

std::vector<ImportCheckRow> rowsOf(const ImportFile& file)
{
    std::vector<ImportCheckRow> rows;
    rows.reserve(file.lines.size());
    for (const ImportLine& line : file.lines)
        rows.push_back(line.hasFields ? ImportCheckRow{line.firstName, line.surname, line.cardCode}
                                      : ImportCheckRow{});
    return rows;
}

}  // namespace ImportCheck
