#include "events/EventExport.h"

#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"
#include "dataaccess/Errors.h"
#include "dataaccess/RecordsetXml.h"
#include "events/EventCsv.h"

#include <QMetaObject>
#include <QObject>
#include <QSaveFile>
#include <mysql.h>

#include <chrono>
#include <optional>

namespace {

// Abandons a streamed result that was not read to its end.
struct StreamGuard {
    Connection& connection;
    MYSQL_RES* result;
    ~StreamGuard()
    {
        if (result)
            connection.abandonStream(result);
    }
};

QStringList firstRow(MYSQL_RES* result)
{
    QStringList cells;
    if (!result)
        return cells;
    if (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        for (unsigned i = 0; i < mysql_num_fields(result); ++i)
            cells << QString::fromUtf8(row[i] ? row[i] : "", static_cast<qsizetype>(lengths[i]));
    }
    return cells;
}

}  // namespace

qint64 EventExport::write(Connection& connection, const EventFilter& filter, int mode, const QString& fileName,
                          const Progress& progress)
{
    // The key marks of the XML schema come from the catalogue, read first: nothing
    // else may be sent while the rows stream.
    std::vector<RecordsetXml::TableKey> keys;
    if (mode == 3)
        keys = RecordsetXml::readTableKeys(
            connection, QStringLiteral("TABLE_SCHEMA = DATABASE() AND TABLE_NAME IN ('EVENTS','USERS','DEVICE','TYP')"));

    StreamGuard stream{connection, connection.stream(EventStatements::all(filter))};
    std::vector<ColumnInfo> columns = Dataset::describeResult(stream.result);

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(fileName, file.errorString());

    QByteArray buffer;
    std::optional<EventCsv> csv;
    std::optional<RecordsetXml::Writer> xml;
    if (mode == 3) {
        RecordsetXml::markKeys(columns, keys);
        xml.emplace(columns);
        xml->begin(buffer);
    } else {
        csv.emplace(columns);
        buffer = EventCsv::header();
    }

    qint64 written = 0;
    while (MYSQL_ROW row = mysql_fetch_row(stream.result)) {
        const unsigned long* lengths = mysql_fetch_lengths(stream.result);
        if (csv)
            csv->appendRow(buffer, row, lengths);
        else
            xml->appendRow(buffer, row, lengths);
        ++written;
        if (buffer.size() >= (1 << 20)) {
            if (file.write(buffer) != buffer.size())
                throw FileError(fileName, file.errorString());
            buffer.truncate(0);   // keeps its capacity
        }
        if (written % ProgressStep == 0 && progress && !progress(written)) {
            file.cancelWriting();
            return -1;
        }
    }
    MYSQL_RES* result = stream.result;
    stream.result = nullptr;
    connection.finishStream(result);   // a statement that broke off raises here
    if (xml)
        xml->end(buffer);
    if (file.write(buffer) != buffer.size() || !file.commit())
        throw FileError(fileName, file.errorString());
    return written;
}

BackgroundExport::BackgroundExport(Callbacks callbacks)
    : callbacks_(std::move(callbacks)), receiver_(std::make_unique<QObject>())
{
}

BackgroundExport::~BackgroundExport()
{
    stopRequested_ = true;
    if (thread_.joinable())
        thread_.join();
}

void BackgroundExport::start(ExportRequest request)
{
    if (running_)
        return;
    if (thread_.joinable())
        thread_.join();   // the previous export's thread, which has ended
    running_ = true;
    stopRequested_ = false;
    {
        const std::lock_guard lock(mutex_);
        threadEnded_ = false;
    }
    thread_ = std::thread([this, request = std::move(request)]() mutable { run(std::move(request)); });
}

void BackgroundExport::post(std::function<void()> delivery)
{
    {
        const std::lock_guard lock(mutex_);
        pending_.push_back(std::move(delivery));
    }
    QMetaObject::invokeMethod(receiver_.get(), [this] { deliverPending(); }, Qt::QueuedConnection);
}

void BackgroundExport::run(ExportRequest request)
{
    ExportOutcome outcome;
    outcome.request = request;
    try {
        // The connection lives on this thread only, for this export.
        Connection connection;
        openConnection(connection, request.settings);
        MYSQL_RES* result = connection.query(EventStatements::count(request.filter));
        const EventCount counted = EventCount::fromRow(firstRow(result));
        if (result)
            mysql_free_result(result);
        post([this, counted] {
            if (callbacks_.counted)
                callbacks_.counted(counted);
        });

        using Clock = std::chrono::steady_clock;
        Clock::time_point shown{};
        const qint64 total = counted.total;
        const qint64 written = EventExport::write(
            connection, request.filter, request.mode, request.fileName, [&](qint64 rows) {
                if (stepHook)
                    stepHook(rows);
                // The bar moves ten times a second at most.
                const Clock::time_point now = Clock::now();
                if (now - shown >= std::chrono::milliseconds(100)) {
                    shown = now;
                    post([this, rows, total] {
                        if (callbacks_.progress)
                            callbacks_.progress(rows, total);
                    });
                }
                return !stopRequested_;
            });
        outcome.stopped = written < 0;
        outcome.done = written >= 0;
        outcome.written = std::max<qint64>(written, 0);
    } catch (...) {
        outcome.failure = std::current_exception();
    }
    post([this, outcome] {
        running_ = false;
        if (callbacks_.finished)
            callbacks_.finished(outcome);
    });
    {
        const std::lock_guard lock(mutex_);
        threadEnded_ = true;
    }
    ended_.notify_all();
}

void BackgroundExport::waitUntilDone()
{
    {
        std::unique_lock lock(mutex_);
        ended_.wait(lock, [this] { return threadEnded_; });
    }
    if (thread_.joinable())
        thread_.join();
    deliverPending();
}

void BackgroundExport::deliverPending()
{
    for (;;) {
        std::function<void()> delivery;
        {
            const std::lock_guard lock(mutex_);
            if (pending_.empty())
                return;
            delivery = std::move(pending_.front());
            pending_.pop_front();
        }
        delivery();
    }
}
