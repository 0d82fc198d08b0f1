#pragma once

#include <QStringList>
#include <cstdio>
#include <stdexcept>

// The operator's tools without a window: plain text out, the database named by
// Config.ini in the current directory (read, never written, except by
// "db-check --fix", which creates indexes). Each returns the exit status:
// 0 success (for "check": the card opens the passage; for "db-check": all
// holds), 1 access denied (or something missing), 2 an error, told in one line
// on err.
namespace ToolCommands {

// Wrong or missing arguments; the text is the one line shown.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int check(const QStringList& arguments, std::FILE* out, std::FILE* err);
int cardCode(const QStringList& arguments, std::FILE* out, std::FILE* err);
int importCheck(const QStringList& arguments, std::FILE* out, std::FILE* err);
int dbCheck(const QStringList& arguments, std::FILE* out, std::FILE* err);
// The history of changes, newest first, one tab-separated line a row: time, login,
// workstation user, host, action, table, key, label, before, after.
int history(const QStringList& arguments, std::FILE* out, std::FILE* err);

}  // namespace ToolCommands
