#include "app/CommandLine.h"

#include "app/ReachCommands.h"
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
    "they read and never write, but for db-check --fix):\n"
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
    "  db-check [--fix]\n"
    "               whether the database has what the program relies on: InnoDB\n"
    "               tables, the recommended indexes (each missing one with the\n"
    "               statement that creates it), one row in STATUS, text in\n"
    "               utf8mb4; exit status 0 when all holds, 1 when something is\n"
    "               missing. --fix creates the missing indexes, and nothing else,\n"
    "               after listing the statements\n"
    "%s"
    "\n"
    "Exit status: 0 success (check: \"Wejdzie\"), 1 access denied (check: \"Nie wejdzie\";\n"
    "db-check: something missing), 2 error, told in one line on standard error.\n";

// Qt's own options of the window (QGuiApplication, QApplication and the X11
// platform), with whether each takes a value.
struct QtOption {
    const char* name;
    bool takesValue;
};
const QtOption QtOptions[] = {
    {"platform", true},     {"platformpluginpath", true}, {"platformtheme", true},
    {"plugin", true},       {"qmljsdebugger", true},      {"qwindowgeometry", true},
    {"qwindowicon", true},  {"qwindowtitle", true},       {"reverse", false},
    {"session", true},      {"style", true},              {"stylesheet", true},
    {"widgetcount", false}, {"display", true},            {"geometry", true},
    {"title", true},        {"name", true},               {"visual", true},
    {"ncols", true},        {"cmap", false},              {"fn", true},
    {"font", true},         {"bg", true},                 {"background", true},
    {"fg", true},           {"foreground", true},         {"btn", true},
    {"button", true},       {"im", true},                 {"inputstyle", true},
    {"nograb", false},      {"dograb", false},            {"sync", false},
};

int refuse(std::FILE* err, const QString& text)
{
    std::fprintf(err, "valdrix: %s (see valdrix --help)\n", CommandLine::printable(text).toUtf8().constData());
    return 2;
}

}  // namespace

bool CommandLine::isQtOption(const QString& word, bool* takesValue)
{
    if (!word.startsWith(QLatin1Char('-')) || word.startsWith(QLatin1String("--")))
        return false;
    const qsizetype equals = word.indexOf(QLatin1Char('='));
    const QString name = word.mid(1, equals < 0 ? -1 : equals - 1);
    for (const QtOption& option : QtOptions) {
        if (name != QLatin1String(option.name))
            continue;
        if (equals >= 0 && !option.takesValue)
            return false;
        if (takesValue)
            *takesValue = option.takesValue && equals < 0;
        return true;
    }
    return false;
}

QString CommandLine::printable(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\n': out += QLatin1String("\\n"); continue;
        case u'\t': out += QLatin1String("\\t"); continue;
        case u'\r': out += QLatin1String("\\r"); continue;
        case u'\\': out += QLatin1String("\\\\"); continue;
        default: break;
        }
        if (u < 0x20 || u == 0x7F)
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else if ((u >= 0x80 && u < 0xA0) || u == 0x2028 || u == 0x2029)
            out += QStringLiteral("\\u{%1}").arg(u, 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

int CommandLine::run(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    if (arguments.isEmpty())
        return -1;
    const QString& first = arguments.first();
    if (first == QLatin1String("--version") || first == QLatin1String("--help") || first == QLatin1String("-h")) {
        if (arguments.size() > 1)
            return refuse(err, QStringLiteral("%1 takes no arguments, not '%2'").arg(first, arguments[1]));
        if (first == QLatin1String("--version"))
            std::fprintf(out, "valdrix %s\n", VALDRIX_VERSION);
        else
            std::fprintf(out, Usage, ReachCommands::Usage);
        return 0;
    }
    if (first == QLatin1String("check"))
        return ToolCommands::check(arguments.mid(1), out, err);
    if (first == QLatin1String("card-code"))
        return ToolCommands::cardCode(arguments.mid(1), out, err);
    if (first == QLatin1String("who"))
        return ReachCommands::who(arguments.mid(1), out, err);
    if (first == QLatin1String("where"))
        return ReachCommands::where(arguments.mid(1), out, err);
    if (first == QLatin1String("cards"))
        return ReachCommands::cards(arguments.mid(1), out, err);
    if (first == QLatin1String("import-check"))
        return ToolCommands::importCheck(arguments.mid(1), out, err);
    if (first == QLatin1String("db-check"))
        return ToolCommands::dbCheck(arguments.mid(1), out, err);
    // Qt's own options (-platform, -style, -geometry, ...) are the window's; any
    // other word is refused before a window (or a display) is needed.
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        bool takesValue = false;
        if (!isQtOption(arguments[i], &takesValue))
            return refuse(err, QStringLiteral("unknown option '%1'").arg(arguments[i]));
        if (takesValue && ++i >= arguments.size())
            return refuse(err, QStringLiteral("option '%1' needs a value").arg(arguments[i - 1]));
    }
    return -1;
}
