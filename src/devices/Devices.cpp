// Devices: the device list and form, adding, saving and deleting a device, and
// the passage lookup.
#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "devices/DevicesPage.h"
#include "devices/KeyedRow.h"
#include "ui/BoundGrid.h"
#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>

#include <algorithm>

namespace {

// Selects a position, or nothing when the position is not one of the items.
void selectPosition(QComboBox* combo, int position)
{
    combo->setCurrentIndex(position >= 0 && position < combo->count() ? position : -1);
}

// An editable list shows a stored text: its item when there is one, else the text.
void showText(QComboBox* combo, const QString& text)
{
    const int position = combo->findText(text);
    combo->setCurrentIndex(position);
    if (position < 0)
        combo->setEditText(text);
}

QString flag(const QCheckBox* box) { return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); }

}  // namespace

bool DevicesPage::devicesOpen() const { return m_.Quorvel.isOpen() && m_.Device.isOpen(); }

QString DevicesPage::quoted(const QString& text) const
{
    return QLatin1Char('\'') + m_.Quorvel.escape(text) + QLatin1Char('\'');
}

// The location chosen in the form; 0 (no location) when none is chosen.
int DevicesPage::selectedLocationId() const
{
    const std::vector<Tlocalization>& locations = form_.lookups().LocationList;
    const int position = ComboBox6->currentIndex();
    return position >= 0 && position < static_cast<int>(locations.size()) ? locations[position].id : 0;
}

// The server port typed in the form, or a message naming the field and nothing.
std::optional<int> DevicesPage::serverPort()
{
    bool ok = false;
    const int port = Port_serwera->text().trimmed().toInt(&ok);
    if (ok && port >= 1 && port <= 65535)
        return port;
    form_.dialogs().notice(
        QStringLiteral("Pole \"Port serwera\" musi zawierać liczbę od 1 do 65535."));
    return std::nullopt;
}

// Makes the selected device Device's current row again after a walk or a re-run;
// a device that is no longer listed leaves the current row where it is.
void DevicesPage::returnToSelectedDevice()
{
    if (selectedDeviceId_ > 0)
        goToKey(m_.Device, QStringLiteral("ID_DEVICE"), selectedDeviceId_);
}

// Walks the devices into PassageList, in the order of Device, and has the passage
// lists of the other pages refilled from it. Device then returns to the selected
// device; before one was shown (the first connect) it stays on its last row.
void DevicesPage::FillPassageLists()
{
    if (!devicesOpen())
        return;
    Dataset& device = m_.Device;
    Lookups& lookups = form_.lookups();
    lookups.PassageList.clear();
    device.first();
    while (!device.eof()) {
        lookups.PassageList.push_back(
            {device.text(QStringLiteral("NAME")), device.integer(QStringLiteral("ID_DEVICE"))});
        device.next();
    }
    emit lookups.passageListFilled();
    returnToSelectedDevice();
}

// The form from the current device, which becomes the selected one; an empty list
// empties the form.
void DevicesPage::ShowSelectedDevice()
{
    if (!devicesOpen())
        return;
    const Dataset& d = m_.Device;
    name->setText(d.text(QStringLiteral("NAME")));
    Edit15->setText(d.text(QStringLiteral("NAME_A")));
    Edit16->setText(d.text(QStringLiteral("NAME_B")));
    factory->setText(d.text(QStringLiteral("FACTORY")));
    ip->setText(d.text(QStringLiteral("IP")));
    mask->setText(d.text(QStringLiteral("MASK")));
    getway->setText(d.text(QStringLiteral("GETWAY")));
    showText(wiegand_a, d.text(QStringLiteral("WIEGAND_A")));
    showText(wiegand_b, d.text(QStringLiteral("WIEGAND_B")));
    selectPosition(ComboBox8, d.integer(QStringLiteral("TYP_A")) - 1);
    selectPosition(ComboBox7, d.integer(QStringLiteral("TYP_B")) - 1);
    CheckBox10->setChecked(d.integer(QStringLiteral("SAVE_A")) == 1);
    CheckBox9->setChecked(d.integer(QStringLiteral("SAVE_B")) == 1);
    selectPosition(ComboBox6, LocationPosition(d.integer(QStringLiteral("LOK_ID"))));
    ip_serwera->setText(d.text(QStringLiteral("SERWER")));
    Port_serwera->setText(d.text(QStringLiteral("SERWER_PORT")));
    TrackBar1->setValue(std::clamp(d.integer(QStringLiteral("RELAY")), 0, 60));
    TrackBar1Change();
    selectedDeviceId_ = d.integer(QStringLiteral("ID_DEVICE"));
}

// The position of the location in LocationList, or -1 (nothing to select) when it
// is not listed, as for a device whose location was deleted.
int DevicesPage::LocationPosition(int locationId) const
{
    const std::vector<Tlocalization>& locations = form_.lookups().LocationList;
    for (std::size_t i = 0; i < locations.size(); ++i)
        if (locations[i].id == locationId)
            return static_cast<int>(i);
    return -1;
}

// Deleted devices count too.
int DevicesPage::CountDevicesByFactory(const QString& factoryNumber)
{
    if (!m_.Quorvel.isOpen())
        return 0;
    m_.SQL.setStatement(QStringLiteral("SELECT COUNT(*) FROM DEVICE WHERE FACTORY = ")
                        + quoted(factoryNumber));
    m_.SQL.reexecute();
    return m_.SQL.integerAt(0);
}

// A new device from the form; it becomes the selected device, while the form
// keeps what was typed and the tab "Dodaj nowe  urządzenie" stays shown.
void DevicesPage::AddDevice()
{
    if (!devicesOpen())
        return;
    Dialogs& dialogs = form_.dialogs();
    if (factory->text().isEmpty()) {
        dialogs.notice(QStringLiteral("Podaj numer fabryczny urządzenia."));
        return;
    }
    const std::optional<int> port = serverPort();
    if (!port)
        return;
    if (CountDevicesByFactory(factory->text()) > 0) {
        dialogs.notice(QStringLiteral("Urządzenia z takin mumerem seryjnym już istnieje."));
        return;
    }

    Transaction unit(m_.Quorvel);
    Command& c = m_.MyCommand1;
    c.clearLines();
    c.addLine(QStringLiteral(
        "INSERT INTO DEVICE (FACTORY,NAME,IP,MASK,GETWAY,RELAY,WIEGAND_A,WIEGAND_B, SERWER, "
        "SERWER_PORT,SET_CONFIG,ID_LOCALIZATION,NAME_A,NAME_B,TYP_A,TYP_B,SAVE_A,SAVE_B) VALUES"));
    c.addLine(QLatin1Char('(') + quoted(factory->text()));
    for (const QLineEdit* text : {name, ip, mask, getway})
        c.addLine(QLatin1Char(',') + quoted(text->text()));
    c.addLine(QLatin1Char(',') + QString::number(TrackBar1->value()));
    c.addLine(QLatin1Char(',') + quoted(wiegand_a->currentText()));
    c.addLine(QLatin1Char(',') + quoted(wiegand_b->currentText()));
    c.addLine(QLatin1Char(',') + quoted(ip_serwera->text()));
    c.addLine(QLatin1Char(',') + QString::number(*port));
    c.addLine(QStringLiteral(",1"));
    c.addLine(QLatin1Char(',') + QString::number(selectedLocationId()));
    c.addLine(QLatin1Char(',') + quoted(Edit15->text()));
    c.addLine(QLatin1Char(',') + quoted(Edit16->text()));
    c.addLine(QLatin1Char(',') + QString::number(ComboBox8->currentIndex() + 1));
    c.addLine(QLatin1Char(',') + QString::number(ComboBox7->currentIndex() + 1));
    c.addLine(QLatin1Char(',') + flag(CheckBox10));
    c.addLine(QLatin1Char(',') + flag(CheckBox9));
    c.addLine(QStringLiteral(");"));
    c.execute();
    m_.SQL.setStatement(QStringLiteral("SELECT LAST_INSERT_ID()"));
    m_.SQL.reexecute();
    selectedDeviceId_ = m_.SQL.integerAt(0);
    m_.Device.reexecute();   // with the new device current
    FillPassageLists();
    m_.BumpStatusCounter(QStringLiteral("DEVICE"));
    unit.commit();
}

// Writes the form into the selected device. Returns whether it was written.
bool DevicesPage::SaveDevice()
{
    if (!devicesOpen() || selectedDeviceId_ <= 0)
        return false;
    const std::optional<int> port = serverPort();
    if (!port)
        return false;

    Transaction unit(m_.Quorvel);
    Command& c = m_.MyCommand1;
    c.clearLines();
    c.addLine(QStringLiteral("UPDATE DEVICE SET "));
    c.addLine(QStringLiteral("NAME = ") + quoted(name->text()) + QLatin1Char(','));
    c.addLine(QStringLiteral("FACTORY = ") + quoted(factory->text()) + QLatin1Char(','));
    c.addLine(QStringLiteral("IP =") + quoted(ip->text()) + QLatin1Char(','));
    c.addLine(QStringLiteral("MASK =") + quoted(mask->text()) + QLatin1Char(','));
    c.addLine(QStringLiteral("GETWAY =") + quoted(getway->text()) + QLatin1Char(','));
    c.addLine(QStringLiteral("RELAY ='%1',").arg(TrackBar1->value()));
    c.addLine(QStringLiteral("WIEGAND_A =") + quoted(wiegand_a->currentText()) + QLatin1Char(','));
    c.addLine(QStringLiteral("WIEGAND_B =") + quoted(wiegand_b->currentText()) + QLatin1Char(','));
    c.addLine(QStringLiteral("SERWER =") + quoted(ip_serwera->text()) + QLatin1Char(','));
    c.addLine(QStringLiteral("SERWER_PORT ='%1',").arg(*port));
    c.addLine(QStringLiteral("SET_CONFIG ='1',"));
    c.addLine(QStringLiteral("NAME_A =") + quoted(Edit15->text()) + QLatin1Char(','));
    c.addLine(QStringLiteral("NAME_B =") + quoted(Edit16->text()) + QLatin1Char(','));
    c.addLine(QStringLiteral("TYP_A ='%1',").arg(ComboBox8->currentIndex() + 1));
    c.addLine(QStringLiteral("TYP_B ='%1',").arg(ComboBox7->currentIndex() + 1));
    c.addLine(QStringLiteral("SAVE_A ='%1',").arg(flag(CheckBox10)));
    c.addLine(QStringLiteral("SAVE_B ='%1',").arg(flag(CheckBox9)));
    c.addLine(QStringLiteral("ID_LOCALIZATION ='%1'").arg(selectedLocationId()));
    c.addLine(QStringLiteral(" WHERE ID_DEVICE ="));
    c.addLine(QString::number(selectedDeviceId_));
    c.executeOnRow(QStringLiteral("tego urządzenia"));
    m_.Device.reexecute();   // a new name or location may move the row; it stays selected
    m_.BumpStatusCounter(QStringLiteral("DEVICE"));
    unit.commit();
    return true;
}

// "Zapisz zmiany": the gauge runs only after a save that was written.
void DevicesPage::Button18Click()
{
    if (!m_.Quorvel.isOpen())
        return;
    if (SaveDevice())
        startSaveGauge();
}

// "Usuń urządzenie": the row goes; permissions and events naming it stay.
void DevicesPage::Button19Click()
{
    if (!devicesOpen() || selectedDeviceId_ <= 0)
        return;
    if (!form_.dialogs().question(QStringLiteral("Czy usunąć urządzenie z systemu?")))
        return;
    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("DELETE FROM DEVICE WHERE ID_DEVICE = "));
    m_.MyCommand1.addLine(QString::number(selectedDeviceId_));
    m_.MyCommand1.execute();
    m_.Device.reexecute();
    ShowSelectedDevice();   // the device now current
    FillPassageLists();
    m_.BumpStatusCounter(QStringLiteral("DEVICE"));
    unit.commit();
}

void DevicesPage::Button20Click() { AddDevice(); }

void DevicesPage::DBGrid1CellClick()
{
    AdvOfficePager8->setCurrentIndex(0);
    ShowSelectedDevice();
}

// A key that moved the selection in the list shows the newly selected device, as
// a click would, so that the form never shows another device than the list.
void DevicesPage::DBGrid1KeyUp()
{
    if (devicesOpen() && m_.Device.integer(QStringLiteral("ID_DEVICE")) != selectedDeviceId_)
        DBGrid1CellClick();
}

// Tab 1 presets the form for a new device; tab 0 shows the selected device.
void DevicesPage::AdvOfficePager8Change(int index)
{
    if (index == 0) {
        ShowSelectedDevice();
        return;
    }
    name->setText(QStringLiteral("Nowe przejście"));
    factory->setText(QStringLiteral("000000000000"));
    ip->setText(QStringLiteral("192.168.1.100"));
    mask->setText(QStringLiteral("255.255.255.0"));
    getway->setText(QStringLiteral("192.168.1.1"));
    ComboBox8->setCurrentIndex(0);
    ComboBox7->setCurrentIndex(1);
    wiegand_a->setCurrentIndex(1);
    wiegand_b->setCurrentIndex(1);
    ip_serwera->setText(QStringLiteral("192.168.1.10"));
    Port_serwera->setText(QStringLiteral("36156"));
    CheckBox9->setChecked(true);
    CheckBox10->setChecked(true);
    TrackBar1->setValue(5);
    TrackBar1Change();
}

// ComboBox6 from LocationList. The first fill selects position 1, the second
// location. Later fills keep the location the form had chosen, found by its id
// (nothing when it is gone), so that adding, renaming or deleting a location never
// moves the shown device to another location on its next save.
void DevicesPage::showLocationList()
{
    const int chosen = ComboBox6->currentIndex();
    const int chosenId = chosen >= 0 && chosen < static_cast<int>(locationIds_.size())
                             ? locationIds_[chosen]
                             : 0;
    const bool firstFill = locationIds_.empty();
    QStringList names;
    locationIds_.clear();
    for (const Tlocalization& location : form_.lookups().LocationList) {
        names << location.name;
        locationIds_.push_back(location.id);
    }
    const QSignalBlocker quiet(ComboBox6);
    ComboBox6->clear();
    ComboBox6->addItems(names);
    selectPosition(ComboBox6, firstFill ? 1 : LocationPosition(chosenId));
}
