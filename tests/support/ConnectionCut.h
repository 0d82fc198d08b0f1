#pragma once

#include <QString>
#include <atomic>
#include <thread>

// Cuts the program's connection from a second connection at a chosen moment: as
// soon as the program's session runs a statement that matches `statementLike` (an
// SQL LIKE pattern), it is killed. A trigger that sleeps (see slowDownUpdatesOf)
// holds the session inside an update long enough to be found: the session then
// shows the trigger's statement, SleepingInTrigger.
class ConnectionCut {
public:
    ConnectionCut(unsigned long programThreadId, const QString& statementLike);
    ~ConnectionCut();   // waits for the watcher; at most a few seconds
    // Waits for the watcher, then tells whether it killed the session.
    bool happened();

    static constexpr const char* SleepingInTrigger = "DO SLEEP(%";
    // A trigger that sleeps `seconds` before every update of the table's rows.
    static QString slowDownUpdatesOf(const QString& table, double seconds);

private:
    void watch(unsigned long threadId, QByteArray pattern);

    std::atomic<bool> killed_{false};
    std::thread watcher_;
};

// Kills the program's connection now, from a second connection; the program
// does not notice until its next statement.
void killConnection(unsigned long programThreadId);
