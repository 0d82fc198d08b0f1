#pragma once

#include "dataaccess/ConnectionSettings.h"
#include "events/EventStatements.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class Connection;
class QObject;

// One export of the filtered events to a file: 2 CSV, 3 XML.
struct ExportRequest {
    ConnectionSettings settings;
    EventFilter filter;
    int mode = 2;
    QString fileName;
};

// How an export ended. The file is replaced only when every row was written;
// a stopped or failed export leaves it as it was.
struct ExportOutcome {
    ExportRequest request;
    qint64 written = 0;
    bool stopped = false;
    bool done = false;
    std::exception_ptr failure;   // what ended it, when something failed
};

namespace EventExport {

// Called between rows with the number written so far; returning false stops the
// export.
using Progress = std::function<bool(qint64 written)>;

// Streams every filtered event, newest first, from the connection into the file
// (CSV or XML, exactly as the rows would be written from a dataset), through a
// QSaveFile. Returns the number of events written, or -1 when `progress` asked
// to stop (the file is then left as it was). Throws DatabaseError or FileError.
qint64 write(Connection& connection, const EventFilter& filter, int mode, const QString& fileName,
             const Progress& progress);

// How many rows pass between two calls of the progress function.
inline constexpr int ProgressStep = 1000;

}  // namespace EventExport

// Runs exports on a connection of its own in a worker thread, one at a time, so
// that the window answers while a large log is written. What the worker finds
// is handed to the callbacks on the GUI thread, in order: the count, progress
// now and then, and the outcome.
class BackgroundExport {
public:
    struct Callbacks {
        std::function<void(const EventCount&)> counted;
        std::function<void(qint64 written, qint64 total)> progress;
        std::function<void(const ExportOutcome&)> finished;
    };
    explicit BackgroundExport(Callbacks callbacks);
    ~BackgroundExport();   // stops a running export and waits for its thread
    BackgroundExport(const BackgroundExport&) = delete;
    BackgroundExport& operator=(const BackgroundExport&) = delete;

    void start(ExportRequest request);
    bool running() const { return running_; }
    // Asks the running export to stop; the file keeps its previous content.
    void stop() { stopRequested_ = true; }
    // Blocks until the running export ended, then delivers what is pending.
    void waitUntilDone();
    void deliverPending();

    // Runs on the worker thread at every progress step (with the rows written so
    // far), before the stop request is looked at: lets tests and benchmarks hold
    // an export at a known point.
    std::function<void(qint64 written)> stepHook;

private:
    void run(ExportRequest request);
    void post(std::function<void()> delivery);

    Callbacks callbacks_;
    std::atomic<bool> stopRequested_{false};
    bool running_ = false;   // GUI thread only
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable ended_;
    bool threadEnded_ = true;
    std::deque<std::function<void()>> pending_;
    std::unique_ptr<QObject> receiver_;
};
