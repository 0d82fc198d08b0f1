#pragma once

#include <QString>
#include <QStringList>

// A command of the program run in this process, as the built program would run
// it from its arguments: the exit status and what it wrote to each stream.
struct CommandOutcome {
    int status = 0;
    QString out, err;
};
CommandOutcome runCommand(const QStringList& arguments);
