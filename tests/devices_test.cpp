// Devices on the page "Urządzenia", against the real window and database.
#include "devices/DevicesPage.h"
#include "devices/LocationsPanel.h"
#include "app/SettingsPage.h"
#include "support/AppFixture.h"
#include "ui/BoundGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

class DevicesTest : public AppTest {
protected:
    void start()
    {
        startConnected();
        page = form->devicesPage();
        locations = form->settingsPage()->locationsPanel();
    }
    long long counter() { return scalarInt(QStringLiteral("SELECT DEVICE FROM STATUS")); }
    void location(int id, const QString& name)
    {
        sql(QStringLiteral("INSERT INTO LOCALIZATION (ID, NAME) VALUES (%1, '%2')").arg(id).arg(name));
    }
    void device(int id, const QString& factory, const QString& name, int location,
                const QString& columns = {}, const QString& values = {})
    {
        sql(QStringLiteral("INSERT INTO DEVICE (ID_DEVICE, FACTORY, NAME, ID_LOCALIZATION%1) "
                           "VALUES (%2, '%3', '%4', %5%6)")
                .arg(columns.isEmpty() ? QString() : QLatin1Char(',') + columns)
                .arg(id)
                .arg(factory, name)
                .arg(location)
                .arg(values.isEmpty() ? QString() : QLatin1Char(',') + values));
    }
    QString stored(int id, const char* columns)
    {
        return scalar(QStringLiteral("SELECT CONCAT_WS('|', %1) FROM DEVICE WHERE ID_DEVICE = %2")
                          .arg(QString::fromLatin1(columns))
                          .arg(id));
    }
    int currentDevice() const { return module->Device.integer(QStringLiteral("ID_DEVICE")); }
    QString shownLocation() const { return page->ComboBox6->currentText(); }

    DevicesPage* page = nullptr;
    LocationsPanel* locations = nullptr;
};

const QString Tricky = QString::fromUtf8("Brama 'Północ' \\ \"B\"; --");

TEST_F(DevicesTest, ConnectShowsTheLastDeviceWithItsColumns)
{
    location(1, "Biuro");
    location(2, "Magazyn");
    device(1, "F1", "Alfa", 2);
    device(2, "F2", "Beta", 1, "IP, MASK, GETWAY, SERWER, SERWER_PORT, NAME_A, NAME_B",
           "'10.0.0.2', '255.0.0.0', '10.0.0.1', '10.0.0.9', 4000, 'We', 'Wy'");
    device(3, "F3", "Gone", 1, "DEL", "1");
    start();

    const auto* model = page->DBGrid1->model();
    ASSERT_EQ(model->rowCount(), 2);
    QStringList titles;
    for (int c = 0; c < model->columnCount(); ++c)
        titles << model->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, QStringList({"Nume fabryczny", "Nazwa", "IP", "Lokalizacja"}));
    // Ordered by location name, then device name.
    EXPECT_EQ(model->index(0, 0).data().toString(), "F2");
    EXPECT_EQ(model->index(0, 2).data().toString(), "10.0.0.2");
    EXPECT_EQ(model->index(0, 3).data().toString(), "Biuro");
    EXPECT_EQ(model->index(1, 1).data().toString(), "Alfa");

    // The walk of the passage list leaves the last device current, and the form shows it.
    EXPECT_EQ(page->DBGrid1->currentIndex().row(), 1);
    EXPECT_EQ(page->name->text(), "Alfa");
    EXPECT_EQ(shownLocation(), "Magazyn");
    EXPECT_EQ(page->AdvOfficePager8->currentIndex(), 0);

    // The passage lists of the permission and event pages hold the devices in list order.
    const QStringList passages = {"Beta", "Alfa"};
    QListWidget* checkList = find<QListWidget>("CheckListBox1");
    ASSERT_EQ(checkList->count(), 2);
    EXPECT_EQ(checkList->item(0)->text(), "Beta");
    EXPECT_EQ(items(find<QComboBox>("ComboBox11")), passages);
    EXPECT_EQ(form->lookups().PassageList[0].id, 2);

    clickRow(page->DBGrid1, "F2");
    EXPECT_EQ(page->factory->text(), "F2");
    EXPECT_EQ(page->ip->text(), "10.0.0.2");
    EXPECT_EQ(page->mask->text(), "255.0.0.0");
    EXPECT_EQ(page->getway->text(), "10.0.0.1");
    EXPECT_EQ(page->ip_serwera->text(), "10.0.0.9");
    EXPECT_EQ(page->Port_serwera->text(), "4000");
    EXPECT_EQ(page->Edit15->text(), "We");
    EXPECT_EQ(page->Edit16->text(), "Wy");
    EXPECT_EQ(shownLocation(), "Biuro");

    // A key that moves the selection shows the device it moved to.
    QTest::keyClick(page->DBGrid1, Qt::Key_Down);
    EXPECT_EQ(currentDevice(), 1);
    EXPECT_EQ(page->name->text(), "Alfa");
    EXPECT_EQ(page->selectedDeviceId(), 1);
}

TEST_F(DevicesTest, AddingRefusesAMissingOrRepeatedFactoryNumber)
{
    location(1, "Biuro");
    location(2, "Magazyn");
    sql("INSERT INTO DEVICE (FACTORY, NAME, DEL) VALUES ('777', 'Skasowany', 1)");
    start();
    // The presets of a new device; the stored row below shows them all.
    page->AdvOfficePager8->setCurrentIndex(1);
    EXPECT_EQ(page->Label51->text(), "5");
    // The empty list at connect chose no location, and the preset keeps that.
    EXPECT_EQ(page->ComboBox6->currentIndex(), -1);

    page->factory->clear();
    click("Button20");
    EXPECT_EQ(dialogs.texts("notice"), QStringList({QString::fromUtf8("Podaj numer fabryczny urządzenia.")}));
    dialogs.clear();
    // A deleted device's number is taken too.
    page->factory->setText("777");
    click("Button20");
    EXPECT_EQ(dialogs.texts("notice"),
              QStringList({QString::fromUtf8("Urządzenia z takin mumerem seryjnym już istnieje.")}));
    dialogs.clear();
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM DEVICE"), 1);

    // No location chosen: the device is stored without one.
    page->factory->setText("000000000000");
    click("Button20");
    expectNothingShown();
    const int first = scalarInt("SELECT MAX(ID_DEVICE) FROM DEVICE");
    EXPECT_EQ(stored(first, "FACTORY, NAME, IP, MASK, GETWAY, RELAY, WIEGAND_A, WIEGAND_B, SERWER, "
                            "SERWER_PORT, SET_CONFIG, ID_LOCALIZATION, TYP_A, TYP_B, SAVE_A, SAVE_B, DEL"),
              QString::fromUtf8("000000000000|Nowe przejście|192.168.1.100|255.255.255.0|192.168.1.1|5|"
                                "34|34|192.168.1.10|36156|1|0|1|2|1|1|0"));
    EXPECT_EQ(counter(), 1);
    EXPECT_EQ(page->AdvOfficePager8->currentIndex(), 1);
    EXPECT_EQ(page->name->text(), QString::fromUtf8("Nowe przejście"));
    EXPECT_EQ(find<QComboBox>("ComboBox11")->count(), 1);
    EXPECT_EQ(currentDevice(), first);

    click("Button20");
    EXPECT_EQ(dialogs.texts("notice"),
              QStringList({QString::fromUtf8("Urządzenia z takin mumerem seryjnym już istnieje.")}));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM DEVICE"), 2);
    EXPECT_EQ(counter(), 1);
    dialogs.clear();

    // Texts are stored as typed; the new device becomes the selected one.
    page->factory->setText("F'2\\");
    page->name->setText(Tricky);
    page->Edit15->setText(QString::fromUtf8("Wejście \"główne\""));
    page->Edit16->setText("B\\'");
    page->wiegand_a->setEditText("4'2");
    page->ComboBox6->setCurrentIndex(1);
    page->ComboBox8->setCurrentIndex(1);
    page->CheckBox9->setChecked(false);
    page->TrackBar1->setValue(60);
    click("Button20");
    expectNothingShown();
    const int second = scalarInt("SELECT MAX(ID_DEVICE) FROM DEVICE");
    EXPECT_EQ(stored(second, "FACTORY, NAME, NAME_A, NAME_B, WIEGAND_A, ID_LOCALIZATION, TYP_A, SAVE_B, RELAY"),
              QStringLiteral("F'2\\|") + Tricky + QString::fromUtf8("|Wejście \"główne\"|B\\'|4'2|2|2|0|60"));
    EXPECT_EQ(counter(), 2);
    EXPECT_EQ(currentDevice(), second);
    page->AdvOfficePager8->setCurrentIndex(0);
    EXPECT_EQ(page->name->text(), Tricky);
    EXPECT_EQ(page->wiegand_a->currentText(), "4'2");
}

TEST_F(DevicesTest, SavingWritesTheFormClipsTheRelayAndSetsTheConfigFlag)
{
    location(1, "Biuro");
    location(2, "Magazyn");
    device(1, "F1", "Alfa", 1, "RELAY, WIEGAND_A, WIEGAND_B, TYP_A, TYP_B, SAVE_A, SET_CONFIG",
           "90, '26', '58', 2, 1, 0, 0");
    start();
    EXPECT_EQ(page->TrackBar1->value(), 60);
    EXPECT_EQ(page->Label51->text(), "60");
    EXPECT_EQ(page->wiegand_a->currentIndex(), 0);
    EXPECT_EQ(page->wiegand_b->currentText(), "58");
    EXPECT_EQ(page->ComboBox8->currentIndex(), 1);
    EXPECT_EQ(page->ComboBox7->currentIndex(), 0);
    EXPECT_FALSE(page->CheckBox10->isChecked());
    EXPECT_TRUE(page->CheckBox9->isChecked());
    EXPECT_EQ(shownLocation(), "Biuro");

    // Saved unchanged: the relay goes down to 60 and the controller is told to reload.
    click("Button18");
    expectNothingShown();
    EXPECT_EQ(stored(1, "RELAY, WIEGAND_A, WIEGAND_B, TYP_A, TYP_B, SAVE_A, SAVE_B, SET_CONFIG, ID_LOCALIZATION"),
              "60|26|58|2|1|0|1|1|1");
    EXPECT_EQ(counter(), 1);

    sql("UPDATE DEVICE SET SET_CONFIG = 0");
    page->name->setText(Tricky);
    page->ip->setText(QString::fromUtf8("ąę\\'"));
    page->Port_serwera->setText(" 4001 ");
    page->ComboBox6->setCurrentIndex(1);
    page->TrackBar1->setValue(0);
    EXPECT_EQ(page->Label51->text(), "0");
    click("Button18");
    EXPECT_EQ(stored(1, "NAME, IP, SERWER_PORT, RELAY, SET_CONFIG, ID_LOCALIZATION"),
              Tricky + QString::fromUtf8("|ąę\\'|4001|0|1|2"));
    EXPECT_EQ(counter(), 2);

    // The factory number is not checked on saving.
    device(2, "F2", "Beta", 1);
    page->factory->setText("F2");
    click("Button18");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM DEVICE WHERE FACTORY = 'F2'"), 2);
}

TEST_F(DevicesTest, APortThatIsNoNumberIsRefusedAndNothingIsWritten)
{
    location(1, "Biuro");
    device(1, "F1", "Alfa", 1);
    start();
    for (const char* port : {"", "abc", "36156x", "70000", "-1"}) {
        page->Port_serwera->setText(port);
        click("Button18");
        EXPECT_EQ(dialogs.texts("notice"),
                  QStringList({QString::fromUtf8("Pole \"Port serwera\" musi zawierać liczbę od 1 do 65535.")}))
            << port;
        dialogs.clear();
        EXPECT_TRUE(page->Gauge1->isHidden()) << port;
        EXPECT_FALSE(form->Timer2->isActive()) << port;
    }
    page->AdvOfficePager8->setCurrentIndex(1);
    page->factory->setText("F9");
    page->Port_serwera->setText("x");
    click("Button20");
    EXPECT_EQ(dialogs.texts("notice").size(), 1);
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(CONCAT_WS('/', FACTORY, SET_CONFIG, SERWER_PORT)) FROM DEVICE"),
              "F1/0/36156");
    EXPECT_EQ(counter(), 0);
}

TEST_F(DevicesTest, TheGaugeRunsAHundredTicksAndRestartsOnASecondSave)
{
    device(1, "F1", "Alfa", 0);
    start();
    QProgressBar* gauge = page->Gauge1;
    EXPECT_TRUE(gauge->isHidden());
    click("Button18");
    EXPECT_FALSE(gauge->isHidden());
    EXPECT_EQ(gauge->value(), 0);
    EXPECT_TRUE(form->Timer2->isActive());
    EXPECT_EQ(form->Timer2->interval(), 1000);
    for (int tick = 0; tick < 30; ++tick)
        form->Timer2Timer();
    EXPECT_EQ(gauge->value(), 30);

    click("Button18");
    EXPECT_EQ(gauge->value(), 0);
    for (int tick = 0; tick < 99; ++tick)
        form->Timer2Timer();
    EXPECT_FALSE(gauge->isHidden());
    EXPECT_EQ(gauge->value(), 99);
    form->Timer2Timer();
    EXPECT_TRUE(gauge->isHidden());
    EXPECT_EQ(gauge->value(), 0);
    EXPECT_FALSE(form->Timer2->isActive());
    EXPECT_EQ(counter(), 2);
}

// The row the form shows is the one that saving and deleting change, whatever
// re-ran or walked the device list in between.
TEST_F(DevicesTest, SaveAndDeleteActOnTheShownDeviceAfterTheListChanged)
{
    location(1, "Alfa");
    location(2, "Beta");
    device(1, "F1", "d1", 1);
    device(2, "F2", "d2", 1);
    device(3, "F3", "d3", 2);
    sql("INSERT INTO PERMISSIONS (NAME) VALUES ('Szablon')");
    start();
    clickRow(page->DBGrid1, "F1");
    ASSERT_EQ(page->name->text(), "d1");

    // A new name moves the row down; it stays the current one.
    page->name->setText("dz");
    click("Button18");
    EXPECT_EQ(page->DBGrid1->currentIndex().row(), 1);
    EXPECT_EQ(currentDevice(), 1);

    // So does a new location.
    page->ComboBox6->setCurrentIndex(page->ComboBox6->findText("Beta"));
    click("Button18");
    EXPECT_EQ(page->DBGrid1->currentIndex().row(), 2);
    EXPECT_EQ(currentDevice(), 1);

    // A template deleted on the permission page walks the device list again.
    click("Button10");
    EXPECT_EQ(dialogs.texts("question"), QStringList({QString::fromUtf8("Czy usunąc szablon ?")}));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM PERMISSIONS"), 0);
    EXPECT_EQ(currentDevice(), 1);
    dialogs.clear();

    // A location renamed on the settings page re-runs the device list: the form keeps
    // its device and its location, under the new name.
    clickRow(locations->DBGrid8, "Beta");
    locations->Edit12->setText("Aaa");
    click("Button21");
    EXPECT_EQ(currentDevice(), 1);
    EXPECT_EQ(page->DBGrid1->currentIndex().row(), 1);
    EXPECT_EQ(shownLocation(), "Aaa");
    EXPECT_EQ(page->name->text(), "dz");

    page->TrackBar1->setValue(17);
    click("Button18");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(CONCAT(ID_DEVICE, ':', NAME, ':', RELAY, ':', ID_LOCALIZATION) "
                     "ORDER BY ID_DEVICE) FROM DEVICE"),
              "1:dz:17:2,2:d2:5:1,3:d3:5:2");

    dialogs.questionAnswers.enqueue(false);
    click("Button19");
    EXPECT_EQ(dialogs.texts("question"), QStringList({QString::fromUtf8("Czy usunąć urządzenie z systemu?")}));
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM DEVICE"), 3);
    click("Button19");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(ID_DEVICE ORDER BY ID_DEVICE) FROM DEVICE"), "2,3");
    EXPECT_EQ(counter(), 4);
    // The form shows the device now current, the first of the list.
    EXPECT_EQ(page->DBGrid1->currentIndex().row(), 0);
    EXPECT_EQ(page->name->text(), "d3");
    EXPECT_EQ(currentDevice(), 3);
    EXPECT_EQ(find<QComboBox>("ComboBox11")->count(), 2);
}

TEST_F(DevicesTest, ADeletedLocationLeavesItsDevicesWithoutOneAndFirstInTheList)
{
    location(1, "Alfa");
    location(2, "Beta");
    device(1, "F1", "d1", 1);
    device(2, "F2", "d2", 2);
    start();
    ASSERT_EQ(shownLocation(), "Beta");

    clickRow(locations->DBGrid8, "Beta");
    click("Button22");
    EXPECT_EQ(dialogs.texts("question"), QStringList({QString::fromUtf8("Czy usunąc lokalizację i jej dane?")}));
    EXPECT_EQ(scalarInt("SELECT ID_LOCALIZATION FROM DEVICE WHERE ID_DEVICE = 2"), 2);
    const auto* model = page->DBGrid1->model();
    EXPECT_EQ(model->index(0, 0).data().toString(), "F2");
    EXPECT_EQ(model->index(0, 3).data().toString(), "");
    // The shown device keeps its place as the current row, and shows no location.
    EXPECT_EQ(currentDevice(), 2);
    EXPECT_EQ(page->ComboBox6->currentIndex(), -1);
    clickRow(page->DBGrid1, "F2");
    EXPECT_EQ(page->ComboBox6->currentIndex(), -1);
    EXPECT_EQ(items(page->ComboBox6), QStringList({"Alfa"}));

    // Saved without choosing one: no location.
    click("Button18");
    EXPECT_EQ(scalarInt("SELECT ID_LOCALIZATION FROM DEVICE WHERE ID_DEVICE = 2"), 0);
    clickRow(page->DBGrid1, "F1");
    EXPECT_EQ(shownLocation(), "Alfa");
}

// The choice that FillLocationLists leaves in the device form's location list
// at the first connect, before the sequence shows a device.
TEST_F(DevicesTest, FillingTheLocationListChoosesTheSecondLocation)
{
    auto chosenAtConnect = [this] {
        form.reset();
        module.reset();
        createForm();
        page = form->devicesPage();
        int chosen = -2;
        const QMetaObject::Connection watch =
            QObject::connect(&form->lookups(), &Lookups::locationListFilled,
                             [&] { chosen = page->ComboBox6->currentIndex(); });
        connectDatabase();
        QObject::disconnect(watch);   // `chosen` ends here; later fills must not reach it
        return chosen;
    };
    location(1, "Cezar");
    EXPECT_EQ(chosenAtConnect(), -1);
    location(2, "Alfa");
    location(3, "Beta");
    EXPECT_EQ(chosenAtConnect(), 1);
    EXPECT_EQ(items(page->ComboBox6), QStringList({"Alfa", "Beta", "Cezar"}));
    EXPECT_EQ(form->lookups().LocationList[1].id, 3);
    // No device to show: none chosen.
    EXPECT_EQ(page->ComboBox6->currentIndex(), -1);
}

// A device list that is not open (its table failed to open at connect), and a
// closed connection, are left alone by every device operation, silently; a
// location change does not need the device list.
TEST_F(DevicesTest, AClosedListOrConnectionIsLeftAlone)
{
    location(1, "Alfa");
    device(1, "F1", "d1", 1);
    start();
    module->Device.close();
    form->FillPassageLists();
    form->ShowSelectedDevice();
    auto pressAll = [this] {
        click("Button18");
        click("Button19");
        page->AdvOfficePager8->setCurrentIndex(1);
        page->factory->setText("F2");
        click("Button20");
        page->AdvOfficePager8->setCurrentIndex(0);
    };
    pressAll();
    locations->AdvOfficePager16->setCurrentIndex(1);
    click("Button23");
    EXPECT_FALSE(module->Device.isOpen());
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM LOCALIZATION"), 2);
    EXPECT_EQ(find<QListWidget>("CheckListBox1")->count(), 1);

    form->UNCONNECT1Click();
    pressAll();
    expectNothingShown();
    EXPECT_FALSE(module->Quorvel.isOpen());
    EXPECT_EQ(scalar("SELECT CONCAT_WS(',', DEVICE, LOCALIZATION) FROM STATUS"), "0,1");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM DEVICE"), 1);
}

TEST_F(DevicesTest, ListsGrowWithTheData)
{
    sql("INSERT INTO LOCALIZATION (NAME) SELECT CONCAT('L', LPAD(seq, 4, '0')) FROM seq_1_to_202");
    sql("INSERT INTO DEVICE (FACTORY, NAME, ID_LOCALIZATION) "
        "SELECT seq, CONCAT('D', LPAD(seq, 5, '0')), 202 FROM seq_1_to_1002");
    start();
    EXPECT_EQ(form->lookups().PassageList.size(), 1002u);
    EXPECT_EQ(find<QListWidget>("CheckListBox1")->count(), 1002);
    EXPECT_EQ(find<QComboBox>("ComboBox11")->count(), 1002);
    EXPECT_EQ(find<QComboBox>("ComboBox11")->itemText(1001), "D01002");
    EXPECT_EQ(page->ComboBox6->count(), 202);
    // The last device, in the last location, shows it.
    EXPECT_EQ(page->name->text(), "D01002");
    EXPECT_EQ(page->ComboBox6->currentIndex(), 201);
    EXPECT_EQ(shownLocation(), "L0202");
    click("Button18");
    EXPECT_EQ(scalarInt("SELECT ID_LOCALIZATION FROM DEVICE WHERE NAME = 'D01002'"), 202);
}

TEST_F(DevicesTest, DeletingTheOnlyDeviceEmptiesTheListsAndTheForm)
{
    device(1, "F1", "d1", 0);
    start();
    click("Button19");
    EXPECT_EQ(scalarInt("SELECT COUNT(*) FROM DEVICE"), 0);
    EXPECT_EQ(page->DBGrid1->model()->rowCount(), 0);
    EXPECT_EQ(find<QListWidget>("CheckListBox1")->count(), 0);
    EXPECT_EQ(find<QComboBox>("ComboBox11")->count(), 0);
    EXPECT_EQ(page->name->text(), "");
    EXPECT_EQ(page->factory->text(), "");
    EXPECT_EQ(page->TrackBar1->value(), 0);
    EXPECT_EQ(page->ComboBox8->currentIndex(), -1);
    EXPECT_EQ(page->selectedDeviceId(), 0);
    // Nothing left to save or delete: nobody is asked, nothing is written.
    dialogs.clear();
    click("Button19");
    click("Button18");
    expectNothingShown();
    EXPECT_TRUE(page->Gauge1->isHidden());
    EXPECT_EQ(counter(), 1);
}

}  // namespace
