#include "access/RenameRow.h"

#include "db/Change.h"
#include "db/TDataModule3.h"

void renameRow(TDataModule3& m, const QString& table, const QString& keyColumn, int id,
               const QString& name, Dataset& list, const QString& row)
{
    if (!m.Quorvel.isOpen() || name.isEmpty())
        return;
    Change(m, QStringLiteral("Zmień nazwę"))
        .onGone([&] { list.reexecute(); })
        .track(table, id, row)
        .run({QStringLiteral("UPDATE %1 SET NAME = ").arg(table), m.Quorvel.quoted(name),
              QStringLiteral("WHERE %1 = ").arg(keyColumn) + QString::number(id)})
        .refresh(list)
        .commit();
}

void saveName(TDataModule3& m, const std::function<void()>& rename, const QString& counter)
{
    if (!m.Quorvel.isOpen())
        return;
    Change(m, QStringLiteral("Zmień nazwę")).then(rename).bump(counter).commit();
}
