#include "BenchSupport.h"

#include <QFile>
#include <mysql.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

void die(const QString& text)
{
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, qPrintable(text));
    std::exit(1);
}

double median(std::vector<double> values)
{
    if (values.empty())
        die("a median of no values");
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double seconds(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e9; }

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

namespace {

MYSQL_RES* query(MYSQL* mysql, const QString& statement)
{
    const QByteArray text = statement.toUtf8();
    if (mysql_real_query(mysql, text.constData(), static_cast<unsigned long>(text.size())) != 0)
        die(QString::fromUtf8(mysql_error(mysql)) + "\n" + statement.left(300));
    MYSQL_RES* result = mysql_store_result(mysql);
    if (!result && mysql_field_count(mysql) != 0)
        die(QString::fromUtf8(mysql_error(mysql)) + "\n" + statement.left(300));
    return result;
}

}  // namespace

long long send(MYSQL* mysql, const QString& statement)
{
    long long rows = 0;
    if (MYSQL_RES* result = query(mysql, statement)) {
        while (mysql_fetch_row(result))
            ++rows;
        mysql_free_result(result);
    }
    return rows;
}

QString firstValue(MYSQL* mysql, const QString& statement)
{
    MYSQL_RES* result = query(mysql, statement);
    MYSQL_ROW row = result ? mysql_fetch_row(result) : nullptr;
    const QString value = row && row[0] ? QString::fromUtf8(row[0]) : QString();
    if (result)
        mysql_free_result(result);
    return value;
}

long long number(MYSQL* mysql, const QString& statement) { return firstValue(mysql, statement).toLongLong(); }

QString escaped(MYSQL* mysql, const QString& text)
{
    const QByteArray from = text.toUtf8();
    QByteArray to(from.size() * 2 + 1, Qt::Uninitialized);
    to.truncate(static_cast<qsizetype>(mysql_real_escape_string(
        mysql, to.data(), from.constData(), static_cast<unsigned long>(from.size()))));
    return QString::fromUtf8(to);
}

QStringList capture(MYSQL* admin, unsigned long threadId, const std::function<void()>& call)
{
    send(admin, "SET GLOBAL log_output = 'TABLE'");
    send(admin, "TRUNCATE TABLE mysql.general_log");
    send(admin, "SET GLOBAL general_log = 1");
    call();
    send(admin, "SET GLOBAL general_log = 0");
    // The log table keeps the order the server wrote it in.
    MYSQL_RES* result = query(admin, QStringLiteral("SELECT argument FROM mysql.general_log WHERE thread_id = %1"
                                                    " AND command_type = 'Query'").arg(threadId));
    QStringList statements;
    while (MYSQL_ROW row = mysql_fetch_row(result))
        statements << QString::fromUtf8(row[0], static_cast<qsizetype>(mysql_fetch_lengths(result)[0]));
    mysql_free_result(result);
    send(admin, "TRUNCATE TABLE mysql.general_log");
    if (statements.isEmpty())
        die("nothing captured from the general log");
    return statements;
}

void writeConfig(const QString& folder, const QString& server, const QString& database)
{
    QFile config(folder + QStringLiteral("/Config.ini"));
    const QByteArray text = QStringLiteral("[SERVER]\r\nIP=%1\r\nLogin=vqx\r\npassword=vqx\r\nDATABASE=%2\r\n")
                                .arg(server, database)
                                .toLatin1();
    if (!config.open(QIODevice::WriteOnly) || config.write(text) != text.size())
        die("cannot write " + config.fileName());
}

bool StrictDialogs::question(const QString& text)
{
    if (questions_ == Unexpected)
        die("unexpected question: " + text);
    return true;
}
