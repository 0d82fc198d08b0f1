#include "dataaccess/Command.h"

#include "dataaccess/Connection.h"

void Command::execute() { connection_.execute(statement()); }
