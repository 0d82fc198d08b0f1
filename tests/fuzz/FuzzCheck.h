#pragma once

// What every harness shares: a failed property stops the run as a crash, with
// the property's words, so that libFuzzer keeps the input that broke it.
#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, ...)                                                                  \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "property failed at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
            std::fprintf(stderr, __VA_ARGS__);                                                    \
            std::fputc('\n', stderr);                                                             \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

// A text for a message: printable, one line.
inline QByteArray shown(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
            out += static_cast<char>(c.unicode());
        else
            out += "\\u" + QByteArray::number(c.unicode(), 16);
    }
    return out;
}
