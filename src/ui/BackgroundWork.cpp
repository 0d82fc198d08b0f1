#include "ui/BackgroundWork.h"

#include "dataaccess/Connection.h"
#include "dataaccess/ConnectionSettings.h"
#include "dataaccess/Errors.h"
#include "db/TDataModule3.h"
#include "ui/LongWork.h"

#include <QProgressBar>

#include <algorithm>
#include <limits>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

void runInBackground(LongWork& longWork,
                     const std::function<void(const std::function<void(qint64, qint64)>&)>& work,
                     const std::function<void(qint64 done, qint64 total)>& show)
{
    std::atomic<qint64> done{0}, total{0};
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
    std::exception_ptr failure;

    std::thread worker([&] {
        try {
            work([&](qint64 d, qint64 t) {
                total = t;
                done = d;
            });
        } catch (...) {
            failure = std::current_exception();
        }
        {
            const std::lock_guard lock(mutex);
            finished = true;
        }
        ended.notify_all();
    });

    for (;;) {
        {
            std::unique_lock lock(mutex);
            if (ended.wait_for(lock, std::chrono::milliseconds(LongWork::IntervalMs), [&] { return finished; }))
                break;
        }
        if (show)
            show(done, total);
        longWork.repaintNow();
    }
    worker.join();
    if (show)
        show(done, total);
    if (failure)
        std::rethrow_exception(failure);
}

void runOnOwnConnection(TDataModule3& module, QProgressBar* bar, const QString& format,
                        std::initializer_list<QWidget*> controls,
                        const std::function<void(Connection&, const std::function<void(qint64, qint64)>&)>& work)
{
    const ConnectionSettings settings = settingsOf(module.Quorvel);
    LongWork longWork(controls);
    bar->setRange(0, 0);
    bar->setFormat(QString());
    bar->show();
    const auto show = [&](qint64 done, qint64 total) {
        constexpr qint64 Largest = std::numeric_limits<int>::max();
        if (total > 0) {
            bar->setRange(0, static_cast<int>(std::min(total, Largest)));
            bar->setValue(static_cast<int>(std::min(done, Largest)));
        }
        bar->setFormat(format.arg(done).arg(total));
    };
    try {
        runInBackground(
            longWork,
            [&](const std::function<void(qint64, qint64)>& progress) {
                Connection connection;
                openConnection(connection, settings);
                work(connection, progress);
            },
            show);
    } catch (const DatabaseError& error) {
        bar->hide();
        if (module.Quorvel.onError)
            module.Quorvel.onError(error.message());
        throw;
    }
    bar->hide();
}
