#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class Connection;
struct ImportFile;

// The import's dry run: what "Importuj" would do with each row of the preview
// grid, worked out without writing anything. The database answers for all rows
// at once, one query for the people and one for the cards (a very large file in
// a few parts), with its own comparison of names and codes, so that the rows it
// calls equal are the ones the import's duplicate tests would find.

// One row as the preview grid holds it.
struct ImportCheckRow {
    QString firstName;
    QString surname;
    QString cardCode;
};

struct ImportForecast {
    enum Kind {
        NoNames,            // skipped: no first name and no surname
        NewPerson,          // added, no card code
        NewPersonWithCard,  // added with the card
        PersonExists,       // refused: the person is in the database
        PersonRepeated,     // refused: an earlier row of the file adds the same person
        CardExists,         // added without the card: the code is in the database
        CardRepeated,       // added without the card: an earlier row adds the same code
        NameTooLong,        // the import stops here: the database refuses the name
        CodeTooLong,        // the person is added, then the import stops at the card
        LineBreak,          // refused: a value holds a line break (a file with LF line ends)
        NotReached,         // after the row where the import stops: not imported
    };
    Kind kind = NoNames;
    int earlierRow = 0;     // the repeats: the row that adds the person or card first;
                            // not reached: the row where the import stops
    bool hasCode = false;   // a refused person's card is not added either
    QString field;          // the too-long value's field, with its limit

    // The text of the column "Status".
    QString status() const;
};

struct ImportCheckResult {
    std::vector<ImportForecast> rows;   // row k of the grid is rows[k - 1]
    int stopRow = 0;                    // the row where the import stops; 0: none

    int count(ImportForecast::Kind kind) const;
    // The counts in one line, with the row where the import would stop.
    QString summary() const;
};

namespace ImportCheck {

// What the import does with the rows (grid rows 1, 2, ...). Throws the data
// layer's errors; sends only SELECT statements, never a value longer than its
// column or one holding a line break (the import sends neither).
ImportCheckResult check(Connection& connection, const std::vector<ImportCheckRow>& rows);

// The statements check() sends for these rows, in order (the column look-up runs
// to build them). For measuring them against the client library alone.
QStringList statements(Connection& connection, const std::vector<ImportCheckRow>& rows);

// The rows a freshly loaded preview grid holds for a file: a line without ";"
// is a row with empty cells.
std::vector<ImportCheckRow> rowsOf(const ImportFile& file);

}  // namespace ImportCheck
