// The operations of the subsystems on their own, without a window (this program
// links no window library): what they store, what they refuse, and that a change
// is whole or nothing, with its counters.
#include "access/GroupChanges.h"
#include "app/ConfigFile.h"
#include "dataaccess/Errors.h"
#include "db/Change.h"
#include "db/Lookups.h"
#include "db/TDataModule3.h"
#include "import/ImportRows.h"
#include "people/CardChanges.h"
#include "people/PeopleChanges.h"
#include "support/Files.h"
#include "support/TestDatabase.h"

#include <QTemporaryDir>

namespace {

class OperationsTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        configure(m.Quorvel);
        m.Quorvel.open();
        m.Status.open();
    }
    long long counter(const char* column)
    {
        return scalarInt(QStringLiteral("SELECT `%1` FROM STATUS").arg(QString::fromLatin1(column)));
    }
    TDataModule3 m;
    Lookups lookups;
};

TEST_F(OperationsTest, AddUserStoresTheNamesAsTypedAndRefusesTakenNamesAndBadGroups)
{
    const QString surname = QString::fromUtf8("O'Brien \\ \"Żółw\"; --");
    const Outcome added = PeopleChanges::AddUser(m, QStringLiteral("Jan"), surname, QStringLiteral("1"));
    ASSERT_GT(added.id, 0);
    EXPECT_TRUE(added.notice.isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("SELECT NAME FROM USERS WHERE ID_USER = %1").arg(added.id)), surname);
    EXPECT_EQ(counter("USERS"), 1);

    const Outcome again = PeopleChanges::AddUser(m, QStringLiteral("Jan"), surname, QStringLiteral("1"));
    EXPECT_EQ(again.id, -1);
    EXPECT_EQ(again.notice, QStringLiteral("Osoba: Jan  ") + surname + QStringLiteral("  już istnieje w bazie."));

    // Only a group's number goes bare into the statement.
    for (const char* group : {"", "0", "1 OR 1=1", "01", "-3"}) {
        const Outcome refused = PeopleChanges::AddUser(m, QStringLiteral("Ewa"), QStringLiteral("Nowak"),
                                                       QString::fromLatin1(group));
        EXPECT_EQ(refused.id, 0) << group;
        EXPECT_EQ(refused.notice, PeopleChanges::NoGroupText) << group;
    }
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS"), 1);
    EXPECT_EQ(counter("USERS"), 1);
}

// The import gives each card its owner explicitly: whoever the list of people
// shows as selected does not matter.
TEST_F(OperationsTest, ACardBelongsToTheOwnerGivenNotToTheSelectedPerson)
{
    sql("INSERT INTO USERS (ID_GROUP, FIRST_NAME, NAME) VALUES (1, 'Ala', 'Adamska'), (1, 'Ola', 'Zawada')");
    m.Users.open();
    m.Users.first();   // Adamska is selected
    AddOptions quiet;
    quiet.reloadLists = false;
    const Outcome card = CardChanges::AddCard(m, QStringLiteral("00000000AB"), QString(), QStringLiteral("1"),
                                              QStringLiteral("2010-01-01"), QStringLiteral("2030-12-31"), 2, quiet);
    ASSERT_GT(card.id, 0);
    EXPECT_EQ(scalarInt("SELECT ID_USER_FK FROM CARDS WHERE CODE = '00000000AB'"), 2);
    EXPECT_FALSE(m.Karty.isOpen());   // the lists were left alone
    EXPECT_EQ(counter("CARDS"), 1);

    const Outcome taken = CardChanges::AddCard(m, QStringLiteral("00000000ab"), QString(), QStringLiteral("1"),
                                               QStringLiteral("2010-01-01"), QStringLiteral("2030-12-31"), 1);
    EXPECT_EQ(taken.id, -1);
    EXPECT_EQ(taken.notice, QStringLiteral("Karta z kodem: 00000000ab już istnieje i nalezy do: Ola Zawada"));
}

// A row with one name only is a person like any other; a row without names adds
// nobody and touches no counter.
TEST_F(OperationsTest, AnImportRowWithOnlyAFirstNameOrOnlyASurnameIsImported)
{
    ImportTally tally;
    QStringList told;
    const auto tell = [&](const QString& text) { told << text; };
    const struct {
        const char* firstName;
        const char* surname;
        const char* code;
        QString status;
    } rows[] = {
        {"Anna", "", "0000000001", ImportRows::UserAddedText + ImportRows::CardAddedText},
        {"", "Nowak", "", ImportRows::UserAddedText},
        {"", "", "0000000002", ImportRows::NoNamesText},
        {"Anna", "", "0000000003", ImportRows::UserExistsText},
    };
    for (const auto& row : rows) {
        QString status;
        ImportRows::ImportRow(m, QStringLiteral("1"), QString::fromLatin1(row.firstName),
                              QString::fromLatin1(row.surname), QString::fromLatin1(row.code), tally, status, tell);
        EXPECT_EQ(status, row.status) << row.firstName << "/" << row.surname;
    }
    EXPECT_EQ(column("SELECT CONCAT(FIRST_NAME, '|', NAME) FROM USERS ORDER BY ID_USER"),
              QStringList({"Anna|", "|Nowak"}));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM CARDS"), 1);
    EXPECT_EQ(scalarInt("SELECT ID_USER_FK FROM CARDS"), 1);
    EXPECT_EQ(told, QStringList({QStringLiteral("Osoba: Anna    już istnieje w bazie.")}));
    EXPECT_EQ(tally.people, 2);
    EXPECT_EQ(tally.cards, 1);
    // Every imported person and card counts twice.
    EXPECT_EQ(counter("USERS"), 4);
    EXPECT_EQ(counter("CARDS"), 2);
}

// A step that fails inside a change leaves nothing of the change: not its
// statements, not the steps of a change it joined, not its counters.
TEST_F(OperationsTest, AChangeThatFailsHalfWayLeavesNothing)
{
    sql("INSERT INTO GROUPS (NAME) VALUES ('Stara')");
    try {
        Change(m, QStringLiteral("Test"))
            .run({QStringLiteral("INSERT INTO GROUPS (NAME) VALUES ('Nowa')")})
            .bump(QStringLiteral("GROUPS"))
            .then([&] {
                Change(m, QStringLiteral("Test")).run({QStringLiteral("DELETE FROM GROUPS WHERE NAME = 'Stara'")}).commit();
                throw DataError(QStringLiteral("przerwane"));
            })
            .commit();
        FAIL() << "the change went through";
    } catch (const DataError& error) {
        EXPECT_EQ(error.message(), "przerwane");
    }
    EXPECT_EQ(column("SELECT NAME FROM GROUPS ORDER BY ID_GROUP"),
              QStringList({QString::fromUtf8("Domyślna"), "Stara"}));
    EXPECT_EQ(counter("GROUPS"), 0);

    // A statement's found rows are told; an update of a row that is gone is refused.
    Change change(m, QStringLiteral("Test"));
    change.run({QStringLiteral("UPDATE GROUPS SET NAME = NAME")});
    EXPECT_EQ(change.found(), 2u);
    EXPECT_THROW(change.runOnRow({QStringLiteral("UPDATE GROUPS SET NAME = 'x' WHERE ID_GROUP = 99")},
                                 QStringLiteral("tej grupy")),
                 RowGoneError);
}

TEST_F(OperationsTest, DeletingAGroupMovesItsPeopleDropsItsPermissionsAndCountsEachTable)
{
    sql("INSERT INTO GROUPS (NAME) VALUES ('Magazyn')");
    sql("INSERT INTO USERS (ID_GROUP, FIRST_NAME, NAME) VALUES (2, 'Ala', 'Nowak'), (1, 'Ola', 'Kos')");
    sql("INSERT INTO PERMISSIONS_has_GROUPS (ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK, INPUT, OUTPUT) "
        "VALUES (1, 2, 1, 1, 1), (1, 1, 1, 1, 1)");
    m.Groups.open();
    m.Users.open();
    GroupChanges::DeleteGroup(m, lookups, 2);

    EXPECT_EQ(column("SELECT ID_GROUP FROM USERS ORDER BY ID_USER"), QStringList({"1", "1"}));
    EXPECT_EQ(column("SELECT ID_GROUP_FK FROM PERMISSIONS_has_GROUPS"), QStringList({"1"}));
    EXPECT_EQ(scalarInt("SELECT DEL FROM GROUPS WHERE ID_GROUP = 2"), 1);
    EXPECT_EQ(counter("USERS"), 1);
    EXPECT_EQ(counter("PERMISSIONS_has_GROUPS"), 1);
    EXPECT_EQ(counter("GROUPS"), 1);
    // The group lookup was refilled without the deleted group.
    ASSERT_EQ(lookups.GroupList.size(), 1u);
    EXPECT_EQ(lookups.GroupList[0].id, 1);
}

// "Zapisz" of the settings: all four values or none.
TEST(ConfigFileTest, AValueTheFileCannotHoldExactlyWritesNoValueAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    const QByteArray before = "[SERVER]\r\nIP=127.0.0.9\r\nLogin=a\r\npassword=b\r\nDATABASE=c\r\n";
    const ConfigFile::Settings good{QStringLiteral("127.0.0.10"), QStringLiteral("jan"), QStringLiteral("tajne"),
                                    QStringLiteral("Quorvel")};
    const struct {
        ConfigFile::Settings settings;
        const char* field;
        const char* reason;
    } refused[] = {
        {{good.server, good.login, QStringLiteral(" tajne"), good.database}, "Hasło",
         "zaczyna się lub kończy odstępem, który nie zostałby odczytany"},
        {{good.server, good.login, good.password, QStringLiteral("Quorvel\t")}, "Nazwa bazy",
         "zaczyna się lub kończy odstępem, który nie zostałby odczytany"},
        {{good.server, QString(2048, QLatin1Char('x')), good.password, good.database}, "Login",
         "jest dłuższe niż 2047 znaków"},
        {{good.server, good.login, QStringLiteral("a\nIP=1.2.3.4"), good.database}, "Hasło",
         "zawiera znak końca wiersza"},
        {{good.server, good.login, good.password, QString::fromUtf8("baza\u65e5")}, "Nazwa bazy",
         "zawiera znak, którego nie ma w kodowaniu Windows-1250"},
    };
    for (const auto& r : refused) {
        ASSERT_TRUE(writeFile(path, before));
        EXPECT_EQ(ConfigFile::write(path, r.settings),
                  QStringLiteral("Nie zapisano Config.ini: pole \"%1\" %2.")
                      .arg(QString::fromUtf8(r.field), QString::fromUtf8(r.reason)));
        // The valid server address before the refused field did not reach the file either.
        EXPECT_EQ(readFile(path), before) << r.field;
    }
    // 2047 characters and inner blanks are kept.
    const ConfigFile::Settings longest{good.server, QString(2047, QLatin1Char('x')), QStringLiteral("ta jne"),
                                       good.database};
    EXPECT_EQ(ConfigFile::write(path, longest), QString());
    const ConfigFile::Settings read = ConfigFile::read(path);
    EXPECT_EQ(read.server, good.server);
    EXPECT_EQ(read.login, longest.login);
    EXPECT_EQ(read.password, longest.password);
}

}  // namespace
