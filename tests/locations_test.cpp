// Locations with their time zones on the page "Ustawienia", against the real
// window and database.
#include "app/SettingsPage.h"
#include "devices/DevicesPage.h"
#include "devices/LocationsPanel.h"
#include "support/AppFixture.h"
#include "ui/BoundGrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

namespace {

class LocationsTest : public AppTest {
protected:
    void start()
    {
        startConnected();
        panel = form->settingsPage()->locationsPanel();
    }
    long long counter() { return scalarInt(QStringLiteral("SELECT LOCALIZATION FROM STATUS")); }
    void location(int id, const QString& name, int zone = 13)
    {
        sql(QStringLiteral("INSERT INTO LOCALIZATION (ID, NAME, TIME_ZONE) VALUES (%1, '%2', %3)")
                .arg(id)
                .arg(name)
                .arg(zone));
    }
    QString stored(int id)
    {
        return scalar(QStringLiteral("SELECT CONCAT_WS('|', NAME, ADRES, TIME_ZONE) FROM LOCALIZATION "
                                     "WHERE ID = %1")
                          .arg(id));
    }
    void clickRow(const QString& text) { AppTest::clickRow(panel->DBGrid8, text); }
    int currentLocation() const { return module->LOCALIZATION.integer(QStringLiteral("ID")); }

    LocationsPanel* panel = nullptr;
};

// Written out here on their own, so that a changed text in the program shows.
const char* const Zones[26] = {
    "(GMT-12:00) linia zmiany daty - Zachód",
    "(GMT-11:00) Wyspa Midway, Samoa",
    "(GMT-10:00) Hawaje",
    "(GMT-9:00) Alaska",
    "(GMT-8:00) Stany Zjednoczone (czas pacyficzny)",
    "(GMT-7:00) Stany Zjednoczone (czas górski)",
    "(GMT-6:00) Ameryka środkowa",
    "(GMT-5:00) Bogorta, Lima",
    "(GMT-4:00) Czas atlantycki",
    "(GMT-3:00) Brazylia",
    "(GMT-2:00) Środkowy Atlantyk",
    "(GMT-1:00) Azory",
    "(GMT) Czas uniwersalny",
    "(GMT+1:00) Polska,Węgry, Czechy, Słowacja",
    "(GMT+2:00) Grecja,Bialoruś",
    "(GMT+3:00) Kuwejt,Iran",
    "(GMT+4:00) Armenia",
    "(GMT+5:00) Jekaterinburg",
    "(GMT+6:00) Dakka",
    "(GMT+7:00) Hanoi",
    "(GMT+8:00) Singapur",
    "(GMT+9:00) Osaka,Tokio",
    "(GMT+10:00) Władywostok",
    "(GMT+11:00) Auckland",
    "(GMT+12:00) Fidżi ",
    "(GMT+13:00) Nuku'alofa   ",
};

TEST_F(LocationsTest, EachZoneIsShownByItsTextAndStoredByItsPosition)
{
    location(1, "Biuro", 0);
    start();
    QComboBox* zones = panel->ComboBox5;
    ASSERT_EQ(zones->count(), 26);
    for (int p = 0; p < 26; ++p)
        EXPECT_EQ(zones->itemText(p), QString::fromUtf8(Zones[p])) << p;
    EXPECT_EQ(panel->DBGrid8->model()->headerData(0, Qt::Horizontal).toString(), "Nazawa lokalizacji");

    for (int p = 0; p < 26; ++p) {
        zones->setCurrentIndex(p);
        click("Button21");
        ASSERT_EQ(scalarInt("SELECT TIME_ZONE FROM LOCALIZATION WHERE ID = 1"), p);
        sql(QStringLiteral("UPDATE LOCALIZATION SET TIME_ZONE = %1").arg(25 - p));
        module->LOCALIZATION.reexecute();
        panel->ShowSelectedLocation();
        EXPECT_EQ(zones->currentText(), QString::fromUtf8(Zones[25 - p])) << p;
    }
    EXPECT_EQ(counter(), 26);
    expectNothingShown();
}

TEST_F(LocationsTest, AZoneOutsideTheListShowsEmptyAndTypedTextSavesMinusOne)
{
    location(1, "Daleko", 30);
    start();
    EXPECT_EQ(panel->Edit12->text(), "Daleko");
    EXPECT_EQ(panel->ComboBox5->currentIndex(), -1);
    EXPECT_EQ(panel->ComboBox5->currentText(), "");
    click("Button21");
    EXPECT_EQ(stored(1), "Daleko||-1");

    // A typed text is no zone, unless it is one of them exactly.
    panel->ComboBox5->setCurrentIndex(3);
    panel->ComboBox5->setEditText("GMT+1");
    click("Button21");
    EXPECT_EQ(scalarInt("SELECT TIME_ZONE FROM LOCALIZATION"), -1);
    panel->ComboBox5->setEditText(QString::fromUtf8(Zones[25]).trimmed());
    click("Button21");
    EXPECT_EQ(scalarInt("SELECT TIME_ZONE FROM LOCALIZATION"), -1);
    panel->ComboBox5->setEditText(QString::fromUtf8(Zones[25]));
    click("Button21");
    EXPECT_EQ(scalarInt("SELECT TIME_ZONE FROM LOCALIZATION"), 25);
}

TEST_F(LocationsTest, AddingTakesThePresetsAndTextsAsTyped)
{
    location(1, "Biuro");
    start();
    QTabWidget* pager = panel->AdvOfficePager16;
    panel->Memo1->setPlainText("stary adres");
    pager->setCurrentIndex(1);
    EXPECT_EQ(panel->Edit12->text(), "Nowa lokalizacja");
    EXPECT_EQ(panel->ComboBox5->currentText(), QString::fromUtf8(Zones[13]));
    EXPECT_EQ(panel->Memo1->toPlainText(), "");
    click("Button23");
    EXPECT_EQ(scalar("SELECT CONCAT_WS('|', NAME, ADRES, TIME_ZONE, DEL) FROM LOCALIZATION WHERE ID = 2"),
              "Nowa lokalizacja||13|0");
    EXPECT_EQ(counter(), 1);
    EXPECT_EQ(pager->currentIndex(), 1);
    EXPECT_EQ(panel->Edit12->text(), "Nowa lokalizacja");
    // The new location is the selected one, and the device form's list has it.
    EXPECT_EQ(currentLocation(), 2);
    EXPECT_EQ(form->devicesPage()->ComboBox6->count(), 2);

    // Names may repeat; an empty name adds nothing, silently.
    click("Button23");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM LOCALIZATION WHERE NAME = 'Nowa lokalizacja'"), 2);
    panel->Edit12->clear();
    click("Button23");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM LOCALIZATION"), 3);
    EXPECT_EQ(counter(), 2);

    const QString name = QString::fromUtf8("Zakład 'Łódź' \\ \"2\"; --");
    const QString address = QString::fromUtf8("ul. Żółta 5\\7\n90-001 Łódź\n\n'podwórze'");
    panel->Edit12->setText(name);
    panel->Memo1->setPlainText(address);
    panel->ComboBox5->setCurrentIndex(0);
    click("Button23");
    expectNothingShown();
    EXPECT_EQ(scalar("SELECT ADRES FROM LOCALIZATION ORDER BY ID DESC LIMIT 1"), address);
    EXPECT_EQ(scalar("SELECT NAME FROM LOCALIZATION ORDER BY ID DESC LIMIT 1"), name);
    pager->setCurrentIndex(0);
    EXPECT_EQ(panel->Edit12->text(), name);
    EXPECT_EQ(panel->Memo1->toPlainText(), address);
    EXPECT_EQ(panel->ComboBox5->currentIndex(), 0);

    // A click in the list shows the location without changing the tab.
    pager->setCurrentIndex(1);
    clickRow("Biuro");
    EXPECT_EQ(pager->currentIndex(), 1);
    EXPECT_EQ(panel->Edit12->text(), "Biuro");
    EXPECT_EQ(panel->ComboBox5->currentIndex(), 13);
}

TEST_F(LocationsTest, SaveAndDeleteActOnTheShownLocationAfterARenameMovedIt)
{
    location(1, "Alfa");
    location(2, "Beta");
    location(3, "Gamma");
    start();
    // The walk of the connect sequence leaves the last location shown and current.
    EXPECT_EQ(panel->Edit12->text(), "Gamma");
    EXPECT_EQ(panel->DBGrid8->currentIndex().row(), 2);

    clickRow("Alfa");
    panel->Edit12->setText("Zeta");
    panel->Memo1->setPlainText("a\nb");
    click("Button21");
    EXPECT_EQ(stored(1), "Zeta|a\nb|13");
    EXPECT_EQ(counter(), 1);
    EXPECT_EQ(currentLocation(), 1);
    EXPECT_EQ(panel->DBGrid8->currentIndex().row(), 2);
    EXPECT_EQ(form->lookups().LocationList.back().name, "Zeta");

    panel->ComboBox5->setCurrentIndex(20);
    click("Button21");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(CONCAT(ID, ':', TIME_ZONE) ORDER BY ID) FROM LOCALIZATION"),
              "1:20,2:13,3:13");

    // A key that moves the selection shows the location it moved to.
    QTest::keyClick(panel->DBGrid8, Qt::Key_Up);
    EXPECT_EQ(panel->Edit12->text(), "Gamma");
    EXPECT_EQ(panel->selectedLocationId(), 3);
    QTest::keyClick(panel->DBGrid8, Qt::Key_Down);
    EXPECT_EQ(panel->selectedLocationId(), 1);

    dialogs.questionAnswers.enqueue(false);
    click("Button22");
    EXPECT_EQ(dialogs.texts("question"), QStringList({QString::fromUtf8("Czy usunąc lokalizację i jej dane?")}));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM LOCALIZATION"), 3);
    click("Button22");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(ID ORDER BY ID) FROM LOCALIZATION"), "2,3");
    EXPECT_EQ(counter(), 3);
    // The form shows the location now current, the first of the list.
    EXPECT_EQ(panel->Edit12->text(), "Beta");
    EXPECT_EQ(currentLocation(), 2);
    EXPECT_EQ(form->devicesPage()->ComboBox6->count(), 2);
}

TEST_F(LocationsTest, TheLastLocationDeletedEmptiesTheFormAndNothingIsLeftToAct)
{
    location(1, "Jedyna");
    start();
    click("Button22");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM LOCALIZATION"), 0);
    EXPECT_EQ(panel->Edit12->text(), "");
    EXPECT_EQ(panel->ComboBox5->currentIndex(), -1);
    EXPECT_EQ(panel->Memo1->toPlainText(), "");
    EXPECT_EQ(form->devicesPage()->ComboBox6->count(), 0);
    dialogs.clear();
    click("Button22");
    click("Button21");
    expectNothingShown();
    EXPECT_EQ(counter(), 1);
}

TEST_F(LocationsTest, AClosedListOrConnectionIsLeftAlone)
{
    location(1, "Alfa");
    start();
    module->LOCALIZATION.close();
    panel->Edit12->setText("Beta");
    form->FillLocationLists();
    form->ShowSelectedLocation();
    click("Button21");
    click("Button22");
    click("Button23");
    EXPECT_EQ(panel->Edit12->text(), "Beta");
    form->UNCONNECT1Click();
    click("Button21");
    click("Button22");
    click("Button23");
    expectNothingShown();
    EXPECT_EQ(stored(1), "Alfa|13");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM LOCALIZATION"), 1);
    EXPECT_EQ(counter(), 0);
}

// The location list takes a typed name like the card list: written by the key, no
// counter; a refused value leaves the stored one, and the form stays on its row.
TEST_F(LocationsTest, ANameTypedIntoTheListIsWrittenByTheKey)
{
    location(1, "Biuro");
    location(2, "Magazyn");
    start();
    clickRow("Biuro");
    editCell(panel->DBGrid8, 0, 0, "Zakład 'Ł' \\ 2");
    expectNothingShown();
    EXPECT_EQ(stored(1), QString::fromUtf8("Zakład 'Ł' \\ 2|13"));
    EXPECT_EQ(counter(), 0);
    EXPECT_EQ(currentLocation(), 1);   // now second in name order, still the shown one

    const int row = panel->DBGrid8->currentIndex().row();
    editCell(panel->DBGrid8, row, 0, QString(300, QLatin1Char('x')));
    ASSERT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(stored(1), QString::fromUtf8("Zakład 'Ł' \\ 2|13"));
    EXPECT_EQ(panel->DBGrid8->model()->index(row, 0).data().toString(),
              QString::fromUtf8("Zakład 'Ł' \\ 2"));
}

}  // namespace
