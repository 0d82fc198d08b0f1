// Groups and schedule templates on the page "Uprawnienia grup", against the
// real window and database.
#include "access/AccessPage.h"
#include "access/ScheduleEditor.h"
#include "support/AppFixture.h"
#include "ui/BoundGrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

namespace {

class AccessTest : public AppTest {
protected:
    void start()
    {
        startConnected();
        page = form->accessPage();
        editor = page->editor();
    }
    QStringList items(const char* comboName) { return AppTest::items(find<QComboBox>(comboName)); }
    // Colours of one editor row as 'G'/'B', read from the grabbed grid.
    std::string shownRow(int row)
    {
        const QImage image = editor->grid()->grab().toImage();
        std::string codes;
        for (int col = 0; col < ScheduleGrid::Columns; ++col) {
            const QColor c = image.pixelColor(col * ScheduleGrid::ColumnPitch + 2,
                                              row * ScheduleGrid::RowPitch + 10);
            codes += c == QColor(0, 255, 0) ? 'G' : c == QColor(0, 0, 255) ? 'B' : '?';
        }
        return codes;
    }
    void dragOnGrid(int fromCol, int fromRow, int toCol, int toRow)
    {
        QWidget* grid = editor->grid();
        auto at = [](int col, int row) {
            return QPoint(col * ScheduleGrid::ColumnPitch + 2, row * ScheduleGrid::RowPitch + 10);
        };
        QTest::mousePress(grid, Qt::LeftButton, {}, at(fromCol, fromRow));
        QMouseEvent move(QEvent::MouseMove, QPointF(at(toCol, toRow)),
                         QPointF(grid->mapToGlobal(at(toCol, toRow))), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid, &move);
        QTest::mouseRelease(grid, Qt::LeftButton, {}, at(toCol, toRow));
    }

    AccessPage* page = nullptr;
    ScheduleEditor* editor = nullptr;
};

const QString Tricky = QString::fromUtf8("Zespół 'A' \\ \"B\"; --");

const char* const GroupCombos[] = {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox10"};

TEST_F(AccessTest, AddingAGroupRefillsEveryGroupList)
{
    sql("INSERT INTO GROUPS (NAME) VALUES ('Biuro'), ('Magazyn')");
    sql("INSERT INTO GROUPS (NAME, DEL) VALUES ('Stara', 1)");
    start();
    const QStringList before = {"Biuro", QString::fromUtf8("Domyślna"), "Magazyn"};
    for (const char* combo : GroupCombos)
        EXPECT_EQ(items(combo), before) << combo;
    EXPECT_EQ(find<QComboBox>("ComboBox3")->currentIndex(), -1);
    EXPECT_EQ(find<QComboBox>("ComboBox10")->currentIndex(), 0);
    EXPECT_EQ(form->lookups().GroupList.size(), 3u);
    EXPECT_EQ(page->DBGrid4->currentIndex().row(), 2);   // the last group is current

    // A name that a deleted group carries is taken; so is an existing one in another case.
    for (const QString& taken : {QStringLiteral("Stara"), QStringLiteral("BIURO")}) {
        page->Edit5->setText(taken);
        click("Button7");
        EXPECT_EQ(dialogs.texts("notice"), QStringList({QString::fromUtf8("Grupa już istnieje w bazie.")}));
        dialogs.clear();
    }
    page->Edit5->clear();
    click("Button7");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM GROUPS"), 4);
    EXPECT_EQ(counter("GROUPS"), 0);

    page->Edit5->setText(Tricky);
    click("Button7");
    expectNothingShown();
    EXPECT_EQ(scalar("SELECT NAME FROM GROUPS ORDER BY ID_GROUP DESC LIMIT 1"), Tricky);
    EXPECT_EQ(counter("GROUPS"), 1);
    for (const char* combo : GroupCombos)
        EXPECT_EQ(items(combo).size(), 4) << combo;
    EXPECT_EQ(module->Groups.text("NAME"), Tricky);   // last in name order
    EXPECT_EQ(form->lookups().GroupList.back().name, Tricky);
}

TEST_F(AccessTest, DeletingAGroupMovesItsMembersAndDropsItsPermissions)
{
    sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (5, 'Piąta'), (6, 'Szósta')");
    sql("INSERT INTO USERS (ID_GROUP, NAME, DEL) VALUES (5, 'a', 0), (5, 'b', 1), (6, 'c', 0)");
    sql("INSERT INTO PERMISSIONS_has_GROUPS (ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK) "
        "VALUES (1, 5, 1), (1, 6, 1)");
    start();

    // Group 1 is never deleted, and nobody is asked.
    clickRow(page->DBGrid4, QString::fromUtf8("Domyślna"));
    click("Button6");
    expectNothingShown();

    clickRow(page->DBGrid4, QString::fromUtf8("Piąta"));
    dialogs.questionAnswers.enqueue(false);
    click("Button6");
    EXPECT_EQ(dialogs.texts("question"), QStringList({QString::fromUtf8("Czy usunąć grupę?")}));
    EXPECT_EQ(scalarInt("SELECT DEL FROM GROUPS WHERE ID_GROUP = 5"), 0);

    click("Button6");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(ID_GROUP ORDER BY ID_USER) FROM USERS"), "1,1,6");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(ID_GROUP_FK) FROM PERMISSIONS_has_GROUPS"), "6");
    EXPECT_EQ(scalarInt("SELECT DEL FROM GROUPS WHERE ID_GROUP = 5"), 1);
    EXPECT_EQ(scalar("SELECT CONCAT_WS(',', USERS, PERMISSIONS_has_GROUPS, GROUPS) FROM STATUS"), "1,1,1");
    EXPECT_EQ(items("ComboBox2"), QStringList({QString::fromUtf8("Domyślna"), QString::fromUtf8("Szósta")}));
    // The member count of group 1 follows, deleted members included.
    module->Groups.first();
    EXPECT_EQ(module->Groups.text("NAME"), QString::fromUtf8("Domyślna"));
    EXPECT_EQ(module->Groups.integer("USER"), 2);
    EXPECT_EQ(page->DBGrid4->model()->index(0, 1).data().toString(), "2");
}

TEST_F(AccessTest, RenamingAGroupLeavesTheListsStale)
{
    sql("INSERT INTO GROUPS (NAME) VALUES ('Biuro'), ('Magazyn')");
    start();
    clickRow(page->DBGrid4, "Biuro");
    const int recordNo = module->Groups.recordNo();
    page->Edit5->setText("Zarząd \\ 'x'");
    click("Button25");
    EXPECT_EQ(scalar("SELECT NAME FROM GROUPS WHERE ID_GROUP = 2"), "Zarząd \\ 'x'");
    EXPECT_EQ(counter("GROUPS"), 1);
    EXPECT_EQ(module->Groups.recordNo(), recordNo);   // same place, now another group
    EXPECT_EQ(module->Groups.text("NAME"), QString::fromUtf8("Domyślna"));
    EXPECT_EQ(items("ComboBox1").first(), "Biuro");

    // An empty name changes nothing but still bumps the counter.
    page->Edit5->clear();
    click("Button25");
    EXPECT_EQ(counter("GROUPS"), 2);
    EXPECT_EQ(scalar("SELECT NAME FROM GROUPS WHERE ID_GROUP = 2"), "Zarząd \\ 'x'");
}

TEST_F(AccessTest, ConnectAndGroupClicksLoadTheEmptyTemplate)
{
    sql("INSERT INTO PERMISSIONS (NAME, D1) VALUES ('Biuro', '08:00:16:00')");
    start();
    EXPECT_EQ(find<QLabel>("Label38")->text(), "Szablon: ");
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(shownRow(row), std::string(96, 'B'));
        EXPECT_EQ(editor->startText(row), "");
        EXPECT_EQ(editor->endText(row), "");
    }
    // A template shown, then a click in the group list loads template 0 again.
    clickRow(page->DBGrid5, "Biuro");
    EXPECT_EQ(find<QLabel>("Label38")->text(), "Szablon: Biuro");
    clickRow(page->DBGrid4, QString::fromUtf8("Domyślna"));
    EXPECT_EQ(find<QLabel>("Label38")->text(), "Szablon: ");
    EXPECT_EQ(editor->startText(0), "");

    // So does the release of a key in the group list.
    clickRow(page->DBGrid5, "Biuro");
    QTest::keyClick(page->DBGrid4, Qt::Key_Down);
    EXPECT_EQ(find<QLabel>("Label38")->text(), "Szablon: ");
    expectNothingShown();
}

TEST_F(AccessTest, TemplateListLoadsDayStringsAsRead)
{
    sql("INSERT INTO PERMISSIONS (NAME, D1, D2, D3, D4, D5, D6, D7) VALUES "
        "('Mieszany', '08:00:17:00', '00:00:23:59', '00:00:00:00', '17:00:08:00', "
        "'08:10:17:00', '9', NULL)");
    start();
    clickRow(page->DBGrid5, "Mieszany");
    EXPECT_EQ(find<QLabel>("Label38")->text(), "Szablon: Mieszany");
    auto run = [](int from, int to) {
        std::string s(96, 'B');
        for (int c = from; c <= to; ++c)
            s[c] = 'G';
        return s;
    };
    EXPECT_EQ(shownRow(0), run(32, 67));
    EXPECT_EQ(shownRow(1), run(0, 95));
    EXPECT_EQ(shownRow(2), run(1, 0));
    EXPECT_EQ(shownRow(3), run(68, 95));
    EXPECT_EQ(shownRow(4), run(1, 0));
    EXPECT_EQ(editor->startText(4), "08:10");
    EXPECT_EQ(editor->startText(5), "9");
    EXPECT_EQ(editor->endText(5), "");
    EXPECT_EQ(editor->startText(6), "");
    EXPECT_EQ(find<QLineEdit>("MaskEdit16")->text(), "17:00");
}

TEST_F(AccessTest, AddingAndSavingTemplatesWriteTheFields)
{
    start();
    // Saving with no template sends nothing and bumps nothing.
    click("Button11");
    EXPECT_EQ(counter("PERMISSIONS"), 0);

    dragOnGrid(32, 0, 67, 4);   // Monday to Friday, 08:00 to 17:00
    page->Edit9->setText(Tricky);
    click("Button9");
    click("Button9");
    expectNothingShown();
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM PERMISSIONS WHERE NAME = '" + module->Quorvel.escape(Tricky) + "'"), 2);
    EXPECT_EQ(scalar("SELECT CONCAT_WS(',', D1, D5, D6, D7) FROM PERMISSIONS LIMIT 1"),
              "08:00:17:00,08:00:17:00,00:00:00:00,00:00:00:00");
    EXPECT_EQ(counter("PERMISSIONS"), 2);
    page->Edit9->clear();
    click("Button9");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM PERMISSIONS"), 2);

    // Saving writes the fields into the current row of the template list.
    module->Szablony.setRecordNo(2);
    const int id = module->Szablony.integer("ID_PERMISSIONS");
    QTest::mouseClick(editor->grid(), Qt::LeftButton, {}, QPoint(40 * 6 + 2, 1 * 21 + 10));
    click("Button11");
    EXPECT_EQ(scalar(QStringLiteral("SELECT CONCAT_WS(',', D1, D2) FROM PERMISSIONS WHERE ID_PERMISSIONS = %1").arg(id)),
              "08:00:17:00,10:00:10:15");
    EXPECT_EQ(module->Szablony.recordNo(), 2);
    EXPECT_EQ(counter("PERMISSIONS"), 3);
}

TEST_F(AccessTest, DeletingAndRenamingTemplates)
{
    sql("INSERT INTO PERMISSIONS (ID_PERMISSIONS, NAME, D1) VALUES (3, 'Nocny', '22:00:23:59'), (4, 'Dzienny', '06:00:22:00')");
    sql("INSERT INTO PERMISSIONS_has_GROUPS (ID_PERMISSIONS_FK, ID_GROUP_FK, ID_DEVICE_FK) VALUES (3, 2, 1), (4, 2, 1)");
    start();
    clickRow(page->DBGrid5, "Nocny");
    page->Edit9->setText("Nocny 'B'");
    click("Button26");
    EXPECT_EQ(scalar("SELECT NAME FROM PERMISSIONS WHERE ID_PERMISSIONS = 3"), "Nocny 'B'");
    EXPECT_EQ(find<QLabel>("Label38")->text(), "Szablon: Nocny");   // not reloaded
    EXPECT_EQ(counter("PERMISSIONS"), 1);
    page->Edit9->clear();
    click("Button26");
    EXPECT_EQ(counter("PERMISSIONS"), 2);

    clickRow(page->DBGrid5, "Nocny 'B'");
    dialogs.questionAnswers.enqueue(false);
    click("Button10");
    EXPECT_EQ(dialogs.texts("question"), QStringList({QString::fromUtf8("Czy usunąc szablon ?")}));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM PERMISSIONS"), 2);
    click("Button10");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(ID_PERMISSIONS) FROM PERMISSIONS"), "4");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(ID_PERMISSIONS_FK) FROM PERMISSIONS_has_GROUPS"), "4");
    EXPECT_EQ(scalar("SELECT CONCAT_WS(',', PERMISSIONS_has_GROUPS, PERMISSIONS) FROM STATUS"), "1,3");
    EXPECT_EQ(module->Szablony.rowCount(), 1);
    EXPECT_EQ(find<QLabel>("Label38")->text(), "Szablon: ");
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(AccessTest, NothingHappensWithoutAConnection)
{
    createForm();
    page = form->accessPage();
    page->Edit5->setText("x");
    page->Edit9->setText("y");
    for (const char* button : {"Button7", "Button6", "Button25", "Button9", "Button10", "Button26", "Button11"})
        click(button);
    expectNothingShown();
    EXPECT_FALSE(module->Quorvel.isOpen());
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM GROUPS"), 1);
    EXPECT_EQ(find<QLabel>("Label38")->text(), "---");
}

}  // namespace
