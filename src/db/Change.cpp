#include "db/Change.h"

#include "dataaccess/Errors.h"
#include "db/TDataModule3.h"

const QString Change::ConflictText = QStringLiteral(
    "Zmiana nie została zapisana: w tej samej chwili inna stacja zmieniła te same dane. "
    "Spróbuj ponownie.");

Change::Change(TDataModule3& m) : m_(m), outermost_(!m.Quorvel.inTransaction()), unit_(m.Quorvel) {}

static bool isConflict(const DatabaseError& error) { return error.code() == Change::ConflictCode; }

Change& Change::step(std::function<void()> action)
{
    steps_.push_back(std::move(action));
    try {
        steps_.back()();
    } catch (const DatabaseError& error) {
        if (!isConflict(error) || !outermost_)
            throw;
        retry();
    }
    return *this;
}

void Change::retry()
{
    if (retried_)
        throw DatabaseError(ConflictText, ConflictCode);
    retried_ = true;
    // The server already undid the unit; a new one runs every step again.
    m_.Quorvel.rollbackTransaction();
    m_.Quorvel.beginTransaction();
    try {
        for (const auto& action : steps_)
            action();
    } catch (const DatabaseError& error) {
        m_.Quorvel.rollbackTransaction();
        if (isConflict(error))
            throw DatabaseError(ConflictText, ConflictCode);
        throw;
    } catch (...) {
        m_.Quorvel.rollbackTransaction();
        throw;
    }
}

Change& Change::run(const QStringList& lines)
{
    return step([this, lines] {
        m_.MyCommand1.clearLines();
        for (const QString& line : lines)
            m_.MyCommand1.addLine(line);
        found_ = m_.MyCommand1.execute();
    });
}

Change& Change::runOnRow(const QStringList& lines, const QString& row)
{
    return step([this, lines, row] {
        m_.MyCommand1.clearLines();
        for (const QString& line : lines)
            m_.MyCommand1.addLine(line);
        found_ = m_.MyCommand1.execute();
        if (found_ == 0)
            throw RowGoneError(row);
    });
}

Change& Change::reexecute(Dataset& dataset)
{
    return step([&dataset] { dataset.reexecute(); });
}

Change& Change::refresh(Dataset& dataset)
{
    return step([&dataset] { dataset.refresh(); });
}

Change& Change::then(const std::function<void()>& action)
{
    return step(action);
}

Change& Change::bump(const QString& column, int times)
{
    return step([this, column, times] { m_.BumpStatusCounter(column, times); });
}

void Change::commit()
{
    try {
        unit_.commit();
    } catch (const DatabaseError& error) {
        if (!isConflict(error) || !outermost_)
            throw;
        retry();
        try {
            m_.Quorvel.commitTransaction();
        } catch (const DatabaseError& again) {
            if (isConflict(again))
                throw DatabaseError(ConflictText, ConflictCode);
            throw;
        }
    }
}
