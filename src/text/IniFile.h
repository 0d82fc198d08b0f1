#pragma once

#include "text/Errors.h"

#include <QString>

// Reading and writing single values of an INI file in Windows-1250. Section and
// key names are matched without regard to case; other sections, keys, comments
// and blank lines are kept as they are. The file is opened for each call.
namespace IniFile {
// The value, or the default when the file, the section or the key is missing.
// Blanks around the value are dropped; at most 2047 characters are read.
QString read(const QString& path, const QString& section, const QString& key,
             const QString& defaultValue);
// Writes key=value into the section, adding the key or section where missing.
// Throws FileError "Unable to write to <path>" when the file cannot be written.
void write(const QString& path, const QString& section, const QString& key, const QString& value);
}
