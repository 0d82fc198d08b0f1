#pragma once

#include <QString>

#include <functional>

class KeptRow;
class Lookups;
class TDataModule3;

// What the location form holds. `timeZone` is the position of the zone in the
// zone list, -1 for a typed text that is none of them.
struct LocationSettings {
    QString name;
    QString address;
    int timeZone = -1;
};

// Locations (sites with their address and time zone): the location lookup,
// adding, saving and deleting. Each change is one unit with its re-reads and its
// counter bump; the device list, which shows location names, is read again too.
namespace LocationChanges {

// Walks the locations into LocationList, in name order, and has the device form's
// location list refilled; LOCALIZATION is left on its last row (the locations
// panel then returns to its selected location).
void FillLocationLists(TDataModule3& m, Lookups& lookups);

// A new location (names may repeat), which becomes the selected one.
void AddLocation(TDataModule3& m, Lookups& lookups, const LocationSettings& location, KeptRow& selected);
// Writes the form into the location, which must still be there; an empty name is
// not refused.
void SaveLocation(TDataModule3& m, Lookups& lookups, int locationId, const LocationSettings& location);
// Removes the location row only (its devices keep their location number and then
// show no location); `showSelected` then shows the location now current, which
// becomes the selected one.
void DeleteLocation(TDataModule3& m, Lookups& lookups, int locationId,
                    const std::function<void()>& showSelected);

}  // namespace LocationChanges
