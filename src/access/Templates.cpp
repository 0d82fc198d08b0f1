// Weekly schedule templates: loading one into the editor, saving the editor,
// adding, deleting and renaming templates.
#include "access/AccessPage.h"
#include "access/ScheduleEditor.h"
#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "ui/Dialogs.h"

#include <QLineEdit>

int AccessPage::currentTemplateId() const
{
    const Dataset& templates = m_.Szablony;
    if (!templates.isOpen() || templates.recordNo() == 0)
        return 0;
    return templates.integer(QStringLiteral("ID_PERMISSIONS"));
}

QString AccessPage::dayString(int row) const
{
    return editor_->startText(row) + QLatin1Char(':') + editor_->endText(row);
}

// Paints the template's day strings and copies them into the fields as read;
// an id without a row loads seven empty days.
void AccessPage::LoadTemplate(int templateId)
{
    if (!connected())
        return;
    m_.SQL.setStatement(QStringLiteral("SELECT * FROM PERMISSIONS WHERE ID_PERMISSIONS = '%1'")
                            .arg(templateId));
    m_.SQL.reexecute();
    for (int day = 1; day <= 7; ++day) {
        const QString text = m_.SQL.text(QStringLiteral("D%1").arg(day));
        const QString start = text.mid(0, 5);
        const QString end = text.mid(6, 5);
        editor_->PaintDayRow(day - 1, start, end);
        editor_->setDayFields(day - 1, start, end);
    }
    editor_->setCaption(QStringLiteral("Szablon: ") + m_.SQL.text(QStringLiteral("NAME")));
    editor_->setHoldsSchedule(m_.SQL.rowCount() > 0);
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
    if (!connected() || currentTemplateId() <= 0 || !editorHoldsSchedule())
        return;
    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("UPDATE PERMISSIONS SET "));
    for (int day = 1; day <= 7; ++day)
        m_.MyCommand1.addLine((day == 1 ? QString() : QStringLiteral(","))
                              + QStringLiteral("D%1 =").arg(day) + quoted(dayString(day - 1)));
    m_.MyCommand1.addLine(QStringLiteral(" WHERE ID_PERMISSIONS = ")
                          + QString::number(currentTemplateId()));
    m_.MyCommand1.executeOnRow(QStringLiteral("tego szablonu"));
    m_.Szablony.refresh();
    m_.BumpStatusCounter(QStringLiteral("PERMISSIONS"));
    unit.commit();
}

// A new template takes the schedule the 14 fields show; names may repeat.
void AccessPage::Button9Click()
{
    if (!connected() || Edit9->text().isEmpty() || !editorHoldsSchedule())
        return;
    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(
        QStringLiteral("INSERT INTO PERMISSIONS (NAME,D1,D2,D3,D4,D5,D6,D7) VALUES ( "));
    m_.MyCommand1.addLine(quoted(Edit9->text()) + QStringLiteral(","));
    for (int row = 0; row < 7; ++row)
        m_.MyCommand1.addLine(quoted(dayString(row))
                              + (row < 6 ? QStringLiteral(",") : QStringLiteral(");")));
    m_.MyCommand1.execute();
    m_.Szablony.reexecute();
    form_.FillPassageLists();
    m_.BumpStatusCounter(QStringLiteral("PERMISSIONS"));
    unit.commit();
}

// The template goes with every group permission that uses it.
void AccessPage::Button10Click()
{
    if (!connected() || currentTemplateId() <= 0)
        return;
    if (!dialogs_.question(QStringLiteral("Czy usunąc szablon ?")))
        return;
    const QString id = QString::number(currentTemplateId());
    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(
        QStringLiteral("DELETE FROM PERMISSIONS_has_GROUPS WHERE ID_PERMISSIONS_FK = "));
    m_.MyCommand1.addLine(id);
    m_.MyCommand1.execute();
    m_.BumpStatusCounter(QStringLiteral("PERMISSIONS_has_GROUPS"));

    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("DELETE FROM PERMISSIONS WHERE ID_PERMISSIONS = "));
    m_.MyCommand1.addLine(id);
    m_.MyCommand1.execute();
    m_.Szablony.reexecute();
    form_.FillPassageLists();
    m_.BumpStatusCounter(QStringLiteral("PERMISSIONS"));
    unit.commit();
    form_.RefreshGroupPermissions();
    form_.LoadTemplate(form_.currentPermissionTemplate());
}

void AccessPage::Button26Click()
{
    if (!connected())
        return;
    Transaction unit(m_.Quorvel);
    RenameTemplate(Edit9->text());
    m_.BumpStatusCounter(QStringLiteral("PERMISSIONS"));
    unit.commit();
}

// The editor is not reloaded: its caption keeps the old name until the next load.
void AccessPage::RenameTemplate(const QString& name)
{
    if (!connected() || name.isEmpty())
        return;
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("UPDATE PERMISSIONS SET NAME = "));
    m_.MyCommand1.addLine(quoted(name));
    m_.MyCommand1.addLine(QStringLiteral("WHERE ID_PERMISSIONS = ")
                          + QString::number(currentTemplateId()));
    m_.MyCommand1.execute();
    m_.Szablony.refresh();   // the same position, whichever row now stands there
}

void AccessPage::DBGrid5CellClick() { LoadTemplate(currentTemplateId()); }
