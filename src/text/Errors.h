#pragma once

#include <QString>
#include <stdexcept>

// An error whose text the operator reads in the error box (or, from a command,
// on standard error): the base of every error the program reports by itself.
class OperatorError : public std::runtime_error {
public:
    explicit OperatorError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// A text read as an integer that is not one.
class ConversionError : public OperatorError {
public:
    explicit ConversionError(const QString& text)
        : OperatorError(QStringLiteral("'%1' is not a valid integer value").arg(text)) {}
};

// A file that could not be created or written: the text names the file and
// the system's reason, or is given whole.
class FileError : public OperatorError {
public:
    FileError(const QString& fileName, const QString& reason)
        : OperatorError(QStringLiteral("Nie można zapisać pliku \"%1\": %2").arg(fileName, reason)) {}
    explicit FileError(const QString& message) : OperatorError(message) {}
};
