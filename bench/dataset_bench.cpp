// Reading a large result through a Dataset versus the bare client library.
// Usage: dataset_bench SERVER [ROWS]   (login vqx / vqx; creates database valdrix_bench)
// Prints the time to fetch the result and read every cell as text, the ratio
// dataset / client library, and the heap bytes per row each keeps for the result.
#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"

#include <QElapsedTimer>
#include <QString>
#include <malloc.h>
#include <mysql.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

static const char* const Query =
    "SELECT ID, ID_USER, FIRST_NAME, NAME, TIME, SERIAL, CANAL, HEAD FROM BENCH ORDER BY ID";

static size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;   // small blocks and mmap-ed ones
}

static void run(MYSQL* mysql, const char* statement)
{
    if (mysql_query(mysql, statement) != 0) {
        std::fprintf(stderr, "%s\n%s\n", statement, mysql_error(mysql));
        std::exit(1);
    }
    if (MYSQL_RES* r = mysql_store_result(mysql))
        mysql_free_result(r);
}

struct Sample {
    double ms;
    double bytesPerRow;
    long long checksum;
};

static Sample bare(const QByteArray& host, int rows)
{
    MYSQL* mysql = mysql_init(nullptr);
    mysql_optionsv(mysql, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    mysql_real_connect(mysql, host.constData(), "vqx", "vqx", "valdrix_bench", 3306, nullptr, 0);
    QElapsedTimer timer;
    timer.start();
    const size_t before = heapInUse();
    mysql_query(mysql, Query);
    MYSQL_RES* result = mysql_store_result(mysql);
    const size_t after = heapInUse();
    const unsigned columns = mysql_num_fields(result);
    long long checksum = 0;
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        for (unsigned c = 0; c < columns; ++c)
            checksum += QString::fromUtf8(row[c], static_cast<qsizetype>(lengths[c])).size();
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    mysql_free_result(result);
    mysql_close(mysql);
    return {ms, double(after - before) / rows, checksum};
}

static Sample dataset(const QString& host, int rows)
{
    Connection connection;
    connection.setServer(host);
    connection.setLogin("vqx");
    connection.setPassword("vqx");
    connection.setDatabase("valdrix_bench");
    connection.open();
    Dataset d(connection, "bench");
    d.setStatement(Query);
    QElapsedTimer timer;
    timer.start();
    const size_t before = heapInUse();
    d.open();
    const size_t after = heapInUse();
    long long checksum = 0;
    for (int r = 0; r < d.rowCount(); ++r)
        for (int c = 0; c < d.columnCount(); ++c)
            checksum += d.cell(r, c).size();
    const double ms = timer.nsecsElapsed() / 1e6;
    return {ms, double(after - before) / rows, checksum};
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SERVER [ROWS]\n", argv[0]);
        return 2;
    }
    const QByteArray host = argv[1];
    const int rows = argc > 2 ? std::atoi(argv[2]) : 200000;

    MYSQL* admin = mysql_init(nullptr);
    mysql_optionsv(admin, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    if (!mysql_real_connect(admin, host.constData(), "vqx", "vqx", nullptr, 3306, nullptr, 0)) {
        std::fprintf(stderr, "cannot connect to %s: %s\n", host.constData(), mysql_error(admin));
        return 1;
    }
    run(admin, "DROP DATABASE IF EXISTS valdrix_bench");
    run(admin, "CREATE DATABASE valdrix_bench CHARACTER SET utf8mb4 COLLATE utf8mb4_polish_ci");
    run(admin, "USE valdrix_bench");
    run(admin, "CREATE TABLE BENCH (ID INT PRIMARY KEY, ID_USER INT, FIRST_NAME VARCHAR(64),"
               " NAME VARCHAR(64), TIME DATETIME, SERIAL VARCHAR(16), CANAL VARCHAR(8),"
               " HEAD VARCHAR(32))");
    const QByteArray fill = QStringLiteral(
        "INSERT INTO BENCH SELECT seq, seq %% 5000, ELT(1 + seq %% 4, 'Łukasz', 'Zofia', 'Jan',"
        " 'Małgorzata'), CONCAT('Nowak-', seq %% 977), '2026-01-01' + INTERVAL seq MINUTE,"
        " LPAD(seq %% 12, 12, '0'), '1', ELT(1 + seq %% 2, 'Wejście główne', 'Wyjście')"
        " FROM seq_1_to_%1").arg(rows).toUtf8().replace("%%", "%");
    run(admin, fill.constData());

    // Alternate the two so that both see the same server state; keep the best of each.
    Sample best[2] = {{1e18, 0, 0}, {1e18, 0, 0}};
    for (int round = 0; round < 5; ++round) {
        const Sample a = bare(host, rows);
        const Sample b = dataset(QString::fromUtf8(host), rows);
        if (a.checksum != b.checksum) {
            std::fprintf(stderr, "results differ\n");
            return 1;
        }
        if (a.ms < best[0].ms) best[0] = a;
        if (b.ms < best[1].ms) best[1] = b;
    }
    run(admin, "DROP DATABASE valdrix_bench");
    mysql_close(admin);

    std::printf("rows: %d, columns: 8\n", rows);
    std::printf("client library: %8.1f ms  %6.1f bytes/row\n", best[0].ms, best[0].bytesPerRow);
    std::printf("dataset:        %8.1f ms  %6.1f bytes/row\n", best[1].ms, best[1].bytesPerRow);
    std::printf("ratio (dataset / client library): time %.2f (target <= 1.5), memory %.2f (target <= 2)\n",
                best[1].ms / best[0].ms, best[1].bytesPerRow / best[0].bytesPerRow);
    return 0;
}
