#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and writes for tests.

// The file's bytes; a file that cannot be read fails the test and reads as empty.
QByteArray readFile(const QString& path);

// Replaces the file's contents with the bytes; false when that could not be done.
[[nodiscard]] bool writeFile(const QString& path, const QByteArray& bytes);
