#include "db/Maintenance.h"

#include "db/TDataModule3.h"

namespace {

void execute(TDataModule3& m, const QString& statement)
{
    m.MyCommand1.clearLines();
    m.MyCommand1.addLine(statement);
    m.MyCommand1.execute();
}

}  // namespace

void Maintenance::PurgeDeletedRows(TDataModule3& m)
{
    // The deleted people who have events, together with all their events; then
    // the deleted people without events.
    execute(m, QStringLiteral("DELETE USERS, EVENTS FROM USERS INNER JOIN EVENTS ON EVENTS.ID_USER = "
                              "USERS.ID_USER  WHERE USERS.DEL =1;"));
    execute(m, QStringLiteral("DELETE FROM USERS WHERE USERS.DEL=1;"));
    execute(m, QStringLiteral("DELETE FROM GROUPS WHERE GROUPS.DEL=1;"));
    execute(m, QStringLiteral("DELETE FROM DEVICE WHERE DEVICE.DEL=1;"));
    execute(m, QStringLiteral("DELETE FROM LOCALIZATION WHERE DEL=1;"));
}

void Maintenance::DeleteAllEvents(TDataModule3& m)
{
    execute(m, QStringLiteral("DELETE FROM EVENTS ;"));
}
