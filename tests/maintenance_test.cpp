// The box "Baza danych" on the page "Ustawienia": the purge of rows marked deleted
// and the deletion of all events, against the real window and database.
#include "support/AppFixture.h"

#include "dataaccess/Connection.h"
#include "db/Maintenance.h"
#include "events/EventsPage.h"

#include <QProgressBar>
#include <QPushButton>

namespace {

const QString PurgeQuestion = QString::fromUtf8("Czy opróżnić bazę danych ze zdarzeń osób usuniętych?");
const QStringList DeleteQuestions = {QString::fromUtf8("Czy opróżnić bazę ze wszystkich zdarzeń ?"),
                                     QString::fromUtf8("Czy napewno! napewno! napewno! opróżnić bazę danych?")};

class MaintenanceTest : public AppTest {
protected:
    // Live person 1 with two events, deleted person 2 with three, deleted person 3
    // with none; a live and a deleted group, device and location.
    void SetUp() override
    {
        AppTest::SetUp();
        sql("INSERT INTO GROUPS (ID_GROUP, NAME, DEL) VALUES (2, 'Biuro', 0), (3, 'Stara', 1)");
        sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME, DEL) VALUES "
            "(1, 2, 'Jan', 'Kowalski', 0), (2, 1, 'Ewa', 'Lis', 1), (3, 1, 'Adam', 'Nowak', 1)");
        sql("INSERT INTO LOCALIZATION (ID, NAME, DEL) VALUES (1, 'Biuro', 0), (2, 'Magazyn', 1)");
        sql("INSERT INTO DEVICE (ID_DEVICE, NAME, ID_LOCALIZATION, DEL) VALUES (1, 'Brama', 1, 0), (2, 'Stare', 2, 1)");
        sql("INSERT INTO EVENTS (ID_USER, ID_DEVICE, TYPE, TIME) VALUES "
            "(1, 1, 1, NOW()), (2, 1, 1, NOW()), (2, 1, 2, NOW()), (1, 1, 2, NOW()), (2, 1, 1, NOW())");
    }
    // Clicks a maintenance button; the event page's refresh afterwards runs off
    // the GUI thread, and is waited for.
    void press(const char* button)
    {
        click(button);
        form->eventsPage()->waitForWatchRefresh();
    }
    QString counters() { return scalar("SELECT CONCAT_WS(',', USERS, `GROUPS`, CARDS, PERMISSIONS, "
                                       "PERMISSIONS_has_GROUPS, DEVICE, LOCALIZATION, EVENTS) FROM STATUS"); }
};

TEST_F(MaintenanceTest, PurgeRemovesTheRowsMarkedDeletedWithTheDeletedPeoplesEvents)
{
    startConnected();
    ASSERT_EQ(module->Events.rowCount(), 5);

    dialogs.questionAnswers.enqueue(false);
    press("Button24");
    EXPECT_EQ(dialogs.texts("question"), QStringList(PurgeQuestion));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 3);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM EVENTS"), 5);
    dialogs.clear();

    press("Button24");
    EXPECT_EQ(dialogs.shown, QStringList("question: " + PurgeQuestion));
    EXPECT_EQ(column("SELECT ID_USER FROM USERS"), QStringList("1"));
    EXPECT_EQ(column("SELECT ID_USER FROM EVENTS"), QStringList({"1", "1"}));
    EXPECT_EQ(column("SELECT ID_GROUP FROM `GROUPS` ORDER BY ID_GROUP"), QStringList({"1", "2"}));
    EXPECT_EQ(column("SELECT ID_DEVICE FROM DEVICE"), QStringList("1"));
    EXPECT_EQ(column("SELECT ID FROM LOCALIZATION"), QStringList("1"));
    EXPECT_EQ(counters(), "0,0,0,0,0,0,0,0");
    // "Filtruj" ran: the event view shows what is left.
    EXPECT_EQ(module->Events.rowCount(), 2);
}

TEST_F(MaintenanceTest, APurgeStatementThatFailsEndsThePurgeWithTheEarlierOnesDone)
{
    sql("CREATE TRIGGER GROUPS_LOCKED BEFORE DELETE ON `GROUPS` FOR EACH ROW "
        "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'grupy zablokowane'");
    startConnected();
    press("Button24");
    EXPECT_EQ(dialogs.errors(), QStringList("grupy zablokowane"));
    // The people and their events are gone for good; the rest is still only marked.
    EXPECT_EQ(column("SELECT ID_USER FROM USERS"), QStringList("1"));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM EVENTS"), 2);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM `GROUPS` WHERE DEL = 1"), 1);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM DEVICE WHERE DEL = 1"), 1);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM LOCALIZATION WHERE DEL = 1"), 1);
    // "Filtruj" did not run.
    EXPECT_EQ(module->Events.rowCount(), 5);
    EXPECT_FALSE(module->Quorvel.inTransaction());
}

TEST_F(MaintenanceTest, DeletingAllEventsAsksTwiceAndOnlyYesTwiceDeletes)
{
    startConnected();
    for (const QList<bool>& answers : {QList<bool>{false}, QList<bool>{true, false}}) {
        for (bool answer : answers)
            dialogs.questionAnswers.enqueue(answer);
        press("Button34");
        EXPECT_EQ(dialogs.texts("question"), DeleteQuestions.mid(0, answers.size()));
        EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM EVENTS"), 5);
        dialogs.clear();
    }
    press("Button34");
    EXPECT_EQ(dialogs.shown, QStringList({"question: " + DeleteQuestions[0], "question: " + DeleteQuestions[1]}));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM EVENTS"), 0);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 3);
    EXPECT_EQ(counters(), "0,0,0,0,0,0,0,0");
    EXPECT_EQ(module->Events.rowCount(), 0);
}

TEST_F(MaintenanceTest, WithoutAConnectionNothingIsAsked)
{
    createForm();
    press("Button24");
    press("Button34");
    connectDatabase();
    form->UNCONNECT1->trigger();
    press("Button24");
    press("Button34");
    expectNothingShown();
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM EVENTS"), 5);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 3);
}

// The event log goes in slices of the oldest events, counted for the progress
// bar, on a connection of its own; events of ids above the last one at the
// start (recorded meanwhile) stay.
TEST_F(MaintenanceTest, DeletingAllEventsGoesInCountedSlicesOnAConnectionOfItsOwn)
{
    sql("INSERT INTO EVENTS (ID_USER, ID_DEVICE, TYPE, TIME) SELECT 1, 1, 1, NOW() FROM seq_1_to_23000");
    Connection connection;
    configure(connection);
    std::vector<std::pair<qint64, qint64>> steps;
    Maintenance::DeleteAllEvents(connection, [&](qint64 done, qint64 total) { steps.emplace_back(done, total); });
    const std::vector<std::pair<qint64, qint64>> expected = {
        {0, 23005}, {10000, 23005}, {20000, 23005}, {23005, 23005}, {23005, 23005}};
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM EVENTS"), 0);

    std::vector<qint64> purgeSteps;
    Maintenance::PurgeDeletedRows(connection, [&](qint64 done, qint64 total) {
        EXPECT_EQ(total, 5);
        purgeSteps.push_back(done);
    });
    EXPECT_EQ(purgeSteps, std::vector<qint64>({0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(column("SELECT ID_USER FROM USERS"), QStringList("1"));

    // Through the window: the bar is gone and the buttons answer again afterwards.
    sql("INSERT INTO EVENTS (ID_USER, ID_DEVICE, TYPE, TIME) SELECT 1, 1, 1, NOW() FROM seq_1_to_12000");
    startConnected();
    press("Button34");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM EVENTS"), 0);
    EXPECT_EQ(module->Events.rowCount(), 0);
    auto* bar = form->findChild<QProgressBar*>("MaintenanceProgress");
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(bar->format(), QString::fromUtf8("usunięto 12000 z 12000 zdarzeń"));
    EXPECT_TRUE(find<QPushButton>("Button24")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("Button34")->isEnabled());
}

}  // namespace
