// The page "Zdarzenia": filter, paging, the person list and the event watch,
// against the real window and database.
#include "dataaccess/Errors.h"
#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"
#include "events/EventLog.h"
#include "events/EventStatements.h"
#include "events/EventsPage.h"
#include "support/AppFixture.h"
#include "support/ConnectionCut.h"
#include "ui/BoundGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <mysql.h>

namespace {

class EventsTest : public AppTest {
protected:
    void start()
    {
        startConnected();
        page = form->eventsPage();
        form->AdvOfficePager1->setCurrentIndex(2);
    }
    // `count` events of person 1 on device 1, one a minute, oldest first.
    void addEvents(int count, int type = 1)
    {
        if (count > 0)
            sql(QStringLiteral("INSERT INTO EVENTS (ID_USER, ID_GROUP, ID_DEVICE, TYPE, TIME, SERIAL, CANAL, HEAD) "
                               "SELECT 1, 1, 1, %1, '2024-05-01' + INTERVAL seq MINUTE, '7', '1', 'A' "
                               "FROM seq_1_to_%2").arg(type).arg(count));
    }
    QList<int> shownIds() const
    {
        QList<int> ids;
        const Dataset& events = module->Events;
        const int id = events.columnIndex("ID");
        for (int row = 0; row < events.rowCount(); ++row)
            ids << events.cell(row, id).toInt();
        return ids;
    }
    QString pages() const { return page->Label62->text(); }
    QString records() const { return page->Label61->text(); }

    EventsPage* page = nullptr;
};

TEST_F(EventsTest, PageStartsAsTheFormStoresIt)
{
    createForm();
    page = form->eventsPage();
    EXPECT_EQ(page->GroupBox3->title(), "Filtr");
    EXPECT_EQ(page->Label61->text(), "---");
    EXPECT_EQ(page->Label62->text(), "1");
    EXPECT_EQ(page->Edit18->text(), "1");
    EXPECT_EQ(page->DateTimePicker3->date(), QDate(2019, 3, 3));
    EXPECT_EQ(page->DateTimePicker4->date(), QDate(2019, 3, 3));
    EXPECT_TRUE(page->RadioButton2->isChecked());
    for (QCheckBox* box : {page->CheckBox11, page->CheckBox12, page->CheckBox13})
        EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(page->ComboBox12->currentText(), "Wszystkie");
    EXPECT_EQ(page->ComboBox12->itemText(1), QString::fromUtf8("Wejście "));
    EXPECT_TRUE(page->Button29->isHidden());
    EXPECT_FALSE(page->Button30->isHidden());
    QStringList titles;
    for (int c = 0; c < page->DBGrid2->model()->columnCount(); ++c)
        titles << page->DBGrid2->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, QStringList({"Data i czas", "Nazwisko", QString::fromUtf8("Imię"), "Kontroler",
                                   QString::fromUtf8("Głowica"), "Zdarzenie"}));

    // Without a connection nothing is queried.
    click("Button27");
    click("BitBtn4");
    EXPECT_TRUE(module->SQL.lines().join("").isEmpty());
    EXPECT_EQ(page->Label61->text(), "---");
    expectNothingShown();
    EXPECT_FALSE(module->Quorvel.isOpen());
}

TEST_F(EventsTest, PagesOfAHundredCountedAsCountDivHundredPlusOne)
{
    sql("INSERT INTO USERS (FIRST_NAME, NAME) VALUES ('Jan', 'Nowak')");
    sql("INSERT INTO DEVICE (NAME) VALUES ('Brama')");
    start();
    struct Case {
        int events;
        QList<int> pageSizes;
    };
    const Case cases[] = {{0, {0}}, {99, {99}}, {100, {100, 0}}, {101, {100, 1}}, {250, {100, 100, 50}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.events);
        sql("TRUNCATE EVENTS");
        addEvents(c.events);
        click("BitBtn1");
        EXPECT_EQ(records(), QStringLiteral("liczba rekordów: %1").arg(c.events));
        EXPECT_EQ(pages(), QString::number(c.pageSizes.size()));
        QList<int> sizes;
        QList<int> all;
        for (;;) {
            sizes << module->Events.rowCount();
            all += shownIds();
            QSignalSpy queries(&module->SQL, &Dataset::reset);
            click("BitBtn3");
            if (queries.isEmpty())
                break;   // ">" on the last page runs no query
            ASSERT_LE(sizes.size(), 5);
        }
        EXPECT_EQ(sizes, c.pageSizes);
        EXPECT_EQ(page->Edit18->text(), QString::number(c.pageSizes.size()));
        // Every event once, newest first.
        QList<int> expected;
        for (int id = c.events; id >= 1; --id)
            expected << id;
        EXPECT_EQ(all, expected);
    }
}

TEST_F(EventsTest, NavigationFollowsThePageNumberField)
{
    sql("INSERT INTO USERS (FIRST_NAME, NAME) VALUES ('Jan', 'Nowak')");
    sql("INSERT INTO DEVICE (NAME) VALUES ('Brama')");
    addEvents(250);
    start();
    QSignalSpy queries(&module->Events, &Dataset::reset);

    click("BitBtn4");   // ">>" before any count: page 1 of 1
    EXPECT_EQ(page->Edit18->text(), "1");
    EXPECT_EQ(pages(), "3");
    click("BitBtn4");   // now the last page
    EXPECT_EQ(page->Edit18->text(), "3");
    EXPECT_EQ(shownIds().first(), 50);
    click("BitBtn2");
    EXPECT_EQ(page->Edit18->text(), "2");
    EXPECT_EQ(shownIds().first(), 150);
    click("BitBtn1");
    EXPECT_EQ(page->Edit18->text(), "1");
    queries.clear();
    click("BitBtn2");   // "<" on page 1 shows page 1 again
    EXPECT_EQ(queries.count(), 1);
    EXPECT_EQ(page->Edit18->text(), "1");
    EXPECT_EQ(shownIds().first(), 250);

    // A click into the page number field presses "Filtruj" for the page typed.
    page->Edit18->setText("2");
    queries.clear();
    QTest::mouseClick(page->Edit18, Qt::LeftButton);
    EXPECT_EQ(queries.count(), 1);
    EXPECT_EQ(shownIds().first(), 150);

    // A page beyond the last is used as typed: nothing to show.
    page->Edit18->setText("7");
    click("Button27");
    EXPECT_EQ(module->Events.rowCount(), 0);
    EXPECT_EQ(pages(), "3");
    EXPECT_EQ(page->Edit18->text(), "7");

    // Not a number: the conversion error, and no query.
    for (const char* text : {"abc", "", "2.5", "99999999999"}) {
        page->Edit18->setText(text);
        dialogs.clear();
        queries.clear();
        QSignalSpy counts(&module->SQL, &Dataset::reset);
        click("Button27");
        click("BitBtn3");
        EXPECT_EQ(dialogs.errors(), QStringList(2, QStringLiteral("'%1' is not a valid integer value").arg(text)));
        EXPECT_EQ(queries.count() + counts.count(), 0);
    }

    // Page 0 or below shows page 1, and the field says so: never a negative offset.
    for (const char* text : {"0", "-4"}) {
        page->Edit18->setText(text);
        click("Button27");
        EXPECT_EQ(page->Edit18->text(), "1");
        EXPECT_TRUE(module->Events.statement().endsWith(" LIMIT 0,100;"));
        EXPECT_EQ(shownIds().first(), 250);
    }
}

// Events 1..13 of three people, two groups, two devices and the four types, on
// edge times; 7, 8 and 9 name a person, device or type that does not exist.
class FilterTest : public EventsTest {
protected:
    void SetUp() override
    {
        EventsTest::SetUp();
        sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro'), (3, 'Magazyn')");
        sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES "
            "(1, 2, 'Jan', 'Nowak'), (2, 3, 'Anna', 'Żak'), (3, 2, 'Piotr', 'Adamski')");
        sql("INSERT INTO DEVICE (ID_DEVICE, NAME) VALUES (1, 'Brama'), (2, 'Hala')");
        today = QDate::currentDate();
        const QString t = today.toString(Qt::ISODate);
        const QString y = today.addDays(-1).toString(Qt::ISODate);
        sql("INSERT INTO EVENTS (ID, ID_USER, ID_GROUP, ID_DEVICE, TYPE, TIME) VALUES "
            "(1, 1, 2, 1, 1, '2024-02-28 08:00:00'), (2, 1, 2, 2, 2, '2024-02-29 23:59:59'),"
            "(3, 2, 3, 1, 1, '2024-03-01 00:00:00'), (4, 2, 3, 2, 3, '2024-03-01 12:00:00'),"
            "(5, 3, 2, 1, 4, '2024-03-02 10:00:00'), (6, 1, 3, 1, 2, '2024-03-02 11:00:00'),"
            "(7, 9, 2, 1, 1, '2024-03-02 12:00:00'), (8, 1, 2, 9, 1, '2024-03-02 12:00:00'),"
            "(9, 1, 2, 1, 7, '2024-03-02 12:00:00'), (10, 1, 2, 1, 1, NULL),"
            "(11, 2, 3, 2, 2, '" + t + " 00:00:00'), (12, 2, 3, 2, 2, '" + t + " 23:59:59'),"
            "(13, 2, 3, 2, 1, '" + y + " 23:59:59')");
        start();
    }
    QList<int> filtered()
    {
        click("Button27");
        expectNothingShown();
        return shownIds();
    }
    void range(const QDate& from, const QDate& to)
    {
        page->RadioButton3->setChecked(true);
        page->DateTimePicker3->setDate(from);
        page->DateTimePicker4->setDate(to);
    }

    QDate today;
};

TEST_F(FilterTest, EachFilterAloneAndAllTogether)
{
    using L = QList<int>;
    EXPECT_EQ(filtered(), L({13, 12, 11, 10, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(records(), QString::fromUtf8("liczba rekordów: 10"));

    // The person list is ordered by surname: Adamski, Nowak, Żak.
    page->CheckBox11->click();
    EXPECT_EQ(page->ComboBox9->currentIndex(), 0);
    page->ComboBox9->setCurrentIndex(1);
    EXPECT_EQ(filtered(), L({10, 6, 2, 1}));
    page->CheckBox11->click();
    EXPECT_EQ(page->ComboBox9->count(), 0);

    // The group is the one recorded with the event, not the person's group now.
    page->CheckBox12->click();
    page->ComboBox10->setCurrentIndex(page->ComboBox10->findText("Biuro"));
    EXPECT_EQ(filtered(), L({10, 5, 2, 1}));
    page->CheckBox12->click();

    page->CheckBox13->click();
    EXPECT_EQ(page->ComboBox11->currentIndex(), 0);
    page->ComboBox11->setCurrentIndex(page->ComboBox11->findText("Hala"));
    EXPECT_EQ(filtered(), L({13, 12, 11, 4, 2}));
    page->CheckBox13->click();
    EXPECT_EQ(page->ComboBox11->count(), 0);

    page->ComboBox12->setCurrentIndex(1);   // "Wejście "
    EXPECT_EQ(filtered(), L({13, 10, 3, 1}));
    page->ComboBox12->setCurrentIndex(4);   // "Wejście siłowe"
    EXPECT_EQ(filtered(), L({5}));
    page->ComboBox12->setCurrentIndex(0);

    page->RadioButton1->setChecked(true);   // "Dzisiejsze"
    EXPECT_EQ(filtered(), L({12, 11}));
    range(QDate(2024, 3, 1), QDate(2024, 3, 1));   // one day, both ends included
    EXPECT_EQ(filtered(), L({4, 3}));
    range(QDate(2024, 2, 29), QDate(2024, 3, 1));   // across the end of a month
    EXPECT_EQ(filtered(), L({4, 3, 2}));
    range(QDate(2024, 3, 2), QDate(2024, 2, 28));   // a reversed range holds nothing
    EXPECT_EQ(filtered(), L());
    EXPECT_EQ(records(), QString::fromUtf8("liczba rekordów: 0"));
    EXPECT_EQ(pages(), "1");

    // Everything at once, joined with AND in the order person, group, device, type, date.
    page->CheckBox11->click();
    page->ComboBox9->setCurrentIndex(1);   // Nowak
    page->CheckBox12->click();
    page->ComboBox10->setCurrentIndex(page->ComboBox10->findText("Biuro"));
    page->CheckBox13->click();             // Brama
    page->ComboBox12->setCurrentIndex(1);
    range(QDate(2024, 2, 1), QDate(2024, 2, 29));
    EXPECT_EQ(filtered(), L({1}));
    EXPECT_TRUE(module->SQL.statement().contains(
        " AND EVENTS.ID_USER = '1' AND EVENTS.ID_GROUP = '2' AND EVENTS.ID_DEVICE = '1'"
        " AND EVENTS.TYPE = '1' AND EVENTS.TIME >= '2024-02-01' AND EVENTS.TIME < '2024-03-01'"))
        << module->SQL.statement().toStdString();
}

TEST_F(FilterTest, CheckedListWithoutSelectionAddsNoCondition)
{
    // The person list filled at connecting selects nothing: entry 0, no person.
    EXPECT_EQ(page->ComboBox9->count(), 3);
    EXPECT_EQ(page->ComboBox9->currentIndex(), -1);
    EXPECT_EQ(page->ComboBox11->currentIndex(), -1);
    page->CheckBox11->setChecked(true);
    page->CheckBox12->setChecked(true);
    page->ComboBox10->setCurrentIndex(-1);
    page->CheckBox13->setChecked(true);
    EXPECT_EQ(filtered().size(), 10);
    EXPECT_EQ(module->SQL.statement(), EventStatements::count(EventFilter{}));
}

// The statements as first written: every event joined, the dates compared by DATE().
const QString PlainJoins = QStringLiteral(
    " EVENTS,USERS,DEVICE,TYP  WHERE  EVENTS.ID_USER =USERS.ID_USER  AND EVENTS.ID_DEVICE = DEVICE.ID_DEVICE"
    "  AND EVENTS.TYPE = TYP.ID");
QString plainCount(const QString& conditions) { return "SELECT COUNT(*) from " + PlainJoins + conditions; }
QString plainRows(const QString& conditions, const QString& limit)
{
    return "SELECT EVENTS.ID,USERS.FIRST_NAME,USERS.NAME,TYP.NAME,TIME,DEVICE.NAME,SERIAL, CANAL,HEAD from "
        + PlainJoins + conditions + " order by EVENTS.ID DESC" + limit;
}

// The statements sent count per group, type, device and person, and start their
// joins from EVENTS; they must count and return exactly what the plain ones do.
TEST_F(FilterTest, StatementsReturnWhatThePlainJoinReturns)
{
    sql("INSERT INTO EVENTS (ID_USER, ID_GROUP, ID_DEVICE, TYPE, TIME) SELECT 1 + seq % 4, 2 + seq % 2, "
        "1 + seq % 3, seq % 6, '2024-03-02' + INTERVAL seq HOUR FROM seq_1_to_200");
    struct Case {
        EventFilter filter;
        QString plain;
    };
    auto filter = [](int person, int group, int device, int type) {
        EventFilter f;
        f.personId = person;
        f.groupId = group;
        f.deviceId = device;
        f.eventType = type;
        return f;
    };
    const Case cases[] = {
        {filter(0, 0, 0, 0), ""},
        {filter(1, 0, 0, 0), " AND EVENTS.ID_USER = '1'"},
        {filter(0, 3, 0, 0), " AND EVENTS.ID_GROUP = '3'"},
        {filter(0, 0, 2, 0), " AND EVENTS.ID_DEVICE = '2'"},
        {filter(0, 0, 0, 4), " AND EVENTS.TYPE = '4'"},
        {filter(2, 3, 1, 1), " AND EVENTS.ID_USER = '2' AND EVENTS.ID_GROUP = '3' AND EVENTS.ID_DEVICE = '1'"
                             " AND EVENTS.TYPE = '1'"},
        {filter(9, 0, 0, 0), " AND EVENTS.ID_USER = '9'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plain.toStdString());
        const QString count = scalar(plainCount(c.plain));
        EXPECT_EQ(scalar(EventStatements::count(c.filter)), count);
        EXPECT_EQ(column(EventStatements::all(c.filter)), column(plainRows(c.plain, ";")));
        for (const auto& [offset, rows] : {std::pair{0, 100}, std::pair{3, 5}, std::pair{100, 100}})
            EXPECT_EQ(column(EventStatements::page(c.filter, offset, rows)),
                      column(plainRows(c.plain, QStringLiteral(" LIMIT %1,%2;").arg(offset).arg(rows))));
    }
}

// The page statement finds its event numbers on EVENTS alone, leaving out the
// events whose person, device or type is missing by the keys the count listed,
// and counts the later half of the list from the oldest event. At every edge of
// a page it must return exactly the rows of the plain join.
TEST_F(FilterTest, DeferredPagesReturnWhatThePlainJoinReturnsAtThePageEdges)
{
    // 700 more events; every 7th names person 9 (missing), every 11th device 9
    // (missing), every 13th type 7 (missing).
    sql("INSERT INTO EVENTS (ID_USER, ID_GROUP, ID_DEVICE, TYPE, TIME) SELECT IF(seq % 7 = 0, 9, 1 + seq % 3), "
        "2 + seq % 2, IF(seq % 11 = 0, 9, 1 + seq % 2), IF(seq % 13 = 0, 7, 1 + seq % 4), "
        "'2024-03-02' + INTERVAL seq MINUTE FROM seq_1_to_700");
    Connection connection;
    configure(connection);
    Dataset counted(connection, QStringLiteral("Counted"));
    auto countOf = [&](const EventFilter& filter) {
        counted.setStatement(EventStatements::count(filter));
        counted.reexecute();
        return EventLog::countOf(counted);
    };
    struct Case {
        EventFilter filter;
        QString plain;
    };
    EventFilter person, group, type, days;
    person.personId = 2;
    group.groupId = 3;
    type.eventType = 2;
    days.dateMode = 2;
    days.from = QDate(2024, 3, 2);
    days.to = QDate(2024, 3, 2);
    const Case cases[] = {
        {EventFilter{}, ""},
        {person, " AND EVENTS.ID_USER = '2'"},
        {group, " AND EVENTS.ID_GROUP = '3'"},
        {type, " AND EVENTS.TYPE = '2'"},
        {days, " AND EVENTS.TIME >= '2024-03-02' AND EVENTS.TIME < '2024-03-03'"},
    };
    int compared = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plain.toStdString());
        const EventCount count = countOf(c.filter);
        ASSERT_TRUE(count.missingKnown);
        EXPECT_EQ(count.text, scalar(plainCount(c.plain)));
        const qint64 total = count.total;
        ASSERT_GT(total, 100);
        EXPECT_FALSE(count.missingUsers.isEmpty() && count.missingDevices.isEmpty() && count.missingTypes.isEmpty());
        EXPECT_EQ(EventStatements::page(c.filter, 0, 100, count), EventStatements::joinedPage(c.filter, 0, 100));
        EXPECT_TRUE(EventStatements::page(c.filter, total - 50, 100, count).contains(" FROM EVENTS WHERE TRUE"));
        // First page, its edges, the middle, the last page, and beyond it.
        const qint64 last = total / 100 * 100;
        for (qint64 offset : {qint64(0), qint64(1), qint64(99), qint64(100), total / 2 - 50, total / 2,
                              total - 101, total - 100, total - 99, last, total - 1, total, total + 100}) {
            for (int rows : {100, 1}) {
                const QStringList expected = column(plainRows(c.plain, QStringLiteral(" LIMIT %1,%2;").arg(offset).arg(rows)));
                EXPECT_EQ(column(EventStatements::page(c.filter, offset, rows, count)), expected)
                    << "offset " << offset << ", " << rows << " rows";
                EXPECT_EQ(column(EventStatements::deferredPage(c.filter, offset, rows, count)), expected)
                    << "offset " << offset << ", " << rows << " rows, deferred";
                compared += static_cast<int>(expected.size());
            }
        }
    }
    EXPECT_GT(compared, 2000);

    // A list of missing keys that the server cut short is not used: the page is
    // then joined as before, and still right.
    connection.execute(QStringLiteral("SET SESSION group_concat_max_len = 4"));
    sql("INSERT INTO EVENTS (ID_USER, ID_GROUP, ID_DEVICE, TYPE) VALUES (12345, 2, 1, 1), (23456, 2, 1, 1)");
    const EventCount cut = countOf(EventFilter{});
    EXPECT_FALSE(cut.missingKnown);
    EXPECT_EQ(EventStatements::page(EventFilter{}, 100, 100, cut), EventStatements::joinedPage(EventFilter{}, 100, 100));
    EXPECT_EQ(column(EventStatements::page(EventFilter{}, 100, 100, cut)), column(plainRows("", " LIMIT 100,100;")));
}

// The date choices are sent as a range of TIME; they must select exactly the
// events that comparing DATE(EVENTS.TIME) with the days selects.
TEST_F(FilterTest, TimeRangeSelectsTheSameEventsAsTheDateOfTheTime)
{
    sql("INSERT INTO EVENTS (ID_USER, ID_GROUP, ID_DEVICE, TYPE, TIME) VALUES "
        "(1, 2, 1, 1, '2023-12-31 23:59:59'), (1, 2, 1, 1, '2024-01-01 00:00:00'),"
        "(1, 2, 1, 1, '2024-01-31 23:59:59'), (1, 2, 1, 1, '2024-02-01 00:00:00'),"
        "(1, 2, 1, 1, '2024-02-29 00:00:00'), (1, 2, 1, 1, '2024-04-30 23:59:59'),"
        "(1, 2, 1, 1, '2024-05-01 00:00:00'), (1, 2, 1, 1, '2024-05-01 00:00:01')");
    auto ids = [this](const QString& statement) { return column(statement); };
    auto quotedForm = [](const QString& condition) { return plainRows(condition, ";"); };
    const QDate days[] = {QDate(2023, 12, 31), QDate(2024, 1, 1), QDate(2024, 1, 31),
                          QDate(2024, 2, 1), QDate(2024, 2, 29), QDate(2024, 3, 1),
                          QDate(2024, 4, 30), QDate(2024, 5, 1)};
    int compared = 0;
    for (const QDate& from : days) {
        for (const QDate& to : days) {
            EventFilter filter;
            filter.dateMode = 2;
            filter.from = from;
            filter.to = to;
            const QStringList expected = ids(quotedForm(
                QStringLiteral(" AND DATE(EVENTS.TIME)  BETWEEN  '%1' AND '%2'")
                    .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate))));
            EXPECT_EQ(ids(EventStatements::all(filter)), expected) << from.toString().toStdString()
                                                                  << " .. " << to.toString().toStdString();
            EXPECT_EQ(scalar(EventStatements::count(filter)), QString::number(expected.size()));
            EXPECT_EQ(scalar(plainCount(QStringLiteral(" AND DATE(EVENTS.TIME)  BETWEEN  '%1' AND '%2'")
                                            .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate)))),
                      QString::number(expected.size()));
            compared += expected.size();
        }
    }
    EXPECT_GT(compared, 40);

    EventFilter filter;
    filter.dateMode = 1;
    filter.today = today;
    const QStringList expected = ids(quotedForm(
        QStringLiteral(" AND DATE(EVENTS.TIME) = '%1'").arg(today.toString(Qt::ISODate))));
    EXPECT_EQ(expected, QStringList({"12", "11"}));
    EXPECT_EQ(ids(EventStatements::all(filter)), expected);
}

TEST_F(EventsTest, PersonListHoldsEveryoneAndLeavesTheSelectedPersonAlone)
{
    sql("INSERT INTO USERS (FIRST_NAME, NAME) SELECT CONCAT('Imię', seq), CONCAT('Nazwisko', "
        "LPAD(seq, 5, '0')) FROM seq_1_to_3005");
    sql("UPDATE USERS SET DEL = 1 WHERE ID_USER = 4");
    sql("INSERT INTO DEVICE (NAME) VALUES ('Brama')");
    sql("INSERT INTO EVENTS (ID_USER, ID_GROUP, ID_DEVICE, TYPE, TIME) VALUES "
        "(3005, 1, 1, 1, NOW()), (3004, 1, 1, 1, NOW())");
    start();
    const std::vector<Tuser>& persons = form->lookups().PersonList;
    ASSERT_EQ(persons.size(), 3005u);   // entry 0 and the 3004 live people
    EXPECT_EQ(persons[0].id, 0);
    EXPECT_TRUE(persons[0].name.isEmpty());
    EXPECT_EQ(persons.back().id, 3005);
    EXPECT_EQ(page->ComboBox9->count(), 3004);
    EXPECT_EQ(page->ComboBox9->itemText(3003), QString::fromUtf8("Nazwisko03005 Imię3005"));
    EXPECT_EQ(page->ComboBox9->currentIndex(), -1);

    // The people page acts on the current row of Users: it stays where it was.
    module->Users.setRecordNo(7);
    const QString seventh = module->Users.text("ID_USER");
    page->CheckBox11->click();
    EXPECT_EQ(module->Users.recordNo(), 7);
    EXPECT_EQ(module->Users.text("ID_USER"), seventh);
    EXPECT_FALSE(module->Users.eof());
    EXPECT_EQ(page->ComboBox9->currentIndex(), 0);

    // A person beyond the 3000th is filtered like any other.
    page->ComboBox9->setCurrentIndex(3003);
    click("Button27");
    EXPECT_EQ(shownIds(), QList<int>({1}));

    // A person added meanwhile appears when "Wybrana osoba" is checked again.
    sql("INSERT INTO USERS (FIRST_NAME, NAME) VALUES ('Ala', 'Aaa')");
    module->Users.reexecute();
    page->CheckBox11->click();
    page->CheckBox11->click();
    EXPECT_EQ(page->ComboBox9->itemText(0), "Aaa Ala");
    EXPECT_EQ(persons.size(), 3006u);
}

class WatchRefreshTest : public EventsTest {
protected:
    void SetUp() override
    {
        EventsTest::SetUp();
        sql("INSERT INTO USERS (FIRST_NAME, NAME) VALUES ('Jan', 'Nowak')");
        sql("INSERT INTO DEVICE (NAME) VALUES ('Brama')");
        addEvents(30);
        start();
        click("Button27");
    }
    // A new event of the given type, and the counter moved as the event writer moves it.
    void newEvent(int type = 1)
    {
        sql(QStringLiteral("INSERT INTO EVENTS (ID_USER, ID_GROUP, ID_DEVICE, TYPE, TIME) "
                           "VALUES (1, 1, 1, %1, NOW())").arg(type));
        sql("UPDATE STATUS SET EVENTS = EVENTS + 1");
    }
    void tick()
    {
        // Through the timer's own connection, so that an error reaches the error box.
        QMetaObject::invokeMethod(form->Timer1, "timeout", Qt::DirectConnection);
        page->waitForWatchRefresh();
    }
};

TEST_F(WatchRefreshTest, RefreshesOnlyWhenTheCounterMovedAndKeepsRowFive)
{
    page->DBGrid2->clickRow(4);
    EXPECT_EQ(module->Events.recordNo(), 5);
    const int fourth = shownIds()[3];
    QSignalSpy refreshes(&module->Events, &Dataset::reset);

    tick();   // the counter has not moved
    EXPECT_EQ(refreshes.count(), 0);

    newEvent();
    tick();
    EXPECT_EQ(refreshes.count(), 1);
    EXPECT_EQ(module->Events.recordNo(), 5);
    EXPECT_EQ(page->DBGrid2->currentIndex().row(), 4);
    EXPECT_EQ(module->Events.text("ID").toInt(), fourth);   // row 5 holds the former row 4
    EXPECT_EQ(records(), QString::fromUtf8("liczba rekordów: 31"));
    EXPECT_EQ(module->SQL.statement(), EventStatements::count(EventFilter{}));

    tick();
    EXPECT_EQ(refreshes.count(), 1);

    // The refresh reads the filter and page as they stand on the screen.
    page->ComboBox12->setCurrentIndex(2);
    page->Edit18->setText("0");
    newEvent(2);
    tick();
    EXPECT_EQ(shownIds(), QList<int>({scalar("SELECT MAX(ID) FROM EVENTS").toInt()}));
    EXPECT_EQ(page->Edit18->text(), "1");
    expectNothingShown();
}

TEST_F(WatchRefreshTest, TheOperatorsNewerQueryIsNotOverwritten)
{
    newEvent();
    form->Timer1Timer();   // the watch's statements are under way ...
    page->ComboBox12->setCurrentIndex(2);
    click("Button27");     // ... when the operator filters for exits
    page->waitForWatchRefresh();
    EXPECT_TRUE(shownIds().isEmpty());
    EXPECT_EQ(records(), QString::fromUtf8("liczba rekordów: 0"));

    // The connection closed meanwhile: the watch's rows are not shown either.
    page->ComboBox12->setCurrentIndex(0);
    newEvent();
    form->Timer1Timer();
    form->UNCONNECT1->trigger();
    page->waitForWatchRefresh();
    EXPECT_FALSE(module->Events.isOpen());
    expectNothingShown();
}

TEST_F(WatchRefreshTest, AFailingRefreshIsReportedAndTheNextChangeTriesAgain)
{
    page->DBGrid2->clickRow(4);
    sql("RENAME TABLE TYP TO TYP_GONE");
    newEvent();
    tick();
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_TRUE(dialogs.errors().first().contains("TYP")) << dialogs.errors().first().toStdString();
    EXPECT_EQ(form->statusText(), TDataModule3::ProblemText);
    EXPECT_EQ(module->Events.rowCount(), 30);   // the rows shown before stay
    EXPECT_EQ(records(), QString::fromUtf8("liczba rekordów: 30"));

    // A page number that is not a number stops the refresh before any statement.
    sql("RENAME TABLE TYP_GONE TO TYP");
    page->Edit18->setText("x");
    newEvent();
    tick();
    EXPECT_EQ(dialogs.errors().last(), "'x' is not a valid integer value");

    page->Edit18->setText("1");
    newEvent();
    tick();
    EXPECT_EQ(dialogs.errors().size(), 2);
    EXPECT_EQ(module->Events.rowCount(), 33);
}

// The server ends the watch's own session while it idles (its wait_timeout):
// the next refresh connects again without troubling the operator.
TEST_F(WatchRefreshTest, TheWatchsIdleSessionEndedByTheServerReconnectsQuietly)
{
    newEvent();
    tick();
    const QString watchSessions = QStringLiteral(
        "SELECT GROUP_CONCAT(ID) FROM information_schema.PROCESSLIST WHERE DB = '%1' "
        "AND ID <> %2 AND ID <> CONNECTION_ID()")
                                      .arg(databaseName())
                                      .arg(mysql_thread_id(module->Quorvel.handle()));
    const QString sessions = scalar(watchSessions);
    ASSERT_FALSE(sessions.isEmpty());
    for (const QString& id : sessions.split(u','))
        killConnection(id.toULong());

    newEvent();
    tick();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("\n").toStdString();
    EXPECT_EQ(records(), QString::fromUtf8("liczba rekordów: 32"));
}

}  // namespace
