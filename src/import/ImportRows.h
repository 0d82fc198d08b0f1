#pragma once

#include <QString>

#include <functional>

class Connection;
class TDataModule3;

// The longest first name, surname and card code the database takes, in
// characters (0: not known). A longer value is refused before it is sent, so
// that no value larger than the server's largest statement ever goes out.
struct ImportLimits {
    int firstName = 0;
    int surname = 0;
    int code = 0;
};

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
extern const QString LineBreakText;    // a value holds a line break: the row is refused

// The limits of the database's columns.
ImportLimits ReadLimits(Connection& connection);

// Whether a value holds a line break (only an LF can, in a file with LF line ends).
bool HoldsLineBreak(const QString& value);

// Whether a value is longer than `limit` characters (0: no limit known).
bool TooLong(const QString& value, int limit);

// "imię dłuższe niż 255 znaków": the value that the database would refuse.
QString TooLongText(const char* valueLongerThan, int limit);

// Adds the person of one row to the group (its number as decimal text) and the
// person's card. `status` is what the row's Status cell says so far; `tell` shows
// a notice of the adds (an existing person or card), with `status` up to date.
// A row with a line break in a value is refused (LineBreakText) and the import
// goes on; a value longer than its column stops the import with DataError before
// it is sent, as the database would stop it.
// Throws the data layer's errors; `status` then says how far the row got.
void ImportRow(TDataModule3& m, const QString& group, const QString& firstName,
               const QString& surname, const QString& code, ImportTally& tally, QString& status,
               const std::function<void(const QString&)>& tell, const ImportLimits& limits = {});

// The list of people read once after the import, left as the adds one by one
// would have left it. Returns whether the card list is to be read again too.
bool ShowInLists(TDataModule3& m, const ImportTally& tally);

}  // namespace ImportRows
