// Groups: the group list, adding, deleting, renaming, and the group lookup.
#include "access/AccessPage.h"

#include "access/GroupChanges.h"
#include "access/PermissionChanges.h"
#include "db/TDataModule3.h"
#include "ui/Dialogs.h"

#include <QLineEdit>

using namespace GroupChanges;

void AccessPage::FillGroupLists() { GroupChanges::FillGroupLists(m_, context_.lookups); }

void AccessPage::Button7Click()
{
    const QString notice = AddGroup(m_, context_.lookups, Edit5->text());
    if (!notice.isEmpty())
        dialogs_.notice(notice);
}

// Members go to group 1, permissions are removed, the group is flagged deleted.
void AccessPage::Button6Click()
{
    if (!connected() || m_.Groups.recordNo() == 0 || CurrentGroupId(m_) == 1)
        return;
    if (!dialogs_.question(QStringLiteral("Czy usunąć grupę?")))
        return;
    DeleteGroup(m_, context_.lookups, CurrentGroupId(m_));
}

void AccessPage::Button25Click() { SaveGroupName(m_, CurrentGroupId(m_), Edit5->text()); }

void AccessPage::DBGrid4CellClick()
{
    RefreshGroupPermissions();
    LoadTemplate(PermissionChanges::CurrentPermissionTemplate(m_));
}

void AccessPage::DBGrid4KeyUp(int, Qt::KeyboardModifiers) { DBGrid4CellClick(); }
