#pragma once

#include "dataaccess/ConnectionSettings.h"
#include "events/EventStatements.h"

#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

struct st_mysql_res;

struct ResultDeleter {
    void operator()(st_mysql_res* result) const;
};
using ResultPtr = std::unique_ptr<st_mysql_res, ResultDeleter>;

// The filter and page of one watch refresh and where to run them.
struct WatchRequest {
    quint64 generation = 0;
    ConnectionSettings settings;
    EventFilter filter;
    qint64 offset = 0;
    int rowCount = 0;
};

// The statements run and their rows, or the error that stopped them (a failing
// count runs no page).
struct WatchReply {
    WatchRequest request;
    QString countStatement;
    QString pageStatement;
    ResultPtr count;
    ResultPtr page;
    QString error;
    unsigned errorCode = 0;
};

// Runs the watch's event statements on a connection of its own in a worker
// thread, so that a count over a large event log never blocks the window. One
// request runs at a time; a newer one replaces one still waiting. Replies are
// handed to `deliver` on the GUI thread, in the order the requests ran.
class WatchRefresh {
public:
    explicit WatchRefresh(std::function<void(WatchReply&)> deliver);
    ~WatchRefresh();   // lets a running request finish, then ends the thread
    WatchRefresh(const WatchRefresh&) = delete;
    WatchRefresh& operator=(const WatchRefresh&) = delete;

    void start(WatchRequest request);
    // Blocks until nothing runs or waits, then delivers every reply.
    void waitUntilIdle();
    // Delivers the replies that are ready; runs on the GUI thread.
    void deliverReady();

private:
    void run();

    std::function<void(WatchReply&)> deliver_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<WatchRequest> waiting_;
    std::deque<WatchReply> ready_;
    bool running_ = false;
    bool stop_ = false;
    std::thread thread_;   // started on the first request
    // The tie to the GUI thread's event loop, for the replies.
    std::unique_ptr<class QObject> receiver_;
};
