// Permissions of groups on passages: the permission list of the current group,
// granting and removing.
#include "access/PermissionChanges.h"

#include "access/GroupChanges.h"
#include "db/Change.h"
#include "db/TDataModule3.h"

void PermissionChanges::RefreshGroupPermissions(TDataModule3& m)
{
    // Without the templates the statement could only fail again.
    if (!m.Quorvel.isOpen() || !m.Groups.isOpen() || !m.Szablony.isOpen())
        return;
    m.Prawa.clearLines();
    m.Prawa.addLine(QStringLiteral(
        "select NMID, PERMISSIONS.NAME, DEVICE.NAME, ID_PERMISSIONS, INPUT ,OUTPUT  "
        "from GROUPS, PERMISSIONS_has_GROUPS, PERMISSIONS, DEVICE "
        "WHERE DEVICE.ID_DEVICE=PERMISSIONS_has_GROUPS.ID_DEVICE_FK "
        "AND PERMISSIONS_has_GROUPS.ID_PERMISSIONS_FK=PERMISSIONS.ID_PERMISSIONS"
        " AND PERMISSIONS_has_GROUPS.ID_GROUP_FK= "));
    m.Prawa.addLine(QStringLiteral("'%1' GROUP BY NMID ORDER BY DEVICE.NAME")
                        .arg(GroupChanges::CurrentGroupId(m)));
    m.Prawa.reexecute();
}

int PermissionChanges::CurrentPermissionTemplate(const TDataModule3& m)
{
    const Dataset& prawa = m.Prawa;
    if (!prawa.isOpen() || prawa.recordNo() == 0)
        return 0;
    return prawa.integer(QStringLiteral("ID_PERMISSIONS"));
}

void PermissionChanges::GrantPermission(TDataModule3& m, int templateId, int groupId, int passageId,
                                        bool headA, bool headB, bool& bumping)
{
    Change change(m, QStringLiteral("Dodaj uprawnienie"));
    change
        .onGone([&] {
            // The lists the grant was chosen from, as they stand now.
            m.Groups.reexecute();
            if (m.Device.isOpen())
                m.Device.reexecute();
            m.Szablony.reexecute();
            RefreshGroupPermissions(m);
        })
        .require(QStringLiteral("GROUPS"), groupId, QStringLiteral("tej grupy"))
        .require(QStringLiteral("DEVICE"), passageId, QStringLiteral("tego przejścia"))
        .require(QStringLiteral("PERMISSIONS"), templateId, QStringLiteral("tego szablonu"))
        .run({QStringLiteral("INSERT INTO PERMISSIONS_has_GROUPS "
                             "(ID_PERMISSIONS_FK,ID_GROUP_FK,ID_DEVICE_FK,INPUT,OUTPUT) VALUES ( "),
              QStringLiteral("'%1',").arg(templateId), QStringLiteral("'%1',").arg(groupId),
              QStringLiteral("'%1',").arg(passageId),
              headA ? QStringLiteral("'1',") : QStringLiteral("'0',"),
              headB ? QStringLiteral("'1');") : QStringLiteral("'0');")})
        .trackInserted(QStringLiteral("PERMISSIONS_has_GROUPS"))
        .reexecute(m.Prawa);
    bumping = true;
    change.bump(QStringLiteral("PERMISSIONS_has_GROUPS"));
    bumping = false;
    change.commit();
}

void PermissionChanges::RevokePermission(TDataModule3& m, int permissionRow)
{
    Change(m, QStringLiteral("Usuń uprawnienie"))
        .onGone([&] { RefreshGroupPermissions(m); })
        .track(QStringLiteral("PERMISSIONS_has_GROUPS"), permissionRow, QStringLiteral("tego uprawnienia"),
               Change::Gone::AlreadyRemoved)
        .run({QStringLiteral("DELETE FROM PERMISSIONS_has_GROUPS WHERE NMID = "),
              QString::number(permissionRow)})
        .reexecute(m.Prawa)
        .bump(QStringLiteral("PERMISSIONS_has_GROUPS"))
        .commit();
}
