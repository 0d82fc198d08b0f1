#include "app/CommandLine.h"

#include "app/ToolCommands.h"
#include "app/Version.h"

namespace {

const char* const Usage =
    "Usage: valdrix [OPTION]\n"
    "       valdrix COMMAND [ARGUMENTS]\n"
    "Administration client of a card-based access-control installation.\n"
    "Without an option it opens its window; the connection settings are read from\n"
    "Config.ini in the current directory.\n"
    "\n"
    "  --help       show this text and exit\n"
    "  --version    show the version and exit\n"
    "\n"
    "Commands (plain text, no window or display; the database of Config.ini, which\n"
    "they read and never write):\n"
    "  check (--card CODE | --person ID) (--device ID | --device-name NAME) --head A|B\n"
    "        [--date YYYY-MM-DD] [--time HH:MM[:SS]]\n"
    "               whether the card, or any card of the person, opens that reader\n"
    "               head at that local date and time (default: now), with the chain\n"
    "               of reasons; reads only\n"
    "  card-code hex VALUE | dec VALUE | w26 FC CN | w34 FC CN | w40 FC CN | code CODE\n"
    "               converts a card number between its printed forms (hexadecimal,\n"
    "               decimal, Wiegand 26, 34 and 40) and the 10-character code the\n"
    "               system stores, with the Wiegand frames and their parity bits\n"
    "  import-check FILE\n"
    "               what \"Importuj\" would do with each row of the import file (a\n"
    "               new person, with or without card, an existing person or card, a\n"
    "               repeat within the file, a row without names), one line a row\n"
    "               (number, first name, surname, card code, forecast; tab-separated)\n"
    "               and the counts; writes nothing\n"
    "  history [--since YYYY-MM-DD] [--until YYYY-MM-DD] [--login L] [--table T] [--key N]\n"
    "               the history of changes, newest first, one line a row (time,\n"
    "               login, workstation user, host, action, table, key, object, the\n"
    "               columns before and after as JSON; tab-separated, tabs and line\n"
    "               breaks in a value written as \\t and \\n)\n"
    "\n"
    "Exit status: 0 success (check: \"Wejdzie\"), 1 access denied (check: \"Nie wejdzie\"),\n"
    "2 error, told in one line on standard error.\n";

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
    if (first == QLatin1String("check"))
        return ToolCommands::check(arguments.mid(1), out, err);
    if (first == QLatin1String("card-code"))
        return ToolCommands::cardCode(arguments.mid(1), out, err);
    if (first == QLatin1String("import-check"))
        return ToolCommands::importCheck(arguments.mid(1), out, err);
    if (first == QLatin1String("history"))
        return ToolCommands::history(arguments.mid(1), out, err);
    // Qt's own options (-platform, -style, -geometry, ...) are the window's.
    if (first.startsWith(QLatin1Char('-')) && !first.startsWith(QLatin1String("--")))
        return -1;
    std::fprintf(err, "valdrix: unknown option '%s' (see valdrix --help)\n",
                 first.toLocal8Bit().constData());
    return 2;
}
