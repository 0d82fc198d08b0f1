#pragma once

#include <QStringList>
#include <cstdio>

// What the program does with its arguments before any window exists. Without
// arguments it starts the window; the options and the tool commands answer at
// once and need no display.
namespace CommandLine {
// Runs the options or a command; returns the exit status, or -1 when the window is to start.
int run(const QStringList& arguments, std::FILE* out, std::FILE* err);

// Whether the word is one of Qt's own options of the window ("-style", "-platform=xcb",
// ...); `takesValue` tells whether the next word is its value.
bool isQtOption(const QString& word, bool* takesValue = nullptr);

// The text with every control character written as an escape (\n, \t, \r, \\ for
// the backslash itself, \xHH or \u{HHHH} for the others), so that it stays on one line.
QString printable(const QString& text);
}
