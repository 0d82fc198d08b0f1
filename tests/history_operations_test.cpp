// The history of changes and the rows a change points at, on the operations
// alone: each kind of change leaves exactly its history rows in its own unit; a
// change into a row another client removed writes nothing and says which row.
#include "access/GroupChanges.h"
#include "access/PermissionChanges.h"
#include "access/TemplateChanges.h"
#include "dataaccess/Errors.h"
#include "db/Change.h"
#include "db/History.h"
#include "db/HistoryLog.h"
#include "db/Lookups.h"
#include "db/Maintenance.h"
#include "db/TDataModule3.h"
#include "devices/DeviceChanges.h"
#include "devices/KeptRow.h"
#include "devices/LocationChanges.h"
#include "import/ImportRows.h"
#include "people/CardChanges.h"
#include "people/PeopleChanges.h"
#include "support/ConnectionCut.h"
#include "support/TestDatabase.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <mysql.h>

namespace {

class HistoryTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        configure(m.Quorvel);
        m.Quorvel.open();
        m.Status.open();
        m.Users.open();
        m.Groups.open();
        m.Szablony.open();
        m.Device.open();
        m.LOCALIZATION.open();
    }
    long long counter(const char* column)
    {
        return scalarInt(QStringLiteral("SELECT `%1` FROM STATUS").arg(QString::fromLatin1(column)));
    }
    // The history rows written since the last call: "action | table key | before | after".
    QStringList recorded()
    {
        const QStringList rows = column(QStringLiteral(
            "SELECT CONCAT_WS(' | ', ACTION, CONCAT(TABLE_NAME, ' ', ROW_KEY), IFNULL(BEFORE_VALUES, '-'), "
            "IFNULL(AFTER_VALUES, '-')) FROM HISTORY WHERE ID > %1 ORDER BY ID")
                                            .arg(seen_));
        seen_ = scalarInt("SELECT IFNULL(MAX(ID), 0) FROM HISTORY");
        return rows;
    }
    QJsonObject json(const QString& query) { return QJsonDocument::fromJson(scalar(query).toUtf8()).object(); }

    TDataModule3 m;
    Lookups lookups;
    long long seen_ = 0;
};

const AddOptions quiet = [] {
    AddOptions o;
    o.reloadLists = false;
    return o;
}();

TEST_F(HistoryTest, PeopleAndCardChangesLeaveExactlyTheirRows)
{
    const int ala = PeopleChanges::AddUser(m, "Ala", "Nowak", "1").id;
    ASSERT_GT(ala, 0);
    EXPECT_EQ(recorded(), QStringList({QStringLiteral("Dodaj uzytkownika | USERS %1 | - | "
                                                      "{\"DEL\":\"0\",\"FIRST_NAME\":\"Ala\",\"ID_GROUP\":\"1\","
                                                      "\"ID_USER\":\"%1\",\"NAME\":\"Nowak\"}")
                                           .arg(ala)}));
    // Who and when: the server's login and time, this workstation.
    EXPECT_EQ(scalar("SELECT LOGIN FROM HISTORY"), m.Quorvel.login());
    EXPECT_EQ(scalar("SELECT HOST FROM HISTORY"), History::workstationHost());
    EXPECT_EQ(scalarInt("SELECT TIMESTAMPDIFF(SECOND, TIME, NOW()) < 60 FROM HISTORY"), 1);
    EXPECT_EQ(scalar("SELECT LABEL FROM HISTORY"), "Ala Nowak");

    const int card = CardChanges::AddCard(m, "00000000AA", "", "1", "2010-01-01", "2030-12-31", ala, quiet).id;
    EXPECT_EQ(recorded(), QStringList({QStringLiteral("Dodaj kartę | CARDS %1 | - | {\"CODE\":\"00000000AA\","
                                                      "\"ID_CARD\":\"%1\",\"ID_USER_FK\":\"%2\",\"KARENCJA_DO\":"
                                                      "\"2030-12-31\",\"KARENCJA_OD\":\"2010-01-01\",\"PRINT\":\"\","
                                                      "\"TYPE\":\"1\"}")
                                           .arg(card)
                                           .arg(ala)}));
    EXPECT_EQ(scalar("SELECT LABEL FROM HISTORY ORDER BY ID DESC LIMIT 1"), "00000000AA Ala Nowak");

    m.Users.first();
    EXPECT_EQ(PeopleChanges::ChangeUser(m, ala, "Alicja", "Nowak", "1"), QString());
    EXPECT_EQ(recorded(), QStringList({QStringLiteral("Zmień | USERS %1 | {\"FIRST_NAME\":\"Ala\"} | "
                                                      "{\"FIRST_NAME\":\"Alicja\"}")
                                           .arg(ala)}));

    CardChanges::OverwriteCard(m, card, "Nadruk", "2011-01-01", "2030-12-31", CardView::None);
    CardChanges::TakeCard(m, card, CardView::None);
    CardChanges::GiveCard(m, ala, card, CardView::None);
    EXPECT_EQ(recorded(),
              QStringList({QStringLiteral("Nadpisz dane karty | CARDS %1 | {\"KARENCJA_OD\":\"2010-01-01\",\"PRINT\":\"\"} | "
                                          "{\"KARENCJA_OD\":\"2011-01-01\",\"PRINT\":\"Nadruk\"}")
                               .arg(card),
                           QStringLiteral("Odbierz kartę użytkownikowi | CARDS %1 | {\"ID_USER_FK\":\"%2\"} | "
                                          "{\"ID_USER_FK\":\"0\"}")
                               .arg(card)
                               .arg(ala),
                           QStringLiteral("Przypisz do uzytkownika | CARDS %1 | {\"ID_USER_FK\":\"0\"} | "
                                          "{\"ID_USER_FK\":\"%2\"}")
                               .arg(card)
                               .arg(ala)}));

    // A deletion frees the cards first, then marks the person: one row each.
    PeopleChanges::DeleteUser(m, ala, CardView::None);
    EXPECT_EQ(recorded(), QStringList({QStringLiteral("Usuń użytkownika | CARDS %1 | {\"ID_USER_FK\":\"%2\"} | "
                                                      "{\"ID_USER_FK\":\"0\"}")
                                           .arg(card)
                                           .arg(ala),
                                       QStringLiteral("Usuń użytkownika | USERS %1 | {\"DEL\":\"0\"} | {\"DEL\":\"1\"}")
                                           .arg(ala)}));
    PeopleChanges::RestoreUser(m, ala);
    EXPECT_EQ(recorded(), QStringList({QStringLiteral("Przywróć użytkownika | USERS %1 | {\"DEL\":\"1\"} | "
                                                      "{\"DEL\":\"0\"}")
                                           .arg(ala)}));

    CardChanges::AddCard(m, "00000000BB", "", "1", "2010-01-01", "2030-12-31", 0, quiet);
    recorded();
    CardChanges::DeleteCard(m, card, CardView::None);
    CardChanges::DeleteCardsWithoutOwner(m, CardView::None);
    const QStringList removed = recorded();
    ASSERT_EQ(removed.size(), 2);
    EXPECT_TRUE(removed[0].startsWith(QStringLiteral("Usuń kartę z systemu | CARDS %1 | {").arg(card)));
    EXPECT_TRUE(removed[0].endsWith(" | -"));
    EXPECT_TRUE(removed[1].startsWith("Usuń wszystkie nieprzypisane karty | CARDS "));
    EXPECT_TRUE(removed[1].contains("\"CODE\":\"00000000BB\""));

    // A change that changes nothing records nothing.
    CardChanges::GiveCard(m, 0, 0, CardView::None);
    EXPECT_EQ(recorded(), QStringList());
}

TEST_F(HistoryTest, GroupTemplatePermissionDeviceAndLocationChangesLeaveExactlyTheirRows)
{
    GroupChanges::AddGroup(m, lookups, "Magazyn");
    TemplateChanges::AddTemplate(m, lookups, "Biuro", {"08:00:16:00", "", "", "", "", "", ""});
    KeptRow device(m.Device, "ID_DEVICE"), location(m.LOCALIZATION, "ID");
    DeviceSettings d;
    d.factory = "F1";
    d.name = "Brama";
    DeviceChanges::AddDevice(m, lookups, d, device);
    LocationSettings l;
    l.name = "Hala";
    LocationChanges::AddLocation(m, lookups, l, location);
    QStringList added = recorded();
    ASSERT_EQ(added.size(), 4);
    EXPECT_TRUE(added[0].startsWith("Dodaj grupę | GROUPS 2 | - | {"));
    EXPECT_TRUE(added[1].startsWith("Dodaj szablon | PERMISSIONS 1 | - | {"));
    EXPECT_TRUE(added[2].startsWith("Dodaj | DEVICE 1 | - | {"));
    EXPECT_TRUE(added[3].startsWith("Dodaj | LOCALIZATION 1 | - | {"));

    bool bumping = false;
    PermissionChanges::GrantPermission(m, 1, 2, 1, true, false, bumping);
    EXPECT_EQ(recorded(), QStringList({"Dodaj uprawnienie | PERMISSIONS_has_GROUPS 1 | - | {\"ID_DEVICE_FK\":\"1\","
                                       "\"ID_GROUP_FK\":\"2\",\"ID_PERMISSIONS_FK\":\"1\",\"INPUT\":\"1\",\"NMID\":\"1\","
                                       "\"OUTPUT\":\"0\"}"}));
    EXPECT_EQ(scalar("SELECT LABEL FROM HISTORY ORDER BY ID DESC LIMIT 1"), "Magazyn / Brama / Biuro");

    TemplateChanges::SaveSchedule(m, 1, {"08:00:16:00", "09:00:17:00", "", "", "", "", ""});
    GroupChanges::SaveGroupName(m, 2, "Magazyn 2");
    d.name = "Brama północna";
    DeviceChanges::SaveDevice(m, 1, d);
    l.name = "Hala B";
    LocationChanges::SaveLocation(m, lookups, 1, l);
    EXPECT_EQ(recorded(), QStringList({"Zapamiętaj zmiany | PERMISSIONS 1 | {\"D2\":\"\"} | {\"D2\":\"09:00:17:00\"}",
                                       "Zmień nazwę | GROUPS 2 | {\"NAME\":\"Magazyn\"} | {\"NAME\":\"Magazyn 2\"}",
                                       "Zapisz zmiany | DEVICE 1 | {\"NAME\":\"Brama\"} | {\"NAME\":\"Brama północna\"}",
                                       "Zapisz zmiany | LOCALIZATION 1 | {\"NAME\":\"Hala\"} | {\"NAME\":\"Hala B\"}"}));

    PermissionChanges::RevokePermission(m, 1);
    PermissionChanges::GrantPermission(m, 1, 2, 1, true, true, bumping);
    recorded();
    // Deleting a template removes its permissions first; deleting a group moves its people.
    sql("INSERT INTO USERS (ID_GROUP, FIRST_NAME, NAME) VALUES (2, 'Ola', 'Kos')");
    TemplateChanges::DeleteTemplate(m, lookups, 1);
    GroupChanges::DeleteGroup(m, lookups, 2);
    DeviceChanges::DeleteDevice(m, lookups, 1, [] {});
    LocationChanges::DeleteLocation(m, lookups, 1, [] {});
    const QStringList removed = recorded();
    ASSERT_EQ(removed.size(), 6) << removed.join("\n").toStdString();
    EXPECT_TRUE(removed[0].startsWith("Usuń szablon | PERMISSIONS_has_GROUPS 2 | {"));
    EXPECT_TRUE(removed[1].startsWith("Usuń szablon | PERMISSIONS 1 | {"));
    EXPECT_EQ(removed[2], "Usuń grupę | USERS 1 | {\"ID_GROUP\":\"2\"} | {\"ID_GROUP\":\"1\"}");
    EXPECT_EQ(removed[3], "Usuń grupę | GROUPS 2 | {\"DEL\":\"0\"} | {\"DEL\":\"1\"}");
    EXPECT_TRUE(removed[4].startsWith("Usuń urządzenie | DEVICE 1 | {"));
    EXPECT_TRUE(removed[5].startsWith("Usuń lokalizację | LOCALIZATION 1 | {"));
}

TEST_F(HistoryTest, ImportSerialAddAndMaintenanceAreRecordedUnderTheirOwnAction)
{
    ImportTally tally;
    QString status;
    ImportRows::ImportRow(m, "1", "Jan", "Kos", "00000000CC", tally, status, [](const QString&) {});
    QStringList rows = recorded();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].startsWith("Importuj | USERS "));
    EXPECT_TRUE(rows[1].startsWith("Importuj | CARDS "));

    AddOptions serial;
    serial.action = "Dodaj serię";
    PeopleChanges::AddUser(m, "", "Nowy 1", "1", serial);
    EXPECT_TRUE(recorded().value(0).startsWith("Dodaj serię | USERS "));

    // The purge: the rows removed from each table, and the events, counted.
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME, DEL) VALUES (50, 1, 'Stary', 'Usunięty', 1)");
    sql("INSERT INTO EVENTS (ID_USER, ID_DEVICE, TYPE, TIME) VALUES (50, 1, 1, NOW()), (50, 1, 1, NOW()), "
        "(1, 1, 1, NOW())");
    Maintenance::PurgeDeletedRows(m.Quorvel);
    rows = recorded();
    ASSERT_EQ(rows.size(), 2) << rows.join("\n").toStdString();
    EXPECT_EQ(rows[0], "Oczyść bazę zdarzeń z osób usunietych | USERS 0 | {\"COUNT\":\"1\"} | {\"COUNT\":\"0\"}");
    EXPECT_EQ(rows[1], "Oczyść bazę zdarzeń z osób usunietych | EVENTS 0 | {\"COUNT\":\"2\"} | {\"COUNT\":\"0\"}");
    Maintenance::DeleteAllEvents(m.Quorvel);
    EXPECT_EQ(recorded(), QStringList({"Usuń wszystkie zdarzenia | EVENTS 0 | {\"COUNT\":\"1\"} | {\"COUNT\":\"0\"}"}));
}

TEST_F(HistoryTest, OddTextComesBackExactly)
{
    const QString odd = QString::fromUtf8("Zażółć \"gęślą\" 'jaźń' \\ %1 \\n\n\r\t\x01 {\"a\":[1]} 😀");
    const int id = PeopleChanges::AddUser(m, odd, "Ó", "1").id;
    ASSERT_GT(id, 0);
    EXPECT_EQ(json("SELECT AFTER_VALUES FROM HISTORY").value("FIRST_NAME").toString(), odd);
    EXPECT_EQ(scalar("SELECT LABEL FROM HISTORY"), odd + QStringLiteral(" Ó"));
    m.Users.first();
    PeopleChanges::ChangeUser(m, id, odd + "x", "Ó", "1");
    EXPECT_EQ(json("SELECT BEFORE_VALUES FROM HISTORY ORDER BY ID DESC LIMIT 1").value("FIRST_NAME").toString(), odd);

    // One line a row for scripts: tabs and line breaks escaped.
    Dataset rows(m.Quorvel, "rows");
    rows.setStatement(HistoryLog::pageStatement(m.Quorvel, {}, 0, 10));
    rows.open();
    const QString line = HistoryLog::tabLine(rows, 1);
    EXPECT_FALSE(line.contains('\n'));
    EXPECT_EQ(line.split('\t').size(), 10);
    EXPECT_TRUE(line.contains(QStringLiteral("\\\\n\\n\\r\\t")));
}

TEST_F(HistoryTest, ACutInsideTheUnitLeavesNeitherTheChangeNorItsHistory)
{
    sql("CREATE TRIGGER slow_history BEFORE INSERT ON HISTORY FOR EACH ROW DO SLEEP(3)");
    {
        ConnectionCut cut(mysql_thread_id(m.Quorvel.handle()), ConnectionCut::SleepingInTrigger);
        EXPECT_THROW(PeopleChanges::AddUser(m, "Ala", "Nowak", "1"), DatabaseError);
        EXPECT_TRUE(cut.happened());
    }
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 0);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM HISTORY"), 0);
    EXPECT_EQ(counter("USERS"), 0);
}

TEST_F(HistoryTest, AHistoryTableDroppedMeanwhileUndoesTheChangeAndSaysSo)
{
    ASSERT_TRUE(m.recordsHistory());
    sql("DROP TABLE HISTORY");
    try {
        PeopleChanges::AddUser(m, "Ala", "Nowak", "1");
        FAIL() << "the change went through without its history";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.message().startsWith("Nie zapisano zmian: nie udało się zapisać historii zmian"))
            << error.message().toStdString();
    }
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 0);
    EXPECT_EQ(counter("USERS"), 0);

    // Connected afresh to a database without the table, the program works as before.
    m.Quorvel.close();
    m.Quorvel.open();
    m.Status.open();
    EXPECT_FALSE(m.recordsHistory());
    EXPECT_GT(PeopleChanges::AddUser(m, "Ala", "Nowak", "1").id, 0);
    EXPECT_EQ(counter("USERS"), 1);

    // The table the database check adds is the one the schema has.
    for (const QString& statement : History::createStatements())
        sql(statement);
    const QString created = scalar("SELECT GROUP_CONCAT(COLUMN_NAME, COLUMN_TYPE ORDER BY ORDINAL_POSITION) FROM "
                                   "information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'HISTORY'");
    const QString extra = createExtraDatabase();
    EXPECT_EQ(scalar(QStringLiteral("SELECT GROUP_CONCAT(COLUMN_NAME, COLUMN_TYPE ORDER BY ORDINAL_POSITION) FROM "
                                    "information_schema.COLUMNS WHERE TABLE_SCHEMA = '%1' AND TABLE_NAME = 'HISTORY'")
                         .arg(extra)),
              created);
    EXPECT_TRUE(m.checkHistoryTable());
}

// A second client removes what a change points at, between the operator's choice
// and the click.
TEST_F(HistoryTest, WritesIntoRowsAnotherClientRemovedWriteNothingAndSayWhichRow)
{
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES (1, 1, 'Ala', 'Nowak'), (2, 1, 'Ola', 'Kos')");
    sql("INSERT INTO CARDS (ID_CARD, ID_USER_FK, CODE) VALUES (1, 0, '00000000AA')");
    m.Users.reexecute();
    const QString personGone = "Nie zapisano zmian: tej osoby nie ma już w bazie (usunięto w międzyczasie).";

    sql("UPDATE USERS SET DEL = 1 WHERE ID_USER = 1");
    try {
        CardChanges::GiveCard(m, 1, 1, CardView::WithoutOwner);
        FAIL();
    } catch (const RowGoneError& error) {
        EXPECT_EQ(error.message(), personGone);
    }
    sql("DELETE FROM USERS WHERE ID_USER = 2");
    EXPECT_THROW(CardChanges::GiveCard(m, 2, 1, CardView::WithoutOwner), RowGoneError);
    EXPECT_EQ(scalarInt("SELECT ID_USER_FK FROM CARDS"), 0);
    EXPECT_EQ(counter("CARDS"), 0);
    EXPECT_EQ(m.Users.rowCount(), 0);   // the lists were read again
    EXPECT_EQ(m.Karty.rowCount(), 1);

    // "Zmień" into a person marked deleted.
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES (3, 1, 'Ewa', 'Lis')");
    m.Users.reexecute();
    sql("UPDATE USERS SET DEL = 1 WHERE ID_USER = 3");
    EXPECT_THROW(PeopleChanges::ChangeUser(m, 3, "Ewa", "Lisowska", "1"), RowGoneError);
    EXPECT_EQ(scalar("SELECT NAME FROM USERS WHERE ID_USER = 3"), "Lis");
    EXPECT_EQ(counter("USERS"), 0);

    // "Dodaj uprawnienie": the group marked deleted, the passage or the template deleted.
    sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Magazyn')");
    sql("INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME) VALUES (1, 'Biuro')");
    sql("INSERT INTO DEVICE (ID_DEVICE, NAME) VALUES (1, 'Brama')");
    const std::pair<const char*, const char*> removals[] = {
        {"UPDATE GROUPS SET DEL = 1 WHERE ID_GROUP = 2", "tej grupy"},
        {"DELETE FROM DEVICE WHERE ID_DEVICE = 1", "tego przejścia"},
        {"DELETE FROM PERMISSIONS WHERE ID_PERMISSIONS = 1", "tego szablonu"},
    };
    for (const auto& [removal, row] : removals) {
        sql("UPDATE GROUPS SET DEL = 0 WHERE ID_GROUP = 2");
        sql("INSERT IGNORE INTO DEVICE (ID_DEVICE, NAME) VALUES (1, 'Brama')");
        sql("INSERT IGNORE INTO PERMISSIONS (ID_PERMISSIONS, NAME) VALUES (1, 'Biuro')");
        sql(removal);
        bool bumping = false;
        try {
            PermissionChanges::GrantPermission(m, 1, 2, 1, true, true, bumping);
            FAIL() << removal;
        } catch (const RowGoneError& error) {
            EXPECT_TRUE(error.message().contains(QString::fromUtf8(row))) << error.message().toStdString();
        }
    }
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM PERMISSIONS_has_GROUPS"), 0);
    EXPECT_EQ(counter("PERMISSIONS_has_GROUPS"), 0);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM HISTORY"), 0);
}

TEST_F(HistoryTest, RemovingWhatIsAlreadyGoneChangesNothingAndSaysSo)
{
    sql("INSERT INTO CARDS (ID_CARD, ID_USER_FK, CODE) VALUES (1, 5, '00000000AA')");
    sql("INSERT INTO LOCALIZATION (ID, NAME) VALUES (1, 'Hala')");
    sql("INSERT INTO DEVICE (ID_DEVICE, NAME) VALUES (1, 'Brama')");
    sql("INSERT INTO PERMISSIONS_has_GROUPS (NMID, ID_GROUP_FK) VALUES (1, 2)");
    m.Device.reexecute();
    m.LOCALIZATION.reexecute();
    sql("DELETE FROM CARDS");
    sql("DELETE FROM LOCALIZATION");
    sql("DELETE FROM DEVICE");
    sql("DELETE FROM PERMISSIONS_has_GROUPS");
    const std::pair<std::function<void()>, const char*> removals[] = {
        {[&] { CardChanges::TakeCard(m, 1, CardView::None); }, "tej karty"},
        {[&] { PermissionChanges::RevokePermission(m, 1); }, "tego uprawnienia"},
        {[&] { DeviceChanges::DeleteDevice(m, lookups, 1, [] {}); }, "tego urządzenia"},
        {[&] { LocationChanges::DeleteLocation(m, lookups, 1, [] {}); }, "tej lokalizacji"},
    };
    for (const auto& [remove, row] : removals) {
        try {
            remove();
            FAIL() << row;
        } catch (const RowGoneError& error) {
            EXPECT_EQ(error.message(), QStringLiteral("Nic nie zmieniono: %1 nie ma już w bazie (usunięto w międzyczasie).")
                                           .arg(QString::fromUtf8(row)));
        }
    }
    EXPECT_EQ(m.Device.rowCount(), 0);         // the lists show what is left
    EXPECT_EQ(m.LOCALIZATION.rowCount(), 0);
    for (const char* c : {"CARDS", "PERMISSIONS_has_GROUPS", "DEVICE", "LOCALIZATION"})
        EXPECT_EQ(counter(c), 0) << c;
}

// The rows a change points at stay as they are until it commits: another client's
// removal waits for it.
TEST_F(HistoryTest, TheRowsAChangePointsAtAreLockedUntilItEnds)
{
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES (1, 1, 'Ala', 'Nowak')");
    sql("INSERT INTO CARDS (ID_CARD, ID_USER_FK, CODE) VALUES (1, 0, '00000000AA')");
    Connection other;
    configure(other);
    other.execute("SET SESSION innodb_lock_wait_timeout = 1");
    unsigned otherError = 0;
    Change(m, "Przypisz do uzytkownika")
        .require("USERS", 1, "tej osoby")
        .then([&] {
            try {
                other.execute("UPDATE USERS SET DEL = 1 WHERE ID_USER = 1");
            } catch (const DatabaseError& error) {
                otherError = error.code();
            }
        })
        .run({"UPDATE CARDS SET ID_USER_FK = 1 WHERE ID_CARD = 1"})
        .commit();
    EXPECT_EQ(otherError, 1205u);   // lock wait timeout
    EXPECT_EQ(scalarInt("SELECT DEL FROM USERS"), 0);
}

}  // namespace
