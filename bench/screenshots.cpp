// Takes the README's pictures of the real window on a real display (run it under
// Xvfb, with the screen at the size wanted): the whole screen as a person sees it,
// one picture a page, after connecting to a database.
// Usage: xvfb-run -s "-screen 0 1024x700x24" screenshots SERVER DATABASE OUT_DIR SUFFIX
//   writes OUT_DIR/<page>-SUFFIX.png for the pages users, access, events, devices,
//   settings and import. The window fills the screen; nothing is remembered.
#include "BenchSupport.h"

#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "people/UsersPage.h"
#include "ui/BoundGrid.h"
#include "ui/Polish.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>

namespace {

// Lets the window lay itself out and paint (on a real display, through the X server).
void settle()
{
    QEventLoop loop;
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s SERVER DATABASE OUT_DIR SUFFIX\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Valdrix"));
    usePolish(app);
    const QString server = QString::fromLocal8Bit(argv[1]);
    const QString database = QString::fromLocal8Bit(argv[2]);
    const QString out = QDir(QString::fromLocal8Bit(argv[3])).absolutePath();
    const QString suffix = QString::fromLocal8Bit(argv[4]);

    QTemporaryDir work, settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QDir::setCurrent(work.path());
    writeConfig(work.path(), server, database);

    QtDialogs dialogs;
    TDataModule3 module;
    TForm1 form(module, dialogs);
    dialogs.setParent(&form);
    form.Timer1->stop();
    form.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    form.show();
    settle();
    form.Connect1->trigger();
    settle();

    // The people page as an operator leaves it: sorted by surname, narrowed by a
    // few letters, a person selected.
    UsersPage* people = form.usersPage();
    people->DBGrid3->sortByColumn(1, Qt::AscendingOrder);
    people->PersonFind->setText(QStringLiteral("ski"));
    if (people->DBGrid3->shownRowCount() > 2)
        people->DBGrid3->clickViewRow(2);

    const char* names[] = {"users", "access", "events", "devices", "settings", "import"};
    for (int page = 0; page < form.AdvOfficePager1->count() && page < 6; ++page) {
        form.AdvOfficePager1->setCurrentIndex(page);
        settle();
        const QString file = QStringLiteral("%1/%2-%3.png").arg(out, QString::fromLatin1(names[page]), suffix);
        if (!QGuiApplication::primaryScreen()->grabWindow(0).save(file))
            die("cannot write " + file);
        std::printf("%s\n", qPrintable(file));
    }
    module.Quorvel.close();
    return 0;
}
