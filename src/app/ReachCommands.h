#pragma once

#include <QStringList>
#include <cstdio>

// The commands "who", "where" and "cards": "Kto wejdzie", "Dokąd wejdzie" and the
// cards that need attention, in plain text, on the database of Config.ini in the
// current directory (read only). Exit status 0, or 2 with one line on err.
namespace ReachCommands {

int who(const QStringList& arguments, std::FILE* out, std::FILE* err);
int where(const QStringList& arguments, std::FILE* out, std::FILE* err);
int cards(const QStringList& arguments, std::FILE* out, std::FILE* err);

// The lines of these commands in "valdrix --help".
extern const char* const Usage;

}  // namespace ReachCommands
