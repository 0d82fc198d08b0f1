#pragma once

#include <QtGlobal>

#include <functional>
#include <initializer_list>

class LongWork;

// Runs `work` on a thread of its own while the GUI thread waits in the long
// work's loop: the window repaints and the timers run, the operator's input is
// dropped and the long work's controls stay disabled, as during an import.
// `work` reports its progress through the function it is given (from its own
// thread); `show` receives the latest of it on the GUI thread, a few times a
// second. An error raised by `work` is raised again here, on the GUI thread.
// `work` must use nothing of the GUI thread (a connection of its own).
void runInBackground(LongWork& longWork,
                     const std::function<void(const std::function<void(qint64, qint64)>&)>& work,
                     const std::function<void(qint64 done, qint64 total)>& show);

class Connection;
class QProgressBar;
class QString;
class QWidget;
class TDataModule3;

// Runs `work` on a connection of its own to the window's database (the same
// settings), off the GUI thread as above, with `bar` showing `format` (%1 done,
// %2 of all) and the given controls disabled. A database error is raised here
// after the status bar said the connection had a problem, as for the window's
// own statements.
void runOnOwnConnection(TDataModule3& module, QProgressBar* bar, const QString& format,
                        std::initializer_list<QWidget*> controls,
                        const std::function<void(Connection&, const std::function<void(qint64, qint64)>&)>& work);
