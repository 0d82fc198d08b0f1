#pragma once

#include <QString>
#include <QStringList>

class Lookups;
class TDataModule3;

// A template as read for the editor: its name and the seven day strings, empty
// when no row has the id.
struct TemplateRow {
    bool found = false;
    QString name;
    QStringList days;   // D1 .. D7, as stored
};

// The weekly schedule templates: reading one, saving a schedule, adding,
// deleting and renaming. Each change is one unit with its re-reads and its
// counter bumps.
namespace TemplateChanges {

// The current template's ID_PERMISSIONS; 0 when there is none.
int CurrentTemplateId(const TDataModule3& m);

TemplateRow ReadTemplate(TDataModule3& m, int templateId);

// Writes seven day strings into the template, which must still be there.
void SaveSchedule(TDataModule3& m, int templateId, const QStringList& days);
// A new template with the seven day strings; names may repeat. The passage
// lists are refilled.
void AddTemplate(TDataModule3& m, Lookups& lookups, const QString& name, const QStringList& days);
// The template goes with every group permission that uses it.
void DeleteTemplate(TDataModule3& m, Lookups& lookups, int templateId);

// Renames a template, inside the change that calls it (nothing for an empty name).
void RenameTemplate(TDataModule3& m, int templateId, const QString& name);
// "Zmień nazwę": RenameTemplate as a change of its own; the counter is raised
// even when the name was empty.
void SaveTemplateName(TDataModule3& m, int templateId, const QString& name);

}  // namespace TemplateChanges
