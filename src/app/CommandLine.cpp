#include "app/CommandLine.h"

#include "app/Version.h"

namespace {

const char* const Usage =
    "Usage: valdrix [OPTION]\n"
    "Administration client of a card-based access-control installation.\n"
    "Without an option it opens its window; the connection settings are read from\n"
    "Config.ini in the current directory.\n"
    "\n"
    "  --help       show this text and exit\n"
    "  --version    show the version and exit\n";

}  // namespace

int CommandLine::run(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    if (arguments.isEmpty())
        return -1;
    const QString& first = arguments.first();
    if (first == QLatin1String("--version")) {
        std::fprintf(out, "valdrix %s\n", VALDRIX_VERSION);
        return 0;
    }
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        std::fputs(Usage, out);
        return 0;
    }
    std::fprintf(err, "valdrix: unknown option '%s' (see valdrix --help)\n",
                 first.toLocal8Bit().constData());
    return 2;
}
