// The data module: its statements against the schema, and the change counters.
#include "dataaccess/Errors.h"
#include "db/TDataModule3.h"
#include "support/TestDatabase.h"

#include <QSignalSpy>

#include <thread>

namespace {

class DataModuleTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        configure(module.Quorvel);
    }
    void openStatus()
    {
        module.Quorvel.open();
        module.Status.open();
    }
    TDataModule3 module;
};

TEST_F(DataModuleTest, EveryDatasetOpensOnTheSchemaAndStartsClosed)
{
    for (Dataset* d : {&module.Device, &module.Events, &module.Users, &module.Groups,
                       &module.Szablony, &module.LOCALIZATION, &module.Status})
        EXPECT_FALSE(d->isOpen()) << d->name().toStdString();
    EXPECT_FALSE(module.Quorvel.isOpen());

    sql("INSERT INTO LOCALIZATION (NAME) VALUES ('Hala')");
    sql("INSERT INTO DEVICE (NAME, ID_LOCALIZATION) VALUES ('Brama', 1), ('Furtka', 7)");
    sql("INSERT INTO USERS (ID_GROUP, FIRST_NAME, NAME) VALUES (1, 'Ala', 'Nowak')");
    sql("INSERT INTO CARDS (ID_USER_FK, CODE) VALUES (1, 'A'), (1, 'B')");
    sql("INSERT INTO EVENTS (ID_USER, ID_DEVICE, TYPE, TIME, HEAD) VALUES (1, 1, 1, NOW(), 'A')");
    for (Dataset* d : {&module.Device, &module.Events, &module.Users, &module.Groups,
                       &module.Szablony, &module.LOCALIZATION, &module.Status})
        EXPECT_NO_THROW(d->open()) << d->name().toStdString();

    // A device whose location is gone sorts first, with no location.
    EXPECT_EQ(module.Device.text("Name"), "Furtka");
    EXPECT_EQ(module.Device.text("LOKALIZACJA"), "");
    module.Device.next();
    EXPECT_EQ(module.Device.text("LOKALIZACJA"), "Hala");
    EXPECT_EQ(module.Device.integer("LOK_ID"), 1);
    EXPECT_EQ(module.Users.text("NAME_1"), QString::fromUtf8("Domyślna"));
    EXPECT_EQ(module.Users.integer("CARDS"), 2);
    EXPECT_EQ(module.Groups.integer("USER"), 1);
    EXPECT_EQ(module.Events.text("NAME_1"), QString::fromUtf8("Wejście"));
    EXPECT_EQ(module.Events.text("NAME_2"), "Brama");
    EXPECT_EQ(module.Events.text("HEAD"), "A");
}

TEST_F(DataModuleTest, HandlersWriteTheStatusTexts)
{
    QSignalSpy texts(&module, &TDataModule3::statusTextChanged);
    module.Quorvel.open();
    module.Quorvel.close();
    module.Quorvel.setServer(deadServerAddress());
    EXPECT_THROW(module.Quorvel.open(), DatabaseError);
    QStringList seen;
    for (const auto& args : texts)
        seen << args.at(0).toString();
    EXPECT_EQ(seen, QStringList({TDataModule3::ConnectingText, TDataModule3::ConnectedText,
                                 TDataModule3::DisconnectedText, TDataModule3::ConnectingText,
                                 TDataModule3::ProblemText}));
}

TEST_F(DataModuleTest, BumpRaisesTheCounterOnTheServer)
{
    sql("UPDATE STATUS SET USERS = 7, CARDS = -1, DEVICE = NULL");
    openStatus();
    module.BumpStatusCounter("USERS");
    EXPECT_EQ(scalarInt("SELECT USERS FROM STATUS"), 8);
    for (int i = 0; i < 3; ++i)
        module.BumpStatusCounter("CARDS");
    EXPECT_EQ(scalarInt("SELECT CARDS FROM STATUS"), -1);
    module.BumpStatusCounter("DEVICE");
    EXPECT_EQ(scalarInt("SELECT DEVICE FROM STATUS"), 1);
    EXPECT_EQ(scalar("SELECT CONCAT_WS(',', GROUPS, PERMISSIONS, EVENTS) FROM STATUS"), "0,0,0");

    // A bump made elsewhere since our last read is not lost.
    sql("UPDATE STATUS SET USERS = 20");
    module.BumpStatusCounter("USERS");
    EXPECT_EQ(scalarInt("SELECT USERS FROM STATUS"), 21);
    // Nor is a counter that went negative elsewhere raised.
    sql("UPDATE STATUS SET GROUPS = -5");
    module.BumpStatusCounter("GROUPS");
    EXPECT_EQ(scalarInt("SELECT GROUPS FROM STATUS"), -5);

    EXPECT_THROW(module.BumpStatusCounter("NO_SUCH_COUNTER"), DataError);
}

TEST_F(DataModuleTest, BumpWithoutConnectionOrStatusTable)
{
    module.BumpStatusCounter("DEVICE");
    EXPECT_FALSE(module.Quorvel.isOpen());
    EXPECT_EQ(scalarInt("SELECT DEVICE FROM STATUS"), 0);

    // Connected, but STATUS could not be opened: the bump fails like a statement.
    sql("DROP TABLE STATUS");
    module.Quorvel.open();
    EXPECT_THROW(module.Status.open(), DatabaseError);
    EXPECT_THROW(module.BumpStatusCounter("DEVICE"), DataError);
}

TEST_F(DataModuleTest, TwoClientsBumpingAtOnceLoseNothing)
{
    openStatus();
    std::thread second([this] {
        TDataModule3 other;
        configure(other.Quorvel);
        other.Status.open();
        for (int i = 0; i < 500; ++i)
            other.BumpStatusCounter("PERMISSIONS_has_GROUPS");
    });
    for (int i = 0; i < 500; ++i)
        module.BumpStatusCounter("PERMISSIONS_has_GROUPS");
    second.join();
    EXPECT_EQ(scalarInt("SELECT PERMISSIONS_has_GROUPS FROM STATUS"), 1000);
}

}  // namespace
