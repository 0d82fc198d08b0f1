// The access check: the decision rules on an installation built for them, that it
// only reads, and its window on the page "Uprawnienia grup".
#include "access/AccessCheck.h"
#include "access/AccessCheckDialog.h"
#include "access/AccessPage.h"
#include "dataaccess/Connection.h"
#include "support/AppFixture.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

namespace {

// Monday 2024-03-04 … Sunday 2024-03-10.
const QDate Monday(2024, 3, 4);
const QDate Tuesday(2024, 3, 5);
const QDate Saturday(2024, 3, 9);

// Passage 1 "Drzwi główne" (heads "Wejście" / "Wyjście"), passage 2 "Brama".
// Group 2 "Biuro" (live), 3 "Stara" (deleted).
// Templates: 1 "Dni robocze" 08:00-16:00 Monday to Friday, Saturday an empty day
// string, Sunday 00:00:00:00; 2 "Cała doba" 00:00:23:59 every day; 3 "Noc" Monday
// 22:00:23:59, Tuesday 00:00:06:00, Wednesday malformed.
// People: 1 Jan Kowalski (Biuro), 2 Anna Nowak (Biuro, deleted), 3 Piotr Zieliński
// (Stara), 4 Ewa Wójcik (Biuro, two cards), 5 Adam Bez (no card).
class AccessCheckTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        sql("INSERT INTO GROUPS (ID_GROUP, NAME, DEL) VALUES (2, 'Biuro', 0), (3, 'Stara', 1)");
        sql("INSERT INTO LOCALIZATION (ID, NAME, TIME_ZONE) VALUES (1, 'Centrala', 13)");
        sql("INSERT INTO DEVICE (ID_DEVICE, NAME, NAME_A, NAME_B, ID_LOCALIZATION) VALUES "
            "(1, 'Drzwi główne', 'Wejście', 'Wyjście', 1), (2, 'Brama', 'A', 'B', 1)");
        sql("INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME, D1, D2, D3, D4, D5, D6, D7) VALUES "
            "(1, 'Dni robocze', '08:00:16:00', '08:00:16:00', '08:00:16:00', '08:00:16:00', "
            "'08:00:16:00', '', '00:00:00:00'),"
            "(2, 'Cała doba', '00:00:23:59', '00:00:23:59', '00:00:23:59', '00:00:23:59', "
            "'00:00:23:59', '00:00:23:59', '00:00:23:59'),"
            "(3, 'Noc', '22:00:23:59', '00:00:06:00', '8:00-16:00', '00:00:00:00', "
            "'00:00:00:00', '00:00:00:00', '00:00:00:00')");
        sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME, DEL) VALUES "
            "(1, 2, 'Jan', 'Kowalski', 0), (2, 2, 'Anna', 'Nowak', 1), "
            "(3, 3, 'Piotr', 'Zieliński', 0), (4, 2, 'Ewa', 'Wójcik', 0), (5, 2, 'Adam', 'Bez', 0)");
        sql("INSERT INTO CARDS (ID_CARD, ID_USER_FK, CODE, KARENCJA_OD, KARENCJA_DO) VALUES "
            "(1, 1, '00000000A1', '2024-03-01', '2024-03-31'),"
            "(2, 2, '00000000A2', '2010-01-01', '2030-12-31'),"
            "(3, 3, '00000000A3', '2010-01-01', '2030-12-31'),"
            "(4, 4, '00000000E1', '2010-01-01', '2020-12-31'),"
            "(5, 4, '00000000E2', '2010-01-01', '2030-12-31'),"
            "(6, 0, '00000000F0', '2010-01-01', '2030-12-31')");
        configure(connection);
    }

    // Group 2 gets these rows on passage 1, in this order (NMID 1, 2, ...).
    void grant(std::initializer_list<std::tuple<int, int, int>> rows)
    {
        for (const auto& [templateId, input, output] : rows)
            sql(QStringLiteral("INSERT INTO PERMISSIONS_has_GROUPS (ID_PERMISSIONS_FK, ID_GROUP_FK, "
                               "ID_DEVICE_FK, INPUT, OUTPUT) VALUES (%1, 2, 1, %2, %3)")
                    .arg(templateId)
                    .arg(input)
                    .arg(output));
    }

    AccessAnswer card(const QString& code, QDate date, QTime time, ReaderHead head = ReaderHead::A)
    {
        AccessQuestion q;
        q.cardCode = code;
        q.deviceId = 1;
        q.head = head;
        q.date = date;
        q.time = time;
        return CheckAccess(connection, q);
    }
    AccessAnswer person(int id, QDate date, QTime time)
    {
        AccessQuestion q;
        q.personId = id;
        q.deviceId = 1;
        q.date = date;
        q.time = time;
        return CheckAccess(connection, q);
    }

    Connection connection;
};

QString text(const AccessAnswer& answer) { return answer.lines().join(QLatin1Char('\n')); }

// The last reason that stopped the chain.
QString lastFailure(const AccessAnswer& answer)
{
    for (auto r = answer.reasons.crbegin(); r != answer.reasons.crend(); ++r)
        if (r->outcome == AccessReason::Fail)
            return r->text;
    return {};
}

TEST(DayStringTest, PeriodsAndWhatDenies)
{
    const DayPeriod office = ReadDayString("08:00:17:00");
    EXPECT_TRUE(office.open);
    EXPECT_EQ(office.startSecond, 8 * 3600);
    EXPECT_EQ(office.endSecond, 17 * 3600);
    EXPECT_EQ(ReadDayString("00:00:23:59").endSecond, 86400);   // to the end of the day
    EXPECT_EQ(ReadDayString("22:15:23:59").startSecond, 22 * 3600 + 15 * 60);
    // The sixth character is not read; times off the quarter-hour raster are times.
    EXPECT_TRUE(ReadDayString("08:10-17:05").open);

    const struct {
        const char* day;
        const char* problem;
    } closed[] = {
        {"", "pusty ciąg dnia"},
        {"00:00:00:00", "okres pusty"},
        {"23:59:23:59", "okres pusty"},
        {"08:00:08:00", "okres pusty"},
        {"17:00:08:00", "koniec 08:00 przed początkiem 17:00"},
        {"8:00-16:00", "nieprawidłowy ciąg dnia: początek „8:00-”"},
        {"08:00:16", "nieprawidłowy ciąg dnia: koniec „16”"},
        {"24:00:23:59", "nieprawidłowy ciąg dnia: początek „24:00”"},
        {"08:60:23:59", "nieprawidłowy"},
        {"ab:cd:ef:gh", "nieprawidłowy"},
    };
    for (const auto& c : closed) {
        const DayPeriod p = ReadDayString(QString::fromUtf8(c.day));
        EXPECT_FALSE(p.open) << c.day;
        EXPECT_TRUE(p.problem.contains(QString::fromUtf8(c.problem)))
            << c.day << ": " << p.problem.toStdString();
    }
}

TEST_F(AccessCheckTest, ValidityCoversItsFirstAndLastDayAndNothingElse)
{
    grant({{2, 1, 1}});
    const QTime noon(12, 0);
    EXPECT_FALSE(card("00000000A1", QDate(2024, 2, 29), noon).granted);
    EXPECT_TRUE(card("00000000A1", QDate(2024, 3, 1), noon).granted);
    EXPECT_TRUE(card("00000000A1", QDate(2024, 3, 31), noon).granted);
    const AccessAnswer after = card("00000000A1", QDate(2024, 4, 1), noon);
    EXPECT_FALSE(after.granted);
    EXPECT_EQ(after.verdict(), QString::fromUtf8("Nie wejdzie"));
    EXPECT_TRUE(lastFailure(after).contains("2024-04-01 jest po ostatnim dniu ważności"))
        << text(after).toStdString();
    EXPECT_TRUE(lastFailure(card("00000000A1", QDate(2024, 2, 29), noon))
                    .contains("przed pierwszym dniem ważności"));
    // The chain stops at the card: the person is not even read.
    EXPECT_FALSE(text(after).contains("Osoba"));

    const AccessAnswer granted = card("00000000A1", QDate(2024, 3, 31), noon);
    EXPECT_EQ(granted.lines().first(), QString::fromUtf8("Wejdzie"));
    EXPECT_EQ(granted.decidingCardId, 1);
    EXPECT_EQ(granted.decidingPermissionId, 1);

    // A card without validity dates, and one without owner, open nothing.
    sql("UPDATE CARDS SET KARENCJA_DO = NULL WHERE ID_CARD = 1");
    EXPECT_TRUE(lastFailure(card("00000000A1", QDate(2024, 3, 10), noon)).contains("brak daty ważności"));
    EXPECT_TRUE(lastFailure(card("00000000F0", QDate(2024, 3, 10), noon)).contains("bez właściciela (ID_USER_FK = 0)"));
}

TEST_F(AccessCheckTest, DeletedPersonAndDeletedGroupStopTheChain)
{
    grant({{2, 1, 1}});
    sql("INSERT INTO PERMISSIONS_has_GROUPS (ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK, INPUT, OUTPUT) "
        "VALUES (2, 3, 1, 1, 1)");   // left behind for the deleted group
    const QTime noon(12, 0);

    const AccessAnswer deletedPerson = card("00000000A2", Monday, noon);
    EXPECT_FALSE(deletedPerson.granted);
    EXPECT_EQ(lastFailure(deletedPerson),
              QString::fromUtf8("Osoba „Anna Nowak” (USERS.ID_USER = 2): usunięta (DEL = 1)."));
    EXPECT_FALSE(text(deletedPerson).contains("Grupa"));

    const AccessAnswer deletedGroup = card("00000000A3", Monday, noon);
    EXPECT_FALSE(deletedGroup.granted);
    EXPECT_EQ(lastFailure(deletedGroup),
              QString::fromUtf8("Grupa „Stara” (GROUPS.ID_GROUP = 3): usunięta (DEL = 1)."));
    EXPECT_FALSE(text(deletedGroup).contains("NMID"));

    // A person whose group row is missing.
    sql("UPDATE USERS SET ID_GROUP = 77 WHERE ID_USER = 3");
    EXPECT_EQ(lastFailure(card("00000000A3", Monday, noon)),
              QString::fromUtf8("Grupa GROUPS.ID_GROUP = 77 nie istnieje."));
    // A group without rows on the passage.
    EXPECT_TRUE(lastFailure(card("00000000A1", Monday, noon, ReaderHead::A)).isEmpty());
    sql("DELETE FROM PERMISSIONS_has_GROUPS");
    EXPECT_TRUE(lastFailure(card("00000000A1", Monday, noon))
                    .contains("Grupa nie ma uprawnień na tym przejściu"));
}

TEST_F(AccessCheckTest, HeadAAndHeadBFollowInputAndOutput)
{
    grant({{2, 1, 0}});
    const QTime noon(12, 0);
    const AccessAnswer a = card("00000000A1", Monday, noon, ReaderHead::A);
    EXPECT_TRUE(a.granted) << text(a).toStdString();
    EXPECT_TRUE(text(a).contains(QString::fromUtf8("głowica A „Wejście”")));
    const AccessAnswer b = card("00000000A1", Monday, noon, ReaderHead::B);
    EXPECT_FALSE(b.granted);
    EXPECT_EQ(lastFailure(b), QString::fromUtf8("Uprawnienie NMID = 1: INPUT = 1, OUTPUT = 0 – "
                                                "nie obejmuje głowicy B."));
    sql("UPDATE PERMISSIONS_has_GROUPS SET INPUT = 0, OUTPUT = 1");
    EXPECT_FALSE(card("00000000A1", Monday, noon, ReaderHead::A).granted);
    EXPECT_TRUE(card("00000000A1", Monday, noon, ReaderHead::B).granted);
}

TEST_F(AccessCheckTest, EveryPermissionIsShownAndTheFirstThatGrantsDecides)
{
    // Row 1 covers only head B, row 2 is head A out of hours, rows 3 and 4 grant.
    grant({{2, 0, 1}, {1, 1, 0}, {3, 1, 1}, {2, 1, 1}});
    const AccessAnswer answer = card("00000000A1", Monday, QTime(22, 30));
    ASSERT_TRUE(answer.granted) << text(answer).toStdString();
    EXPECT_EQ(answer.decidingPermissionId, 3);
    const QString all = text(answer);
    for (int nmid = 1; nmid <= 4; ++nmid)
        EXPECT_TRUE(all.contains(QStringLiteral("Uprawnienie NMID = %1:").arg(nmid))) << nmid;
    EXPECT_TRUE(all.contains(QString::fromUtf8(
        "Szablon „Dni robocze” (PERMISSIONS.ID_PERMISSIONS = 1), poniedziałek D1 = „08:00:16:00”: "
        "od 08:00 do 16:00 (wyłącznie); 22:30:00 nie mieści się w tym okresie.")));
    EXPECT_TRUE(all.contains(QString::fromUtf8("Uprawnienia grupy na tym przejściu "
                                               "(PERMISSIONS_has_GROUPS, ID_GROUP_FK = 2, "
                                               "ID_DEVICE_FK = 1): 4 wiersze")));
    EXPECT_TRUE(all.endsWith(QString::fromUtf8("Rozstrzyga karta „00000000A1” (CARDS.ID_CARD = 1) "
                                               "z uprawnieniem NMID = 3: pierwsze, które wpuszcza.")));

    // A row whose template is gone denies and says so; the next one still decides.
    sql("UPDATE PERMISSIONS_has_GROUPS SET ID_PERMISSIONS_FK = 99 WHERE NMID = 3");
    const AccessAnswer without = card("00000000A1", Monday, QTime(22, 30));
    EXPECT_EQ(without.decidingPermissionId, 4);
    EXPECT_TRUE(text(without).contains("Szablon PERMISSIONS.ID_PERMISSIONS = 99 nie istnieje."));
}

TEST_F(AccessCheckTest, PeriodEdgesMidnightAnd2359)
{
    grant({{3, 1, 1}});   // Monday 22:00 to the end of the day, Tuesday 00:00 to 06:00
    EXPECT_FALSE(card("00000000A1", Monday, QTime(21, 59, 59)).granted);
    EXPECT_TRUE(card("00000000A1", Monday, QTime(22, 0)).granted);       // start included
    EXPECT_TRUE(card("00000000A1", Monday, QTime(23, 59, 0)).granted);   // "23:59" runs on
    EXPECT_TRUE(card("00000000A1", Monday, QTime(23, 59, 59)).granted);
    // Midnight belongs to the new day, whose period starts at 00:00.
    const AccessAnswer midnight = card("00000000A1", Tuesday, QTime(0, 0));
    EXPECT_TRUE(midnight.granted);
    EXPECT_TRUE(text(midnight).contains(QString::fromUtf8("wtorek D2 = „00:00:06:00”: od 00:00 do "
                                                          "06:00 (wyłącznie); 00:00:00 mieści się")));
    EXPECT_TRUE(card("00000000A1", Tuesday, QTime(5, 59, 59)).granted);
    EXPECT_FALSE(card("00000000A1", Tuesday, QTime(6, 0)).granted);      // end excluded
    // Monday's period does not reach into Tuesday, nor Tuesday's back into Monday.
    sql("UPDATE PERMISSIONS SET D2 = '00:00:00:00' WHERE ID_PERMISSIONS = 3");
    EXPECT_FALSE(card("00000000A1", Tuesday, QTime(0, 0)).granted);
    EXPECT_TRUE(text(card("00000000A1", Monday, QTime(23, 0))).contains("do końca dnia (23:59)"));
}

TEST_F(AccessCheckTest, EmptyOrMalformedDayStringsDenyAndSaySo)
{
    grant({{1, 1, 1}, {3, 1, 1}});
    const AccessAnswer saturday = card("00000000A1", Saturday, QTime(12, 0));
    EXPECT_FALSE(saturday.granted);
    EXPECT_TRUE(text(saturday).contains(QString::fromUtf8("sobota D6 = „”: pusty ciąg dnia – w tym "
                                                          "dniu nie wpuszcza.")))
        << text(saturday).toStdString();
    const AccessAnswer wednesday = card("00000000A1", QDate(2024, 3, 6), QTime(12, 0));
    // Row 1 grants on a working day; row 3's malformed Wednesday is still shown.
    EXPECT_TRUE(wednesday.granted);
    EXPECT_TRUE(text(wednesday).contains(QString::fromUtf8("środa D3 = „8:00-16:00”: nieprawidłowy "
                                                           "ciąg dnia")));
    sql("UPDATE PERMISSIONS SET D6 = NULL WHERE ID_PERMISSIONS = 1");
    EXPECT_TRUE(text(card("00000000A1", Saturday, QTime(12, 0))).contains("pusty ciąg dnia"));
}

TEST_F(AccessCheckTest, APersonsCardsAreEachShownAndTheFirstThatGrantsDecides)
{
    grant({{2, 1, 1}});
    const AccessAnswer ewa = person(4, Monday, QTime(12, 0));
    ASSERT_TRUE(ewa.granted) << text(ewa).toStdString();
    EXPECT_EQ(ewa.decidingCardId, 5);   // the first card expired in 2020
    const QString all = text(ewa);
    EXPECT_TRUE(all.contains(QString::fromUtf8("Osoba ma 2 karty")));
    EXPECT_TRUE(all.contains(QString::fromUtf8("[nie] Karta „00000000E1” (CARDS.ID_CARD = 4)")));
    EXPECT_TRUE(all.contains(QString::fromUtf8("[tak] Karta „00000000E2” (CARDS.ID_CARD = 5)")));
    EXPECT_LT(all.indexOf("00000000E1"), all.indexOf("00000000E2"));

    EXPECT_EQ(lastFailure(person(5, Monday, QTime(12, 0))),
              QString::fromUtf8("Osoba „Adam Bez” (USERS.ID_USER = 5) nie ma żadnej karty "
                                "(CARDS: brak wierszy z ID_USER_FK = 5)."));
    EXPECT_EQ(lastFailure(person(99, Monday, QTime(12, 0))),
              QString::fromUtf8("Osoba USERS.ID_USER = 99 nie istnieje."));
}

TEST_F(AccessCheckTest, UnknownCodesPassagesAndTypedValues)
{
    grant({{2, 1, 1}});
    // A code typed as printed finds the card the users page would have stored.
    const AccessAnswer typed = card("a1", Monday, QTime(12, 0));
    EXPECT_FALSE(typed.granted);
    EXPECT_TRUE(lastFailure(typed).contains(QString::fromUtf8("Istnieje karta „00000000A1”")));
    // The database compares codes without regard to letter case, as everywhere else.
    EXPECT_TRUE(card("00000000a1", Monday, QTime(12, 0)).granted);
    // A quote in a typed code is a character of the code.
    const AccessAnswer quoted = card("x' OR '1'='1", Monday, QTime(12, 0));
    EXPECT_FALSE(quoted.granted);
    EXPECT_TRUE(lastFailure(quoted).contains("nie istnieje"));

    AccessQuestion q;
    q.cardCode = "00000000A1";
    q.deviceId = 9;
    q.date = Monday;
    q.time = QTime(12, 0);
    EXPECT_EQ(lastFailure(CheckAccess(connection, q)),
              QString::fromUtf8("Przejście DEVICE.ID_DEVICE = 9 nie istnieje."));
    sql("UPDATE DEVICE SET DEL = 1 WHERE ID_DEVICE = 1");
    q.deviceId = 1;
    EXPECT_TRUE(lastFailure(CheckAccess(connection, q)).contains("Przejście jest usunięte (DEL = 1)."));
}

TEST_F(AccessCheckTest, ReadsOnly)
{
    grant({{2, 1, 1}, {1, 1, 0}});
    connection.open();
    auto writes = [this] {
        Dataset status(connection, "SessionStatus");
        status.setStatement("SHOW SESSION STATUS WHERE Variable_name IN ('Com_insert', "
                            "'Com_update', 'Com_delete', 'Com_replace', 'Com_insert_select', "
                            "'Com_update_multi', 'Com_delete_multi', 'Com_lock_tables')");
        status.open();
        long long sum = 0;
        for (status.first(); !status.eof(); status.next())
            sum += status.textAt(1).toLongLong();
        return sum;
    };
    const QString before = scalar("SELECT CONCAT_WS(',', USERS, GROUPS, CARDS, PERMISSIONS, "
                                  "PERMISSIONS_has_GROUPS, DEVICE, LOCALIZATION, EVENTS) FROM STATUS");
    const long long writesBefore = writes();
    card("00000000A1", Monday, QTime(12, 0));
    person(4, Saturday, QTime(3, 0));
    card("nope", Monday, QTime(12, 0));
    EXPECT_EQ(writes(), writesBefore);
    EXPECT_EQ(scalar("SELECT CONCAT_WS(',', USERS, GROUPS, CARDS, PERMISSIONS, "
                     "PERMISSIONS_has_GROUPS, DEVICE, LOCALIZATION, EVENTS) FROM STATUS"),
              before);
}

// The window, opened from the permission panel, against the same kind of data.
class AccessCheckWindowTest : public AppTest {};

TEST_F(AccessCheckWindowTest, AnswersFromTheChosenPersonPassageHeadAndTime)
{
    sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro')");
    sql("INSERT INTO DEVICE (ID_DEVICE, NAME, NAME_A, NAME_B) VALUES (1, 'Brama', 'We', 'Wy'), "
        "(2, 'Drzwi', 'We', 'Wy')");
    sql("INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME, D1) VALUES (1, 'Rano', '06:00:10:00')");
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES (1, 2, 'Jan', 'Kowalski'), "
        "(2, 2, 'Ola', 'Adamska'), (3, 2, 'Jan', 'Kowalski')");
    sql("INSERT INTO CARDS (ID_USER_FK, CODE, KARENCJA_OD, KARENCJA_DO) VALUES "
        "(1, '0000000123', '2010-01-01', '2030-12-31')");
    sql("INSERT INTO PERMISSIONS_has_GROUPS (ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK, INPUT, "
        "OUTPUT) VALUES (1, 2, 2, 1, 0)");
    createForm();

    AccessPage* page = form->accessPage();
    // Before connecting the window opens and says what is missing.
    click("AccessCheckButton");
    AccessCheckDialog* dialog = page->accessCheckDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->date->date(), QDate::currentDate());
    dialog->runButton->click();
    EXPECT_TRUE(dialog->reasons->toPlainText().startsWith("Brak połączenia z bazą"));
    EXPECT_TRUE(dialog->verdict->text().isEmpty());

    connectDatabase();
    ASSERT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("\n").toStdString();
    click("AccessCheckButton");
    EXPECT_EQ(page->accessCheckDialog(), dialog);   // one window, opened again
    ASSERT_EQ(dialog->person->count(), 3);
    EXPECT_EQ(dialog->person->itemText(0), QString::fromUtf8("Adamska Ola"));
    ASSERT_EQ(dialog->passage->count(), 2);

    dialog->person->setCurrentIndex(1);
    dialog->passage->setCurrentIndex(dialog->passage->findText("Drzwi"));
    dialog->date->setDate(Monday);
    dialog->time->setTime(QTime(9, 45));
    dialog->runButton->click();
    EXPECT_EQ(dialog->verdict->text(), QString::fromUtf8("Wejdzie"));
    EXPECT_TRUE(dialog->reasons->toPlainText().contains(
        QString::fromUtf8("Osoba „Jan Kowalski” (USERS.ID_USER = 1): nie usunięta")));

    dialog->head->setCurrentIndex(1);   // B
    dialog->runButton->click();
    EXPECT_EQ(dialog->verdict->text(), QString::fromUtf8("Nie wejdzie"));
    EXPECT_TRUE(dialog->reasons->toPlainText().contains("nie obejmuje głowicy B"));

    // Of two people with the same name, the one picked from the list is checked.
    dialog->person->setCurrentIndex(2);
    dialog->runButton->click();
    EXPECT_TRUE(dialog->reasons->toPlainText().contains("USERS.ID_USER = 3"))
        << dialog->reasons->toPlainText().toStdString();

    // A typed card code chooses the card; a person that is not on the list is refused.
    dialog->head->setCurrentIndex(0);
    dialog->byCard->setChecked(true);
    dialog->cardCode->setText("0000000123");
    dialog->time->setTime(QTime(10, 0));
    dialog->runButton->click();
    EXPECT_EQ(dialog->verdict->text(), QString::fromUtf8("Nie wejdzie"));
    EXPECT_TRUE(dialog->reasons->toPlainText().contains("10:00:00 nie mieści się"));
    dialog->byPerson->setChecked(true);
    dialog->person->setEditText("Nikt Taki");
    dialog->runButton->click();
    EXPECT_EQ(dialog->reasons->toPlainText(), QString::fromUtf8("Wybierz osobę z listy."));
    expectNothingShown();
    EXPECT_EQ(scalarInt("SELECT PERMISSIONS_has_GROUPS + USERS + CARDS FROM STATUS"), 0);
}

// Names, a day string's template and a typed code holding "%1", "%2", "%99",
// markup and doubled blanks: the chain quotes each exactly as stored or typed.
TEST_F(AccessCheckWindowTest, StoredAndTypedTextIsQuotedExactly)
{
    sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Grupa %2 <b>%1</b>')");
    sql("INSERT INTO LOCALIZATION (ID, NAME, TIME_ZONE) VALUES (1, 'Hala %5', 13)");
    sql("INSERT INTO DEVICE (ID_DEVICE, NAME, NAME_A, NAME_B, ID_LOCALIZATION) VALUES "
        "(1, 'Brama %1%2', 'We %3', 'Wy %4', 1)");
    sql("INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME, D1) VALUES (1, 'Rano %99 %1', '06:00:10:00')");
    sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES (1, 2, 'Jan %1', 'Kowalski  %2')");
    sql("INSERT INTO CARDS (ID_CARD, ID_USER_FK, CODE, KARENCJA_OD, KARENCJA_DO) VALUES "
        "(1, 1, '%1%2', '2010-01-01', '2030-12-31')");
    sql("INSERT INTO PERMISSIONS_has_GROUPS (NMID, ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK, INPUT, "
        "OUTPUT) VALUES (1, 1, 2, 1, 1, 0)");
    startConnected();
    // The connect loaded the group's template into the editor, its name as stored.
    EXPECT_EQ(find<QLabel>("Label38")->text(), "Szablon: Rano %99 %1");
    EXPECT_EQ(find<QLabel>("Label38")->textFormat(), Qt::PlainText);
    click("AccessCheckButton");
    AccessCheckDialog* dialog = form->accessPage()->accessCheckDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->person->count(), 1);
    EXPECT_EQ(dialog->person->itemText(0), "Kowalski  %2 Jan %1");
    dialog->person->setCurrentIndex(0);
    dialog->date->setDate(Monday);
    dialog->time->setTime(QTime(9, 45));
    dialog->runButton->click();
    EXPECT_EQ(dialog->verdict->text(), QString::fromUtf8("Wejdzie"));
    const QString shown = dialog->reasons->toPlainText();
    for (const char* line :
         {"Sprawdzenie: karty osoby USERS.ID_USER = 1, przejście DEVICE.ID_DEVICE = 1, głowica A, 2024-03-04 "
          "(poniedziałek), godz. 09:45:00.",
          "Przejście „Brama %1%2” (DEVICE.ID_DEVICE = 1), głowica A „We %3”; lokalizacja „Hala %5”, strefa "
          "czasowa ",
          "Karta „%1%2” (CARDS.ID_CARD = 1): właściciel USERS.ID_USER = 1, ważna od 2010-01-01 do 2030-12-31",
          "Osoba „Jan %1 Kowalski  %2” (USERS.ID_USER = 1): nie usunięta (DEL = 0), grupa GROUPS.ID_GROUP = 2.",
          "Grupa „Grupa %2 <b>%1</b>” (GROUPS.ID_GROUP = 2): nie usunięta (DEL = 0).",
          "Szablon „Rano %99 %1” (PERMISSIONS.ID_PERMISSIONS = 1), poniedziałek D1 = „06:00:10:00”: od 06:00 "
          "do 10:00 (wyłącznie); 09:45:00 mieści się w tym okresie.",
          "Rozstrzyga karta „%1%2” (CARDS.ID_CARD = 1) z uprawnieniem NMID = 1: pierwsze, które wpuszcza."})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(line))) << line << "\n" << shown.toStdString();

    // A typed code that no card has.
    dialog->byCard->setChecked(true);
    dialog->cardCode->setText("%2 <i>%1</i>");
    dialog->runButton->click();
    EXPECT_EQ(dialog->verdict->text(), QString::fromUtf8("Nie wejdzie"));
    EXPECT_TRUE(dialog->reasons->toPlainText().startsWith(QString::fromUtf8(
        "Sprawdzenie: karta „%2 <i>%1</i>”, przejście DEVICE.ID_DEVICE = 1, głowica A, 2024-03-04 (poniedziałek)")))
        << dialog->reasons->toPlainText().toStdString();
    EXPECT_TRUE(dialog->reasons->toPlainText().contains(
        QString::fromUtf8("Karta „%2 <i>%1</i>” nie istnieje (CARDS: brak wiersza z tym kodem).")));
    expectNothingShown();
}

}  // namespace
