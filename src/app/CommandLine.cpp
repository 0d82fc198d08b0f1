#include "app/CommandLine.h"

#include "app/ReachCommands.h"
#include "app/ToolCommands.h"
#include "app/Version.h"

namespace {

const char* const Usage =
    "Użycie: valdrix [OPCJA]\n"
    "        valdrix POLECENIE [ARGUMENTY]\n"
    "Program administracyjny systemu kontroli dostępu na karty.\n"
    "Bez opcji otwiera swoje okno; ustawienia połączenia czyta z pliku Config.ini\n"
    "w bieżącym katalogu.\n"
    "\n"
    "  --help       pokazuje ten tekst i kończy pracę\n"
    "  --version    pokazuje wersję i kończy pracę\n"
    "  --from-menu  otwiera okno z plikiem Config.ini w ~/.config/valdrix/\n"
    "               (tak uruchamia program menu pulpitu)\n"
    "\n"
    "Polecenia (zwykły tekst, bez okna i ekranu; baza danych z Config.ini, który\n"
    "czytają i nigdy nie zapisują, poza db-check --fix):\n"
    "  check (--card KOD | --person ID) (--device ID | --device-name NAZWA) --head A|B\n"
    "        [--date RRRR-MM-DD] [--time GG:MM[:SS]]\n"
    "               czy karta, albo któraś karta osoby, otwiera tę głowicę czytnika\n"
    "               w podanym dniu i czasie lokalnym (domyślnie: teraz), z łańcuchem\n"
    "               powodów; tylko czyta\n"
    "  card-code hex WARTOŚĆ | dec WARTOŚĆ | w26 FC CN | w34 FC CN | w40 FC CN | code KOD\n"
    "               przelicza numer karty między postaciami z nadruku (szesnastkową,\n"
    "               dziesiętną, Wiegand 26, 34 i 40) a 10-znakowym kodem, który\n"
    "               zapisuje system, z ramkami Wieganda i ich bitami parzystości\n"
    "  import-check PLIK\n"
    "               co \"Importuj\" zrobiłby z każdym wierszem pliku importu (nowa\n"
    "               osoba z kartą lub bez, osoba albo karta już istniejąca, powtórzenie\n"
    "               w pliku, wiersz bez nazwiska i imienia), wiersz na wiersz (numer,\n"
    "               imię, nazwisko, kod karty, przewidywanie; rozdzielone tabulacją)\n"
    "               i liczby; niczego nie zapisuje\n"
    "  db-check [--fix]\n"
    "               czy baza ma to, na czym program polega: tabele InnoDB, zalecane\n"
    "               indeksy (każdy brakujący z poleceniem, które go tworzy), jeden\n"
    "               wiersz w STATUS, tekst w utf8mb4; kod wyjścia 0, gdy wszystko\n"
    "               jest, 1, gdy czegoś brakuje. --fix tworzy brakujące indeksy i nic\n"
    "               poza tym, po wypisaniu poleceń\n"
    "  history [--since RRRR-MM-DD] [--until RRRR-MM-DD] [--login L] [--table T] [--key N]\n"
    "               historia zmian, od najnowszych, wiersz na wiersz (czas, login,\n"
    "               użytkownik stacji, komputer, czynność, tabela, klucz, obiekt,\n"
    "               kolumny przed i po jako JSON; rozdzielone tabulacją, tabulacje\n"
    "               i końce wierszy w wartości zapisane jako \\t i \\n)\n"
    "%s"
    "\n"
    "Kod wyjścia: 0 powodzenie (check: \"Wejdzie\"), 1 brak dostępu (check: \"Nie wejdzie\";\n"
    "db-check: czegoś brakuje), 2 błąd, opisany w jednym wierszu na standardowym wyjściu błędów.\n";

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
    std::fprintf(err, "valdrix: %s (zobacz valdrix --help)\n", CommandLine::printable(text).toUtf8().constData());
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
            return refuse(err, QStringLiteral("%1 nie przyjmuje argumentów, a podano '%2'").arg(first, arguments[1]));
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
    if (first == QLatin1String("history"))
        return ToolCommands::history(arguments.mid(1), out, err);
    if (first == QLatin1String("db-check"))
        return ToolCommands::dbCheck(arguments.mid(1), out, err);
    // Qt's own options (-platform, -style, -geometry, ...) are the window's; any
    // other word is refused before a window (or a display) is needed.
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        bool takesValue = false;
        if (!isQtOption(arguments[i], &takesValue))
            return refuse(err, QStringLiteral("nieznana opcja '%1'").arg(arguments[i]));
        if (takesValue && ++i >= arguments.size())
            return refuse(err, QStringLiteral("opcja '%1' wymaga wartości").arg(arguments[i - 1]));
    }
    return -1;
}
