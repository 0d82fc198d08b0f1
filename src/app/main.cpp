#include "app/CommandLine.h"
#include "app/ConfigFile.h"
#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/Polish.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// While the window's platform starts, Qt's messages are held back: when no
// display can be opened, Qt ends the program with a fatal message (an abort and
// many lines); the operator gets one line and the status 2 instead.
QStringList heldMessages;

void startupMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        heldMessages << message;
        return;
    }
    QString reason = heldMessages.isEmpty() ? message : heldMessages.first();
    reason = CommandLine::printable(reason.simplified());
    std::fprintf(stderr, "valdrix: the window cannot open (%s); the commands need no display "
                         "(see valdrix --help)\n",
                 reason.toUtf8().constData());
    std::fflush(stderr);
    std::_Exit(2);
}

// Whether some platform can show the window: a display, or a platform chosen by
// the environment or by Qt's -platform option.
bool hasDisplay(const QStringList& arguments)
{
    for (const QString& argument : arguments)
        if (argument == QLatin1String("-platform") || argument.startsWith(QLatin1String("-platform=")))
            return true;
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    return false;
}

// The last line of defence: an error raised inside an event handler of a widget
// is shown in the error box instead of ending the program.
class Application : public QApplication {
public:
    using QApplication::QApplication;
    Dialogs* dialogs = nullptr;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            const QString text = ErrorGuard::describe(std::current_exception());
            if (dialogs)
                dialogs->errorBox(text);
            return false;
        }
    }
};

}  // namespace

int main(int argc, char** argv)
{
    // Options are answered before any window (or display) is needed.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Started from the desktop menu (its entry passes this argument), the window
    // keeps Config.ini in the user's configuration folder: the menu's starting
    // folder is nobody's choice. From a terminal, the current folder's file.
    if (!arguments.isEmpty() && arguments.first() == QLatin1String(ConfigFile::MenuArgument)) {
        arguments.removeFirst();
        ConfigFile::useUserFolder();
    }
    if (const int status = CommandLine::run(arguments, stdout, stderr); status >= 0)
        return status;
    if (!hasDisplay(arguments)) {
        std::fputs("valdrix: no display to open the window on (DISPLAY is not set); the commands "
                   "need none (see valdrix --help)\n",
                   stderr);
        return 2;
    }

    const QtMessageHandler previous = qInstallMessageHandler(startupMessage);
    Application app(argc, argv);
    qInstallMessageHandler(previous);
    for (const QString& message : std::exchange(heldMessages, {}))
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    QApplication::setApplicationName(QStringLiteral("Valdrix"));
    usePolish(app);

    QtDialogs dialogs;
    app.dialogs = &dialogs;
    // Created with its connection and every dataset closed; nothing connects
    // until the operator chooses "Connect".
    TDataModule3 dataModule;
    TForm1 form(dataModule, dialogs);
    dialogs.setParent(&form);
    form.show();
    const int status = app.exec();
    app.dialogs = nullptr;
    return status;
}
