// Weekly schedule templates: loading one into the editor, saving the editor,
// adding, deleting and renaming templates.
#include "access/AccessPage.h"

#include "access/PermissionChanges.h"
#include "access/ScheduleEditor.h"
#include "access/TemplateChanges.h"
#include "db/TDataModule3.h"
#include "ui/Dialogs.h"

#include <QLineEdit>

using namespace TemplateChanges;

// The 14 fields as seven day strings: start ":" end.
QStringList AccessPage::dayStrings() const
{
    QStringList days;
    for (int row = 0; row < 7; ++row)
        days << editor_->startText(row) + QLatin1Char(':') + editor_->endText(row);
    return days;
}

// Paints the template's day strings and copies them into the fields as read;
// an id without a row loads seven empty days.
void AccessPage::LoadTemplate(int templateId)
{
    if (!connected())
        return;
    const TemplateRow t = ReadTemplate(m_, templateId);
    for (int day = 0; day < 7; ++day) {
        const QString start = t.days[day].mid(0, 5);
        const QString end = t.days[day].mid(6, 5);
        editor_->PaintDayRow(day, start, end);
        editor_->setDayFields(day, start, end);
    }
    editor_->setCaption(QStringLiteral("Szablon: ") + t.name);
    editor_->setHoldsSchedule(t.found);
}

// Without a schedule the fields are empty, and saving them would wipe a template.
bool AccessPage::editorHoldsSchedule()
{
    if (editor_->holdsSchedule())
        return true;
    dialogs_.notice(QStringLiteral("Edytor nie zawiera harmonogramu: wybierz szablon z listy "
                                   "albo zaznacz godziny na siatce."));
    return false;
}

// Writes the 14 fields into the current row of the template list.
void AccessPage::Button11Click()
{
    if (!connected() || CurrentTemplateId(m_) <= 0 || !editorHoldsSchedule())
        return;
    SaveSchedule(m_, CurrentTemplateId(m_), dayStrings());
}

// A new template takes the schedule the 14 fields show; names may repeat.
void AccessPage::Button9Click()
{
    if (!connected() || Edit9->text().isEmpty() || !editorHoldsSchedule())
        return;
    AddTemplate(m_, context_.lookups, Edit9->text(), dayStrings());
}

// The template goes with every group permission that uses it.
void AccessPage::Button10Click()
{
    if (!connected() || CurrentTemplateId(m_) <= 0)
        return;
    if (!dialogs_.question(QStringLiteral("Czy usunąc szablon ?")))
        return;
    DeleteTemplate(m_, context_.lookups, CurrentTemplateId(m_));
    RefreshGroupPermissions();
    LoadTemplate(PermissionChanges::CurrentPermissionTemplate(m_));
}

// The editor is not reloaded: its caption keeps the old name until the next load.
void AccessPage::Button26Click() { SaveTemplateName(m_, CurrentTemplateId(m_), Edit9->text()); }

void AccessPage::DBGrid5CellClick() { LoadTemplate(CurrentTemplateId(m_)); }
