#include "dataaccess/Command.h"

#include "dataaccess/Connection.h"
#include "dataaccess/Errors.h"

unsigned long long Command::execute() { return connection_.execute(statement()); }
