#pragma once

#include <QByteArray>

#include <array>
#include <vector>

class Dataset;
class QIODevice;
class QString;
class RowSource;
struct ColumnInfo;

// The CSV export of events: Windows-1250 (a character the code page lacks
// becomes "?"), the header line, then per event the time, first name, surname,
// event type, controller, 'SERIAL' in apostrophes, CANAL and HEAD, separated by
// ";"; CR LF between lines and none after the last.
class EventCsv {
public:
    // Finds the eight columns among the result's; throws DataError for a missing one.
    explicit EventCsv(const std::vector<ColumnInfo>& columns);
    // The eight fields' columns given by their indexes.
    explicit EventCsv(const std::array<int, 8>& columns) : columns_(columns) {}
    const std::array<int, 8>& columns() const { return columns_; }

    static QByteArray header();
    // CR LF and the line of one row (cells and lengths in the result's column order).
    void appendRow(QByteArray& out, const char* const* cells, const unsigned long* lengths) const;

private:
    std::array<int, 8> columns_{};
};

// Writes every row of an event result to the file, which is replaced only when
// it is written whole; a file that cannot be written raises FileError.
void writeEventsCsv(const Dataset& rows, const QString& fileName);

// The same for any rows, given the columns of the eight fields; false when the
// device refused to take the bytes.
bool writeEventsCsv(const RowSource& rows, const std::array<int, 8>& columns, QIODevice& out);
