#pragma once

#include "text/Errors.h"   // ConversionError and FileError, which the data layer raises too

#include <QString>

// The failures the data layer reports. Each carries the text the operator sees
// in the error box.
class DataAccessError : public OperatorError {
public:
    using OperatorError::OperatorError;
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
// meanwhile (or marked it deleted). `row` names it ("tego urządzenia"). For a
// removal of a row that is gone already, `alreadyRemoved` says so instead.
class RowGoneError : public DataError {
public:
    explicit RowGoneError(const QString& row, bool alreadyRemoved = false)
        : DataError((alreadyRemoved
                         ? QStringLiteral("Nic nie zmieniono: %1 nie ma już w bazie (usunięto w międzyczasie).")
                         : QStringLiteral("Nie zapisano zmian: %1 nie ma już w bazie (usunięto w międzyczasie)."))
                        .arg(row)) {}
};
