#pragma once

#include <QString>

// The connection settings kept in Config.ini: the section, the four keys in the
// order of the settings fields, and the value each takes when the file lacks it.
namespace ConfigFile {

inline constexpr const char* Path = "./Config.ini";

// Where the window keeps Config.ini: the current folder (Path), unless the window
// was started from the desktop menu, whose starting folder is nobody's choice:
// then the user's configuration folder (~/.config/valdrix/Config.ini).
QString path();
// Makes the user's configuration folder the place of Config.ini, creating the
// folder; returns the file's path.
QString useUserFolder();
// The argument the desktop menu starts the window with.
inline constexpr const char* MenuArgument = "--from-menu";
inline constexpr const char* Section = "SERVER";

struct Key {
    const char* name;
    const char* defaultValue;
};
inline constexpr Key Keys[4] = {
    {"IP", "192.168.1.10"}, {"Login", "vqx"}, {"password", "vqx"}, {"DATABASE", "Quorvel"}};

// The settings fields' captions, in the same order.
inline constexpr const char* FieldLabels[4] = {"Adres serwera bazy danych", "Login", "Hasło",
                                               "Nazwa bazy"};

struct Settings {
    QString server, login, password, database;
};

// Reads the four settings as the window does at start, without writing the file.
Settings read(const QString& path = QString::fromLatin1(Path));

// Why the commands cannot take their connection from the file: it is missing,
// cannot be read, is no text file, or names no server address (the commands never
// fall back to a default address, as the window does). Empty when it can.
QString unusableBecause(const QString& path = QString::fromLatin1(Path));

// Why a value would not come back from the file as typed (a line break, a
// character Windows-1250 lacks, blanks at either end, more than 2047 characters),
// or an empty text.
QString unsavableBecause(const QString& value);

// Writes the four settings, all or none: a value the file cannot hold exactly is
// refused before anything is written, and the text naming its field returned
// (empty when written). Throws FileError when the file cannot be written.
QString write(const QString& path, const Settings& settings);

}  // namespace ConfigFile
