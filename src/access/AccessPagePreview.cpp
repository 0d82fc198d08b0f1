// "Kto i dokąd wejdzie" and the previews of a change beside the buttons that make it.
#include "access/AccessPage.h"

#include "access/ChangePreviewDialog.h"
#include "access/GroupChanges.h"
#include "access/ReachDialog.h"
#include "access/ScheduleEditor.h"
#include "access/TemplateChanges.h"
#include "db/TDataModule3.h"

void AccessPage::ReachButtonClick()
{
    if (!reach_)
        reach_ = new ReachDialog(context_, this);
    reach_->prepare();
    reach_->show();
    reach_->raise();
    reach_->activateWindow();
}

// The preview in its own window (kept between previews); a text instead when
// there is nothing to preview, so that no message box opens.
void AccessPage::showPreview(const QString& what, const AccessChange& change)
{
    if (!preview_)
        preview_ = new ChangePreviewDialog(this);
    if (!connected()) {
        preview_->showText(what, QStringLiteral("brak połączenia z bazą."));
        return;
    }
    if (change.id <= 0) {
        preview_->showText(what, QStringLiteral("nic nie wybrano."));
        return;
    }
    preview_->showPreview(what, Reach::PreviewChange(m_.Quorvel, change));
}

namespace {
QString titled(const QString& what, const QString& name) { return QStringLiteral("%1 „%2”").arg(what, name); }
}  // namespace

void AccessPage::PreviewTemplateSaveClick()
{
    const int id = connected() ? TemplateChanges::CurrentTemplateId(m_) : 0;
    const QString what = titled(QStringLiteral("Zapamiętanie zmian szablonu"),
                               id > 0 ? m_.Szablony.text(QStringLiteral("NAME")) : QString());
    if (!editor_->holdsSchedule()) {
        if (!preview_)
            preview_ = new ChangePreviewDialog(this);
        preview_->showText(what, QStringLiteral("edytor nie zawiera harmonogramu."));
        return;
    }
    showPreview(what, {AccessChange::SaveTemplate, id, dayStrings()});
}

void AccessPage::PreviewPermissionRevokeClick()
{
    const int nmid = connected() && m_.Prawa.isOpen() && m_.Prawa.rowCount() > 0
                         ? m_.Prawa.integer(QStringLiteral("NMID"))
                         : 0;
    const QString what = nmid > 0 ? titled(QStringLiteral("Usunięcie uprawnienia na przejściu"),
                                          m_.Prawa.text(QStringLiteral("NAME_1")))
                                  : QStringLiteral("Usunięcie uprawnienia");
    showPreview(what, {AccessChange::RevokePermission, nmid, {}});
}

void AccessPage::PreviewGroupDeleteClick()
{
    const int id = connected() && m_.Groups.recordNo() > 0 ? GroupChanges::CurrentGroupId(m_) : 0;
    if (id == 1) {
        // "Usuń grupę" leaves group 1 alone.
        if (!preview_)
            preview_ = new ChangePreviewDialog(this);
        preview_->showText(QStringLiteral("Usunięcie grupy"), QStringLiteral("grupy domyślnej nie można usunąć."));
        return;
    }
    showPreview(id > 0 ? titled(QStringLiteral("Usunięcie grupy"), m_.Groups.text(QStringLiteral("NAME")))
                       : QStringLiteral("Usunięcie grupy"),
                {AccessChange::DeleteGroup, id, {}});
}

void AccessPage::PreviewTemplateDeleteClick()
{
    const int id = connected() ? TemplateChanges::CurrentTemplateId(m_) : 0;
    showPreview(id > 0 ? titled(QStringLiteral("Usunięcie szablonu"), m_.Szablony.text(QStringLiteral("NAME")))
                       : QStringLiteral("Usunięcie szablonu"),
                {AccessChange::DeleteTemplate, id, {}});
}
