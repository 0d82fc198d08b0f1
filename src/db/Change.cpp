#include "db/Change.h"

#include "dataaccess/Errors.h"
#include "db/TDataModule3.h"

Change::Change(TDataModule3& m) : m_(m), unit_(m.Quorvel) {}

Change& Change::run(const QStringList& lines)
{
    m_.MyCommand1.clearLines();
    for (const QString& line : lines)
        m_.MyCommand1.addLine(line);
    found_ = m_.MyCommand1.execute();
    return *this;
}

Change& Change::runOnRow(const QStringList& lines, const QString& row)
{
    run(lines);
    if (found_ == 0)
        throw RowGoneError(row);
    return *this;
}

Change& Change::reexecute(Dataset& dataset)
{
    dataset.reexecute();
    return *this;
}

Change& Change::refresh(Dataset& dataset)
{
    dataset.refresh();
    return *this;
}

Change& Change::then(const std::function<void()>& step)
{
    step();
    return *this;
}

Change& Change::bump(const QString& column, int times)
{
    m_.BumpStatusCounter(column, times);
    return *this;
}

void Change::commit() { unit_.commit(); }
