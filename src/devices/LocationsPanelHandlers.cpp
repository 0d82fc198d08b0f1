// Locations: the location list and form, adding, saving and deleting a location.
#include "db/TDataModule3.h"
#include "devices/KeptRow.h"
#include "devices/LocationChanges.h"
#include "devices/LocationsPanel.h"
#include "devices/TimeZones.h"
#include "ui/Dialogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

bool LocationsPanel::locationsOpen() const
{
    return m_.Quorvel.isOpen() && m_.LOCALIZATION.isOpen();
}

// The zone whose text the box holds, or -1 for a typed text that is none of them.
int LocationsPanel::timeZonePosition() const
{
    return ComboBox5->findText(ComboBox5->currentText(),
                               Qt::MatchExactly | Qt::MatchCaseSensitive);
}

LocationSettings LocationsPanel::shownSettings() const
{
    return {Edit12->text(), Memo1->toPlainText(), timeZonePosition()};
}

// The form from the current location, which becomes the selected one. A zone
// number outside the list, and an empty list, leave the zone box empty.
void LocationsPanel::ShowSelectedLocation()
{
    if (!locationsOpen())
        return;
    const Dataset& l = m_.LOCALIZATION;
    Edit12->setText(l.text(QStringLiteral("NAME")));
    const int zone = l.integer(QStringLiteral("TIME_ZONE"));
    const bool known = l.recordNo() > 0 && zone >= 0 && zone < TimeZoneTexts().size();
    ComboBox5->setCurrentIndex(known ? zone : -1);
    if (!known)
        ComboBox5->setEditText(QString());
    Memo1->setPlainText(l.text(QStringLiteral("ADRES")));
    selectedLocation_->setKey(l.integer(QStringLiteral("ID")));
}

// "Dodaj": names may repeat. The new location becomes the selected one, while the
// form keeps what was typed and the tab "Dodaj  lokalizację" stays shown.
void LocationsPanel::Button23Click()
{
    LocationChanges::AddLocation(m_, context_.lookups, shownSettings(), *selectedLocation_);
}

// "Zapisz zmiany": writes the form into the selected location; an empty name is
// not refused. A new name may move the row; it stays selected.
void LocationsPanel::Button21Click()
{
    if (locationsOpen() && selectedLocationId() > 0)
        LocationChanges::SaveLocation(m_, context_.lookups, selectedLocationId(), shownSettings());
}

// "Usuń lokalizację": only the location row goes; its devices keep their
// location number and then show no location.
void LocationsPanel::Button22Click()
{
    if (!locationsOpen() || selectedLocationId() <= 0)
        return;
    if (!context_.dialogs.question(QStringLiteral("Czy usunąc lokalizację i jej dane?")))
        return;
    LocationChanges::DeleteLocation(m_, context_.lookups, selectedLocationId(),
                                    [this] { ShowSelectedLocation(); });
}

// A click shows the location without changing the shown tab.
void LocationsPanel::DBGrid8CellClick() { ShowSelectedLocation(); }

// A key that moved the selection in the list shows the newly selected location,
// as a click would.
void LocationsPanel::DBGrid8KeyUp()
{
    if (locationsOpen() && m_.LOCALIZATION.integer(QStringLiteral("ID")) != selectedLocationId())
        DBGrid8CellClick();
}

// Tab 1 presets the form for a new location; tab 0 shows the selected location.
void LocationsPanel::AdvOfficePager16Change(int index)
{
    if (index == 0) {
        ShowSelectedLocation();
        return;
    }
    Edit12->setText(QStringLiteral("Nowa lokalizacja"));
    ComboBox5->setCurrentIndex(13);
    Memo1->clear();
}
