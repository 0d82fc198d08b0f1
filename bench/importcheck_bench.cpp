// "Sprawdź plik" (the import's dry run) on a file of 10,000 rows against a large
// installation, through the real page, against the same statements sent bare
// through the client library; for scale, also the two duplicate tests per row
// that the import itself sends, one row at a time.
// Usage: importcheck_bench SERVER [ROWS [PEOPLE]]   (defaults 10000 and 20000; login
// vqx / vqx; builds and finally drops the database valdrix_importcheck_bench)
// The file mixes, by row number modulo 10: 0-2 people of the installation, 3-7 new
// people with new codes (every fourth row 7 with the code of row 6), 8 a new person
// with a code of the installation, 9 a row
// that repeats the row before it (every other one) or has no names. The program
// runs the real window headless; its rounds and the bare rounds alternate, and the
// medians are compared. Targets: the program under 2 s, at most twice the bare
// statements (the program also builds them from 20,000 escaped values, reads the
// answers into its dataset and writes 10,000 Status cells).
#include "BenchSupport.h"
#include "Installation.h"

#include "app/TForm1.h"
#include "text/Windows1250.h"
#include "db/TDataModule3.h"
#include "import/ImportCheck.h"
#include "import/ImportPage.h"
#include "ui/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <mysql.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

struct Expected {
    int existing = 0, newWithCard = 0, cardKnown = 0, repeated = 0, cardRepeated = 0, noNames = 0;
};

// The file's rows as the import reads them (spaces removed), and what they are.
std::vector<ImportCheckRow> fileRows(int count, const InstallationSizes& sizes, Expected& expected)
{
    std::vector<ImportCheckRow> rows;
    auto bare = [](QString text) { return text.remove(u' '); };
    int known = 0;
    for (int i = 0; i < count; ++i) {
        const int kind = i % 10;
        if (kind <= 2) {
            // People whose names keep no space, so that the file names them exactly.
            PersonName name;
            do {
                name = generatedPersonName(known++ * 7 % sizes.people);
            } while (name.firstName.contains(u' ') || name.surname.contains(u' ') ||
                     (name.firstName.isEmpty() && name.surname.isEmpty()));
            rows.push_back({name.firstName, name.surname, generatedCardCode(sizes.cards + count + i)});
            ++expected.existing;
        } else if (kind <= 8) {
            const PersonName name = generatedPersonName(sizes.people + i);
            // Every fourth row 7 takes the new code of row 6 before it.
            const bool again = kind == 7 && i / 10 % 4 == 0;
            const QString code = kind == 8 ? generatedCardCode(i * 3 % sizes.cards)
                                 : again   ? rows.back().cardCode
                                           : generatedCardCode(sizes.cards + i);
            rows.push_back({bare(name.firstName), bare(name.surname), code});
            ++(kind == 8 ? expected.cardKnown : again ? expected.cardRepeated : expected.newWithCard);
        } else if (i / 10 % 2 == 0) {
            const ImportCheckRow previous = rows.back();   // row 8: a new person, a known code
            rows.push_back(previous);
            ++expected.repeated;
        } else {
            rows.push_back({QString(), QString(), QStringLiteral("123")});
            ++expected.noNames;
        }
    }
    return rows;
}

QByteArray fileText(const std::vector<ImportCheckRow>& rows)
{
    QString text;
    for (const ImportCheckRow& row : rows)
        text += row.firstName + u';' + row.surname + u';' + row.cardCode + QStringLiteral("\r\n");
    return Windows1250::encode(text);
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SERVER [ROWS [PEOPLE]]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const QString server = QString::fromLocal8Bit(argv[1]);
    const int count = argc > 2 ? std::atoi(argv[2]) : 10000;
    InstallationSizes sizes;
    sizes.people = argc > 3 ? std::atoi(argv[3]) : 20000;
    sizes.cards = 2 * sizes.people;
    sizes.events = 0;   // the dry run reads people and cards only

    std::printf("building the installation (%d people, %d cards) ...\n", sizes.people, sizes.cards);
    std::fflush(stdout);
    QElapsedTimer timer;
    timer.start();
    const Installation in = createInstallation(server, "valdrix_importcheck_bench", sizes, nullptr);
    std::printf("built in %.1f s\n", seconds(timer));

    QTemporaryDir work;
    QDir::setCurrent(work.path());
    writeConfig(work.path(), in.server, in.database);

    Expected expected;
    const std::vector<ImportCheckRow> rows = fileRows(count, sizes, expected);
    const QString path = work.filePath("people.csv");
    QFile file(path);
    const QByteArray text = fileText(rows);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        die("cannot write " + path);
    file.close();

    StrictDialogs dialogs;   // the dry run shows no box
    TDataModule3 module;
    TForm1 form(module, dialogs);
    form.Timer1->stop();
    form.AdvOfficePager1->setCurrentIndex(5);
    form.show();
    form.Connect1->trigger();
    QCoreApplication::processEvents();
    ImportPage* page = form.importPage();
    page->LoadImportFile(path);
    if (page->StringGrid1->rowCount() != count + 1)
        die("the file did not load");
    MYSQL* bare = connectBare(in.server, in.database);

    // The statements of the check, as the program words them, for the bare rounds.
    const QStringList statements = ImportCheck::statements(module.Quorvel, rows);
    qsizetype statementChars = 0;
    for (const QString& s : statements)
        statementChars += s.size();

    // A round of each to warm the server's caches, then alternating rounds.
    page->ImportCheckButton->click();
    for (const QString& s : statements)
        send(bare, s);
    std::vector<double> program, direct, programCpu, directCpu;
    for (int round = 0; round < 5; ++round) {
        double cpu = cpuSeconds();
        timer.start();
        page->ImportCheckButton->click();
        QCoreApplication::processEvents();
        program.push_back(seconds(timer));
        programCpu.push_back(cpuSeconds() - cpu);
        cpu = cpuSeconds();
        timer.start();
        long long answered = 0;
        for (const QString& s : statements)
            answered += send(bare, s);
        direct.push_back(seconds(timer));
        directCpu.push_back(cpuSeconds() - cpu);
        if (answered < count - expected.noNames)
            die(QStringLiteral("the bare statements answered %1 rows").arg(answered));
    }

    // For scale: the import's two duplicate tests, one row at a time.
    timer.start();
    for (const ImportCheckRow& row : rows) {
        if (row.firstName.isEmpty() && row.surname.isEmpty())
            continue;
        send(bare, "SELECT COUNT(*) FROM USERS WHERE FIRST_NAME = '" + escaped(bare, row.firstName) +
                       "'\nAND NAME = '" + escaped(bare, row.surname) + "'");
        send(bare, "Select COUNT(*)  FROM CARDS WHERE CODE='" + escaped(bare, row.cardCode) + "';");
    }
    const double perRow = seconds(timer);

    // What the page shows must be what the file holds.
    int existing = 0, newWithCard = 0, cardKnown = 0, repeated = 0, cardRepeated = 0, noNames = 0, other = 0;
    for (int r = 1; r <= count; ++r) {
        const QString status = page->StringGrid1->cells(4, r);
        if (status.startsWith(QString::fromUtf8("osoba już istnieje")))
            ++existing;
        else if (status == QString::fromUtf8("nowa osoba z kartą"))
            ++newWithCard;
        else if (status == QString::fromUtf8("nowa osoba, karta już w systemie"))
            ++cardKnown;
        else if (status.startsWith(QString::fromUtf8("osoba powtórzona w pliku")))
            ++repeated;
        else if (status.startsWith(QString::fromUtf8("nowa osoba, karta powtórzona (")))
            ++cardRepeated;
        else if (status == QString::fromUtf8("wiersz bez nazwiska i imienia"))
            ++noNames;
        else
            ++other;
    }
    if (existing != expected.existing || newWithCard != expected.newWithCard ||
        cardKnown != expected.cardKnown || repeated != expected.repeated ||
        cardRepeated != expected.cardRepeated || noNames != expected.noNames || other != 0)
        die(QStringLiteral("forecast %1/%2/%3/%4/%5/%6 (+%7 other), expected %8/%9/%10/%11/%12/%13")
                .arg(existing).arg(newWithCard).arg(cardKnown).arg(repeated).arg(cardRepeated)
                .arg(noNames).arg(other)
                .arg(expected.existing).arg(expected.newWithCard).arg(expected.cardKnown)
                .arg(expected.repeated).arg(expected.cardRepeated).arg(expected.noNames));

    const double programSeconds = median(program), bareSeconds = median(direct);
    std::printf("\n\"Sprawdź plik\" on %d rows against %d people and %d cards\n", count, sizes.people,
                sizes.cards);
    std::printf("  %s\n", qPrintable(page->ImportState->text()));
    std::printf("  statements: %lld (%lld characters in all)\n",
                static_cast<long long>(statements.size()), static_cast<long long>(statementChars));
    std::printf("  program (real page, medians of 5)   %7.3f s   client CPU %.3f s   (rounds:", programSeconds,
                median(programCpu));
    for (double s : program)
        std::printf(" %.3f", s);
    std::printf(")\n  bare statements, client library     %7.3f s   client CPU %.3f s   (rounds:", bareSeconds,
                median(directCpu));
    for (double s : direct)
        std::printf(" %.3f", s);
    std::printf(")\n  ratio                               %7.2f     (targets: program < 2 s, ratio <= 2)\n",
                programSeconds / bareSeconds);
    std::printf("  for scale: two tests per row, bare   %7.3f s\n", perRow);

    mysql_close(bare);
    module.Quorvel.close();
    dropInstallation(in);
    return programSeconds < 2 && programSeconds / bareSeconds <= 2 ? 0 : 1;
}
