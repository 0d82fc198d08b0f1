// Devices: the passage lookup, adding, saving and deleting a device.
#include "devices/DeviceChanges.h"

#include "db/Change.h"
#include "db/Lookups.h"
#include "db/TDataModule3.h"
#include "devices/KeptRow.h"

namespace {

bool devicesOpen(const TDataModule3& m) { return m.Quorvel.isOpen() && m.Device.isOpen(); }

QString flag(bool set) { return set ? QStringLiteral("1") : QStringLiteral("0"); }

}  // namespace

void DeviceChanges::FillPassageLists(TDataModule3& m, Lookups& lookups)
{
    if (!devicesOpen(m))
        return;
    walkInto(m.Device, QStringLiteral("ID_DEVICE"), lookups.PassageList);
    emit lookups.passageListFilled();
}

int DeviceChanges::CountDevicesByFactory(TDataModule3& m, const QString& factoryNumber)
{
    if (!m.Quorvel.isOpen())
        return 0;
    return m.lookUp({QStringLiteral("SELECT COUNT(*) FROM DEVICE WHERE FACTORY = ")
                     + m.Quorvel.quoted(factoryNumber)})
        .integerAt(0);
}

QString DeviceChanges::AddDevice(TDataModule3& m, Lookups& lookups, const DeviceSettings& d,
                                 KeptRow& selected)
{
    if (!devicesOpen(m))
        return {};
    if (CountDevicesByFactory(m, d.factory) > 0)
        return QStringLiteral("Urządzenia z takin mumerem seryjnym już istnieje.");
    const Connection& c = m.Quorvel;
    const QLatin1Char comma(',');
    QStringList lines{QStringLiteral(
        "INSERT INTO DEVICE (FACTORY,NAME,IP,MASK,GETWAY,RELAY,WIEGAND_A,WIEGAND_B, SERWER, "
        "SERWER_PORT,SET_CONFIG,ID_LOCALIZATION,NAME_A,NAME_B,TYP_A,TYP_B,SAVE_A,SAVE_B) VALUES")};
    lines << QLatin1Char('(') + c.quoted(d.factory);
    for (const QString& text : {d.name, d.ip, d.mask, d.gateway})
        lines << comma + c.quoted(text);
    lines << comma + QString::number(d.relay) << comma + c.quoted(d.wiegandA)
          << comma + c.quoted(d.wiegandB) << comma + c.quoted(d.server)
          << comma + QString::number(d.port) << QStringLiteral(",1")
          << comma + QString::number(d.locationId) << comma + c.quoted(d.nameA)
          << comma + c.quoted(d.nameB) << comma + QString::number(d.typeA)
          << comma + QString::number(d.typeB) << comma + flag(d.saveA) << comma + flag(d.saveB)
          << QStringLiteral(");");
    Change(m, QStringLiteral("Dodaj"))
        .run(lines)
        .trackInserted(QStringLiteral("DEVICE"))
        .then([&] {
            selected.setKey(m.lookUp({QStringLiteral("SELECT LAST_INSERT_ID()")}).integerAt(0));
        })
        .reexecute(m.Device)   // with the new device current
        .then([&] { FillPassageLists(m, lookups); })
        .bump(QStringLiteral("DEVICE"))
        .commit();
    return {};
}

void DeviceChanges::SaveDevice(TDataModule3& m, int deviceId, const DeviceSettings& d)
{
    const Connection& c = m.Quorvel;
    const QLatin1Char comma(',');
    Change(m, QStringLiteral("Zapisz zmiany"))
        .onGone([&] { m.Device.reexecute(); })
        .track(QStringLiteral("DEVICE"), deviceId, QStringLiteral("tego urządzenia"))
        .runOnRow({QStringLiteral("UPDATE DEVICE SET "),
                   QStringLiteral("NAME = ") + c.quoted(d.name) + comma,
                   QStringLiteral("FACTORY = ") + c.quoted(d.factory) + comma,
                   QStringLiteral("IP =") + c.quoted(d.ip) + comma,
                   QStringLiteral("MASK =") + c.quoted(d.mask) + comma,
                   QStringLiteral("GETWAY =") + c.quoted(d.gateway) + comma,
                   QStringLiteral("RELAY ='%1',").arg(d.relay),
                   QStringLiteral("WIEGAND_A =") + c.quoted(d.wiegandA) + comma,
                   QStringLiteral("WIEGAND_B =") + c.quoted(d.wiegandB) + comma,
                   QStringLiteral("SERWER =") + c.quoted(d.server) + comma,
                   QStringLiteral("SERWER_PORT ='%1',").arg(d.port),
                   QStringLiteral("SET_CONFIG ='1',"),
                   QStringLiteral("NAME_A =") + c.quoted(d.nameA) + comma,
                   QStringLiteral("NAME_B =") + c.quoted(d.nameB) + comma,
                   QStringLiteral("TYP_A ='%1',").arg(d.typeA),
                   QStringLiteral("TYP_B ='%1',").arg(d.typeB),
                   QStringLiteral("SAVE_A ='%1',").arg(flag(d.saveA)),
                   QStringLiteral("SAVE_B ='%1',").arg(flag(d.saveB)),
                   QStringLiteral("ID_LOCALIZATION ='%1'").arg(d.locationId),
                   QStringLiteral(" WHERE ID_DEVICE ="), QString::number(deviceId)},
                  QStringLiteral("tego urządzenia"))
        .reexecute(m.Device)   // a new name or location may move the row; it stays selected
        .bump(QStringLiteral("DEVICE"))
        .commit();
}

void DeviceChanges::DeleteDevice(TDataModule3& m, Lookups& lookups, int deviceId,
                                 const std::function<void()>& showSelected)
{
    Change(m, QStringLiteral("Usuń urządzenie"))
        .onGone([&] {
            m.Device.reexecute();
            showSelected();
            FillPassageLists(m, lookups);
        })
        .track(QStringLiteral("DEVICE"), deviceId, QStringLiteral("tego urządzenia"), Change::Gone::AlreadyRemoved,
               true)
        .run({QStringLiteral("DELETE FROM DEVICE WHERE ID_DEVICE = "), QString::number(deviceId)})
        .reexecute(m.Device)
        .then(showSelected)   // the device now current
        .then([&] { FillPassageLists(m, lookups); })
        .bump(QStringLiteral("DEVICE"))
        .commit();
}
