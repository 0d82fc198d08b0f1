#include "dataaccess/Transaction.h"

#include "dataaccess/Connection.h"

Transaction::Transaction(Connection& connection) : connection_(connection)
{
    connection_.beginTransaction();
}

Transaction::~Transaction()
{
    if (!done_)
        connection_.rollbackTransaction();
}

void Transaction::commit()
{
    done_ = true;
    connection_.commitTransaction();
}
