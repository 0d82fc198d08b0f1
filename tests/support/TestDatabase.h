#pragma once

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

// Readable texts in the failure reports.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

class Connection;
struct st_mysql;

// The address of the run's private server, and one where nothing listens.
QString testServerAddress();
QString deadServerAddress();

// A fresh database with the schema and its initial rows for each test, dropped
// afterwards. sql() and friends talk to it over a connection of their own.
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const QString& databaseName() const { return name_; }

    // Points a connection at this test's database (it stays closed).
    void configure(Connection& connection) const;

    // Runs statements on the test's own connection; a failure fails the test.
    void sql(const QString& statement);
    QString scalar(const QString& query);
    long long scalarInt(const QString& query);
    QStringList column(const QString& query);   // first column of every row

    // Creates another empty database with the schema; dropped in TearDown.
    QString createExtraDatabase(bool withSchema = true);

private:
    st_mysql* admin_ = nullptr;
    QString name_;
    QStringList extra_;
};
