// Permissions of groups on passages: the permission list of the current group,
// granting a template on the ticked passages, removing a permission, and loading
// a permission's template into the editor.
#include "access/AccessPage.h"
#include "app/TForm1.h"
#include "dataaccess/Errors.h"
#include "db/TDataModule3.h"
#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QListWidget>

namespace {

// After a grant that stopped part-way: which of the ticked passages got their
// permission (always the first ones) and which did not.
void tellPartialGrant(Dialogs& dialogs, const std::vector<Tczytniki>& ticked,
                      const QStringList& granted)
{
    QStringList missing;
    for (std::size_t i = granted.size(); i < ticked.size(); ++i)
        missing << ticked[i].name;
    QString text = granted.isEmpty()
                       ? QStringLiteral("Nie nadano żadnego uprawnienia.")
                       : QStringLiteral("Nadano uprawnienia do przejść: %1.")
                             .arg(granted.join(QStringLiteral(", ")));
    if (!missing.isEmpty())
        text += QStringLiteral("\nNie nadano uprawnień do przejść: %1.")
                    .arg(missing.join(QStringLiteral(", ")));
    dialogs.notice(text);
}

}  // namespace

// Lists the current group's permissions, one row per permission, by passage name.
// The statement keeps naming this group until the next call.
void AccessPage::RefreshGroupPermissions()
{
    // Without the templates the statement could only fail again.
    if (!connected() || !m_.Groups.isOpen() || !m_.Szablony.isOpen())
        return;
    m_.Prawa.clearLines();
    m_.Prawa.addLine(QStringLiteral(
        "select NMID, PERMISSIONS.NAME, DEVICE.NAME, ID_PERMISSIONS, INPUT ,OUTPUT  "
        "from GROUPS, PERMISSIONS_has_GROUPS, PERMISSIONS, DEVICE "
        "WHERE DEVICE.ID_DEVICE=PERMISSIONS_has_GROUPS.ID_DEVICE_FK "
        "AND PERMISSIONS_has_GROUPS.ID_PERMISSIONS_FK=PERMISSIONS.ID_PERMISSIONS"
        " AND PERMISSIONS_has_GROUPS.ID_GROUP_FK= "));
    m_.Prawa.addLine(QStringLiteral("'%1' GROUP BY NMID ORDER BY DEVICE.NAME").arg(currentGroupId()));
    m_.Prawa.reexecute();
}

// Grants the current template to the current group on every ticked passage, one
// row and one counter bump per passage, each passage a change of its own. Group 1
// and anything below never get permissions.
void AccessPage::Button12Click()
{
    if (!CheckBox2->isChecked() && !CheckBox3->isChecked())
        return;
    if (!connected() || CheckListBox1->count() == 0)
        return;
    const std::vector<Tczytniki>& passages = form_.lookups().PassageList;
    std::vector<Tczytniki> ticked;
    for (int i = 0; i < CheckListBox1->count() && i < static_cast<int>(passages.size()); ++i)
        if (CheckListBox1->item(i)->checkState() == Qt::Checked)
            ticked.push_back(passages[i]);
    const int groupId = currentGroupId();
    if (ticked.empty() || groupId <= 1)
        return;
    // A row naming no template would grant nothing anyone can see or use.
    const int templateId = currentTemplateId();
    if (templateId <= 0) {
        dialogs_.notice(QStringLiteral("Nie można nadać uprawnienia: nie wybrano szablonu, "
                                       "lista szablonów jest pusta. Dodaj szablon, wybierz go "
                                       "na liście i nadaj uprawnienie ponownie."));
        return;
    }

    QStringList granted;
    for (const Tczytniki& passage : ticked) {
        bool bumping = false;
        try {
            grantPassage(templateId, groupId, passage, bumping);
        } catch (const DataAccessError&) {
            // A bump that failed on a live connection has kept its row.
            if (bumping && m_.Quorvel.isOpen())
                granted << passage.name;
            if (ticked.size() > 1)
                tellPartialGrant(dialogs_, ticked, granted);
            throw;
        }
        granted << passage.name;
    }
}

// One passage: the row, the list re-read, the counter, as one change. A failure
// leaves nothing of it, except a failed bump on a live connection, which keeps the
// row; `bumping` tells the caller that the failure came from the bump.
void AccessPage::grantPassage(int templateId, int groupId, const Tczytniki& passage,
                              bool& bumping)
{
    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("INSERT INTO PERMISSIONS_has_GROUPS "
                                         "(ID_PERMISSIONS_FK,ID_GROUP_FK,ID_DEVICE_FK,INPUT,OUTPUT) "
                                         "VALUES ( "));
    m_.MyCommand1.addLine(QStringLiteral("'%1',").arg(templateId));
    m_.MyCommand1.addLine(QStringLiteral("'%1',").arg(groupId));
    m_.MyCommand1.addLine(QStringLiteral("'%1',").arg(passage.id));
    m_.MyCommand1.addLine(CheckBox2->isChecked() ? QStringLiteral("'1',") : QStringLiteral("'0',"));
    m_.MyCommand1.addLine(CheckBox3->isChecked() ? QStringLiteral("'1');") : QStringLiteral("'0');"));
    m_.MyCommand1.execute();
    m_.Prawa.reexecute();
    bumping = true;
    m_.BumpStatusCounter(QStringLiteral("PERMISSIONS_has_GROUPS"));
    bumping = false;
    unit.commit();
}

// Removes the current row of the permission list only, without asking; other
// selected rows stay.
void AccessPage::Button13Click()
{
    if (!connected() || !m_.Prawa.isOpen())
        return;
    const int nmid = m_.Prawa.integer(QStringLiteral("NMID"));
    if (nmid <= 0)
        return;
    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("DELETE FROM PERMISSIONS_has_GROUPS WHERE NMID = "));
    m_.MyCommand1.addLine(QString::number(nmid));
    m_.MyCommand1.execute();
    m_.Prawa.reexecute();
    m_.BumpStatusCounter(QStringLiteral("PERMISSIONS_has_GROUPS"));
    unit.commit();
}

// The editor shows the template the permission uses.
void AccessPage::DBGrid6CellClick() { LoadTemplate(form_.currentPermissionTemplate()); }

void AccessPage::DBGrid6MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    DBGrid6CellClick();
}
