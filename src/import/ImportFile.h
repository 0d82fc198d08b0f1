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
    enum class Encoding { Windows1250, Utf8 };

    std::vector<ImportLine> lines;
    bool opened = false;
    // "File not found" or "I/O error N" (the system's error number); empty when the
    // whole file was read.
    QString error;
    Encoding encoding = Encoding::Windows1250;
    bool byteOrderMark = false;   // the file starts with the UTF-8 mark
    // A line holds an LF: the file was saved with LF line ends, which do not end
    // a line, so that one line carries many.
    bool lfLineEnds = false;

    // "UTF-8" or "Windows-1250".
    QString encodingName() const;
};

// Reads an import file: CR LF and a lone CR end a line, a lone LF stays inside it;
// Ctrl-Z ends the file; empty lines are skipped. A file that starts with the UTF-8
// mark, or whose bytes are valid UTF-8 with at least one multi-byte character, is
// decoded as UTF-8; any other as Windows-1250.
ImportFile readImportFile(const QString& path);

// Cuts a file's bytes as they arrive, however the reads split them.
class ImportFileReader {
public:
    ImportFileReader();
    ~ImportFileReader();
    ImportFileReader(const ImportFileReader&) = delete;
    ImportFileReader& operator=(const ImportFileReader&) = delete;

    // False once Ctrl-Z ended the file: the rest is not read.
    bool feed(const char* data, qsizetype size);
    // The lines, decoded, with the line being read when `complete` (the last line
    // needs no line end) and without it when reading failed part-way.
    ImportFile finish(bool complete = true);

private:
    struct State;
    State* state_;
};

// The bytes of a whole file as readImportFile reads them.
ImportFile parseImportFile(const QByteArray& bytes);

// The fields of one decoded line (without its line end).
ImportLine splitImportLine(const QString& line);

// Whether the bytes are valid UTF-8 (shortest forms, no surrogates, nothing above
// U+10FFFF); `multiByte` tells whether any character took more than one byte.
bool isValidUtf8(const char* data, qsizetype size, bool* multiByte = nullptr);

// The run-time input/output error of a load, shown in the error box.
class ImportFileError : public std::runtime_error {
public:
    explicit ImportFileError(const QString& text) : std::runtime_error(text.toStdString()) {}
};
