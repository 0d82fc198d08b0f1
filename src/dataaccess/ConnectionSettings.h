#pragma once

#include <QString>

class Connection;

// Where a connection goes: the four settings of Config.ini.
struct ConnectionSettings {
    QString server, login, password, database;

    bool operator==(const ConnectionSettings&) const = default;
};

// The settings a connection was given.
ConnectionSettings settingsOf(const Connection& connection);

// Points a connection at the settings and opens it, unless it is open there
// already and alive. Every connection the program opens besides the window's own
// (workers, tools) is opened here, from the configured server address.
void openConnection(Connection& connection, const ConnectionSettings& settings);
