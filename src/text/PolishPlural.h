#pragma once

#include <QString>

// A count with its noun in the Polish form it takes: "1 wiersz", "3 wiersze",
// "5 wierszy", "22 wiersze", "12 wierszy".
inline QString countOf(long long n, const char* one, const char* few, const char* many)
{
    const long long tens = n % 100 / 10, units = n % 10;
    const char* word = n == 1 ? one : (tens != 1 && units >= 2 && units <= 4) ? few : many;
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(word));
}
