// Permissions of groups on passages on the page "Uprawnienia grup", against the
// real window and database.
#include "access/AccessPage.h"
#include "access/ScheduleEditor.h"
#include "support/AppFixture.h"
#include "ui/BoundGrid.h"
#include "ui/BoundLabel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {

class PermissionsTest : public AppTest {
protected:
    // Groups: Biuro (2), Domyślna (1), Magazyn (3), in name order; two templates;
    // three live passages and a deleted one.
    void SetUp() override
    {
        AppTest::SetUp();
        sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro'), (3, 'Magazyn')");
        sql("INSERT INTO DEVICE (ID_DEVICE, NAME) VALUES (1, 'Wejście główne'), (2, 'Brama'), "
            "(3, 'Drzwi biura')");
        sql("INSERT INTO DEVICE (ID_DEVICE, NAME, DEL) VALUES (4, 'Stara brama', 1)");
    }
    void addTemplates()
    {
        sql("INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME, D1) VALUES "
            "(1, 'Dzienny', '08:00:16:00'), (2, 'Nocny', '22:00:23:59')");
    }
    void start()
    {
        startConnected();
        page = form->accessPage();
    }
    long long counter() { return scalarInt("SELECT PERMISSIONS_has_GROUPS FROM STATUS"); }
    // The permission rows in the database, in key order, as "group,device,template,A,B".
    QStringList stored()
    {
        return column("SELECT CONCAT_WS(',', ID_GROUP_FK, ID_DEVICE_FK, ID_PERMISSIONS_FK, INPUT, "
                      "OUTPUT) FROM PERMISSIONS_has_GROUPS ORDER BY NMID");
    }
    // What the permission list shows, row by row, its four columns joined by "|".
    QStringList shown()
    {
        QStringList rows;
        QAbstractItemModel* model = page->DBGrid6->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int col = 0; col < model->columnCount(); ++col)
                cells << model->index(row, col).data().toString();
            rows << cells.join('|');
        }
        return rows;
    }
    void tick(const QStringList& passages)
    {
        QListWidget* list = page->CheckListBox1;
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setCheckState(passages.contains(list->item(i)->text()) ? Qt::Checked
                                                                                 : Qt::Unchecked);
    }
    QString caption() { return find<QLabel>("Label38")->text(); }

    AccessPage* page = nullptr;
};

const QString Office = QStringLiteral("Biuro");
const QString Default = QString::fromUtf8("Domyślna");
const QString Store = QStringLiteral("Magazyn");
const QString Main = QString::fromUtf8("Wejście główne");

TEST_F(PermissionsTest, ReaderBoxesDecideTheHeadsOfEveryRowWritten)
{
    addTemplates();
    start();
    EXPECT_TRUE(page->CheckBox2->isChecked());
    EXPECT_TRUE(page->CheckBox3->isChecked());
    clickRow(page->DBGrid4, Office);
    clickRow(page->DBGrid5, "Nocny");

    // Only A, two passages: two rows, two bumps, both listed by passage name.
    page->CheckBox3->setChecked(false);
    tick({"Brama", Main});
    click("Button12");
    EXPECT_EQ(stored(), QStringList({"2,2,2,1,0", "2,1,2,1,0"}));
    EXPECT_EQ(counter(), 2);
    EXPECT_EQ(shown(), QStringList({"Brama|Nocny|1|0", Main + "|Nocny|1|0"}));
    // The check marks stay for the next grant.
    EXPECT_EQ(page->CheckListBox1->item(0)->checkState(), Qt::Checked);

    // Only B; the same passage granted again is a second row, listed too.
    page->CheckBox2->setChecked(false);
    page->CheckBox3->setChecked(true);
    tick({"Brama"});
    click("Button12");
    EXPECT_EQ(stored().last(), "2,2,2,0,1");
    EXPECT_EQ(shown().filter("Brama|").size(), 2);
    EXPECT_EQ(counter(), 3);

    // Neither reader head: nothing, whatever is ticked.
    page->CheckBox3->setChecked(false);
    tick({"Brama", "Drzwi biura", Main});
    click("Button12");
    EXPECT_EQ(stored().size(), 3);
    EXPECT_EQ(counter(), 3);
    expectNothingShown();
}

TEST_F(PermissionsTest, GroupOneAndEmptyTicksWriteNothingAndSayNothing)
{
    addTemplates();
    start();
    clickRow(page->DBGrid4, Default);
    tick({"Brama"});
    click("Button12");
    clickRow(page->DBGrid4, Office);
    tick({});
    click("Button12");
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_EQ(counter(), 0);
    expectNothingShown();
}

TEST_F(PermissionsTest, GrantWithoutAnyTemplateIsRefused)
{
    start();
    EXPECT_EQ(page->grantCaption->text(), QString::fromUtf8("Dodaj uprawnienie:  dla zaznaczonych przejść"));
    tick({"Brama"});
    click("Button12");   // Magazyn is current
    ASSERT_EQ(dialogs.texts("notice").size(), 1);
    EXPECT_TRUE(dialogs.texts("notice")[0].contains("szablon")) << dialogs.shown[0].toStdString();
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_EQ(counter(), 0);
}

TEST_F(PermissionsTest, RemovalTakesOnlyTheCurrentRowOfSeveralSelected)
{
    addTemplates();
    sql("INSERT INTO PERMISSIONS_has_GROUPS (NMID, ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK, INPUT, OUTPUT) "
        "VALUES (10, 1, 3, 1, 1, 1), (11, 2, 3, 2, 1, 0), (12, 1, 3, 3, 0, 1), (13, 1, 2, 1, 1, 1)");
    start();
    // Magazyn, the last group, is shown after connecting: Brama, Drzwi biura, Wejście główne.
    EXPECT_EQ(page->groupCaption->text(), QString::fromUtf8("Lista uprawnień dla grupy: Magazyn"));
    ASSERT_EQ(shown().size(), 3);
    clickRow(page->DBGrid6, "Brama");
    clickRow(page->DBGrid6, Main, 0, Qt::ControlModifier);
    clickRow(page->DBGrid6, "Drzwi biura", 0, Qt::ControlModifier);
    EXPECT_EQ(page->DBGrid6->selectedRowNumbers(), std::vector<int>({0, 1, 2}));
    EXPECT_EQ(module->Prawa.integer("NMID"), 12);

    click("Button13");
    EXPECT_EQ(column("SELECT NMID FROM PERMISSIONS_has_GROUPS ORDER BY NMID"),
              QStringList({"10", "11", "13"}));
    EXPECT_EQ(counter(), 1);
    EXPECT_EQ(shown(), QStringList({"Brama|Nocny|1|0", Main + "|Dzienny|1|1"}));
    expectNothingShown();

    // From an empty list nothing is removed.
    clickRow(page->DBGrid4, Default);
    EXPECT_TRUE(shown().isEmpty());
    click("Button13");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM PERMISSIONS_has_GROUPS"), 3);
    EXPECT_EQ(counter(), 1);
}

TEST_F(PermissionsTest, AfterAGroupDeleteTheListStaysEmptyUntilAGroupClick)
{
    addTemplates();
    sql("INSERT INTO PERMISSIONS_has_GROUPS (ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK, INPUT, OUTPUT) "
        "VALUES (1, 2, 1, 1, 1), (2, 3, 2, 1, 1)");
    start();
    clickRow(page->DBGrid4, Office);
    EXPECT_EQ(shown(), QStringList({Main + "|Dzienny|1|1"}));
    click("Button6");
    EXPECT_EQ(scalar("SELECT CONCAT_WS(',', USERS, PERMISSIONS_has_GROUPS, GROUPS) FROM STATUS"), "1,1,1");
    // The list was read again for the deleted group; the current group is now the last one.
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(page->groupCaption->text(), QString::fromUtf8("Lista uprawnień dla grupy: Magazyn"));
    clickRow(page->DBGrid4, Store);
    EXPECT_EQ(shown(), QStringList({"Brama|Nocny|1|1"}));
    EXPECT_EQ(caption(), "Szablon: Nocny");
}

TEST_F(PermissionsTest, PressOrClickOnAPermissionLoadsItsTemplate)
{
    addTemplates();
    sql("INSERT INTO PERMISSIONS_has_GROUPS (ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK, INPUT, OUTPUT) "
        "VALUES (1, 3, 1, 1, 1), (2, 3, 2, 1, 1)");
    start();
    // Connecting loads the template of the first permission of the last group.
    EXPECT_EQ(caption(), "Szablon: Nocny");
    ScheduleEditor* editor = page->editor();

    clickRow(page->DBGrid6, Main);
    EXPECT_EQ(caption(), "Szablon: Dzienny");
    EXPECT_EQ(editor->startText(0), "08:00");
    EXPECT_EQ(editor->endText(0), "16:00");
    EXPECT_EQ(editor->cellColor(32, 0), QColor(0, 255, 0));

    // A press alone (no click completed) loads as well.
    const QRect first = page->DBGrid6->visualRect(page->DBGrid6->model()->index(0, 0));
    QTest::mousePress(page->DBGrid6->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(caption(), "Szablon: Nocny");
    EXPECT_EQ(editor->startText(0), "22:00");
    QTest::mouseRelease(page->DBGrid6->viewport(), Qt::LeftButton, {}, first.center());
}

TEST_F(PermissionsTest, CaptionsFollowTheGroupAndTemplateRows)
{
    addTemplates();
    start();
    EXPECT_EQ(page->grantCaption->text(), QString::fromUtf8("Dodaj uprawnienie: Dzienny dla zaznaczonych przejść"));
    // Moving in the template list with the keys loads nothing, but the grant line follows.
    page->DBGrid5->setFocus();
    QTest::keyClick(page->DBGrid5, Qt::Key_Down);
    EXPECT_EQ(page->grantCaption->text(), QString::fromUtf8("Dodaj uprawnienie: Nocny dla zaznaczonych przejść"));
    EXPECT_EQ(caption(), "Szablon: ");
    QTest::keyClick(page->DBGrid4, Qt::Key_Up);
    EXPECT_EQ(page->groupCaption->text(), QString::fromUtf8("Lista uprawnień dla grupy: Domyślna"));
    // Disconnected, both read empty.
    form->UNCONNECT1->trigger();
    EXPECT_EQ(page->groupCaption->text(), QString::fromUtf8("Lista uprawnień dla grupy: "));
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(PermissionsTest, GrantThatFailsPartWaySaysWhatWasGranted)
{
    addTemplates();
    sql("CREATE TRIGGER refuse_gate BEFORE INSERT ON PERMISSIONS_has_GROUPS FOR EACH ROW "
        "IF NEW.ID_DEVICE_FK = 3 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'zablokowane'; END IF");
    start();
    tick({"Brama", "Drzwi biura", Main});
    click("Button12");
    EXPECT_EQ(dialogs.shown,
              QStringList({QString::fromUtf8("notice: Nadano uprawnienia do przejść: Brama.\n"
                                             "Nie nadano uprawnień do przejść: Drzwi biura, Wejście główne."),
                           "error: zablokowane"}));
    EXPECT_EQ(stored(), QStringList({"3,2,1,1,1"}));
    EXPECT_EQ(counter(), 1);
    EXPECT_EQ(shown(), QStringList({"Brama|Dzienny|1|1"}));
    EXPECT_FALSE(module->Quorvel.inTransaction());

    // Failing at the first passage: nothing granted, and said so.
    dialogs.clear();
    tick({"Drzwi biura", Main});
    click("Button12");
    EXPECT_EQ(dialogs.texts("notice"),
              QStringList({QString::fromUtf8("Nie nadano żadnego uprawnienia.\n"
                                             "Nie nadano uprawnień do przejść: Drzwi biura, Wejście główne.")}));
    EXPECT_EQ(stored().size(), 1);
}

TEST_F(PermissionsTest, CounterThatCannotBeRaisedKeepsTheRowItFollows)
{
    addTemplates();
    start();
    sql("DROP TABLE STATUS");
    tick({"Brama", Main});
    click("Button12");
    // The first row was written before its counter failed; the second was not tried.
    EXPECT_EQ(stored(), QStringList({"3,2,1,1,1"}));
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[0], QString::fromUtf8("notice: Nadano uprawnienia do przejść: Brama.\n"
                                                  "Nie nadano uprawnień do przejść: Wejście główne."));
    EXPECT_TRUE(dialogs.shown[1].startsWith("error: ")) << dialogs.shown[1].toStdString();
}

TEST_F(PermissionsTest, FromConnectToAGrantedPermission)
{
    addTemplates();
    sql("INSERT INTO PERMISSIONS_has_GROUPS (ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK, INPUT, OUTPUT) "
        "VALUES (2, 3, 9, 1, 1)");   // on a passage removed since: not listed
    start();
    // The passages, in the device list's order; the last group is current.
    QStringList passages;
    for (int i = 0; i < page->CheckListBox1->count(); ++i)
        passages << page->CheckListBox1->item(i)->text();
    EXPECT_EQ(passages, QStringList({"Brama", "Drzwi biura", Main}));
    EXPECT_EQ(page->groupCaption->text(), QString::fromUtf8("Lista uprawnień dla grupy: Magazyn"));
    EXPECT_TRUE(shown().isEmpty());
    const QStringList titles = {"Przejście", "Stosowany szablon", "A", "  B"};
    for (int col = 0; col < 4; ++col)
        EXPECT_EQ(page->DBGrid6->model()->headerData(col, Qt::Horizontal).toString(), titles[col]);

    // Select a group, pick a template, tick a passage, grant.
    clickRow(page->DBGrid4, Office);
    clickRow(page->DBGrid5, "Nocny");
    EXPECT_EQ(page->grantCaption->text(), QString::fromUtf8("Dodaj uprawnienie: Nocny dla zaznaczonych przejść"));
    tick({"Drzwi biura"});
    click("Button12");
    expectNothingShown();
    EXPECT_EQ(shown(), QStringList({"Drzwi biura|Nocny|1|1"}));
    EXPECT_EQ(counter(), 1);

    // Adding a group shows the last group's list; deleting a template takes its rows away.
    page->Edit5->setText("Zarząd");
    click("Button7");
    EXPECT_EQ(page->groupCaption->text(), QString::fromUtf8("Lista uprawnień dla grupy: Zarząd"));
    EXPECT_TRUE(shown().isEmpty());
    clickRow(page->DBGrid4, Office);
    clickRow(page->DBGrid5, "Nocny");
    click("Button10");
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(caption(), "Szablon: ");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM PERMISSIONS_has_GROUPS"), 0);
}

TEST_F(PermissionsTest, ConnectWithoutTemplatesTableShowsOnlyItsOwnMessage)
{
    sql("DROP TABLE PERMISSIONS");
    createForm();
    connectDatabase();
    // No error box: the permission list was not tried, so the sequence went on.
    EXPECT_EQ(dialogs.shown, QStringList({QString::fromUtf8("connect: Problem z tabelą \"PERMISSIONS\" ")}));
    EXPECT_FALSE(module->Prawa.isOpen());
}

TEST_F(PermissionsTest, NothingHappensWithoutAConnection)
{
    addTemplates();
    createForm();
    page = form->accessPage();
    for (const char* button : {"Button12", "Button13"})
        click(button);
    page->DBGrid6CellClick();
    expectNothingShown();
    EXPECT_FALSE(module->Quorvel.isOpen());
    EXPECT_EQ(caption(), "---");
}

}  // namespace
