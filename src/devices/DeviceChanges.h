#pragma once

#include <QString>

#include <functional>

class KeptRow;
class Lookups;
class TDataModule3;

// What the device form holds, as it is written into DEVICE.
struct DeviceSettings {
    QString factory, name, ip, mask, gateway;
    int relay = 0;
    QString wiegandA, wiegandB;
    QString server;
    int port = 0;
    int locationId = 0;   // 0: no location
    QString nameA, nameB;
    int typeA = 1, typeB = 2;   // TYP_A, TYP_B: 1 entry, 2 exit
    bool saveA = true, saveB = true;
};

// Door controllers: the passage lookup, adding, saving and deleting a device.
// Each change is one unit with its re-reads and its counter bump.
namespace DeviceChanges {

// Walks the devices into PassageList, in the order of Device, and has the passage
// lists of every page refilled; Device is left on its last row (the device page
// then returns to its selected device).
void FillPassageLists(TDataModule3& m, Lookups& lookups);

// Devices with this factory number; deleted devices count too.
int CountDevicesByFactory(TDataModule3& m, const QString& factoryNumber);

// A new device, which becomes the selected one. Returns the notice when its
// factory number is taken.
QString AddDevice(TDataModule3& m, Lookups& lookups, const DeviceSettings& device, KeptRow& selected);
// Writes the settings into the device, which must still be there.
void SaveDevice(TDataModule3& m, int deviceId, const DeviceSettings& device);
// Removes the device row (permissions and events naming it stay); `showSelected`
// then shows the device now current, which becomes the selected one.
void DeleteDevice(TDataModule3& m, Lookups& lookups, int deviceId,
                  const std::function<void()>& showSelected);

}  // namespace DeviceChanges
