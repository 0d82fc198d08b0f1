#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>
#include <vector>

// One person line of an import file, its spaces removed. A line without ";"
// still counts as a person but fills no field.
struct ImportLine {
    bool hasFields = false;
    QString firstName;
    QString surname;
    QString cardCode;   // everything after the second ";", further ";" included
};

// The person lines of an import file, as far as it could be read.
struct ImportFile {
    std::vector<ImportLine> lines;
    bool opened = false;
    // "File not found" or "I/O error N" (the system's error number); empty when the
    // whole file was read.
    QString error;
};

// Reads an import file: Windows-1250 bytes; CR LF and a lone CR end a line, a lone
// LF stays inside it; Ctrl-Z ends the file; empty lines are skipped.
ImportFile readImportFile(const QString& path);

// The fields of one line (without its line end), decoded from Windows-1250.
ImportLine splitImportLine(const QByteArray& line);

// The run-time input/output error of a load, shown in the error box.
class ImportFileError : public std::runtime_error {
public:
    explicit ImportFileError(const QString& text) : std::runtime_error(text.toStdString()) {}
};
