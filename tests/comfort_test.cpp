// What makes the window comfortable to use, on the real window and database:
// sorting a list by a title click changes the view only (the record shown
// selected is the one every operation acts on), find as you type narrows the
// lists of people and devices, counts under the lists, tool tips, Enter in the
// forms, the import's status as a tool tip, and the window's place remembered.
#include "access/AccessPage.h"
#include "app/ConfigFile.h"
#include "devices/DevicesPage.h"
#include "people/CardCodeDialog.h"
#include "events/EventsPage.h"
#include "import/ImportPage.h"
#include "support/Files.h"
#include "support/UsersPageTest.h"
#include "ui/ListProxy.h"
#include "ui/ListTools.h"
#include "ui/StringGrid.h"
#include "ui/ToolTips.h"
#include "ui/WindowPlace.h"

#include <QAbstractSpinBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSlider>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTemporaryDir>

namespace {

class ComfortTest : public UsersPageTest {
protected:
    void addPeople()
    {
        sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro')");
        sql("INSERT INTO USERS (ID_USER, ID_GROUP, FIRST_NAME, NAME) VALUES "
            "(1, 1, 'Anna', 'Kowalska'), (2, 2, 'Łukasz', 'Adamski'), (3, 1, 'Ewa', 'Żak'), "
            "(4, 2, 'Jan', 'Nowak'), (5, 1, 'Sławomir', 'Ślusarz')");
        sql("INSERT INTO CARDS (ID_USER_FK, CODE) VALUES (4, '00000ABCDE'), (4, '0000012345'), "
            "(1, '0000099999')");
    }
};

// Clicks a column title as the operator does.
void clickTitle(QTableView* grid, int column)
{
    QHeaderView* header = grid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

QString countOf(const QWidget* grid)
{
    auto* label = grid->window()->findChild<QLabel*>(grid->objectName() + QStringLiteral("Count"));
    return label ? label->text() : QStringLiteral("(no count)");
}

TEST(ListProxyTest, SortsNumbersAsNumbersAndTextsThePolishWay)
{
    QStandardItemModel model;
    const QStringList names = {"Żak", "Zawada", "Łukasz", "Lis", "Marek", "ślusarz", "Sowa", "Nowy 10", "Nowy 2"};
    const QStringList numbers = {"10", "9", "100", "", "2", "2", "30", "1", "0"};
    for (int i = 0; i < names.size(); ++i)
        model.appendRow({new QStandardItem(names[i]), new QStandardItem(numbers[i])});
    ListProxy proxy;
    proxy.setSourceModel(&model);
    auto column = [&](int c) {
        QStringList out;
        for (int row = 0; row < proxy.rowCount(); ++row)
            out << proxy.index(row, c).data().toString();
        return out;
    };

    proxy.sort(0);
    EXPECT_EQ(column(0), QStringList({"Lis", "Łukasz", "Marek", "Nowy 2", "Nowy 10", "Sowa", "ślusarz",
                                      "Zawada", "Żak"}));
    proxy.sort(1, Qt::AscendingOrder);   // an empty cell counts as 0; equal keys keep their order
    EXPECT_EQ(column(1), QStringList({"", "0", "1", "2", "2", "9", "10", "30", "100"}));
    EXPECT_EQ(column(0).mid(3, 2), QStringList({"Marek", "ślusarz"}));
    proxy.sort(-1);   // back to the order read
    EXPECT_EQ(column(0), names);

    // A changed cell is sorted by its new value.
    proxy.sort(1, Qt::DescendingOrder);
    model.item(3, 1)->setText("500");
    EXPECT_EQ(column(0).first(), "Lis");
    model.item(3, 1)->setText("x");   // no longer a column of numbers: sorted as texts
    EXPECT_EQ(column(1).first(), "x");

    // Finding ignores letter case and blanks around the text.
    proxy.setFindText("  ŚLU ");
    EXPECT_EQ(column(0), QStringList("ślusarz"));
    EXPECT_TRUE(proxy.narrowed());
    proxy.setFindText("");
    EXPECT_EQ(proxy.rowCount(), names.size());
    EXPECT_EQ(listCountText(3, 9, true), "3 z 9");
    EXPECT_EQ(listCountText(9, 9, false), "Liczba: 9");
}

// The people list sorted by surname, backwards: the selected person stays selected
// and is the current record; a person clicked in the sorted list is the one deleted.
TEST_F(ComfortTest, SortingKeepsTheSelectionAndOperationsActOnTheRecordShown)
{
    addPeople();
    start();
    BoundGrid* grid = page->DBGrid3;
    ASSERT_EQ(shown(grid, 1), QStringList({"Adamski", "Kowalska", "Nowak", "Ślusarz", "Żak"}));
    clickPerson("Nowak");
    ASSERT_EQ(module->Users.text("NAME"), "Nowak");

    clickTitle(grid, 1);
    clickTitle(grid, 1);
    EXPECT_EQ(grid->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_TRUE(grid->horizontalHeader()->isSortIndicatorShown());
    EXPECT_EQ(shown(grid, 1), QStringList({"Żak", "Ślusarz", "Nowak", "Kowalska", "Adamski"}));
    EXPECT_EQ(grid->model()->index(grid->currentIndex().row(), 1).data().toString(), "Nowak");
    EXPECT_EQ(module->Users.text("NAME"), "Nowak");
    EXPECT_EQ(page->Edit4->text(), "Nowak");

    // The card count sorts as a number, the group by its name.
    clickTitle(grid, 3);
    EXPECT_EQ(shown(grid, 3), QStringList({"0", "0", "0", "1", "2"}));
    EXPECT_EQ(grid->model()->index(grid->currentIndex().row(), 1).data().toString(), "Nowak");
    clickTitle(grid, 1);
    clickTitle(grid, 1);   // surname, descending again

    // The first row shown is Żak; the person deleted is Żak.
    grid->clickViewRow(0);
    EXPECT_EQ(page->Edit4->text(), QString::fromUtf8("Żak"));
    click("Button3");
    EXPECT_EQ(scalarInt("SELECT DEL FROM USERS WHERE ID_USER = 3"), 1);
    EXPECT_EQ(scalarInt("SELECT SUM(DEL) FROM USERS"), 1);
    // The list read again keeps the sort the operator chose.
    EXPECT_EQ(shown(grid, 1), QStringList({"Ślusarz", "Nowak", "Kowalska", "Adamski"}));

    // A card edited in a sorted card list is written to the card shown.
    clickPerson("Nowak");
    BoundGrid* cards = page->DBGrid7;
    ASSERT_EQ(cards->shownRowCount(), 2);
    clickTitle(cards, 0);
    if (cards->datasetRow(0) != 1)
        clickTitle(cards, 0);   // the other way: the view's first row is the dataset's second
    ASSERT_EQ(cards->datasetRow(0), 1);
    const QString code = cards->model()->index(0, 0).data().toString();
    editCell(cards, 0, 3, QString::fromUtf8("Biała"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT PRINT FROM CARDS WHERE CODE = '%1'").arg(code)),
              QString::fromUtf8("Biała"));
    EXPECT_EQ(scalarInt(QString::fromUtf8("SELECT COUNT(*) FROM CARDS WHERE PRINT = 'Biała'")), 1);

    // The event list is a page of the server's result: its order stays the server's.
    EXPECT_FALSE(form->eventsPage()->findChild<BoundGrid*>("DBGrid2")->isSortingEnabled());
}

TEST_F(ComfortTest, FindNarrowsPeopleBySurnameFirstNameOrCardCodeAndCounts)
{
    addPeople();
    start();
    BoundGrid* grid = page->DBGrid3;
    QLineEdit* find = page->PersonFind;
    EXPECT_EQ(countOf(grid), "Liczba: 5");

    QTest::keyClicks(find, "ow");   // Kowalska, Nowak
    EXPECT_EQ(shown(grid, 1), QStringList({"Kowalska", "Nowak"}));
    EXPECT_EQ(countOf(grid), "2 z 5");
    // The person selected before is not shown: the first one shown is selected.
    EXPECT_EQ(module->Users.text("NAME"), "Kowalska");
    EXPECT_EQ(page->Edit4->text(), "Kowalska");

    find->setText(QString::fromUtf8("łukasz"));   // first name, any letter case
    EXPECT_EQ(shown(grid, 1), QStringList("Adamski"));
    find->setText("abcd");   // part of a card code
    EXPECT_EQ(shown(grid, 1), QStringList("Nowak"));
    EXPECT_EQ(countOf(grid), "1 z 5");

    // A card added meanwhile is found by its code at the next key.
    enterCode("77777");
    ASSERT_EQ(scalarInt("SELECT ID_USER_FK FROM CARDS WHERE CODE = '0000077777'"), 4);
    find->setText("77777");
    EXPECT_EQ(shown(grid, 1), QStringList("Nowak"));

    // Nothing shown, nothing selected: a delete acts on no one.
    find->setText("nikt taki");
    EXPECT_EQ(grid->shownRowCount(), 0);
    EXPECT_EQ(countOf(grid), "0 z 5");
    EXPECT_EQ(module->Users.currentRow(), -1);
    click("Button3");
    EXPECT_EQ(scalarInt("SELECT SUM(DEL) FROM USERS"), 0);

    // Escape empties the field and shows everyone.
    QTest::keyClick(find, Qt::Key_Escape);
    EXPECT_EQ(find->text(), "");
    EXPECT_EQ(countOf(grid), "Liczba: 5");
    EXPECT_EQ(grid->shownRowCount(), 5);
    EXPECT_GE(module->Users.currentRow(), 0);
}

TEST_F(ComfortTest, FindNarrowsDevicesAndEveryListCountsItsRows)
{
    sql("INSERT INTO LOCALIZATION (ID, NAME) VALUES (1, 'Hala'), (2, 'Biuro')");
    sql("INSERT INTO DEVICE (FACTORY, NAME, IP, ID_LOCALIZATION) VALUES "
        "('F1', 'Brama', '10.0.0.5', 1), ('F2', 'Drzwi', '10.0.0.6', 2), ('F3', 'Furtka', '10.1.0.7', 1)");
    sql("INSERT INTO GROUPS (ID_GROUP, NAME) VALUES (2, 'Biuro'), (3, 'Hala')");
    start();
    auto* devices = form->devicesPage()->DBGrid1;
    EXPECT_EQ(countOf(devices), "Liczba: 3");
    QTest::keyClicks(form->devicesPage()->DeviceFind, "10.0.");
    EXPECT_EQ(countOf(devices), "2 z 3");
    form->devicesPage()->DeviceFind->setText("hala");   // the location shown
    EXPECT_EQ(shown(devices, 1), QStringList({"Brama", "Furtka"}));
    EXPECT_EQ(module->Device.text("NAME"), "Brama");

    for (const char* name : {"DBGrid4", "DBGrid5", "DBGrid6", "DBGrid7", "DBGrid8"})
        EXPECT_NE(form->findChild<QLabel*>(QString::fromLatin1(name) + "Count"), nullptr) << name;
    EXPECT_EQ(countOf(find<BoundGrid>("DBGrid8")), "Liczba: 2");
    EXPECT_EQ(countOf(find<BoundGrid>("DBGrid4")), "Liczba: " + QString::number(scalarInt(
                                                       "SELECT COUNT(*) FROM GROUPS WHERE DEL = 0")));
}

// Every control has a tool tip; Enter adds the person, looks a card up, presses
// the focused button; the code field keeps its own Enter.
TEST_F(ComfortTest, ToolTipsEverywhereAndEnterDoesTheObviousThing)
{
    addPeople();
    start();
    page->CardCodeButtonClick();
    form->accessPage()->AccessCheckButtonClick();
    const QList<QWidget*> windows = {form.get(), static_cast<QWidget*>(page->cardCodeDialog()),
                                     form->accessPage()->findChild<QWidget*>("AccessCheckDialog")};
    for (QWidget* window : windows) {
        ASSERT_NE(window, nullptr);
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const bool control = w->inherits("QAbstractButton") || w->inherits("QLineEdit")
                                 || w->inherits("QComboBox") || w->inherits("QAbstractSpinBox")
                                 || w->inherits("QAbstractSlider") || w->inherits("QAbstractItemView");
            // Parts Qt builds inside its own controls (a spin box's line edit, a
            // tab bar's scroll buttons, a combo's list) are not the program's.
            if (!control || w->objectName().isEmpty() || w->objectName().startsWith("qt_")
                || (w->parentWidget() && w->parentWidget()->inherits("QTabBar")))
                continue;
            EXPECT_FALSE(w->toolTip().isEmpty()) << w->objectName().toStdString();
        }
    }

    page->Edit6->setText("Olga");
    page->Edit7->setText("Wrona");
    QTest::keyClick(page->Edit7, Qt::Key_Return);
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM USERS WHERE NAME = 'Wrona' AND FIRST_NAME = 'Olga'"), 1);

    page->Edit17->setText("0000012345");
    QTest::keyClick(page->Edit17, Qt::Key_Return);
    ASSERT_EQ(dialogs.texts("notice").size(), 1);
    EXPECT_EQ(dialogs.texts("notice").first(),
              QString::fromUtf8("Karta z kodem: 0000012345 nalezy do: Jan Nowak"));
    dialogs.clear();
    QTest::keyClick(page->Button33, Qt::Key_Return);   // the focused button itself
    EXPECT_EQ(dialogs.texts("notice").size(), 1);

    clickPerson("Kowalska");
    enterCode("4242");   // Enter in the code field adds a card, as before
    EXPECT_EQ(scalarInt("SELECT ID_USER_FK FROM CARDS WHERE CODE = '0000004242'"), 1);
}

TEST_F(ComfortTest, TheImportStatusCanBeWidenedAndReadWhole)
{
    start();
    const QString file = workPath("osoby.csv");
    ASSERT_TRUE(writeFile(file, "Jan;Kowalski;123\r\nAnna;Nowak;\r\n"));
    ImportPage* import = form->importPage();
    auto* grid = import->findChild<StringGrid*>("StringGrid1");
    EXPECT_EQ(countOf(grid), "Liczba: 0");
    import->LoadImportFile(file);
    EXPECT_EQ(countOf(grid), "Liczba: 2");
    const QString longText = QString::fromUtf8("Dodano użytkownika, ale karta już była w systemie (bardzo długi opis)");
    grid->setCells(4, 1, longText);
    EXPECT_EQ(grid->model()->index(0, 4).data(Qt::ToolTipRole).toString(), longText);
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(4), QHeaderView::Interactive);
    EXPECT_TRUE(grid->horizontalHeader()->stretchLastSection());   // and takes the room left
    // Sorting the view leaves the cells in their rows: what the import reads.
    grid->sortByColumn(2, Qt::DescendingOrder);
    EXPECT_EQ(grid->model()->index(0, 2).data().toString(), "Nowak");
    EXPECT_EQ(grid->cells(2, 1), "Kowalski");
}

// At 1024 x 700 no page needs a horizontal scroll bar; at full HD the lists
// take the room.
TEST_F(ComfortTest, EveryPageFitsASmallScreenAndTheListsGrowOnALargeOne)
{
    addPeople();
    start();
    form->resize(1024, 700);
    form->show();
    for (int index = 0; index < form->AdvOfficePager1->count(); ++index) {
        form->AdvOfficePager1->setCurrentIndex(index);
        QCoreApplication::processEvents();
        auto* scroll = qobject_cast<QScrollArea*>(form->AdvOfficePager1->widget(index));
        ASSERT_NE(scroll, nullptr);
        EXPECT_LE(scroll->widget()->minimumSizeHint().width(), scroll->viewport()->width())
            << form->AdvOfficePager1->tabText(index).toStdString();
        EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible())
            << form->AdvOfficePager1->tabText(index).toStdString();
    }
    form->resize(1920, 1080);
    form->AdvOfficePager1->setCurrentIndex(0);
    QCoreApplication::processEvents();
    EXPECT_GT(page->DBGrid3->width(), 400);
    form->AdvOfficePager1->setCurrentIndex(3);
    QCoreApplication::processEvents();
    EXPECT_GT(form->devicesPage()->DBGrid1->width(), 1000);
}

// Size, place, page and splitters come back at the next start, from the user's
// settings and not from Config.ini.
TEST_F(ComfortTest, TheWindowPlaceIsRememberedPerUser)
{
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    createForm();
    // Within the headless screen (800 x 600), which a restored window must fit.
    form->resize(760, 560);
    form->move(20, 10);
    form->AdvOfficePager1->setCurrentIndex(3);
    auto* splitter = form->findChild<QSplitter*>("UsersSplitter");
    ASSERT_NE(splitter, nullptr);
    form->show();
    splitter->setSizes({300, 700});
    const QList<int> sizes = splitter->sizes();
    form->close();
    form.reset();
    EXPECT_TRUE(QFile::exists(settings.filePath("valdrix/window.ini")));
    EXPECT_FALSE(readFile(workPath("Config.ini")).contains("geometry"));

    createForm();
    EXPECT_EQ(form->size(), QSize(760, 560));
    EXPECT_EQ(form->AdvOfficePager1->currentIndex(), 3);
    form->show();
    EXPECT_EQ(form->findChild<QSplitter*>("UsersSplitter")->sizes(), sizes);
    form->close();
}

// Started from the desktop menu, Config.ini is the user's; the folder is made.
TEST(ConfigPlaceTest, TheMenuKeepsConfigInTheUsersConfigurationFolder)
{
    QTemporaryDir home;
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    EXPECT_EQ(ConfigFile::path(), "./Config.ini");   // the terminal's rule, by default
    const QString path = ConfigFile::useUserFolder();
    EXPECT_EQ(path, home.filePath("valdrix/Config.ini"));
    EXPECT_EQ(ConfigFile::path(), path);
    EXPECT_TRUE(QFileInfo(home.filePath("valdrix")).isDir());
    qputenv("XDG_CONFIG_HOME", before);
}

}  // namespace
