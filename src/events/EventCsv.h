#pragma once

#include <array>

class Dataset;
class QIODevice;
class QString;
class RowSource;

// Writes every row of an event result as the CSV export: Windows-1250 (a
// character the code page lacks becomes "?"), the header line, then per event
// the time, first name, surname, event type, controller, 'SERIAL' in
// apostrophes, CANAL and HEAD, separated by ";"; CR LF between lines and none
// after the last. The file is replaced only when it is written whole; a file
// that cannot be written raises FileError.
void writeEventsCsv(const Dataset& rows, const QString& fileName);

// The same for any rows, given the columns of the eight fields; false when the
// device refused to take the bytes.
bool writeEventsCsv(const RowSource& rows, const std::array<int, 8>& columns, QIODevice& out);
