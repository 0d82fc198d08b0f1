#include "db/Maintenance.h"

#include "db/Change.h"
#include "db/TDataModule3.h"

namespace {

const QString PurgeAction = QStringLiteral("Oczyść bazę zdarzeń z osób usunietych");

// One statement as a change of its own, with the history of the rows it removes:
// those of `table` that `where` selects, and the events that `events` selects,
// counted.
void purge(TDataModule3& m, const QString& action, const QString& statement, const QString& table,
           const QString& where, const QString& events = {})
{
    Change change(m, action);
    if (!table.isEmpty())
        change.trackWhere(table, where);
    if (!events.isEmpty())
        change.trackCount(QStringLiteral("EVENTS"), events, QStringLiteral("zdarzenia"));
    change.run({statement}).commit();
}

}  // namespace

void Maintenance::PurgeDeletedRows(TDataModule3& m)
{
    // The deleted people who have events, together with all their events; then
    // the deleted people without events.
    purge(m, PurgeAction,
          QStringLiteral("DELETE USERS, EVENTS FROM USERS INNER JOIN EVENTS ON EVENTS.ID_USER = "
                         "USERS.ID_USER  WHERE USERS.DEL =1;"),
          QStringLiteral("USERS"), QStringLiteral("DEL = 1"),
          QStringLiteral("ID_USER IN (SELECT ID_USER FROM USERS WHERE DEL = 1)"));
    purge(m, PurgeAction, QStringLiteral("DELETE FROM USERS WHERE USERS.DEL=1;"), QStringLiteral("USERS"),
          QStringLiteral("DEL = 1"));
    purge(m, PurgeAction, QStringLiteral("DELETE FROM GROUPS WHERE GROUPS.DEL=1;"), QStringLiteral("GROUPS"),
          QStringLiteral("DEL = 1"));
    purge(m, PurgeAction, QStringLiteral("DELETE FROM DEVICE WHERE DEVICE.DEL=1;"), QStringLiteral("DEVICE"),
          QStringLiteral("DEL = 1"));
    purge(m, PurgeAction, QStringLiteral("DELETE FROM LOCALIZATION WHERE DEL=1;"),
          QStringLiteral("LOCALIZATION"), QStringLiteral("DEL = 1"));
}

void Maintenance::DeleteAllEvents(TDataModule3& m)
{
    purge(m, QStringLiteral("Usuń wszystkie zdarzenia"), QStringLiteral("DELETE FROM EVENTS ;"), QString(),
          QString(), QStringLiteral("1"));
}
