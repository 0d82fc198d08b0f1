#pragma once

#include <QString>
#include <stdexcept>

// The three kinds of failure the data layer reports. Each carries the text the
// operator sees in the error box.
class DataAccessError : public std::runtime_error {
public:
    explicit DataAccessError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// From the server or the connection; the connection's error handler ran first.
class DatabaseError : public DataAccessError {
public:
    DatabaseError(const QString& message, unsigned code)
        : DataAccessError(message), code_(code) {}
    unsigned code() const { return code_; }

private:
    unsigned code_;
};

// Found by the data layer itself: a column the result lacks, a closed dataset.
class DataError : public DataAccessError {
public:
    using DataAccessError::DataAccessError;
};

// A change of one row by its key that found no row: another client deleted it
// meanwhile. `row` names it ("tego urządzenia").
class RowGoneError : public DataError {
public:
    explicit RowGoneError(const QString& row)
        : DataError(QStringLiteral("Nie zapisano zmian: %1 nie ma już w bazie (usunięto w międzyczasie).")
                        .arg(row)) {}
};

// A text read as an integer that is not one.
class ConversionError : public DataAccessError {
public:
    explicit ConversionError(const QString& text)
        : DataAccessError(QStringLiteral("'%1' is not a valid integer value").arg(text)) {}
};

// A file that could not be created or written: the text names the file and
// the system's reason, or is given whole.
class FileError : public DataAccessError {
public:
    FileError(const QString& fileName, const QString& reason)
        : DataAccessError(QStringLiteral("Nie można zapisać pliku \"%1\": %2").arg(fileName, reason)) {}
    explicit FileError(const QString& message) : DataAccessError(message) {}
};
