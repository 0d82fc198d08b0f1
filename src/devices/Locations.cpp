// Locations: the location list and form, adding, saving and deleting a location,
// and the location lookup.
#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "devices/KeyedRow.h"
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

QString LocationsPanel::quoted(const QString& text) const
{
    return QLatin1Char('\'') + m_.Quorvel.escape(text) + QLatin1Char('\'');
}

// The zone whose text the box holds, or -1 for a typed text that is none of them.
int LocationsPanel::timeZonePosition() const
{
    return ComboBox5->findText(ComboBox5->currentText(),
                               Qt::MatchExactly | Qt::MatchCaseSensitive);
}

// Makes the selected location the current row again after a walk or a re-run;
// a location that is no longer listed leaves the current row where it is.
void LocationsPanel::returnToSelectedLocation()
{
    if (selectedLocationId_ > 0)
        goToKey(m_.LOCALIZATION, QStringLiteral("ID"), selectedLocationId_);
}

// The device list shows location names; a table of devices that did not open
// does not keep a location change from being made.
void LocationsPanel::rerunDevices()
{
    if (m_.Device.isOpen())
        m_.Device.reexecute();
}

// Walks the locations into LocationList, in name order, and has the device
// form's location list refilled from it. LOCALIZATION then returns to the selected
// location; before one was shown (the first connect) it stays on its last row.
void LocationsPanel::FillLocationLists()
{
    if (!locationsOpen())
        return;
    Dataset& locations = m_.LOCALIZATION;
    Lookups& lookups = form_.lookups();
    lookups.LocationList.clear();
    locations.first();
    while (!locations.eof()) {
        lookups.LocationList.push_back(
            {locations.text(QStringLiteral("NAME")), locations.integer(QStringLiteral("ID"))});
        locations.next();
    }
    emit lookups.locationListFilled();
    returnToSelectedLocation();
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
    selectedLocationId_ = l.integer(QStringLiteral("ID"));
}

// "Dodaj": names may repeat. The new location becomes the selected one, while the
// form keeps what was typed and the tab "Dodaj  lokalizację" stays shown.
void LocationsPanel::Button23Click()
{
    if (!locationsOpen() || Edit12->text().isEmpty())
        return;
    Transaction unit(m_.Quorvel);
    Command& c = m_.MyCommand1;
    c.clearLines();
    c.addLine(QStringLiteral("INSERT INTO LOCALIZATION (NAME,ADRES,TIME_ZONE) VALUES"));
    c.addLine(QLatin1Char('(') + quoted(Edit12->text()));
    c.addLine(QLatin1Char(',') + quoted(Memo1->toPlainText()));
    c.addLine(QStringLiteral(",'%1');").arg(timeZonePosition()));
    c.execute();
    m_.SQL.setStatement(QStringLiteral("SELECT LAST_INSERT_ID()"));
    m_.SQL.reexecute();
    selectedLocationId_ = m_.SQL.integerAt(0);
    m_.LOCALIZATION.reexecute();   // with the new location current
    rerunDevices();
    FillLocationLists();
    m_.BumpStatusCounter(QStringLiteral("LOCALIZATION"));
    unit.commit();
}

// "Zapisz zmiany": writes the form into the selected location; an empty name is
// not refused. A new name may move the row; it stays selected.
void LocationsPanel::Button21Click()
{
    if (!locationsOpen() || selectedLocationId_ <= 0)
        return;
    Transaction unit(m_.Quorvel);
    Command& c = m_.MyCommand1;
    c.clearLines();
    c.addLine(QStringLiteral("UPDATE LOCALIZATION SET NAME = "));
    c.addLine(quoted(Edit12->text()) + QLatin1Char(','));
    c.addLine(QStringLiteral("ADRES = ") + quoted(Memo1->toPlainText()) + QLatin1Char(','));
    c.addLine(QStringLiteral("TIME_ZONE ='%1'").arg(timeZonePosition()));
    c.addLine(QStringLiteral(" WHERE ID ="));
    c.addLine(QString::number(selectedLocationId_));
    c.executeOnRow(QStringLiteral("tej lokalizacji"));
    m_.LOCALIZATION.reexecute();
    FillLocationLists();
    rerunDevices();
    m_.BumpStatusCounter(QStringLiteral("LOCALIZATION"));
    unit.commit();
}

// "Usuń lokalizację": only the location row goes; its devices keep their
// location number and then show no location.
void LocationsPanel::Button22Click()
{
    if (!locationsOpen() || selectedLocationId_ <= 0)
        return;
    if (!form_.dialogs().question(QStringLiteral("Czy usunąc lokalizację i jej dane?")))
        return;
    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("DELETE FROM LOCALIZATION WHERE ID = "));
    m_.MyCommand1.addLine(QString::number(selectedLocationId_));
    m_.MyCommand1.execute();
    m_.LOCALIZATION.reexecute();
    ShowSelectedLocation();   // the location now current
    FillLocationLists();
    rerunDevices();
    m_.BumpStatusCounter(QStringLiteral("LOCALIZATION"));
    unit.commit();
}

// A click shows the location without changing the shown tab.
void LocationsPanel::DBGrid8CellClick() { ShowSelectedLocation(); }

// A key that moved the selection in the list shows the newly selected location,
// as a click would.
void LocationsPanel::DBGrid8KeyUp()
{
    if (locationsOpen() && m_.LOCALIZATION.integer(QStringLiteral("ID")) != selectedLocationId_)
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
