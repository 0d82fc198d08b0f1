#include "dataaccess/Command.h"
#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"
#include "dataaccess/Errors.h"
#include "support/TestDatabase.h"

class DataAccessTest : public DatabaseTest {};

TEST_F(DataAccessTest, Smoke)
{
    Connection c;
    configure(c);
    Dataset d(c, "d");
    d.setStatement("select * from TYP order by ID");
    d.open();
    EXPECT_EQ(d.rowCount(), 4);
    EXPECT_EQ(d.text("name"), QString::fromUtf8("Wejście"));
}
