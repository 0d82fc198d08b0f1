#pragma once

#include <QString>
#include <QStringList>

class Connection;

// A statement that returns no rows, built as text lines.
class Command {
public:
    Command(Connection& connection, const QString& name) : connection_(connection), name_(name) {}

    void clearLines() { lines_.clear(); }
    void addLine(const QString& line) { lines_.append(line); }
    const QStringList& lines() const { return lines_; }
    QString statement() const { return lines_.join(QLatin1Char('\n')); }
    const QString& name() const { return name_; }

    // Sends the lines as one statement; opens a closed connection first. Returns
    // the rows an UPDATE or DELETE found (found, not only changed).
    unsigned long long execute();

private:
    Connection& connection_;
    QString name_;
    QStringList lines_;
};
