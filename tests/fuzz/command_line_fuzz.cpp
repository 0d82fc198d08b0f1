// The command line, from a folder without Config.ini: every run ends with 0, 1
// or 2, or hands the arguments to the window only when they are all Qt's own
// options; an error is exactly one line on standard error and nothing on standard
// output; success writes nothing on standard error.
#include "FuzzCheck.h"
#include "app/CommandLine.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdlib>
#include <unistd.h>

namespace {

struct Output {
    char* text = nullptr;
    size_t size = 0;
    std::FILE* file = open_memstream(&text, &size);
    QByteArray close()
    {
        std::fclose(file);
        QByteArray bytes(text, static_cast<qsizetype>(size));
        std::free(text);
        return bytes;
    }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // No Config.ini here: the commands never reach a server. (Corpus folders are
    // then to be given as absolute paths, as scripts/fuzz does.)
    static QTemporaryDir dir;
    if (!dir.isValid() || ::chdir(QFile::encodeName(dir.path()).constData()) != 0)
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Arguments separated by NUL bytes, as the system passes them.
    QStringList arguments;
    for (const QByteArray& word : QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split('\0'))
        arguments << QString::fromLocal8Bit(word);
    if (size == 0)
        arguments.clear();
    // import-check reads the file it is given, which may be a device without end.
    if (arguments.value(0) == QLatin1String("import-check"))
        return 0;

    Output out, err;
    const int status = CommandLine::run(arguments, out.file, err.file);
    const QByteArray said = out.close();
    const QByteArray complained = err.close();

    FUZZ_CHECK(status >= -1 && status <= 2, "status %d", status);
    if (status == 2) {
        FUZZ_CHECK(said.isEmpty(), "an error with output");
        FUZZ_CHECK(complained.count('\n') == 1 && complained.endsWith('\n'), "error in %lld lines: %s",
                   static_cast<long long>(complained.count('\n')), complained.constData());
        FUZZ_CHECK(complained.startsWith("valdrix"), "error without the program's name: %s", complained.constData());
    } else {
        FUZZ_CHECK(complained.isEmpty(), "status %d with an error: %s", status, complained.constData());
    }
    if (status == -1) {
        // Only Qt's own options (each with its value) reach the window.
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            bool takesValue = false;
            FUZZ_CHECK(CommandLine::isQtOption(arguments[i], &takesValue), "'%s' reached the window",
                       shown(arguments[i]).constData());
            FUZZ_CHECK(arguments[i].startsWith(QLatin1Char('-')) && !arguments[i].startsWith(QLatin1String("--")),
                       "not a single-dash word");
            i += takesValue;
        }
    }
    // The escapes keep any text on one line, and tell every character apart.
    for (const QString& argument : arguments) {
        const QString line = CommandLine::printable(argument);
        FUZZ_CHECK(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')), "a line break kept");
    }
    return 0;
}
