#pragma once

class Dataset;
class QString;

// Writes every row of an event result as the CSV export: Windows-1250 (a
// character the code page lacks becomes "?"), the header line, then per event
// the time, first name, surname, event type, controller, 'SERIAL' in
// apostrophes, CANAL and HEAD, separated by ";"; CR LF between lines and none
// after the last. The file is replaced only when it is written whole; a file
// that cannot be written raises FileError.
void writeEventsCsv(const Dataset& rows, const QString& fileName);
