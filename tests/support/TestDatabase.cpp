#include "support/TestDatabase.h"

#include "dataaccess/Connection.h"

#include <QCoreApplication>
#include <QFile>
#include <mysql.h>

#include <atomic>

QString testServerAddress()
{
    const QString fromEnvironment = qEnvironmentVariable("VALDRIX_TEST_DB_ADDRESS");
    return fromEnvironment.isEmpty() ? QStringLiteral(VALDRIX_TEST_DB_ADDRESS) : fromEnvironment;
}

QString deadServerAddress() { return QStringLiteral(VALDRIX_TEST_DEAD_ADDRESS); }

static QString uniqueName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("vt_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

static void runOrFail(MYSQL* mysql, const QByteArray& statement)
{
    if (mysql_real_query(mysql, statement.constData(), statement.size()) != 0)
        FAIL() << "statement failed: " << mysql_error(mysql) << "\n" << statement.constData();
    // Drain every result so that the connection is ready for the next statement.
    do {
        if (MYSQL_RES* result = mysql_store_result(mysql))
            mysql_free_result(result);
    } while (mysql_next_result(mysql) == 0);
    if (mysql_errno(mysql) != 0)
        FAIL() << "statement failed: " << mysql_error(mysql) << "\n" << statement.constData();
}

void DatabaseTest::SetUp()
{
    admin_ = mysql_init(nullptr);
    mysql_optionsv(admin_, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    // The tests drop databases and change the server's global settings: they talk
    // only to a private server on a loopback address, never to one that may be real.
    const QByteArray host = testServerAddress().toUtf8();
    ASSERT_TRUE(host.startsWith("127."))
        << "refusing test server address " << host.constData()
        << ": VALDRIX_TEST_DB_ADDRESS must be a loopback address (127.x.x.x)";
    ASSERT_TRUE(mysql_real_connect(admin_, host.constData(), "vqx", "vqx", nullptr, 3306,
                                   nullptr, CLIENT_MULTI_STATEMENTS))
        << "no test database server at " << host.constData() << ": " << mysql_error(admin_);
    name_ = createExtraDatabase();
    extra_.removeAll(name_);
    ASSERT_EQ(mysql_select_db(admin_, name_.toUtf8().constData()), 0) << mysql_error(admin_);
}

QString DatabaseTest::createExtraDatabase(bool withSchema)
{
    const QString name = uniqueName();
    runOrFail(admin_, QStringLiteral("CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE "
                                     "utf8mb4_polish_ci").arg(name).toUtf8());
    extra_ << name;
    if (withSchema) {
        QFile schema(QStringLiteral(VALDRIX_SCHEMA_PATH));
        EXPECT_TRUE(schema.open(QIODevice::ReadOnly)) << VALDRIX_SCHEMA_PATH;
        runOrFail(admin_, "USE `" + name.toUtf8() + "`;\n" + schema.readAll());
        if (!name_.isEmpty())
            mysql_select_db(admin_, name_.toUtf8().constData());
    }
    return name;
}

void DatabaseTest::TearDown()
{
    if (!admin_)
        return;
    if (!name_.isEmpty())
        extra_ << name_;
    for (const QString& name : extra_)
        runOrFail(admin_, QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name).toUtf8());
    mysql_close(admin_);
    admin_ = nullptr;
}

void DatabaseTest::configure(Connection& connection) const
{
    connection.setServer(testServerAddress());
    connection.setLogin(QStringLiteral("vqx"));
    connection.setPassword(QStringLiteral("vqx"));
    connection.setDatabase(name_);
}

void DatabaseTest::sql(const QString& statement) { runOrFail(admin_, statement.toUtf8()); }

QStringList DatabaseTest::column(const QString& query)
{
    QStringList values;
    const QByteArray text = query.toUtf8();
    if (mysql_real_query(admin_, text.constData(), text.size()) != 0) {
        ADD_FAILURE() << "query failed: " << mysql_error(admin_) << "\n" << text.constData();
        return values;
    }
    MYSQL_RES* result = mysql_store_result(admin_);
    if (!result)
        return values;
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        values << (row[0] ? QString::fromUtf8(row[0], lengths[0]) : QString());
    }
    mysql_free_result(result);
    return values;
}

QString DatabaseTest::scalar(const QString& query)
{
    const QStringList values = column(query);
    return values.isEmpty() ? QString() : values.first();
}

long long DatabaseTest::scalarInt(const QString& query) { return scalar(query).toLongLong(); }
