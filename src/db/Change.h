#pragma once

#include "dataaccess/Transaction.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class Dataset;
class TDataModule3;

// The one road of every change the program makes to the database: its unit (one
// InnoDB transaction, see Transaction), its statements sent through MyCommand1,
// the lists read again after them and the change counters raised, each in the
// order the operation gives them, and the commit. Each step runs at once:
//
//     Change(m).run({"DELETE FROM CARDS WHERE ID_CARD = ", id})
//         .reexecute(m.Users)
//         .bump("CARDS")
//         .commit();
//
// An error ends the change where it happened and leaves nothing of it (a counter
// that fails to rise on a live connection keeps the change it follows; see
// TDataModule3::BumpStatusCounter). A change started inside another one joins it.
//
// Each step is also recorded. When the server refuses the unit for a conflict
// with another session (error 1213: a deadlock, or a Galera cluster's
// certification failing because another node changed the same rows at once),
// nothing of it was kept, and no step shows anything to the operator: the
// outermost change rolls back and runs its steps once more in a new unit. A
// second refusal is reported (ConflictText), with nothing written.
class Change {
public:
    explicit Change(TDataModule3& m);

    // Sends the lines, joined by line breaks, as one statement through MyCommand1.
    Change& run(const QStringList& lines);
    // The same for an UPDATE of the one row its key names: when that row is gone
    // (another client deleted it), nothing is written and RowGoneError names the
    // row ("tej karty"), so that the whole change is undone.
    Change& runOnRow(const QStringList& lines, const QString& row);
    // The rows the last statement found (an UPDATE or DELETE) or wrote (an INSERT).
    unsigned long long found() const { return found_; }

    // Lists read again, keeping their position (refresh) or not (reexecute).
    Change& reexecute(Dataset& dataset);
    Change& refresh(Dataset& dataset);
    // Any other step that belongs to the change: a key read back, a lookup refilled.
    Change& then(const std::function<void()>& step);
    // Raises one change counter of STATUS (see TDataModule3::BumpStatusCounter).
    Change& bump(const QString& column, int times = 1);

    void commit();

    // The server's code of a unit refused for a conflict with another session.
    static constexpr unsigned ConflictCode = 1213;
    static const QString ConflictText;

private:
    // Records the step and runs it, running the whole unit again on a conflict.
    Change& step(std::function<void()> action);
    void retry();

    TDataModule3& m_;
    const bool outermost_;
    Transaction unit_;
    unsigned long long found_ = 0;
    std::vector<std::function<void()>> steps_;
    bool retried_ = false;
};
