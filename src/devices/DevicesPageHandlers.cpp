// Devices: the device list and form, adding, saving and deleting a device.
#include "db/Lookups.h"
#include "db/TDataModule3.h"
#include "devices/DeviceChanges.h"
#include "devices/DevicesPage.h"
#include "devices/KeptRow.h"
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

}  // namespace

bool DevicesPage::devicesOpen() const { return m_.Quorvel.isOpen() && m_.Device.isOpen(); }

// The location chosen in the form; 0 (no location) when none is chosen.
int DevicesPage::selectedLocationId() const
{
    const std::vector<Tlocalization>& locations = context_.lookups.LocationList;
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
    context_.dialogs.notice(
        QStringLiteral("Pole \"Port serwera\" musi zawierać liczbę od 1 do 65535."));
    return std::nullopt;
}

// The form as it is written into DEVICE.
DeviceSettings DevicesPage::shownSettings(int port) const
{
    DeviceSettings d;
    d.factory = factory->text();
    d.name = name->text();
    d.ip = ip->text();
    d.mask = mask->text();
    d.gateway = getway->text();
    d.relay = TrackBar1->value();
    d.wiegandA = wiegand_a->currentText();
    d.wiegandB = wiegand_b->currentText();
    d.server = ip_serwera->text();
    d.port = port;
    d.locationId = selectedLocationId();
    d.nameA = Edit15->text();
    d.nameB = Edit16->text();
    d.typeA = ComboBox8->currentIndex() + 1;
    d.typeB = ComboBox7->currentIndex() + 1;
    d.saveA = CheckBox10->isChecked();
    d.saveB = CheckBox9->isChecked();
    return d;
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
    selectedDevice_->setKey(d.integer(QStringLiteral("ID_DEVICE")));
}

// The position of the location in LocationList, or -1 (nothing to select) when it
// is not listed, as for a device whose location was deleted.
int DevicesPage::LocationPosition(int locationId) const
{
    const std::vector<Tlocalization>& locations = context_.lookups.LocationList;
    for (std::size_t i = 0; i < locations.size(); ++i)
        if (locations[i].id == locationId)
            return static_cast<int>(i);
    return -1;
}

// A new device from the form; it becomes the selected device, while the form
// keeps what was typed and the tab "Dodaj nowe  urządzenie" stays shown.
void DevicesPage::AddDevice()
{
    if (!devicesOpen())
        return;
    if (factory->text().isEmpty()) {
        context_.dialogs.notice(QStringLiteral("Podaj numer fabryczny urządzenia."));
        return;
    }
    const std::optional<int> port = serverPort();
    if (!port)
        return;
    const QString notice = DeviceChanges::AddDevice(m_, context_.lookups, shownSettings(*port), *selectedDevice_);
    if (!notice.isEmpty())
        context_.dialogs.notice(notice);
}

// Writes the form into the selected device. Returns whether it was written.
bool DevicesPage::SaveDevice()
{
    if (!devicesOpen() || selectedDeviceId() <= 0)
        return false;
    const std::optional<int> port = serverPort();
    if (!port)
        return false;
    DeviceChanges::SaveDevice(m_, selectedDeviceId(), shownSettings(*port));
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
    if (!devicesOpen() || selectedDeviceId() <= 0)
        return;
    if (!context_.dialogs.question(QStringLiteral("Czy usunąć urządzenie z systemu?")))
        return;
    DeviceChanges::DeleteDevice(m_, context_.lookups, selectedDeviceId(), [this] { ShowSelectedDevice(); });
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
    if (devicesOpen() && m_.Device.integer(QStringLiteral("ID_DEVICE")) != selectedDeviceId())
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
    for (const Tlocalization& location : context_.lookups.LocationList) {
        names << location.name;
        locationIds_.push_back(location.id);
    }
    const QSignalBlocker quiet(ComboBox6);
    ComboBox6->clear();
    ComboBox6->addItems(names);
    selectPosition(ComboBox6, firstFill ? 1 : LocationPosition(chosenId));
}
