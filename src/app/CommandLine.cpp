#include "app/CommandLine.h"

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
    "czytają i nigdy nie zapisują):\n"
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
    "\n"
    "Kod wyjścia: 0 powodzenie (check: \"Wejdzie\"), 1 brak dostępu (check: \"Nie wejdzie\"),\n"
    "2 błąd, opisany w jednym wierszu na standardowym wyjściu błędów.\n";

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
    // Qt's own options (-platform, -style, -geometry, ...) are the window's.
    if (first.startsWith(QLatin1Char('-')) && !first.startsWith(QLatin1String("--")))
        return -1;
    std::fprintf(err, "valdrix: nieznana opcja '%s' (zobacz valdrix --help)\n",
                 first.toLocal8Bit().constData());
    return 2;
}
