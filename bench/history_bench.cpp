// The history of changes: what recording it costs a change, and how fast its page
// filters a large history.
// Usage: history_bench SERVER [PEOPLE [HISTORY]]   (defaults 20000 and 1000000;
// login vqx / vqx; builds and finally drops its databases)
// 1. A person and a card added as on the page of people (the lists read again, as
//    the operator sees them) and as the operations alone (no list re-read), on two
//    equal installations side by side: one with table HISTORY, one without; the
//    rounds alternate. Prints the medians and the ratio with / without (target at
//    most 1.1 for the page's adds).
// 2. The page "Historia zmian" on HISTORY rows of the installation: "Filtruj" (count
//    and first page) with each kind of filter, median of the rounds (target under
//    0.5 s each).
#include "BenchSupport.h"
#include "Installation.h"

#include "app/HistoryPage.h"
#include "app/TForm1.h"
#include "db/History.h"
#include "db/TDataModule3.h"
#include "people/CardChanges.h"
#include "people/PeopleChanges.h"
#include "people/UsersPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <mysql.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Any box ends the run, except the word that changes are not recorded, which the
// installation without the history table is meant to say.
class BenchDialogs : public StrictDialogs {
public:
    void notice(const QString& text) override
    {
        if (text != History::MissingTableText)
            StrictDialogs::notice(text);
    }
};

// The program's window on one installation, connected.
struct Program {
    Program(const Installation& in, const QString& folder)
    {
        QDir::setCurrent(folder);
        writeConfig(folder, in.server, in.database);
        form = std::make_unique<TForm1>(module, dialogs);
        form->Timer1->stop();
        form->ConnectDatabase();
        QCoreApplication::processEvents();
    }
    BenchDialogs dialogs;
    TDataModule3 module;
    std::unique_ptr<TForm1> form;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SERVER [PEOPLE [HISTORY]]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    const QString server = QString::fromLocal8Bit(argv[1]);
    InstallationSizes sizes;
    sizes.people = argc > 2 ? std::atoi(argv[2]) : 20000;
    sizes.cards = sizes.people * 2;
    sizes.devices = 20;
    sizes.permissionsPerGroup = 5;
    sizes.events = 0;
    const int historyRows = argc > 3 ? std::atoi(argv[3]) : 1000000;
    const int rounds = 15;

    std::printf("building two installations of %d people ...\n", sizes.people);
    const Installation with = createInstallation(server, "valdrix_history_with", sizes, nullptr);
    const Installation without = createInstallation(server, "valdrix_history_without", sizes, nullptr);
    MYSQL* admin = connectBare(server, without.database);
    send(admin, "DROP TABLE HISTORY");

    QTemporaryDir folderWith, folderWithout;
    Program a(with, folderWith.path());
    Program b(without, folderWithout.path());
    if (!a.module.recordsHistory() || b.module.recordsHistory())
        die("the installations do not differ in table HISTORY");

    // 1. Adds: a new person and a card for them, each round a new name and code.
    int nextName = sizes.people, nextCode = sizes.cards;
    auto pageAdd = [&](Program& p) {
        const PersonName name = generatedPersonName(nextName++);
        UsersPage* page = p.form->usersPage();
        if (page->AddUser(name.firstName, name.surname, QString::number(with.firstGroupId)) <= 0)
            die("AddUser added nobody");
        if (page->AddCard(generatedCardCode(nextCode++), QString(), QStringLiteral("1"),
                          QStringLiteral("2010-01-01"), QStringLiteral("2030-12-31"))
            <= 0)
            die("AddCard added nothing");
        QCoreApplication::processEvents();
    };
    AddOptions quiet;
    quiet.reloadLists = false;
    auto operationAdd = [&](Program& p) {
        const PersonName name = generatedPersonName(nextName++);
        const int id = PeopleChanges::AddUser(p.module, name.firstName, name.surname,
                                              QString::number(with.firstGroupId), quiet)
                           .id;
        if (id <= 0 || CardChanges::AddCard(p.module, generatedCardCode(nextCode++), QString(), QStringLiteral("1"),
                                            QStringLiteral("2010-01-01"), QStringLiteral("2030-12-31"), id, quiet)
                               .id <= 0)
            die("the operations added nothing");
    };
    auto compare = [&](const char* what, const std::function<void(Program&)>& add) {
        std::vector<double> timesWith, timesWithout;
        QElapsedTimer timer;
        add(a);   // warm-up of both
        add(b);
        for (int round = 0; round < rounds; ++round) {
            timer.start();
            add(a);
            timesWith.push_back(timer.nsecsElapsed() / 1e6);
            timer.start();
            add(b);
            timesWithout.push_back(timer.nsecsElapsed() / 1e6);
        }
        const double m1 = median(timesWith), m0 = median(timesWithout);
        std::printf("%-44s with history %7.2f ms, without %7.2f ms, ratio %.3f\n", what, m1, m0, m1 / m0);
        return m1 / m0;
    };
    const double pageRatio = compare("person + card on the page (lists re-read):", pageAdd);
    compare("person + card, operations alone:", operationAdd);
    std::printf("history rows written: %lld\n",
                number(admin, QStringLiteral("SELECT COUNT(*) FROM `%1`.HISTORY").arg(with.database)));

    a.form.reset();
    b.form.reset();
    dropInstallation(without);
    dropInstallation(with);

    // 2. The page's filter on a large history.
    std::printf("\nbuilding %d history rows ...\n", historyRows);
    InstallationSizes large = sizes;
    large.history = historyRows;
    const Installation in = createInstallation(server, "valdrix_history_page", large, nullptr);
    QTemporaryDir folder;
    Program p(in, folder.path());
    HistoryPage* page = p.form->historyPage();
    // Person 2 (index 1) is live; the sample person needs events, which are not made here.
    const int personId = in.samplePersonId > 0 ? in.samplePersonId : 2;
    const PersonName sample = generatedPersonName(personId - 1);
    struct Case {
        const char* what;
        std::function<void()> set;
    };
    auto reset = [&] {
        page->HistorySinceCheck->setChecked(false);
        page->HistoryUntilCheck->setChecked(false);
        page->HistoryOperator->setCurrentIndex(0);
        page->HistoryKind->setCurrentIndex(0);
        page->HistoryText->clear();
        page->HistoryPageNumber->setText(QStringLiteral("1"));
    };
    const Case cases[] = {
        {"no filter", [] {}},
        {"last 7 days",
         [&] {
             page->HistorySinceCheck->setChecked(true);
             page->HistorySince->setDate(in.newestEvent.date().addDays(-7));
         }},
        {"one operator", [&] { page->HistoryOperator->setCurrentIndex(2); }},
        {"cards", [&] { page->HistoryKind->setCurrentIndex(2); }},
        {"text: a surname", [&] { page->HistoryText->setText(sample.surname); }},
        {"text: a card code", [&] { page->HistoryText->setText(generatedCardCode(12345).left(8)); }},
        {"operator, cards, 30 days, surname",
         [&] {
             page->HistorySinceCheck->setChecked(true);
             page->HistorySince->setDate(in.newestEvent.date().addDays(-30));
             page->HistoryOperator->setCurrentIndex(2);
             page->HistoryKind->setCurrentIndex(2);
             page->HistoryText->setText(sample.surname);
         }},
        {"page 5000, no filter", [&] { page->HistoryPageNumber->setText(QStringLiteral("5000")); }},
        {"the sample person's history", [&] { page->ShowPerson(personId, sample.surname); }},
    };
    double worst = 0;
    for (const Case& c : cases) {
        reset();
        c.set();
        std::vector<double> times;
        QElapsedTimer timer;
        for (int round = 0; round < 5; ++round) {
            timer.start();
            page->FilterClick();
            QCoreApplication::processEvents();
            times.push_back(timer.nsecsElapsed() / 1e9);
        }
        const double t = median(times);
        worst = std::max(worst, t);
        std::printf("  %-36s %8.3f s  %s\n", c.what, t, qPrintable(page->HistoryCount->text()));
        if (!page->HistoryPerson->text().isEmpty())
            page->ClearPersonClick();
    }
    std::printf("slowest filter %.3f s (target under 0.5 s; %.2f of it)\n", worst, worst / 0.5);
    std::printf("adds with / without history: %.3f (target at most 1.1)\n", pageRatio);
    p.form.reset();
    dropInstallation(in);
    mysql_close(admin);
    return 0;
}
