#include "access/RenameRow.h"

#include "db/Change.h"
#include "db/TDataModule3.h"

void renameRow(TDataModule3& m, const QString& table, const QString& keyColumn, int id,
               const QString& name, Dataset& list)
{
    if (!m.Quorvel.isOpen() || name.isEmpty())
        return;
    Change(m)
        .run({QStringLiteral("UPDATE %1 SET NAME = ").arg(table), m.Quorvel.quoted(name),
              QStringLiteral("WHERE %1 = ").arg(keyColumn) + QString::number(id)})
        .refresh(list)
        .commit();
}

void saveName(TDataModule3& m, const std::function<void()>& rename, const QString& counter)
{
    if (!m.Quorvel.isOpen())
        return;
    Change(m).then(rename).bump(counter).commit();
}
