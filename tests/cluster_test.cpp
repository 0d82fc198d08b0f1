// The program on a three-node Galera cluster (scripts/galera-cluster): a node lost
// at the moment that matters, and workstations on different nodes at once. The
// nodes are killed for real; every node's rows and counters are read afterwards.
#include "dataaccess/Errors.h"
#include "db/Change.h"
#include "db/TDataModule3.h"
#include "events/WatchRefresh.h"
#include "people/PeopleChanges.h"
#include "support/Cluster.h"
#include "support/ConnectionCut.h"
#include "support/TestDatabase.h"

#include <mysql.h>

#include <thread>

namespace {

// The test's database is made through node 1 and
// reaches the other nodes with the cluster; the program never uses node 1 here,
// so that the test's own connection outlives every loss.
class ClusterTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        if (!Cluster::available())
            GTEST_SKIP() << "no test cluster in this run";
        qputenv("VALDRIX_TEST_DB_ADDRESS", Cluster::address(1).toUtf8());
        DatabaseTest::SetUp();
    }
    // The people and the people counter as one node holds them.
    QString peopleOn(int node)
    {
        return Cluster::scalarOn(node, databaseName(), QStringLiteral("SELECT COUNT(*) FROM USERS")) + QLatin1Char('/')
               + Cluster::scalarOn(node, databaseName(), QStringLiteral("SELECT USERS FROM STATUS"));
    }
    void connect(TDataModule3& m, int firstNode)
    {
        configure(m.Quorvel);
        m.Quorvel.setServer(Cluster::serverStartingAt(firstNode));
        m.Quorvel.open();
        m.Status.open();
    }
};

TEST_F(ClusterTest, ANodeLostInsideTheBumpKeepsTheChangeNowhereAndTheRetryWorksOnTheNextNode)
{
    // The counter's update waits inside the unit, long enough to lose its node there.
    sql(ConnectionCut::slowDownUpdatesOf(QStringLiteral("STATUS"), 5));
    TDataModule3 m;
    connect(m, 2);
    ASSERT_EQ(m.Quorvel.connectedAddress(), Cluster::address(2));
    {
        NodeLoss loss(2, mysql_thread_id(m.Quorvel.handle()), QString::fromLatin1(ConnectionCut::SleepingInTrigger));
        EXPECT_THROW(PeopleChanges::AddUser(m, QStringLiteral("Jan"), QStringLiteral("Nowak"), QStringLiteral("1")),
                     DatabaseError);
        ASSERT_TRUE(loss.happened());
    }
    EXPECT_FALSE(m.Quorvel.isOpen());
    EXPECT_EQ(peopleOn(1), QStringLiteral("0/0"));
    EXPECT_EQ(peopleOn(3), QStringLiteral("0/0"));

    // "Connect" again reaches the node after the lost one, and the retry is kept once.
    sql(QStringLiteral("DROP TRIGGER slow_STATUS"));
    m.Quorvel.open();
    m.Status.open();
    EXPECT_EQ(m.Quorvel.connectedAddress(), Cluster::address(3));
    const Outcome added = PeopleChanges::AddUser(m, QStringLiteral("Jan"), QStringLiteral("Nowak"), QStringLiteral("1"));
    EXPECT_GT(added.id, 0) << added.notice.toStdString();
    EXPECT_EQ(peopleOn(1), QStringLiteral("1/1"));
    EXPECT_EQ(peopleOn(3), QStringLiteral("1/1"));

    Cluster::revive(2);
    EXPECT_EQ(peopleOn(2), QStringLiteral("1/1"));
}

TEST_F(ClusterTest, TheWatchGoesOnThroughTheNextNodeWhenItsNodeIsLost)
{
    std::vector<WatchReply> replies;
    WatchRefresh watch([&](WatchReply& reply) { replies.push_back(std::move(reply)); });
    WatchRequest request;
    request.settings = {Cluster::serverStartingAt(3), QStringLiteral("vqx"), QStringLiteral("vqx"), databaseName()};
    request.rowCount = 100;

    watch.start(request);
    watch.waitUntilIdle();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_TRUE(replies[0].error.isEmpty()) << replies[0].error.toStdString();

    // The watch's node dies between two refreshes: the next one is read through
    // the node after it, without a word to the operator.
    Cluster::kill(3);
    request.generation = 2;
    watch.start(request);
    watch.waitUntilIdle();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_TRUE(replies[1].error.isEmpty()) << replies[1].error.toStdString();
    ASSERT_TRUE(replies[1].count);
    MYSQL_ROW row = mysql_fetch_row(replies[1].count.get());
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row[0], "0");
    Cluster::revive(3);
}

TEST_F(ClusterTest, WorkstationsOnTwoNodesRaiseTheSameCountersExactly)
{
    constexpr int PerWorkstation = 25;
    struct Tally { int added = 0; int refused = 0; QStringList other; };
    Tally tallies[2];
    auto workstation = [&](int index, int node) {
        TDataModule3 m;
        connect(m, node);
        for (int i = 0; i < PerWorkstation; ++i) {
            try {
                const Outcome added = PeopleChanges::AddUser(
                    m, QStringLiteral("Osoba"), QStringLiteral("W%1-%2").arg(index).arg(i), QStringLiteral("1"));
                if (added.id > 0)
                    ++tallies[index].added;
                else
                    tallies[index].other << added.notice;
            } catch (const DatabaseError& error) {
                // Refused twice by the cluster: told truly, nothing written.
                if (error.message() == Change::ConflictText)
                    ++tallies[index].refused;
                else
                    tallies[index].other << error.message();
            }
        }
    };
    std::thread first(workstation, 0, 2), second(workstation, 1, 3);
    first.join();
    second.join();

    for (const Tally& tally : tallies)
        EXPECT_TRUE(tally.other.isEmpty()) << tally.other.join(QLatin1Char('\n')).toStdString();
    const int added = tallies[0].added + tallies[1].added;
    EXPECT_EQ(added + tallies[0].refused + tallies[1].refused, 2 * PerWorkstation);
    EXPECT_GT(added, PerWorkstation);
    const QString expected = QStringLiteral("%1/%1").arg(added);
    for (int node = 1; node <= 3; ++node)
        EXPECT_EQ(peopleOn(node), expected) << "node " << node;
}

}  // namespace
