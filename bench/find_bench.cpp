// Find as you type above the list of people, on a large installation: each key
// typed into the find field narrows the list (and repaints it) within 50 ms.
// Usage: find_bench SERVER [PEOPLE [CARDS]]   (defaults 20000 and 40000; login
// vqx / vqx; builds and finally drops the database valdrix_find_bench)
// The program types into the real page, headless, and the grid repaints after
// every key. The baseline, side by side, is the least any narrowing must do: one
// pass over the same rows of the dataset, turning the surname, first name and the
// codes of each person into text and testing them for the typed text. Prints the
// median and the slowest key of each, their ratio, the first key (which also reads
// the card codes) and a sort of the whole list by a title click.
#include "BenchSupport.h"
#include "Installation.h"

#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "people/UsersPage.h"
#include "ui/BoundGrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <mysql.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double ms(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e6; }

// The texts typed, key by key: a surname, a first name, a card code, and
// narrowing down to nothing and back.
QStringList keystrokes(const QString& surname, const QString& firstName, const QString& code)
{
    QStringList typed;
    for (const QString& word : {surname.left(6), firstName.left(5), code.right(6)}) {
        for (int n = 1; n <= word.size(); ++n)
            typed << word.left(n);
        for (int n = word.size() - 1; n >= 0; --n)
            typed << word.left(n);
    }
    return typed;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SERVER [PEOPLE [CARDS]]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const QString server = QString::fromLocal8Bit(argv[1]);
    InstallationSizes sizes;
    sizes.people = argc > 2 ? std::atoi(argv[2]) : 20000;
    sizes.cards = argc > 3 ? std::atoi(argv[3]) : 40000;
    sizes.devices = 20;
    sizes.permissionsPerGroup = 5;
    sizes.events = 0;

    std::printf("building the installation (%d people, %d cards) ...\n", sizes.people, sizes.cards);
    const Installation in = createInstallation(server, "valdrix_find_bench", sizes, nullptr);

    QTemporaryDir work;
    QDir::setCurrent(work.path());
    writeConfig(work.path(), in.server, in.database);
    StrictDialogs dialogs;
    TDataModule3 module;
    TForm1 form(module, dialogs);
    form.Timer1->stop();
    form.resize(1280, 860);
    form.show();
    form.ConnectDatabase();
    QCoreApplication::processEvents();
    UsersPage* page = form.usersPage();
    BoundGrid* grid = page->DBGrid3;
    QLineEdit* find = page->PersonFind;
    if (grid->allRowCount() < sizes.people / 2)
        die(QStringLiteral("the list holds %1 people").arg(grid->allRowCount()));

    // Someone in the middle of the list, with a card.
    MYSQL* bare = connectBare(in.server, in.database);
    const QString owner = firstValue(bare, "SELECT ID_USER_FK FROM CARDS WHERE ID_USER_FK > 0 "
                                           "ORDER BY ID_CARD LIMIT 1 OFFSET 5000");
    const QString code = firstValue(bare, "SELECT CODE FROM CARDS WHERE ID_USER_FK = " + owner + " LIMIT 1");
    const QString surname = firstValue(bare, "SELECT NAME FROM USERS WHERE ID_USER = " + owner);
    const QString firstName = firstValue(bare, "SELECT FIRST_NAME FROM USERS WHERE ID_USER = " + owner);
    const QStringList typed = keystrokes(surname, firstName, code);

    // The first key also reads every card code of the installation.
    QElapsedTimer timer;
    timer.start();
    find->setText(typed.first());
    QCoreApplication::processEvents();
    const double firstKey = ms(timer);
    find->clear();
    QCoreApplication::processEvents();

    // The baseline's rows: the same texts, straight from the dataset.
    const Dataset& users = module.Users;
    const int idColumn = users.columnIndex("ID_USER");
    const int nameColumn = users.columnIndex("NAME");
    const int firstColumn = users.columnIndex("FIRST_NAME");
    QHash<int, QString> codes;
    {
        const QString all = QStringLiteral("SELECT ID_USER_FK, CODE FROM CARDS WHERE ID_USER_FK IS NOT NULL");
        const QByteArray text = all.toUtf8();
        if (mysql_real_query(bare, text.constData(), static_cast<unsigned long>(text.size())) != 0)
            die(QString::fromUtf8(mysql_error(bare)));
        MYSQL_RES* result = mysql_store_result(bare);
        while (MYSQL_ROW row = mysql_fetch_row(result))
            codes[QByteArray(row[0]).toInt()] += QString::fromUtf8(row[1]) + QLatin1Char('\t');
        mysql_free_result(result);
    }

    const int rounds = 5;
    std::vector<double> program, baseline;
    double programWorst = 0, baselineWorst = 0;
    QString worstText;
    long long programShown = 0, baselineShown = 0;
    for (int round = 0; round < rounds; ++round) {
        for (const QString& text : typed) {
            timer.start();
            find->setText(text);
            QCoreApplication::processEvents();   // the grid repaints
            const double p = ms(timer);
            program.push_back(p);
            if (p > programWorst)
                worstText = text;
            programWorst = std::max(programWorst, p);
            programShown += grid->shownRowCount();

            timer.start();
            const QString needle = text.trimmed().toCaseFolded();
            int shown = 0;
            for (int row = 0; row < users.rowCount(); ++row) {
                const QString searched = (users.cell(row, nameColumn) + QLatin1Char('\t')
                                          + users.cell(row, firstColumn) + QLatin1Char('\t')
                                          + codes.value(users.cell(row, idColumn).toInt()))
                                             .toCaseFolded();
                if (needle.isEmpty() || searched.contains(needle))
                    ++shown;
            }
            const double b = ms(timer);
            baseline.push_back(b);
            baselineWorst = std::max(baselineWorst, b);
            baselineShown += shown;
        }
    }
    if (programShown != baselineShown)
        die(QStringLiteral("the list showed %1 rows in all, the baseline found %2")
                .arg(programShown)
                .arg(baselineShown));

    // A title click sorts the whole list (by surname, the Polish way).
    timer.start();
    grid->sortByColumn(1, Qt::DescendingOrder);
    QCoreApplication::processEvents();
    const double sortMs = ms(timer);
    find->setText(surname.left(3));
    QCoreApplication::processEvents();
    timer.start();
    find->setText(surname.left(4));
    QCoreApplication::processEvents();
    const double sortedKey = ms(timer);

    const double p = median(program), b = median(baseline);
    std::printf("\n%d people, %d cards; %lld keys typed (%d rounds of \"%s\", \"%s\", \"%s\")\n",
                static_cast<int>(users.rowCount()), sizes.cards, static_cast<long long>(program.size()),
                rounds, qPrintable(surname.left(6)), qPrintable(firstName.left(5)), qPrintable(code.right(6)));
    std::printf("                 program   baseline   ratio   (target: every key < 50 ms)\n");
    std::printf("median per key  %7.2f ms %7.2f ms  %5.2f\n", p, b, p / b);
    std::printf("slowest key     %7.2f ms %7.2f ms  %5.2f   (program's: \"%s\")\n", programWorst,
                baselineWorst, programWorst / baselineWorst, qPrintable(worstText));
    std::printf("first key (reads the card codes too): %.1f ms\n", firstKey);
    std::printf("sorting the whole list by surname: %.1f ms; a key while sorted: %.1f ms\n", sortMs,
                sortedKey);

    mysql_close(bare);
    module.Quorvel.close();
    dropInstallation(in);
    return programWorst < 50.0 ? 0 : 1;
}
