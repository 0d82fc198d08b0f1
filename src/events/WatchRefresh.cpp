#include "events/WatchRefresh.h"

#include "dataaccess/Connection.h"
#include "dataaccess/Errors.h"

#include <QMetaObject>
#include <QObject>
#include <mysql.h>

void ResultDeleter::operator()(MYSQL_RES* result) const { mysql_free_result(result); }

WatchRefresh::WatchRefresh(std::function<void(WatchReply&)> deliver)
    : deliver_(std::move(deliver)), receiver_(std::make_unique<QObject>())
{
}

WatchRefresh::~WatchRefresh()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        waiting_.reset();
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void WatchRefresh::start(WatchRequest request)
{
    {
        const std::lock_guard lock(mutex_);
        waiting_ = std::move(request);
        if (!thread_.joinable())
            thread_ = std::thread([this] { run(); });
    }
    wake_.notify_all();
}

void WatchRefresh::run()
{
    // The connection lives on this thread only; it stays open between refreshes.
    Connection connection;
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || waiting_.has_value(); });
        if (stop_)
            return;
        WatchRequest request = std::move(*waiting_);
        waiting_.reset();
        running_ = true;
        lock.unlock();

        WatchReply reply;
        reply.request = std::move(request);
        try {
            // The server ends a session idle past its wait_timeout; this one idles
            // whenever the event page is not watched, so it reconnects quietly.
            openConnection(connection, reply.request.settings);
            const WatchRequest& r = reply.request;
            reply.countStatement = EventStatements::count(r.filter);
            reply.count.reset(connection.query(reply.countStatement));
            // The page statement needs what the count found.
            QStringList cells;
            if (MYSQL_ROW row = reply.count ? mysql_fetch_row(reply.count.get()) : nullptr) {
                const unsigned long* lengths = mysql_fetch_lengths(reply.count.get());
                for (unsigned i = 0; i < mysql_num_fields(reply.count.get()); ++i)
                    cells << QString::fromUtf8(row[i] ? row[i] : "", static_cast<qsizetype>(lengths[i]));
                mysql_data_seek(reply.count.get(), 0);
            }
            reply.pageStatement =
                EventStatements::page(r.filter, r.offset, r.rowCount, EventCount::fromRow(cells));
            reply.page.reset(connection.query(reply.pageStatement));
        } catch (const DatabaseError& e) {
            reply.error = e.message();
            reply.errorCode = e.code();
        } catch (const std::exception& e) {
            reply.error = QString::fromUtf8(e.what());
        }

        lock.lock();
        ready_.push_back(std::move(reply));
        running_ = false;
        idle_.notify_all();
        QMetaObject::invokeMethod(receiver_.get(), [this] { deliverReady(); }, Qt::QueuedConnection);
    }
}

void WatchRefresh::waitUntilIdle()
{
    {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return !running_ && !waiting_.has_value(); });
    }
    deliverReady();
}

void WatchRefresh::deliverReady()
{
    for (;;) {
        WatchReply reply;
        {
            const std::lock_guard lock(mutex_);
            if (ready_.empty())
                return;
            reply = std::move(ready_.front());
            ready_.pop_front();
        }
        deliver_(reply);
    }
}
