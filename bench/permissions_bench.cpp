// Granting a template on 500 ticked passages through the real page, versus the same
// statements sent bare through the client library.
// Usage: permissions_bench SERVER [ROUNDS]   (login vqx / vqx; database valdrix_perm_bench)
// The program's statements are taken from the server's general log of a first,
// untimed grant, so the bare run sends exactly what the program sent. Each round
// then grants through the window (the click of "<<< Dodaj uprawnienie") and replays
// the statements bare, each on the same starting rows; the medians and their ratio
// are printed.
#include "Installation.h"

#include "access/AccessPage.h"
#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "ui/BoundGrid.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <mysql.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace {

// Any box the program shows means the run went wrong: print it and stop.
class FailingDialogs : public Dialogs {
public:
    void notice(const QString& text) override { fail("notice", text); }
    bool question(const QString&) override { return true; }
    ConnectAnswer connectMessage(const QString& text) override
    {
        fail("connect", text);
        return ConnectAnswer::Yes;
    }
    void errorBox(const QString& text) override { fail("error", text); }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(const QString&) override { return {}; }

private:
    [[noreturn]] static void fail(const char* kind, const QString& text)
    {
        std::fprintf(stderr, "%s: %s\n", kind, qPrintable(text));
        std::exit(1);
    }
};

void run(MYSQL* mysql, const QByteArray& statement)
{
    if (mysql_real_query(mysql, statement.constData(), statement.size()) != 0)
        throw std::runtime_error(std::string(mysql_error(mysql)) + "\n" + statement.left(300).toStdString());
    if (MYSQL_RES* result = mysql_store_result(mysql)) {
        while (mysql_fetch_row(result)) {
        }
        mysql_free_result(result);
    } else if (mysql_field_count(mysql) != 0) {
        throw std::runtime_error(mysql_error(mysql));
    }
}

long long number(MYSQL* mysql, const QByteArray& query)
{
    if (mysql_real_query(mysql, query.constData(), query.size()) != 0)
        throw std::runtime_error(mysql_error(mysql));
    MYSQL_RES* result = mysql_store_result(mysql);
    MYSQL_ROW row = result ? mysql_fetch_row(result) : nullptr;
    const long long value = row && row[0] ? std::atoll(row[0]) : 0;
    if (result)
        mysql_free_result(result);
    return value;
}

// CPU time of this process: the client's own work, without the server's.
double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SERVER [ROUNDS]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const QString server = QString::fromLocal8Bit(argv[1]);
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    try {
        InstallationSizes sizes;
        sizes.people = 2000;
        sizes.cards = 2000;
        sizes.events = 10000;
        sizes.devices = 500;
        const Installation in = createInstallation(server, QStringLiteral("valdrix_perm_bench"), sizes);
        const int group = in.groupWithoutPermissions;
        const QByteArray reset = QStringLiteral("DELETE FROM PERMISSIONS_has_GROUPS WHERE ID_GROUP_FK = %1")
                                     .arg(group).toUtf8();
        MYSQL* bare = connectBare(server, in.database);
        run(bare, "UPDATE STATUS SET PERMISSIONS_has_GROUPS = 0");

        // The program in a working folder whose Config.ini names the installation.
        QTemporaryDir work;
        QFile config(work.filePath(QStringLiteral("Config.ini")));
        if (!config.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot write Config.ini");
        config.write(QStringLiteral("[SERVER]\r\nIP=%1\r\nLogin=vqx\r\npassword=vqx\r\nDATABASE=%2\r\n")
                         .arg(server, in.database).toLatin1());
        config.close();
        QDir::setCurrent(work.path());
        FailingDialogs dialogs;
        TDataModule3 module;
        TForm1 form(module, dialogs);
        form.Timer1->stop();
        form.show();
        form.Connect1->trigger();
        AccessPage* page = form.accessPage();

        // The group without permissions, the first template, every passage ticked.
        int groupRow = -1;
        for (module.Groups.first(); !module.Groups.eof(); module.Groups.next())
            if (module.Groups.integer(QStringLiteral("ID_GROUP")) == group)
                groupRow = module.Groups.recordNo() - 1;
        if (groupRow < 0)
            throw std::runtime_error("the group without permissions is not listed");
        page->DBGrid4->clickRow(groupRow);
        page->DBGrid5->clickRow(0);
        for (int i = 0; i < page->CheckListBox1->count(); ++i)
            page->CheckListBox1->item(i)->setCheckState(Qt::Checked);
        const int passages = page->CheckListBox1->count();
        std::printf("granting template %d to group %d on %d passages\n",
                    module.Szablony.integer(QStringLiteral("ID_PERMISSIONS")), group, passages);

        const auto startOver = [&] {
            run(bare, reset);
            run(bare, "UPDATE STATUS SET PERMISSIONS_has_GROUPS = 0");
            form.RefreshGroupPermissions();
        };
        const auto expectGranted = [&](const char* who) {
            const long long rows = number(bare, QStringLiteral("SELECT COUNT(*) FROM PERMISSIONS_has_GROUPS "
                                                               "WHERE ID_GROUP_FK = %1").arg(group).toUtf8());
            const long long counter = number(bare, "SELECT PERMISSIONS_has_GROUPS FROM STATUS");
            if (rows != passages || counter != passages)
                throw std::runtime_error(std::string(who) + ": " + std::to_string(rows) + " rows, counter "
                                         + std::to_string(counter));
        };

        // The untimed first grant, with the server logging the program's statements.
        const unsigned long programThread = mysql_thread_id(module.Quorvel.handle());
        run(bare, "SET GLOBAL log_output = 'TABLE'");
        run(bare, "TRUNCATE TABLE mysql.general_log");
        run(bare, "SET GLOBAL general_log = 'ON'");
        page->Button12->click();
        run(bare, "SET GLOBAL general_log = 'OFF'");
        expectGranted("program");
        std::vector<QByteArray> statements;
        const QByteArray logged = QStringLiteral("SELECT argument FROM mysql.general_log WHERE thread_id = %1 "
                                                 "AND command_type = 'Query'").arg(programThread).toUtf8();
        if (mysql_real_query(bare, logged.constData(), logged.size()) != 0)
            throw std::runtime_error(mysql_error(bare));
        MYSQL_RES* log = mysql_store_result(bare);
        while (MYSQL_ROW row = mysql_fetch_row(log))
            statements.emplace_back(row[0], static_cast<qsizetype>(mysql_fetch_lengths(log)[0]));
        mysql_free_result(log);
        run(bare, "TRUNCATE TABLE mysql.general_log");
        std::printf("the program sent %zu statements, %.1f per passage\n", statements.size(),
                    double(statements.size()) / passages);

        std::vector<double> programMs, bareMs, programCpu, bareCpu;
        for (int round = 0; round < rounds; ++round) {
            startOver();
            QElapsedTimer timer;
            double cpu = cpuMs();
            timer.start();
            page->Button12->click();
            programMs.push_back(timer.nsecsElapsed() / 1e6);
            programCpu.push_back(cpuMs() - cpu);
            expectGranted("program");

            startOver();
            cpu = cpuMs();
            timer.restart();
            for (const QByteArray& statement : statements)
                run(bare, statement);
            bareMs.push_back(timer.nsecsElapsed() / 1e6);
            bareCpu.push_back(cpuMs() - cpu);
            expectGranted("bare");
            std::printf("round %d: program %8.1f ms (client CPU %6.1f ms)   bare %8.1f ms (client CPU %6.1f ms)\n",
                        round + 1, programMs.back(), programCpu.back(), bareMs.back(), bareCpu.back());
        }
        const double p = median(programMs), b = median(bareMs);
        std::printf("grant of %d passages, median of %d: program %.1f ms, bare client library %.1f ms, "
                    "ratio %.2f (target at most 1.5); client CPU %.1f ms against %.1f ms\n",
                    passages, rounds, p, b, p / b, median(programCpu), median(bareCpu));
        mysql_close(bare);
        module.Quorvel.close();
        dropInstallation(in);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "permissions_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
