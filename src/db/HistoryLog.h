#pragma once

#include <QDate>
#include <QString>
#include <QList>
#include <QStringList>

#include <vector>

class Connection;
class Dataset;

// Reading the history of changes (table HISTORY): the filter of its page and of
// `valdrix history`, the page of rows, their count and the CSV export. Read only.
namespace HistoryLog {

// Empty fields filter nothing.
struct Filter {
    QDate since;        // from this day on (inclusive)
    QDate until;        // up to this day (inclusive)
    QString login;      // the database login, exactly
    QString table;      // the table name (USERS, CARDS, ...)
    int key = 0;        // the row's key in that table
    QString text;       // a part of what the row is: a name, a card code, a passage
    int personId = 0;   // the person's rows and those of their cards
    QList<int> personCards;   // those cards (see cardsOf), read before the statements
};

// The cards a person holds now, for Filter::personCards.
QList<int> cardsOf(Connection& connection, int personId);

// The kinds of rows the history knows: the table and its Polish name.
struct Kind {
    QString table;
    QString name;
};
const std::vector<Kind>& kinds();

// The statement parts; typed texts go through the connection's escaping.
QString where(const Connection& connection, const Filter& filter);
QString countStatement(const Connection& connection, const Filter& filter);
// Newest first: time, login, workstation user, host, action, kind, key, label,
// before, after.
QString pageStatement(const Connection& connection, const Filter& filter, long long offset, int count);

// The logins that made changes, for the operator filter.
QStringList logins(Connection& connection);

// Writes every row of a page statement's result as CSV (UTF-8 with its mark, ";"
// between fields, each field in double quotes, CR LF between lines); the file is
// replaced only when written whole, FileError otherwise.
void writeCsv(const Dataset& rows, const QString& fileName);

// One tab-separated line a row (tabs, line breaks and backslashes in a value
// written as \t, \n, \r and \\), for `valdrix history`.
QString tabLine(const Dataset& rows, int row);

}  // namespace HistoryLog
