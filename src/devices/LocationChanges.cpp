// Locations: the location lookup, adding, saving and deleting a location.
#include "devices/LocationChanges.h"

#include "db/Change.h"
#include "db/Lookups.h"
#include "db/TDataModule3.h"
#include "devices/KeptRow.h"

namespace {

bool locationsOpen(const TDataModule3& m) { return m.Quorvel.isOpen() && m.LOCALIZATION.isOpen(); }

// The device list shows location names; a table of devices that did not open
// does not keep a location change from being made.
void rerunDevices(TDataModule3& m)
{
    if (m.Device.isOpen())
        m.Device.reexecute();
}

}  // namespace

void LocationChanges::FillLocationLists(TDataModule3& m, Lookups& lookups)
{
    if (!locationsOpen(m))
        return;
    walkInto(m.LOCALIZATION, QStringLiteral("ID"), lookups.LocationList);
    emit lookups.locationListFilled();
}

void LocationChanges::AddLocation(TDataModule3& m, Lookups& lookups, const LocationSettings& l,
                                  KeptRow& selected)
{
    if (!locationsOpen(m) || l.name.isEmpty())
        return;
    const Connection& c = m.Quorvel;
    Change(m, QStringLiteral("Dodaj"))
        .run({QStringLiteral("INSERT INTO LOCALIZATION (NAME,ADRES,TIME_ZONE) VALUES"),
              QLatin1Char('(') + c.quoted(l.name), QLatin1Char(',') + c.quoted(l.address),
              QStringLiteral(",'%1');").arg(l.timeZone)})
        .trackInserted(QStringLiteral("LOCALIZATION"))
        .then([&] {
            selected.setKey(m.lookUp({QStringLiteral("SELECT LAST_INSERT_ID()")}).integerAt(0));
        })
        .reexecute(m.LOCALIZATION)   // with the new location current
        .then([&] {
            rerunDevices(m);
            FillLocationLists(m, lookups);
        })
        .bump(QStringLiteral("LOCALIZATION"))
        .commit();
}

void LocationChanges::SaveLocation(TDataModule3& m, Lookups& lookups, int locationId,
                                   const LocationSettings& l)
{
    const Connection& c = m.Quorvel;
    Change(m, QStringLiteral("Zapisz zmiany"))
        .onGone([&] {
            m.LOCALIZATION.reexecute();
            FillLocationLists(m, lookups);
        })
        .track(QStringLiteral("LOCALIZATION"), locationId, QStringLiteral("tej lokalizacji"))
        .runOnRow({QStringLiteral("UPDATE LOCALIZATION SET NAME = "), c.quoted(l.name) + QLatin1Char(','),
                   QStringLiteral("ADRES = ") + c.quoted(l.address) + QLatin1Char(','),
                   QStringLiteral("TIME_ZONE ='%1'").arg(l.timeZone), QStringLiteral(" WHERE ID ="),
                   QString::number(locationId)},
                  QStringLiteral("tej lokalizacji"))
        .reexecute(m.LOCALIZATION)
        .then([&] {
            FillLocationLists(m, lookups);
            rerunDevices(m);
        })
        .bump(QStringLiteral("LOCALIZATION"))
        .commit();
}

void LocationChanges::DeleteLocation(TDataModule3& m, Lookups& lookups, int locationId,
                                     const std::function<void()>& showSelected)
{
    Change(m, QStringLiteral("Usuń lokalizację"))
        .onGone([&] {
            m.LOCALIZATION.reexecute();
            showSelected();
            FillLocationLists(m, lookups);
        })
        .track(QStringLiteral("LOCALIZATION"), locationId, QStringLiteral("tej lokalizacji"),
               Change::Gone::AlreadyRemoved, true)
        .run({QStringLiteral("DELETE FROM LOCALIZATION WHERE ID = "), QString::number(locationId)})
        .reexecute(m.LOCALIZATION)
        .then([&] {
            showSelected();   // the location now current
            FillLocationLists(m, lookups);
            rerunDevices(m);
        })
        .bump(QStringLiteral("LOCALIZATION"))
        .commit();
}
