#pragma once

#include <QString>

#include <functional>

class TDataModule3;

// What the import did, for the lists at its end and for the operator.
struct ImportTally {
    int people = 0;            // persons added
    int cards = 0;             // cards added
    bool listOnLast = false;   // the list of people ends on its last row (after a person
                               // without card) or on its first (after a card)
};

// The import of people and their cards, row by row, through the people's own
// operations: each person's add and each card's add is one unit, begun after its
// duplicate test, so that no unit waits on the existing-person or existing-card
// message. The lists of people and cards are read once at the end.
namespace ImportRows {

// Outcomes written into the column "Status".
extern const QString UserExistsText;
extern const QString UserAddedText;
extern const QString CardExistsText;   // follows UserAddedText without a separator
extern const QString CardAddedText;    // follows UserAddedText
extern const QString NoNamesText;
extern const QString FailedText;       // the row at which a database error stopped the import
extern const QString CardFailedText;   // follows UserAddedText when the card's add failed

// Adds the person of one row to the group (its number as decimal text) and the
// person's card. `status` is what the row's Status cell says so far; `tell` shows
// a notice of the adds (an existing person or card), with `status` up to date.
// Throws the data layer's errors; `status` then says how far the row got.
void ImportRow(TDataModule3& m, const QString& group, const QString& firstName,
               const QString& surname, const QString& code, ImportTally& tally, QString& status,
               const std::function<void(const QString&)>& tell);

// The list of people read once after the import, left as the adds one by one
// would have left it. Returns whether the card list is to be read again too.
bool ShowInLists(TDataModule3& m, const ImportTally& tally);

}  // namespace ImportRows
