// Permissions of groups on passages: the permission list of the current group,
// granting a template on the ticked passages, removing a permission, and loading
// a permission's template into the editor.
#include "access/AccessPage.h"

#include "access/GroupChanges.h"
#include "access/PermissionChanges.h"
#include "access/TemplateChanges.h"
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
                       : QStringLiteral("Nadano uprawnienia do przejść: ") + granted.join(QStringLiteral(", "))
                             + QLatin1Char('.');
    if (!missing.isEmpty())
        text += QStringLiteral("\nNie nadano uprawnień do przejść: ") + missing.join(QStringLiteral(", "))
                + QLatin1Char('.');
    dialogs.notice(text);
}

}  // namespace

void AccessPage::RefreshGroupPermissions() { PermissionChanges::RefreshGroupPermissions(m_); }

// Grants the current template to the current group on every ticked passage, one
// row and one counter bump per passage, each passage a change of its own. Group 1
// and anything below never get permissions.
void AccessPage::Button12Click()
{
    if (!CheckBox2->isChecked() && !CheckBox3->isChecked())
        return;
    if (!connected() || CheckListBox1->count() == 0)
        return;
    const std::vector<Tczytniki>& passages = context_.lookups.PassageList;
    std::vector<Tczytniki> ticked;
    for (int i = 0; i < CheckListBox1->count() && i < static_cast<int>(passages.size()); ++i)
        if (CheckListBox1->item(i)->checkState() == Qt::Checked)
            ticked.push_back(passages[i]);
    const int groupId = GroupChanges::CurrentGroupId(m_);
    if (ticked.empty() || groupId <= 1)
        return;
    // A row naming no template would grant nothing anyone can see or use.
    const int templateId = TemplateChanges::CurrentTemplateId(m_);
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
            PermissionChanges::GrantPermission(m_, templateId, groupId, passage.id,
                                               CheckBox2->isChecked(), CheckBox3->isChecked(), bumping);
        } catch (const OperatorError&) {
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

// Removes the current row of the permission list only, without asking; other
// selected rows stay.
void AccessPage::Button13Click()
{
    if (!connected() || !m_.Prawa.isOpen())
        return;
    const int nmid = m_.Prawa.integer(QStringLiteral("NMID"));
    if (nmid > 0)
        PermissionChanges::RevokePermission(m_, nmid);
}

// The editor shows the template the permission uses.
void AccessPage::DBGrid6CellClick() { LoadTemplate(PermissionChanges::CurrentPermissionTemplate(m_)); }

void AccessPage::DBGrid6MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    DBGrid6CellClick();
}
