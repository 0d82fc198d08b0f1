// The connection, datasets and command against a real server.
#include "dataaccess/Command.h"
#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"
#include "dataaccess/Errors.h"
#include "support/TestDatabase.h"

#include <QSignalSpy>

namespace {

class DataAccessTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        configure(connection);
        connection.beforeConnect = [this] { log << "before-connect"; };
        connection.afterConnect = [this] { log << "after-connect"; };
        connection.beforeDisconnect = [this] { log << "before-disconnect"; };
        connection.onError = [this](const QString& message) { log << "error: " + message; };
    }

    Connection connection;
    QStringList log;
};

TEST_F(DataAccessTest, RepeatedColumnNamesGetSuffixesAndAreFoundInAnyCase)
{
    sql("INSERT INTO USERS (ID_GROUP, FIRST_NAME, NAME) VALUES (1, 'Jan', 'Kowalski')");
    sql("INSERT INTO DEVICE (NAME) VALUES ('Brama')");
    sql("INSERT INTO EVENTS (ID_USER, ID_DEVICE, TYPE, TIME) VALUES (1, 1, 2, '2026-01-02 03:04:05')");
    Dataset events(connection, "Events");
    events.setStatement("select EVENTS.ID,USERS.FIRST_NAME,USERS.NAME,TYP.NAME,TIME,DEVICE.NAME\n"
                        "from EVENTS,USERS,DEVICE,TYP WHERE EVENTS.TYPE =TYP.ID AND\n"
                        "EVENTS.ID_USER =USERS.ID_USER AND EVENTS.ID_DEVICE = DEVICE.ID_DEVICE;");
    events.open();
    ASSERT_EQ(events.columnCount(), 6);
    EXPECT_EQ(events.column(2).name, "NAME");
    EXPECT_EQ(events.column(3).name, "NAME_1");
    EXPECT_EQ(events.column(5).name, "NAME_2");
    EXPECT_EQ(events.text("name"), "Kowalski");
    EXPECT_EQ(events.text("Name_1"), QString::fromUtf8("Wyjście"));
    EXPECT_EQ(events.text("NAME_2"), "Brama");
    EXPECT_EQ(events.text("time"), "2026-01-02 03:04:05");
    EXPECT_EQ(events.column(3).baseTable, "TYP");
    EXPECT_THROW(events.text("NAME_3"), DataError);

    // An alias that collides with a suffixed name does not shadow it.
    Dataset odd(connection, "odd");
    odd.setStatement("SELECT 1 AS A, 2 AS A_1, 3 AS A");
    odd.open();
    EXPECT_EQ(odd.integer("A"), 1);
    EXPECT_EQ(odd.integer("A_1"), 2);
    EXPECT_EQ(odd.integer("a_2"), 3);
    EXPECT_EQ(odd.integerAt(2), 3);
}

TEST_F(DataAccessTest, NullsAndMissingRowsReadAsEmptyAndZero)
{
    Dataset d(connection, "d");
    d.setStatement("SELECT NULL AS T, CAST(NULL AS SIGNED) AS N, '' AS E");
    d.open();
    EXPECT_EQ(d.text("T"), "");
    EXPECT_EQ(d.integer("N"), 0);
    EXPECT_TRUE(d.isNull("T"));
    EXPECT_FALSE(d.isNull("E"));

    Dataset empty(connection, "empty");
    empty.setStatement("SELECT * FROM PERMISSIONS WHERE ID_PERMISSIONS = '0'");
    empty.open();
    EXPECT_TRUE(empty.eof());
    EXPECT_EQ(empty.recordNo(), 0);
    EXPECT_EQ(empty.text("D1"), "");
    EXPECT_EQ(empty.integer("ID_PERMISSIONS"), 0);
    EXPECT_THROW(empty.text("D8"), DataError);
}

TEST_F(DataAccessTest, IntegerConversion)
{
    Dataset d(connection, "d");
    d.setStatement("SELECT '12' AS A, '-2147483648' AS B, '' AS C, 'abc' AS D, '2147483648' AS E,"
                   " '1.5' AS F, ' 7' AS G, COUNT(*) AS H FROM TYP");
    d.open();
    EXPECT_EQ(d.integer("A"), 12);
    EXPECT_EQ(d.integer("B"), -2147483647 - 1);
    EXPECT_EQ(d.integer("H"), 4);
    for (const char* bad : {"C", "D", "E", "F", "G"}) {
        try {
            d.integer(bad);
            ADD_FAILURE() << bad << " was read as an integer";
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' is not a valid integer value").arg(d.text(bad)));
        }
    }
}

TEST_F(DataAccessTest, NavigationAndRecordNumbers)
{
    sql("INSERT INTO GROUPS (NAME) VALUES ('b'), ('c'), ('d'), ('e')");
    Dataset g(connection, "Groups");
    g.setStatement("SELECT * FROM GROUPS ORDER BY ID_GROUP");
    EXPECT_THROW(g.first(), DataError);
    g.open();
    EXPECT_EQ(g.recordNo(), 1);
    QStringList names;
    for (g.first(); !g.eof(); g.next())
        names << g.text("NAME");
    EXPECT_EQ(names, QStringList({QString::fromUtf8("Domyślna"), "b", "c", "d", "e"}));
    EXPECT_EQ(g.recordNo(), 5);   // the walk leaves the last row current
    EXPECT_EQ(g.text("NAME"), "e");

    g.setRecordNo(3);
    EXPECT_EQ(g.text("NAME"), "c");
    // Keeping the position around a re-execute: same place, not the same row.
    sql("DELETE FROM GROUPS WHERE NAME = 'b'");
    const int kept = g.recordNo();
    g.reexecute();
    EXPECT_EQ(g.recordNo(), 1);
    g.setRecordNo(kept);
    EXPECT_EQ(g.text("NAME"), "d");
    g.setRecordNo(99);
    EXPECT_EQ(g.text("NAME"), "e");
    g.setRecordNo(0);
    EXPECT_EQ(g.recordNo(), 1);
}

TEST_F(DataAccessTest, OpenKeepsRowsReexecuteAndRefreshReadAgain)
{
    Dataset g(connection, "Groups");
    g.setStatement("SELECT * FROM GROUPS ORDER BY ID_GROUP");
    QSignalSpy resets(&g, &Dataset::reset);
    g.open();
    sql("INSERT INTO GROUPS (NAME) VALUES ('b'), ('c')");
    g.open();   // already open: nothing is read again
    EXPECT_EQ(g.rowCount(), 1);
    g.reexecute();
    EXPECT_EQ(g.rowCount(), 3);
    g.setRecordNo(3);
    sql("INSERT INTO GROUPS (NAME) VALUES ('d')");
    g.refresh();
    EXPECT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.recordNo(), 3);
    EXPECT_EQ(resets.count(), 3);

    // A failing re-execute leaves the rows in view.
    g.setStatement("SELECT * FROM NO_SUCH_TABLE");
    EXPECT_THROW(g.reexecute(), DatabaseError);
    EXPECT_TRUE(g.isOpen());
    EXPECT_EQ(g.rowCount(), 4);

    g.close();
    EXPECT_FALSE(g.isOpen());
    EXPECT_THROW(g.text("NAME"), DataError);
}

TEST_F(DataAccessTest, ClosedConnectionIsOpenedByDatasetAndCommand)
{
    Dataset d(connection, "d");
    d.setStatement("SELECT COUNT(*) FROM TYP");
    d.open();
    EXPECT_TRUE(connection.isOpen());
    EXPECT_EQ(d.integerAt(0), 4);
    EXPECT_EQ(log, QStringList({"before-connect", "after-connect"}));

    connection.close();
    EXPECT_FALSE(d.isOpen());   // closing the connection closes its datasets
    Command c(connection, "MyCommand1");
    c.addLine("INSERT INTO GROUPS (NAME)");
    c.addLine("VALUES ('z');");
    c.execute();
    EXPECT_TRUE(connection.isOpen());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM GROUPS WHERE NAME = 'z'"), "1");

    // A failed connect reaches the error handler and then the caller.
    Connection dead;
    dead.setServer(deadServerAddress());
    QStringList deadLog;
    dead.beforeConnect = [&] { deadLog << "before-connect"; };
    dead.onError = [&](const QString&) { deadLog << "error"; };
    Dataset nowhere(dead, "nowhere");
    nowhere.setStatement("SELECT 1");
    EXPECT_THROW(nowhere.open(), DatabaseError);
    EXPECT_EQ(deadLog, QStringList({"before-connect", "error"}));
    EXPECT_FALSE(dead.isOpen());
}

TEST_F(DataAccessTest, ChangedCredentialsCloseAndChangedDatabaseSwitches)
{
    Dataset d(connection, "d");
    d.setStatement("SELECT DATABASE()");
    d.open();
    log.clear();

    connection.setServer(connection.server());
    connection.setLogin("vqx");
    connection.setPassword("vqx");
    connection.setDatabase(databaseName());
    EXPECT_TRUE(connection.isOpen());
    EXPECT_TRUE(log.isEmpty());

    const QString other = createExtraDatabase();
    connection.setDatabase(other);
    EXPECT_TRUE(connection.isOpen());
    EXPECT_TRUE(d.isOpen());
    EXPECT_EQ(d.textAt(0), databaseName());   // rows already read stay
    d.reexecute();
    EXPECT_EQ(d.textAt(0), other);

    // A database that does not exist: the error handler runs, the switch is not kept.
    EXPECT_THROW(connection.setDatabase("no_such_db"), DatabaseError);
    EXPECT_TRUE(log.last().startsWith("error: "));
    EXPECT_EQ(connection.database(), other);
    EXPECT_TRUE(connection.isOpen());

    log.clear();
    connection.setPassword("changed");
    EXPECT_FALSE(connection.isOpen());
    EXPECT_FALSE(d.isOpen());
    EXPECT_EQ(log, QStringList({"before-disconnect"}));
    EXPECT_THROW(d.open(), DatabaseError);   // wrong password
    EXPECT_EQ(log.last().left(7), "error: ");
}

TEST_F(DataAccessTest, RejectedStatementReachesErrorHandlerFirst)
{
    Command c(connection, "MyCommand1");
    c.addLine("INSERT INTO NO_SUCH_TABLE VALUES (1)");
    try {
        c.execute();
        FAIL() << "no error";
    } catch (const DatabaseError& e) {
        ASSERT_FALSE(log.isEmpty());
        EXPECT_EQ(log.last(), "error: " + e.message());
        EXPECT_TRUE(e.message().contains("NO_SUCH_TABLE"));
    }
    EXPECT_TRUE(connection.isOpen());   // a rejected statement keeps the connection

    // Strict mode: an empty text for an integer column is refused.
    c.clearLines();
    c.addLine("UPDATE USERS SET ID_GROUP = '' WHERE ID_USER = 1");
    sql("INSERT INTO USERS (NAME) VALUES ('x')");
    EXPECT_THROW(c.execute(), DatabaseError);

    // Two statements in one text are refused, not run.
    c.clearLines();
    c.addLine("DELETE FROM TYP; DELETE FROM GROUPS");
    EXPECT_THROW(c.execute(), DatabaseError);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM TYP"), "4");
}

TEST_F(DataAccessTest, LostConnectionClosesItSoThatConnectStartsAfresh)
{
    Dataset d(connection, "d");
    d.setStatement("SELECT CONNECTION_ID()");
    d.open();
    sql("KILL " + d.textAt(0));
    log.clear();
    EXPECT_THROW(d.reexecute(), DatabaseError);
    EXPECT_FALSE(connection.isOpen());
    EXPECT_TRUE(log.last().startsWith("error: "));
    d.open();
    EXPECT_TRUE(connection.isOpen());
}

TEST_F(DataAccessTest, TypedValuesAreStoredExactly)
{
    const QString tricky = QString::fromUtf8("O'Brien \\ \"x\"; DROP TABLE TYP; -- ")
                           + QChar(0) + QString::fromUtf8(" zażółć gęślą jaźń ŁÓDŹ\r\n\x1a");
    for (bool connectedFirst : {false, true}) {
        if (connectedFirst)
            connection.open();
        Command c(connection, "MyCommand1");
        c.addLine("INSERT INTO GROUPS (NAME)VALUES ");
        c.addLine("('" + connection.escape(tricky) + "');");
        c.execute();
    }
    Dataset d(connection, "d");
    d.setStatement("SELECT NAME FROM GROUPS WHERE NAME = '" + connection.escape(tricky) + "'");
    d.open();
    ASSERT_EQ(d.rowCount(), 2);
    EXPECT_EQ(d.text("NAME"), tricky);
    d.next();
    EXPECT_EQ(d.text("NAME"), tricky);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM TYP"), "4");
}

TEST_F(DataAccessTest, TableDatasetPostsChangedColumnOfCurrentRow)
{
    Dataset status(connection, "Status");
    status.setTable("STATUS");
    status.open();
    status.edit();
    status.setInteger("cards", 41);
    status.post();
    EXPECT_EQ(status.integer("CARDS"), 41);
    EXPECT_EQ(scalar("SELECT CONCAT_WS(',', USERS, GROUPS, CARDS, EVENTS) FROM STATUS"), "0,0,41,0");

    // Tables with a key are written by the row's key.
    Dataset groups(connection, "Groups");
    groups.setTable("GROUPS");
    sql("INSERT INTO GROUPS (NAME) VALUES ('b')");
    groups.open();
    while (groups.text("NAME") != "b")
        groups.next();
    groups.edit();
    groups.setText("NAME", "it's");
    groups.post();
    EXPECT_EQ(scalar("SELECT NAME FROM GROUPS WHERE ID_GROUP = 2"), "it's");
    EXPECT_EQ(scalar("SELECT NAME FROM GROUPS WHERE ID_GROUP = 1"), QString::fromUtf8("Domyślna"));

    Dataset query(connection, "q");
    query.setStatement("SELECT * FROM STATUS");
    query.open();
    EXPECT_THROW(query.edit(), DataError);
}

// Editable grids write a typed cell to its base table by that table's key.
TEST_F(DataAccessTest, WriteCellUpdatesTheBaseColumnByTheRowsKey)
{
    sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro')");
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES (7, 2, 'Jan', 'A'), (8, 2, 'Ewa', 'B')");
    sql("INSERT INTO CARDS (ID_CARD, ID_USER_FK, CODE, KARENCJA_OD) VALUES (3, 8, 'C', '2024-01-01')");
    // The server sorts this join through a temporary table, which drops the key
    // flags from the column descriptions: the keys are then asked of the tables.
    Dataset list(connection, "list");
    list.setStatement("SELECT USERS.ID_USER, USERS.NAME, GROUPS.NAME, CARDS.ID_CARD, CARDS.KARENCJA_OD,\n"
                      "(SELECT 1) AS ONE FROM USERS JOIN GROUPS ON GROUPS.ID_GROUP = USERS.ID_GROUP\n"
                      "LEFT JOIN CARDS ON CARDS.ID_USER_FK = USERS.ID_USER ORDER BY USERS.ID_USER");
    list.open();
    list.setRecordNo(2);

    const QString typed = QString::fromUtf8("Ż'ółw \\ %; --");
    list.writeCell(1, list.columnIndex("NAME"), typed);
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(NAME ORDER BY ID_USER SEPARATOR '|') FROM USERS"), "A|" + typed);
    EXPECT_EQ(list.text("NAME"), typed);   // read again, on the same record
    EXPECT_EQ(list.recordNo(), 2);

    // The card's own key picks the card; an empty date is NULL.
    list.writeCell(1, list.columnIndex("KARENCJA_OD"), "");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM CARDS WHERE KARENCJA_OD IS NULL"), "1");

    // A refused value changes nothing and reaches the error handler first.
    log.clear();
    EXPECT_THROW(list.writeCell(1, list.columnIndex("KARENCJA_OD"), "2019-02-30"), DatabaseError);
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log.first().contains("2019-02-30")) << log.first().toStdString();
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM CARDS WHERE KARENCJA_OD IS NULL"), "1");

    // No key of the group in the result, a computed column, a row without a card.
    EXPECT_THROW(list.writeCell(0, list.columnIndex("NAME_1"), "x"), DataError);
    EXPECT_THROW(list.writeCell(0, list.columnIndex("ONE"), "2"), DataError);
    EXPECT_THROW(list.writeCell(0, list.columnIndex("KARENCJA_OD"), "2020-01-01"), DataError);
    EXPECT_EQ(scalar("SELECT NAME FROM GROUPS WHERE ID_GROUP = 2"), "Biuro");

    // A row another client deleted meanwhile: nothing is written, the error says
    // so, and the rows are read again.
    sql("DELETE FROM USERS WHERE NAME = 'A'");
    EXPECT_THROW(list.writeCell(0, list.columnIndex("NAME"), "B"), RowGoneError);
    EXPECT_EQ(list.rowCount(), 1);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS WHERE NAME = 'B'"), 0);
}

}  // namespace
