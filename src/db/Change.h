#pragma once

#include "dataaccess/Transaction.h"
#include "db/History.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class Dataset;
class TDataModule3;

// The one road of every change the program makes to the database: its unit (one
// InnoDB transaction, see Transaction), the rows it points at read with a locking
// read, its statements sent through MyCommand1, the lists read again after them,
// the change counters raised and the history of the rows it wrote, each in the
// order the operation gives them, and the commit. Each step runs at once, and
// every step runs through step():
//
//     Change(m, "Usuń kartę z systemu")
//         .track("CARDS", id, "tej karty", Gone::AlreadyRemoved)
//         .run({"DELETE FROM CARDS WHERE ID_CARD = ", id})
//         .reexecute(m.Users)
//         .bump("CARDS")
//         .commit();
//
// History: the rows named by track() are read before the change writes them and
// again before each counter bump and the commit; each row that changed gets one
// row in table HISTORY, with the action (the text of the operator's button), in
// the same unit. Without that table nothing is recorded (see TDataModule3).
//
// An error ends the change where it happened and leaves nothing of it (a counter
// that fails to rise on a live connection keeps the change it follows, with its
// history; see TDataModule3::BumpStatusCounter). A change started inside another
// one joins it, under the outer one's action.
//
// Each step is also kept. When the server refuses the unit for a conflict with
// another session (error 1213: a deadlock, or a Galera cluster's certification
// failing because another node changed the same rows at once), nothing of it was
// kept, and no step shows anything to the operator: the outermost change rolls
// back and runs its steps once more in a new unit. A second refusal is reported
// (ConflictText), with nothing written.
class Change {
public:
    Change(TDataModule3& m, const QString& action);
    ~Change();
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;

    // How a row that is gone is told: a write into it ("Nie zapisano zmian"), or a
    // removal of what another client removed already.
    enum class Gone { Write, AlreadyRemoved };

    // Lists read again when a row the change needs is gone, after the unit was
    // undone, so that the operator sees the rows as they stand.
    Change& onGone(const std::function<void()>& reread);

    // A row the change points at (an owner, a group, a passage, a template), read
    // with a locking read that keeps it until the commit. When it is gone or
    // marked deleted (DEL; unless `activeOnly` is false), nothing is written: the
    // unit is undone, the lists are read again and RowGoneError names the row
    // (`row`: "tej osoby").
    Change& require(const QString& table, int key, const QString& row, bool activeOnly = true);

    // A row the change writes, read with a locking read before it does; gone (or,
    // with `activeOnly`, marked deleted) ends the change as require() does.
    Change& track(const QString& table, int key, const QString& row, Gone gone = Gone::Write,
                  bool activeOnly = false);
    // Every row of `table` that `where` selects (possibly none), for the history.
    Change& trackWhere(const QString& table, const QString& where);
    // The row the last INSERT wrote into `table`.
    Change& trackInserted(const QString& table);
    // Rows removed in bulk (the events), recorded as one row counting them.
    Change& trackCount(const QString& table, const QString& where, const QString& label);

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
    // Raises one change counter of STATUS (see TDataModule3::BumpStatusCounter),
    // after the history of what the change wrote so far.
    Change& bump(const QString& column, int times = 1);

    void commit();

    // The action this change is recorded under.
    const QString& action() const { return action_; }

    // The server's code of a unit refused for a conflict with another session.
    static constexpr unsigned ConflictCode = 1213;
    static const QString ConflictText;

private:
    // Every step of the change runs here, in the order given.
    Change& step(std::function<void()> action);
    void retry();
    [[noreturn]] void gone(const QString& row, Gone how);
    bool recording() const;
    void follow(const QString& table, int key, std::optional<History::RowImage> before);
    // Writes the history of the rows tracked so far.
    void record();

    struct Tracked {
        QString table;
        int key = 0;
        std::optional<History::RowImage> before;
    };
    struct Counted {
        QString table, where, label;
        long long before = 0;
    };

    TDataModule3& m_;
    bool outermost_;
    QString action_;
    Transaction unit_;
    unsigned long long found_ = 0;
    std::vector<std::function<void()>> rereads_;
    std::vector<Tracked> tracked_;
    std::vector<Counted> counted_;
    std::vector<std::function<void()>> steps_;
    bool retried_ = false;
};

// A text typed into a grid cell, written (Dataset::writeCell) as a change of its
// own with the history of its row; a row another client removed is told and the
// grid shows the rows as they stand.
void writeCell(TDataModule3& m, Dataset& dataset, int row, int column, const QString& text);
