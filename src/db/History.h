#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class Connection;

// The history of changes: table HISTORY, one row for every row a change wrote,
// written by Change in the change's own unit. Nothing else of the database
// depends on it; without the table the program records nothing and works as
// before.
namespace History {

// The table's name and the statements that create it with the indexes its
// page needs (the page filters by time, operator, kind of row and text). Each
// statement is complete on its own and may run on a database that has the
// table already. Meant for the database check that adds missing tables.
extern const QString TableName;
QStringList createStatements();

// Whether the connection's database has the table.
bool tableExists(Connection& connection);

// The text an operator reads when the table is missing: that changes are not
// recorded and how to add the table.
extern const QString MissingTableText;

// One row of a table as the change saw it: each column's value as the server's
// text (null for NULL), and what the row is in words (a name, a card code).
struct RowImage {
    int key = 0;
    QJsonObject values;
    QString label;
};

// What a table's rows are called in the history: the key column, and the SQL
// expression (over the table's own columns) of their label. Empty key column
// for a table whose rows the history does not follow one by one.
struct TableInfo {
    QString keyColumn;
    QString label;
};
TableInfo tableInfo(const QString& table);

// The rows of `table` that `where` selects, with their labels; `lockClause`
// (" FOR UPDATE", " LOCK IN SHARE MODE" or empty) goes at the end.
std::vector<RowImage> readRows(Connection& connection, const QString& table, const QString& where,
                               const QString& lockClause);

// How many rows of `table` `where` selects.
long long countRows(Connection& connection, const QString& table, const QString& where);

// The changed columns of one row, before and after; a missing image (the row
// was added, or removed) gives null for that side and every column on the
// other. Both empty when nothing changed.
struct Difference {
    QString before;   // compact JSON, or a null QString for "no row"
    QString after;
    bool changed = false;
};
Difference difference(const std::optional<RowImage>& before, const std::optional<RowImage>& after);

// One history row to be written.
struct Entry {
    QString table;
    int key = 0;
    QString label;
    Difference values;
};

// Writes the entries as one statement: the server's time and login, this
// workstation's user and host, and the action (the text of the button).
void write(Connection& connection, const QString& action, const std::vector<Entry>& entries);

// The workstation's user and host names, as recorded.
QString workstationUser();
QString workstationHost();

}  // namespace History
