// Groups: the group lookup, adding, deleting and renaming.
#include "access/GroupChanges.h"

#include "access/PermissionChanges.h"
#include "access/RenameRow.h"
#include "db/Change.h"
#include "db/Lookups.h"
#include "db/TDataModule3.h"

int GroupChanges::CurrentGroupId(const TDataModule3& m)
{
    const Dataset& groups = m.Groups;
    if (!groups.isOpen() || groups.recordNo() == 0)
        return 0;
    return groups.integer(QStringLiteral("ID_GROUP"));
}

void GroupChanges::FillGroupLists(TDataModule3& m, Lookups& lookups)
{
    if (!m.Quorvel.isOpen() || !m.Groups.isOpen())
        return;
    walkInto(m.Groups, QStringLiteral("ID_GROUP"), lookups.GroupList);
    emit lookups.groupListFilled();
}

int GroupChanges::GroupNameExists(TDataModule3& m, const QString& name)
{
    if (!m.Quorvel.isOpen())
        return 0;
    return m.lookUp({QStringLiteral("SELECT COUNT(*) FROM GROUPS WHERE NAME = ") + m.Quorvel.quoted(name)})
        .integerAt(0);
}

QString GroupChanges::AddGroup(TDataModule3& m, Lookups& lookups, const QString& name)
{
    if (!m.Quorvel.isOpen() || name.isEmpty())
        return {};
    if (GroupNameExists(m, name) != 0)
        return QStringLiteral("Grupa już istnieje w bazie.");
    Change(m, QStringLiteral("Dodaj grupę"))
        .run({QStringLiteral("INSERT INTO GROUPS (NAME)VALUES "),
              QStringLiteral("(") + m.Quorvel.quoted(name) + QStringLiteral(");")})
        .trackInserted(QStringLiteral("GROUPS"))
        .reexecute(m.Groups)
        .then([&] {
            FillGroupLists(m, lookups);
            PermissionChanges::RefreshGroupPermissions(m);
        })
        .bump(QStringLiteral("GROUPS"))
        .commit();
    return {};
}

void GroupChanges::DeleteGroup(TDataModule3& m, Lookups& lookups, int groupId)
{
    const QString id = QString::number(groupId);
    const QString quotedId = QLatin1Char('\'') + id + QLatin1Char('\'');
    Change(m, QStringLiteral("Usuń grupę"))
        .onGone([&] {
            m.Groups.reexecute();
            FillGroupLists(m, lookups);
        })
        .track(QStringLiteral("GROUPS"), groupId, QStringLiteral("tej grupy"), Change::Gone::AlreadyRemoved, true)
        .trackWhere(QStringLiteral("USERS"), QStringLiteral("ID_GROUP = ") + id)
        .trackWhere(QStringLiteral("PERMISSIONS_has_GROUPS"), QStringLiteral("ID_GROUP_FK = ") + id)
        .run({QStringLiteral("UPDATE USERS SET ID_GROUP = 1"), QStringLiteral("WHERE ID_GROUP = "), quotedId})
        .reexecute(m.Users)
        .bump(QStringLiteral("USERS"))
        .run({QStringLiteral("DELETE FROM PERMISSIONS_has_GROUPS WHERE ID_GROUP_FK = "), id})
        .then([&] {
            // Still the deleted group's statement: the list shows it has nothing left.
            if (m.Prawa.isOpen())
                m.Prawa.reexecute();
        })
        .bump(QStringLiteral("PERMISSIONS_has_GROUPS"))
        .run({QStringLiteral("UPDATE GROUPS SET DEL = 1"), QStringLiteral("WHERE ID_GROUP = "), quotedId})
        .reexecute(m.Groups)
        .then([&] { FillGroupLists(m, lookups); })
        .bump(QStringLiteral("GROUPS"))
        .commit();
}

void GroupChanges::RenameGroup(TDataModule3& m, int groupId, const QString& name)
{
    renameRow(m, QStringLiteral("GROUPS"), QStringLiteral("ID_GROUP"), groupId, name, m.Groups,
              QStringLiteral("tej grupy"));
}

void GroupChanges::SaveGroupName(TDataModule3& m, int groupId, const QString& name)
{
    saveName(m, [&] { RenameGroup(m, groupId, name); }, QStringLiteral("GROUPS"));
}
