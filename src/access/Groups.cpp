// Groups: the group list, adding, deleting, renaming, and the group lookup.
#include "access/AccessPage.h"
#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "ui/Dialogs.h"

#include <QLineEdit>

// 0 when there is no current group (the list empty or not open).
int AccessPage::currentGroupId() const
{
    const Dataset& groups = m_.Groups;
    if (!groups.isOpen() || groups.recordNo() == 0)
        return 0;
    return groups.integer(QStringLiteral("ID_GROUP"));
}

// Walks the groups into GroupList and the five group lists; leaves Groups on its
// last row, which thereby becomes the current group.
void AccessPage::FillGroupLists()
{
    if (!connected() || !m_.Groups.isOpen())
        return;
    Lookups& lookups = form_.lookups();
    m_.Groups.first();
    lookups.GroupList.clear();
    while (!m_.Groups.eof()) {
        lookups.GroupList.push_back(
            {m_.Groups.text(QStringLiteral("NAME")), m_.Groups.integer(QStringLiteral("ID_GROUP"))});
        m_.Groups.next();
    }
    emit lookups.groupListFilled();
}

// Deleted groups count too: their names are not used again.
int AccessPage::GroupNameExists(const QString& name)
{
    if (!connected())
        return 0;
    m_.SQL.setStatement(QStringLiteral("SELECT COUNT(*) FROM GROUPS WHERE NAME = ") + quoted(name));
    m_.SQL.reexecute();
    return m_.SQL.integerAt(0);
}

void AccessPage::Button7Click()
{
    if (!connected() || Edit5->text().isEmpty())
        return;
    if (GroupNameExists(Edit5->text()) != 0) {
        dialogs_.notice(QStringLiteral("Grupa już istnieje w bazie."));
        return;
    }
    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("INSERT INTO GROUPS (NAME)VALUES "));
    m_.MyCommand1.addLine(QStringLiteral("(") + quoted(Edit5->text()) + QStringLiteral(");"));
    m_.MyCommand1.execute();
    m_.Groups.reexecute();
    FillGroupLists();
    form_.RefreshGroupPermissions();
    m_.BumpStatusCounter(QStringLiteral("GROUPS"));
    unit.commit();
}

// Members go to group 1, permissions are removed, the group is flagged deleted.
void AccessPage::Button6Click()
{
    if (!connected() || m_.Groups.recordNo() == 0 || currentGroupId() == 1)
        return;
    if (!dialogs_.question(QStringLiteral("Czy usunąć grupę?")))
        return;
    const QString id = QString::number(currentGroupId());

    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("UPDATE USERS SET ID_GROUP = 1"));
    m_.MyCommand1.addLine(QStringLiteral("WHERE ID_GROUP = "));
    m_.MyCommand1.addLine(QLatin1Char('\'') + id + QLatin1Char('\''));
    m_.MyCommand1.execute();
    m_.Users.reexecute();
    m_.BumpStatusCounter(QStringLiteral("USERS"));

    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("DELETE FROM PERMISSIONS_has_GROUPS WHERE ID_GROUP_FK = "));
    m_.MyCommand1.addLine(id);
    m_.MyCommand1.execute();
    // Still the deleted group's statement: the list shows it has nothing left.
    if (m_.Prawa.isOpen())
        m_.Prawa.reexecute();
    m_.BumpStatusCounter(QStringLiteral("PERMISSIONS_has_GROUPS"));

    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("UPDATE GROUPS SET DEL = 1"));
    m_.MyCommand1.addLine(QStringLiteral("WHERE ID_GROUP = "));
    m_.MyCommand1.addLine(QLatin1Char('\'') + id + QLatin1Char('\''));
    m_.MyCommand1.execute();
    m_.Groups.reexecute();
    FillGroupLists();
    m_.BumpStatusCounter(QStringLiteral("GROUPS"));
    unit.commit();
}

void AccessPage::Button25Click()
{
    if (!connected())
        return;
    Transaction unit(m_.Quorvel);
    RenameGroup(Edit5->text());
    m_.BumpStatusCounter(QStringLiteral("GROUPS"));
    unit.commit();
}

// No duplicate test and no refill: the group lists keep the old name until the
// next fill, while ids and positions stay valid.
void AccessPage::RenameGroup(const QString& name)
{
    if (!connected() || name.isEmpty())
        return;
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("UPDATE GROUPS SET NAME = "));
    m_.MyCommand1.addLine(quoted(name));
    m_.MyCommand1.addLine(QStringLiteral("WHERE ID_GROUP = ") + QString::number(currentGroupId()));
    m_.MyCommand1.execute();
    m_.Groups.refresh();   // the same position, whichever row now stands there
}

void AccessPage::DBGrid4CellClick()
{
    form_.RefreshGroupPermissions();
    form_.LoadTemplate(form_.currentPermissionTemplate());
}

void AccessPage::DBGrid4KeyUp(int, Qt::KeyboardModifiers) { DBGrid4CellClick(); }
