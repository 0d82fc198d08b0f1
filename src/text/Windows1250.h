#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The 8-bit Polish code page of Config.ini, the import file and the CSV export.
// Qt has no codec for it, so the upper half is a table of our own.
namespace Windows1250 {
QString decode(QByteArrayView bytes);
// Characters the code page lacks become '?'.
QByteArray encode(const QString& text);
// Whether every character of the text has a byte in the code page.
bool canEncode(const QString& text);
}
