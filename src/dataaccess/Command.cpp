#include "dataaccess/Command.h"

#include "dataaccess/Connection.h"
#include "dataaccess/Errors.h"

void Command::execute() { connection_.execute(statement()); }

// The connection counts found rows, so a row written with its own values counts too.
void Command::executeOnRow(const QString& row)
{
    if (connection_.execute(statement()) == 0)
        throw RowGoneError(row);
}
