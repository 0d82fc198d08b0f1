#include "app/CommandLine.h"
#include "app/ConfigFile.h"
#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/Polish.h"

#include <QApplication>

namespace {

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

    Application app(argc, argv);
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
