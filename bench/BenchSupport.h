#pragma once

// What every benchmark does around the generator: stop on a fault, take medians
// and CPU time, send statements bare through the client library, read back what
// the program sent, and give the program a Config.ini and dialogs to run with.
#include "ui/Dialogs.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

typedef struct st_mysql MYSQL;

// Prints "<benchmark>: text" on standard error and ends the run with status 1.
[[noreturn]] void die(const QString& text);

double median(std::vector<double> values);
double seconds(const QElapsedTimer& timer);
// CPU time of this process: the client's own work, without the server's.
double cpuSeconds();

// Sends a statement and reads its whole result, as a dataset does; returns the
// number of rows. A server error ends the run with the server's message.
long long send(MYSQL* mysql, const QString& statement);
// The first column of the first row ("" without one), and the same as a number.
QString firstValue(MYSQL* mysql, const QString& statement);
long long number(MYSQL* mysql, const QString& statement);
// The text escaped by the connection, to go between quotes.
QString escaped(MYSQL* mysql, const QString& text);

// The statements the session `threadId` sent while `call` ran, in the order sent,
// from the server's general log (switched on through `admin` for the call).
QStringList capture(MYSQL* admin, unsigned long threadId, const std::function<void()>& call);

// Writes FOLDER/Config.ini naming the server and the database (login vqx / vqx).
void writeConfig(const QString& folder, const QString& server, const QString& database);

// Dialogs for a benchmark run: a notice, an error box or a connect message means
// the run went wrong and ends it; questions are answered Yes, or end the run too.
class StrictDialogs : public Dialogs {
public:
    enum Questions { AnswerYes, Unexpected };
    explicit StrictDialogs(Questions questions = Unexpected) : questions_(questions) {}

    void notice(const QString& text) override { die("unexpected notice: " + text); }
    bool question(const QString& text) override;
    ConnectAnswer connectMessage(const QString& text, const QString& details) override
    {
        die("connect: " + text + " (" + details + ")");
    }
    void errorBox(const QString& text) override { die("error: " + text); }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(const QString&) override { return {}; }

private:
    Questions questions_;
};
