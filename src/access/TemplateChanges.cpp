// Weekly schedule templates: reading one, saving a schedule, adding, deleting and
// renaming.
#include "access/TemplateChanges.h"

#include "access/RenameRow.h"
#include "db/Change.h"
#include "db/TDataModule3.h"
#include "devices/DeviceChanges.h"

int TemplateChanges::CurrentTemplateId(const TDataModule3& m)
{
    const Dataset& templates = m.Szablony;
    if (!templates.isOpen() || templates.recordNo() == 0)
        return 0;
    return templates.integer(QStringLiteral("ID_PERMISSIONS"));
}

TemplateRow TemplateChanges::ReadTemplate(TDataModule3& m, int templateId)
{
    const Dataset& row = m.lookUp(
        {QStringLiteral("SELECT * FROM PERMISSIONS WHERE ID_PERMISSIONS = '%1'").arg(templateId)});
    TemplateRow t;
    for (int day = 1; day <= 7; ++day)
        t.days << row.text(QStringLiteral("D%1").arg(day));
    t.name = row.text(QStringLiteral("NAME"));
    t.found = row.rowCount() > 0;
    return t;
}

void TemplateChanges::SaveSchedule(TDataModule3& m, int templateId, const QStringList& days)
{
    QStringList lines{QStringLiteral("UPDATE PERMISSIONS SET ")};
    for (int day = 1; day <= 7; ++day)
        lines << (day == 1 ? QString() : QStringLiteral(",")) + QStringLiteral("D%1 =").arg(day)
                     + m.Quorvel.quoted(days.value(day - 1));
    lines << QStringLiteral(" WHERE ID_PERMISSIONS = ") + QString::number(templateId);
    Change(m, QStringLiteral("Zapamiętaj zmiany"))
        .onGone([&] { m.Szablony.reexecute(); })
        .track(QStringLiteral("PERMISSIONS"), templateId, QStringLiteral("tego szablonu"))
        .runOnRow(lines, QStringLiteral("tego szablonu"))
        .refresh(m.Szablony)
        .bump(QStringLiteral("PERMISSIONS"))
        .commit();
}

void TemplateChanges::AddTemplate(TDataModule3& m, Lookups& lookups, const QString& name,
                                  const QStringList& days)
{
    QStringList lines{QStringLiteral("INSERT INTO PERMISSIONS (NAME,D1,D2,D3,D4,D5,D6,D7) VALUES ( "),
                      m.Quorvel.quoted(name) + QStringLiteral(",")};
    for (int row = 0; row < 7; ++row)
        lines << m.Quorvel.quoted(days.value(row)) + (row < 6 ? QStringLiteral(",") : QStringLiteral(");"));
    Change(m, QStringLiteral("Dodaj szablon"))
        .run(lines)
        .trackInserted(QStringLiteral("PERMISSIONS"))
        .reexecute(m.Szablony)
        .then([&] { DeviceChanges::FillPassageLists(m, lookups); })
        .bump(QStringLiteral("PERMISSIONS"))
        .commit();
}

void TemplateChanges::DeleteTemplate(TDataModule3& m, Lookups& lookups, int templateId)
{
    const QString id = QString::number(templateId);
    Change(m, QStringLiteral("Usuń szablon"))
        .onGone([&] { m.Szablony.reexecute(); })
        .track(QStringLiteral("PERMISSIONS"), templateId, QStringLiteral("tego szablonu"), Change::Gone::AlreadyRemoved)
        .trackWhere(QStringLiteral("PERMISSIONS_has_GROUPS"), QStringLiteral("ID_PERMISSIONS_FK = ") + id)
        .run({QStringLiteral("DELETE FROM PERMISSIONS_has_GROUPS WHERE ID_PERMISSIONS_FK = "), id})
        .bump(QStringLiteral("PERMISSIONS_has_GROUPS"))
        .run({QStringLiteral("DELETE FROM PERMISSIONS WHERE ID_PERMISSIONS = "), id})
        .reexecute(m.Szablony)
        .then([&] { DeviceChanges::FillPassageLists(m, lookups); })
        .bump(QStringLiteral("PERMISSIONS"))
        .commit();
}

void TemplateChanges::RenameTemplate(TDataModule3& m, int templateId, const QString& name)
{
    renameRow(m, QStringLiteral("PERMISSIONS"), QStringLiteral("ID_PERMISSIONS"), templateId, name,
              m.Szablony, QStringLiteral("tego szablonu"));
}

void TemplateChanges::SaveTemplateName(TDataModule3& m, int templateId, const QString& name)
{
    saveName(m, [&] { RenameTemplate(m, templateId, name); }, QStringLiteral("PERMISSIONS"));
}
