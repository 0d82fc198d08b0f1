// A server given as a list of addresses, and units the server refuses for a
// conflict with another session (error 1213), on the run's single server.
#include "dataaccess/Connection.h"
#include "dataaccess/Errors.h"
#include "db/Change.h"
#include "dataaccess/Transaction.h"
#include "db/TDataModule3.h"
#include "people/PeopleChanges.h"
#include "support/TestDatabase.h"

#include <mysql.h>

namespace {

class AddressListTest : public DatabaseTest {};

TEST_F(AddressListTest, ConnectsToTheFirstAddressThatAnswersAndNamesEveryRefusal)
{
    EXPECT_EQ(Connection::addresses(QStringLiteral("db1")), QStringList{QStringLiteral("db1")});
    EXPECT_EQ(Connection::addresses(QStringLiteral(" a , b,,c ")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));

    Connection connection;
    configure(connection);
    const QString live = testServerAddress(), dead = deadServerAddress();
    connection.setServer(dead + QStringLiteral(", ") + live);
    connection.open();
    EXPECT_EQ(connection.connectedAddress(), live);
    EXPECT_EQ(connection.execute(QStringLiteral("UPDATE STATUS SET USERS = USERS + 1")), 1u);

    // Every address refused: each one's reason, one line each.
    Connection nowhere;
    configure(nowhere);
    const QString otherDead = QStringLiteral("127.0.0.79");
    nowhere.setServer(dead + QLatin1Char(',') + otherDead);
    try {
        nowhere.open();
        FAIL() << "connected to no server";
    } catch (const DatabaseError& error) {
        const QStringList lines = error.message().split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2) << error.message().toStdString();
        EXPECT_TRUE(lines[0].startsWith(dead + QStringLiteral(": "))) << lines[0].toStdString();
        EXPECT_TRUE(lines[1].startsWith(otherDead + QStringLiteral(": "))) << lines[1].toStdString();
    }
    EXPECT_FALSE(nowhere.isOpen());
}

TEST_F(AddressListTest, ALostConnectionIsFollowedByTheNextAnsweringAddress)
{
    Connection connection;
    configure(connection);
    const QString live = testServerAddress(), dead = deadServerAddress();
    connection.setServer(live + QLatin1Char(',') + dead);
    connection.open();
    sql(QStringLiteral("KILL CONNECTION %1").arg(mysql_thread_id(connection.handle())));
    EXPECT_THROW(connection.execute(QStringLiteral("DO 1")), DatabaseError);
    EXPECT_FALSE(connection.isOpen());
    // The next node (dead) is tried first, then the list goes round to the live one.
    connection.open();
    EXPECT_EQ(connection.connectedAddress(), live);
}

// The server refuses the counter's update for a conflict as often as REFUSALS
// says (a table outside the unit, so that the count survives the rollback).
class ConflictTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        sql(QStringLiteral("CREATE TABLE REFUSALS (N INT NOT NULL) ENGINE=MyISAM"));
        sql(QStringLiteral("INSERT INTO REFUSALS VALUES (0)"));
        sql(QStringLiteral(
            "CREATE TRIGGER refuse_status BEFORE UPDATE ON STATUS FOR EACH ROW BEGIN "
            "IF (SELECT N FROM REFUSALS) > 0 THEN UPDATE REFUSALS SET N = N - 1; "
            "SIGNAL SQLSTATE '40001' SET MYSQL_ERRNO = 1213, MESSAGE_TEXT = 'Deadlock found'; "
            "END IF; END"));
        configure(m.Quorvel);
        m.Quorvel.open();
        m.Status.open();
    }
    void refuse(int times) { sql(QStringLiteral("UPDATE REFUSALS SET N = %1").arg(times)); }
    TDataModule3 m;
};

TEST_F(ConflictTest, OneRefusalRunsTheUnitAgainAndCountsOnce)
{
    refuse(1);
    const Outcome added = PeopleChanges::AddUser(m, QStringLiteral("Jan"), QStringLiteral("Nowak"),
                                                 QStringLiteral("1"));
    ASSERT_GT(added.id, 0) << added.notice.toStdString();
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 1);
    EXPECT_EQ(scalarInt("SELECT USERS FROM STATUS"), 1);
    EXPECT_EQ(scalarInt("SELECT N FROM REFUSALS"), 0);
    EXPECT_FALSE(m.Quorvel.inTransaction());
}

TEST_F(ConflictTest, ASecondRefusalIsReportedWithNothingWritten)
{
    refuse(2);
    try {
        PeopleChanges::AddUser(m, QStringLiteral("Jan"), QStringLiteral("Nowak"), QStringLiteral("1"));
        FAIL() << "a twice refused unit reported success";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.message(), Change::ConflictText);
        EXPECT_EQ(error.code(), Change::ConflictCode);
    }
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 0);
    EXPECT_EQ(scalarInt("SELECT USERS FROM STATUS"), 0);
    EXPECT_FALSE(m.Quorvel.inTransaction());

    // The operator's retry works.
    const Outcome added = PeopleChanges::AddUser(m, QStringLiteral("Jan"), QStringLiteral("Nowak"),
                                                 QStringLiteral("1"));
    EXPECT_GT(added.id, 0);
    EXPECT_EQ(scalarInt("SELECT USERS FROM STATUS"), 1);
}

TEST_F(ConflictTest, AnInnerChangeLeavesTheRetryToTheUnitItJoined)
{
    refuse(1);
    {
        Transaction outer(m.Quorvel);
        EXPECT_THROW(Change(m, QStringLiteral("Zmień")).run({QStringLiteral("UPDATE GROUPS SET NAME = NAME")}).bump(
                         QStringLiteral("GROUPS")),
                     DatabaseError);
    }
    EXPECT_EQ(scalarInt("SELECT `GROUPS` FROM STATUS"), 0);
    EXPECT_FALSE(m.Quorvel.inTransaction());
}

}  // namespace
