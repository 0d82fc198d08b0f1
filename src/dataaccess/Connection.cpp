#include "dataaccess/Connection.h"

#include "dataaccess/Dataset.h"
#include "dataaccess/Errors.h"

#include <mysql.h>
#include <errmsg.h>

#include <algorithm>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

Connection::Connection() = default;

Connection::~Connection()
{
    if (handle_)
        mysql_close(handle_);
}

void Connection::applyCredential(QString& field, const QString& value)
{
    if (field == value)
        return;
    close();
    field = value;
}

void Connection::setServer(const QString& server)
{
    if (server != server_)
        firstToTry_ = 0;
    applyCredential(server_, server);
}
void Connection::setLogin(const QString& login) { applyCredential(login_, login); }
void Connection::setPassword(const QString& password) { applyCredential(password_, password); }

void Connection::setDatabase(const QString& database)
{
    if (database_ == database)
        return;
    // Kept only once the switch succeeded, so that a failed switch is tried again.
    if (handle_ && mysql_select_db(handle_, database.toUtf8().constData()) != 0)
        failFromServer();
    database_ = database;
}

QStringList Connection::addresses(const QString& server)
{
    if (!server.contains(QLatin1Char(',')))
        return {server};
    QStringList list;
    for (const QString& item : server.split(QLatin1Char(',')))
        if (!item.trimmed().isEmpty())
            list << item.trimmed();
    return list;
}

MYSQL* Connection::connectTo(const QString& address, bool checkReady, QString& message,
                             unsigned& code)
{
    MYSQL* mysql = mysql_init(nullptr);
    if (!mysql) {
        message = QStringLiteral("Out of memory while connecting");
        code = CR_OUT_OF_MEMORY;
        return nullptr;
    }
    const unsigned timeout = ConnectTimeoutSeconds;
    mysql_optionsv(mysql, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    mysql_optionsv(mysql, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    const my_bool noReconnect = 0;
    mysql_optionsv(mysql, MYSQL_OPT_RECONNECT, &noReconnect);

    const QByteArray host = address.toUtf8(), user = login_.toUtf8(),
                     password = password_.toUtf8(), database = database_.toUtf8();
    auto failed = [&]() -> MYSQL* {
        message = QString::fromUtf8(mysql_error(mysql));
        code = mysql_errno(mysql);
        mysql_close(mysql);
        return nullptr;
    };
    if (!mysql_real_connect(mysql, host.constData(), user.constData(), password.constData(),
                            database.isEmpty() ? nullptr : database.constData(), Port,
                            nullptr, CLIENT_FOUND_ROWS))
        return failed();
    // The session is strict whatever the server's default, so that a value too
    // long for its column is refused instead of cut; the server's other flags stay.
    static const char strict[] =
        "SET SESSION sql_mode = IF(FIND_IN_SET('STRICT_TRANS_TABLES', @@sql_mode), @@sql_mode, "
        "CONCAT_WS(',', NULLIF(@@sql_mode, ''), 'STRICT_TRANS_TABLES'))";
    if (mysql_real_query(mysql, strict, sizeof strict - 1) != 0)
        return failed();
    if (checkReady) {
        // A cluster node that lost the cluster (or is still joining) accepts the
        // login but refuses every statement: the next node is tried instead.
        auto firstValue = [mysql](const char* statement, QByteArray& value) {
            if (mysql_real_query(mysql, statement, qstrlen(statement)) != 0)
                return false;
            MYSQL_RES* result = mysql_store_result(mysql);
            MYSQL_ROW row = result ? mysql_fetch_row(result) : nullptr;
            value = row && row[1] ? QByteArray(row[1]) : QByteArray();
            if (result)
                mysql_free_result(result);
            return true;
        };
        QByteArray wsrepOn, ready;
        if (!firstValue("SHOW GLOBAL VARIABLES LIKE 'wsrep_on'", wsrepOn)
            || (wsrepOn == "ON" && !firstValue("SHOW GLOBAL STATUS LIKE 'wsrep_ready'", ready)))
            return failed();
        const bool notReady = wsrepOn == "ON" && ready != "ON";
        if (notReady) {
            message = QStringLiteral("węzeł klastra nie jest gotowy do pracy (wsrep_ready = OFF)");
            code = 1047;   // the server's own "unknown command" of a node outside the cluster
            mysql_close(mysql);
            return nullptr;
        }
    }
    return mysql;
}

void Connection::open()
{
    if (handle_)
        return;
    if (beforeConnect)
        beforeConnect();

    const QStringList list = addresses(server_);
    const int count = static_cast<int>(list.size());
    QStringList reasons;
    QString message;
    unsigned code = 0;
    for (int tried = 0; tried < count; ++tried) {
        const int index = (firstToTry_ + tried) % count;
        if (MYSQL* mysql = connectTo(list[index], count > 1, message, code)) {
            handle_ = mysql;
            connectedAddress_ = list[index];
            connectedIndex_ = index;
            firstToTry_ = 0;
            if (afterConnect)
                afterConnect();
            return;
        }
        reasons << list[index] + QStringLiteral(": ") + message;
    }
    // One address: the server's words as they are. Several: each node's reason.
    fail(count > 1 ? reasons.join(QLatin1Char('\n')) : message, code);
}

bool Connection::closeIfDead()
{
    if (handle_ && mysql_ping(handle_) != 0)
        closeLost();
    return isOpen();
}

void Connection::close()
{
    if (!handle_)
        return;
    if (beforeDisconnect)
        beforeDisconnect();
    // The server drops an uncommitted change with the session.
    if (transactionDepth_ > 0)
        transactionLost_ = true;
    loadedInTransaction_.clear();
    for (Dataset* dataset : std::vector<Dataset*>(datasets_))
        dataset->close();
    mysql_close(handle_);
    handle_ = nullptr;
    connectedAddress_.clear();
}

void Connection::closeLost()
{
    const int count = static_cast<int>(addresses(server_).size());
    const int lost = connectedIndex_;
    close();
    firstToTry_ = count > 1 ? (lost + 1) % count : 0;
}

QString Connection::lostChangeMessage()
{
    return QStringLiteral("Połączenie z bazą zostało przerwane przed zapisaniem zmiany; "
                          "zmiana nie została zapisana.");
}

void Connection::beginTransaction()
{
    if (transactionDepth_ == 0) {
        transactionLost_ = false;
        loadedInTransaction_.clear();
        execute(QStringLiteral("START TRANSACTION"));
    }
    ++transactionDepth_;
}

void Connection::commitTransaction()
{
    // Already ended by commitOpenTransaction, or by a rollback of an inner unit.
    if (transactionDepth_ == 0)
        return;
    if (--transactionDepth_ > 0)
        return;
    endTransaction();
}

void Connection::commitOpenTransaction()
{
    if (transactionDepth_ == 0)
        return;
    transactionDepth_ = 0;
    endTransaction();
}

void Connection::endTransaction()
{
    loadedInTransaction_.clear();
    if (transactionLost_) {
        transactionLost_ = false;
        fail(lostChangeMessage(), CR_SERVER_LOST);
    }
    execute(QStringLiteral("COMMIT"));
}

void Connection::rollbackTransaction() noexcept
{
    if (transactionDepth_ == 0)
        return;
    transactionDepth_ = 0;
    if (transactionLost_) {
        transactionLost_ = false;
        loadedInTransaction_.clear();
        return;
    }
    const std::vector<Dataset*> reread = std::move(loadedInTransaction_);
    loadedInTransaction_.clear();
    try {
        execute(QStringLiteral("ROLLBACK"));
        for (Dataset* dataset : reread)
            if (dataset->isOpen())
                dataset->refresh();
    } catch (...) {
        // The error that ended the unit is the one the operator is told about.
    }
}

void Connection::noteLoaded(Dataset* dataset)
{
    if (transactionDepth_ > 0
        && std::find(loadedInTransaction_.begin(), loadedInTransaction_.end(), dataset)
               == loadedInTransaction_.end())
        loadedInTransaction_.push_back(dataset);
}

QString Connection::escape(const QString& value) const
{
    const QByteArray from = value.toUtf8();
    if (handle_) {
        QByteArray to(from.size() * 2 + 1, Qt::Uninitialized);
        // Follows the server's mode: with NO_BACKSLASH_ESCAPES quotes are doubled.
        const unsigned long length =
            mysql_real_escape_string(handle_, to.data(), from.constData(), from.size());
        if (length != static_cast<unsigned long>(-1)) {
            to.truncate(static_cast<qsizetype>(length));
            return QString::fromUtf8(to);
        }
    }
    // Without a connection: the server's default escapes, which are safe in utf8mb4.
    QString out;
    out.reserve(value.size() + 8);
    for (QChar c : value) {
        switch (c.unicode()) {
        case 0: out += QLatin1String("\\0"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '\'': out += QLatin1String("\\'"); break;
        case '"': out += QLatin1String("\\\""); break;
        case 0x1a: out += QLatin1String("\\Z"); break;
        default: out += c;
        }
    }
    return out;
}

QString Connection::quoted(const QString& value) const
{
    return QLatin1Char('\'') + escape(value) + QLatin1Char('\'');
}

void Connection::send(const QString& statement)
{
    // Nothing more of a change whose transaction died with the connection: a
    // fresh connection would write it in pieces, without the part already lost.
    if (transactionLost_)
        fail(lostChangeMessage(), CR_SERVER_LOST);
    open();
    const QByteArray text = statement.toUtf8();
    if (mysql_real_query(handle_, text.constData(), text.size()) != 0)
        failFromServer();
}

MYSQL_RES* Connection::query(const QString& statement)
{
    send(statement);
    MYSQL_RES* result = mysql_store_result(handle_);
    if (!result && mysql_field_count(handle_) != 0)
        failFromServer();
    return result;
}

MYSQL_RES* Connection::stream(const QString& statement)
{
    send(statement);
    MYSQL_RES* result = mysql_use_result(handle_);
    if (!result && mysql_field_count(handle_) != 0)
        failFromServer();
    return result;
}

void Connection::finishStream(MYSQL_RES* result)
{
    const unsigned code = handle_ ? mysql_errno(handle_) : 0;
    const QString message = code ? QString::fromUtf8(mysql_error(handle_)) : QString();
    mysql_free_result(result);
    if (code == 0)
        return;
    if (code == CR_SERVER_GONE_ERROR || code == CR_SERVER_LOST || code == 1927 || code == 1053)
        close();
    fail(message, code);
}

void Connection::abandonStream(MYSQL_RES* result) noexcept
{
    if (handle_) {
        // Freeing a streamed result reads the rest of its rows: with the socket
        // shut that read ends at once.
        const my_socket socket = mysql_get_socket(handle_);
        if (socket != MARIADB_INVALID_SOCKET)
#ifdef _WIN32
            ::shutdown(socket, SD_BOTH);
#else
            ::shutdown(socket, SHUT_RDWR);
#endif
    }
    if (result)
        mysql_free_result(result);
    try {
        close();
    } catch (...) {
    }
}

unsigned long long Connection::execute(const QString& statement)
{
    if (MYSQL_RES* result = query(statement)) {
        mysql_free_result(result);
        return 0;
    }
    return mysql_affected_rows(handle_);
}

void Connection::failFromServer()
{
    const QString message = QString::fromUtf8(mysql_error(handle_));
    const unsigned code = mysql_errno(handle_);
    // A lost connection is closed, so that the next "Connect" connects afresh. A
    // session the server ended while a statement ran says so first (1927: killed,
    // 1053: shutting down); the connection is gone as well.
    // 1047: a cluster node that lost the cluster refuses statements; the session
    // is of no more use, and the next node is tried on the next open().
    if (code == CR_SERVER_GONE_ERROR || code == CR_SERVER_LOST || code == 1927 || code == 1053
        || code == 1047)
        closeLost();
    fail(message, code);
}

void Connection::fail(const QString& message, unsigned code)
{
    if (onError)
        onError(message);
    throw DatabaseError(message, code);
}

void Connection::attach(Dataset* dataset) { datasets_.push_back(dataset); }

void Connection::detach(Dataset* dataset)
{
    datasets_.erase(std::remove(datasets_.begin(), datasets_.end(), dataset), datasets_.end());
    loadedInTransaction_.erase(
        std::remove(loadedInTransaction_.begin(), loadedInTransaction_.end(), dataset),
        loadedInTransaction_.end());
}
