#pragma once

#include <QString>

// The connection settings kept in Config.ini: the section, the four keys in the
// order of the settings fields, and the value each takes when the file lacks it.
namespace ConfigFile {

inline constexpr const char* Path = "./Config.ini";
inline constexpr const char* Section = "SERVER";

struct Key {
    const char* name;
    const char* defaultValue;
};
inline constexpr Key Keys[4] = {
    {"IP", "192.168.1.10"}, {"Login", "vqx"}, {"password", "vqx"}, {"DATABASE", "Quorvel"}};

struct Settings {
    QString server, login, password, database;
};

// Reads the four settings as the window does at start, without writing the file.
Settings read(const QString& path = QString::fromLatin1(Path));

}  // namespace ConfigFile
