// One huge line in an import file (8 MB, then 50 MB, as a file saved oddly or a
// wrong file chosen): the load, "Sprawdź plik" and "Importuj" through the real
// page, each against the same step on a file of one ordinary line, side by side.
// Usage: hugeline_bench SERVER [MEGABYTES...]   (default 8 50; login vqx / vqx;
// builds and finally drops the database valdrix_hugeline_bench)
// The huge value is longer than any column, so that the dry run forecasts the
// stop and the import stops at it without sending it. Target: each step on the
// huge line gives the window back within 3 s.
#include "BenchSupport.h"
#include "Installation.h"

#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "import/ImportPage.h"
#include "ui/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// The import's error box (the stop at the huge value) is expected; any other
// box ends the run.
class ImportDialogs : public StrictDialogs {
public:
    int errors = 0;
    void errorBox(const QString& text) override
    {
        if (!text.contains(QString::fromUtf8("za długa dla bazy danych")))
            die("error: " + text);
        ++errors;
    }
};

struct Times {
    double load = 0, check = 0, import = 0;
};

Times measure(ImportPage* page, const QString& path)
{
    QElapsedTimer timer;
    Times t;
    timer.start();
    page->LoadImportFile(path);
    page->StringGrid1->viewport()->repaint();   // the cells as the operator sees them
    t.load = seconds(timer);
    timer.start();
    page->ImportCheckButton->click();
    t.check = seconds(timer);
    timer.start();
    page->Button36->click();
    t.import = seconds(timer);
    return t;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        die("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SERVER [MEGABYTES...]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {8, 50};

    InstallationSizes small;
    small.people = 100;
    small.cards = 100;
    small.devices = 5;
    small.events = 0;
    const Installation in = createInstallation(QString::fromLocal8Bit(argv[1]), "valdrix_hugeline_bench", small, nullptr);
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    writeConfig(work.path(), in.server, in.database);

    ImportDialogs dialogs;
    TDataModule3 module;
    TForm1 form(module, dialogs);
    form.Timer1->stop();
    form.AdvOfficePager1->setCurrentIndex(5);
    form.show();
    form.Connect1->trigger();
    QCoreApplication::processEvents();
    ImportPage* page = form.importPage();

    bool met = true;
    std::printf("one huge line against one ordinary line, through the real page\n");
    for (const int megabytes : sizes) {
        const QString ordinary = work.filePath("ordinary.csv");
        const QString huge = work.filePath("huge.csv");
        const QByteArray round = QByteArray::number(megabytes);
        writeBytes(ordinary, "Jan;Kowalski" + round + ";K" + round + "\r\n");
        QByteArray line = "Ewa;Nowak" + round + ";";
        line += QByteArray(megabytes * 1024 * 1024, '7');
        writeBytes(huge, "Anna;Lis" + round + ";\r\n" + line + "\r\n");
        const Times base = measure(page, ordinary);
        const int errorsBefore = dialogs.errors;
        const Times t = measure(page, huge);
        if (dialogs.errors != errorsBefore + 1)
            die("the import did not stop at the huge value");
        std::printf("  %3d MB  load %6.3f s (ordinary %6.3f, ratio %6.1f)  check %6.3f s (ordinary %6.3f, "
                    "ratio %6.1f)  import %6.3f s (ordinary %6.3f, ratio %6.1f)\n",
                    megabytes, t.load, base.load, t.load / base.load, t.check, base.check, t.check / base.check,
                    t.import, base.import, t.import / base.import);
        met = met && t.load < 3 && t.check < 3 && t.import < 3;
    }
    std::printf("  target: each step on the huge line under 3 s: %s\n", met ? "met" : "NOT met");
    module.Quorvel.close();
    dropInstallation(in);
    return met ? 0 : 1;
}
