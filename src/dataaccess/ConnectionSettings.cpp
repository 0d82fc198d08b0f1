#include "dataaccess/ConnectionSettings.h"

#include "dataaccess/Connection.h"

ConnectionSettings settingsOf(const Connection& connection)
{
    return {connection.server(), connection.login(), connection.password(), connection.database()};
}

void openConnection(Connection& connection, const ConnectionSettings& settings)
{
    connection.setServer(settings.server);
    connection.setLogin(settings.login);
    connection.setPassword(settings.password);
    connection.setDatabase(settings.database);
    // The server ends a session idle past its wait_timeout: such a one is
    // dropped here and opened afresh.
    if (!connection.closeIfDead())
        connection.open();
}
