// Granting a template on 500 ticked passages through the real page, versus the same
// statements sent bare through the client library.
// Usage: permissions_bench SERVER [ROUNDS]   (login vqx / vqx; database valdrix_perm_bench)
// The program's statements are taken from the server's general log of a first,
// untimed grant, so the bare run sends exactly what the program sent. Each round
// then grants through the window (the click of "<<< Dodaj uprawnienie") and replays
// the statements bare, each on the same starting rows; the medians and their ratio
// are printed.
#include "BenchSupport.h"
#include "Installation.h"

#include "access/AccessPage.h"
#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "ui/BoundGrid.h"

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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace {

// The program's time in milliseconds of CPU, for the rounds' lines.
double cpuMs() { return cpuSeconds() * 1e3; }

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
        const QString reset = QStringLiteral("DELETE FROM PERMISSIONS_has_GROUPS WHERE ID_GROUP_FK = %1")
                                  .arg(group);
        MYSQL* bare = connectBare(server, in.database);
        send(bare, "UPDATE STATUS SET PERMISSIONS_has_GROUPS = 0");

        // The program in a working folder whose Config.ini names the installation.
        QTemporaryDir work;
        writeConfig(work.path(), in.server, in.database);
        QDir::setCurrent(work.path());
        StrictDialogs dialogs(StrictDialogs::AnswerYes);
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
            send(bare, reset);
            send(bare, "UPDATE STATUS SET PERMISSIONS_has_GROUPS = 0");
            form.RefreshGroupPermissions();
        };
        const auto expectGranted = [&](const char* who) {
            const long long rows = number(bare, QStringLiteral("SELECT COUNT(*) FROM PERMISSIONS_has_GROUPS "
                                                               "WHERE ID_GROUP_FK = %1").arg(group));
            const long long counter = number(bare, "SELECT PERMISSIONS_has_GROUPS FROM STATUS");
            if (rows != passages || counter != passages)
                throw std::runtime_error(std::string(who) + ": " + std::to_string(rows) + " rows, counter "
                                         + std::to_string(counter));
        };

        // The untimed first grant, with the server logging the program's statements.
        const unsigned long programThread = mysql_thread_id(module.Quorvel.handle());
        const QStringList statements = capture(bare, programThread, [&] { page->Button12->click(); });
        expectGranted("program");
        std::printf("the program sent %lld statements, %.1f per passage\n", static_cast<long long>(statements.size()),
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
            for (const QString& statement : statements)
                send(bare, statement);
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
