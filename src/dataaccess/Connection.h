#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct st_mysql;
struct st_mysql_res;
class Dataset;

// One connection to a MySQL/MariaDB server: port 3306, 15 s connect time-out,
// utf8mb4, no automatic reconnect. Datasets and commands that run on a closed
// connection open it themselves, exactly as open() does.
//
// The server may be a list of addresses separated by commas (the nodes of a
// Galera cluster): open() connects to the first that answers and is ready to
// serve; after a lost connection the next open() starts at the node after the
// lost one. A single address is used exactly as given.
class Connection {
public:
    static constexpr unsigned Port = 3306;
    static constexpr unsigned ConnectTimeoutSeconds = 15;

    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Handlers; each may be left empty. onError runs before the failing call throws.
    std::function<void()> beforeConnect;
    std::function<void()> afterConnect;
    std::function<void()> beforeDisconnect;
    std::function<void(const QString& message)> onError;

    // A different server, login or password closes an open connection first.
    void setServer(const QString& server);
    void setLogin(const QString& login);
    void setPassword(const QString& password);
    // A different database on an open connection switches to it at once.
    void setDatabase(const QString& database);

    const QString& server() const { return server_; }
    // The addresses of a server text: the comma-separated items, trimmed, blanks
    // left out; a text without commas is its own single address.
    static QStringList addresses(const QString& server);
    // The address the open connection reached (empty when closed).
    const QString& connectedAddress() const { return connectedAddress_; }
    const QString& login() const { return login_; }
    const QString& password() const { return password_; }
    const QString& database() const { return database_; }

    void open();
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    // Asks the server whether an open connection still lives; a dead one is closed,
    // so that the next open() connects afresh. Returns whether it is open now.
    bool closeIfDead();

    // Change units (see Transaction): the outermost begin starts one InnoDB
    // transaction, inner ones join it, and the outermost commit ends it.
    void beginTransaction();
    void commitTransaction();
    // Undoes the open transaction, however deep; never throws. Datasets read
    // inside it are read again, so that they show what the database holds.
    void rollbackTransaction() noexcept;
    // Commits the open transaction, however deep: a change whose counter bump
    // failed while the connection lives is kept, and the failure reported.
    void commitOpenTransaction();
    bool inTransaction() const { return transactionDepth_ > 0; }

    // The value escaped for use between single quotes in a statement.
    QString escape(const QString& value) const;
    // The value escaped and between single quotes: 'value'.
    QString quoted(const QString& value) const;

    // Runs a statement; the result (possibly null for a statement without rows)
    // belongs to the caller. Opens the connection when it is closed.
    st_mysql_res* query(const QString& statement);
    // Runs a statement whose rows are read one by one as the server sends them
    // (mysql_fetch_row), without holding them all; nothing else may be sent
    // until the result is freed. After the last row, finishStream() frees the
    // result and raises the error that ended the rows early, if any.
    st_mysql_res* stream(const QString& statement);
    void finishStream(st_mysql_res* result);
    // Cuts the connection under a streamed result, from the thread reading it, so
    // that the rows not read yet are not waited for; the connection is closed.
    void abandonStream(st_mysql_res* result) noexcept;

    // Runs a statement and discards any rows. Returns the number of rows an
    // UPDATE or DELETE found (found, not only changed) or an INSERT wrote.
    unsigned long long execute(const QString& statement);

    st_mysql* handle() const { return handle_; }

    void attach(Dataset* dataset);
    void detach(Dataset* dataset);
    // A dataset read its rows; inside a transaction it is read again on rollback.
    void noteLoaded(Dataset* dataset);

private:
    void applyCredential(QString& field, const QString& value);
    st_mysql* connectTo(const QString& address, bool checkReady, QString& message, unsigned& code);
    // Closes a connection the server or the network ended; with several
    // addresses, the next open() tries the following node first.
    void closeLost();
    void send(const QString& statement);
    [[noreturn]] void failFromServer();
    [[noreturn]] void fail(const QString& message, unsigned code);
    void endTransaction();

    // Text of the error raised when the connection died inside a change unit.
    static QString lostChangeMessage();

    st_mysql* handle_ = nullptr;
    QString server_, login_, password_, database_;
    QString connectedAddress_;
    int connectedIndex_ = 0;
    int firstToTry_ = 0;
    std::vector<Dataset*> datasets_;

    int transactionDepth_ = 0;
    // The connection closed inside a transaction: the server dropped the change,
    // and nothing more may be sent in the unit's name.
    bool transactionLost_ = false;
    std::vector<Dataset*> loadedInTransaction_;
};
