#pragma once

#include <QHash>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <stdexcept>

// The operator's tools without a window: plain text out, the database named by
// Config.ini in the current directory (read, never written, except by
// "db-check --fix", which creates indexes). Each returns the exit status:
// 0 success (for "check": the card opens the passage; for "db-check": all
// holds), 1 access denied (or something missing), 2 an error, told in one line
// on err.
class Connection;

namespace ToolCommands {

// Wrong or missing arguments; the text is the one line shown.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What every command shares (the reach commands too).
[[noreturn]] void usage(const QString& text);
void print(std::FILE* out, const QStringList& lines);
// Runs a command; any failure becomes one line on err and the status 2.
int guarded(const char* command, std::FILE* err, const std::function<int()>& body);
// "--name value" or "--name=value" pairs, each name at most once, only the known ones.
QHash<QString, QString> options(const QStringList& arguments, const QStringList& known);
int positiveNumber(const QString& option, const QString& text);
// The connection of Config.ini in the current directory, opened; a missing or
// unreadable file is an error: the commands never guess a server.
void connect(Connection& connection);

int check(const QStringList& arguments, std::FILE* out, std::FILE* err);
int cardCode(const QStringList& arguments, std::FILE* out, std::FILE* err);
int importCheck(const QStringList& arguments, std::FILE* out, std::FILE* err);
int dbCheck(const QStringList& arguments, std::FILE* out, std::FILE* err);
// The history of changes, newest first, one tab-separated line a row: time, login,
// workstation user, host, action, table, key, label, before, after.
int history(const QStringList& arguments, std::FILE* out, std::FILE* err);

}  // namespace ToolCommands
