#pragma once

#include <QStringList>
#include <cstdio>

// What the program does with its arguments before any window exists. Without
// arguments it starts the window; the options below answer at once and need no
// display.
namespace CommandLine {
// Runs the options; returns the exit status, or -1 when the window is to start.
int run(const QStringList& arguments, std::FILE* out, std::FILE* err);
}
