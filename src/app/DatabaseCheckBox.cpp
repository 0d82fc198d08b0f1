#include "app/DatabaseCheckBox.h"

#include "dataaccess/Errors.h"
#include "db/TDataModule3.h"
#include "ui/BackgroundWork.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/Named.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

DatabaseCheckBox::DatabaseCheckBox(const PageContext& context, QWidget* parent)
    : QGroupBox(QStringLiteral("Sprawdzenie bazy"), parent), context_(context)
{
    setObjectName(QStringLiteral("GroupBoxDatabaseCheck"));
    DatabaseCheckList = named<QPlainTextEdit>("DatabaseCheckList", this);
    DatabaseCheckList->setReadOnly(true);
    DatabaseCheckList->setLineWrapMode(QPlainTextEdit::NoWrap);
    DatabaseCheckList->setMinimumHeight(120);
    DatabaseCheckList->setPlainText(QStringLiteral("Baza zostanie sprawdzona po połączeniu."));
    CreateIndexes = named<QPushButton>("CreateIndexes", QStringLiteral("Utwórz brakujące indeksy"), this);
    CreateIndexes->setEnabled(false);
    CreateIndexesProgress = named<QProgressBar>("CreateIndexesProgress", this);
    CreateIndexesProgress->setTextVisible(true);
    CreateIndexesProgress->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DatabaseCheckList);
    layout->addWidget(CreateIndexes);
    layout->addWidget(CreateIndexesProgress);
    connectGuarded(CreateIndexes, &QPushButton::clicked, this, context_.guard, [this] { CreateIndexesClick(); });
}

std::vector<DatabaseCheck::Finding> DatabaseCheckBox::checkDatabase()
{
    TDataModule3& m = context_.module;
    findings_.clear();
    if (!m.Quorvel.isOpen()) {
        show(findings_);
        DatabaseCheckList->setPlainText(QStringLiteral("Baza zostanie sprawdzona po połączeniu."));
        return findings_;
    }
    try {
        findings_ = DatabaseCheck::check(m.Quorvel);
    } catch (const DataAccessError& error) {
        show({});
        DatabaseCheckList->setPlainText(QStringLiteral("Nie udało się sprawdzić bazy: ") + error.message());
        return {};
    }
    show(findings_);
    return findings_;
}

void DatabaseCheckBox::show(const std::vector<DatabaseCheck::Finding>& findings)
{
    DatabaseCheckList->setPlainText(DatabaseCheck::describe(findings).join(QLatin1Char('\n')));
    CreateIndexes->setEnabled(std::any_of(findings.begin(), findings.end(), [](const DatabaseCheck::Finding& f) {
        return !f.createStatement.isEmpty();
    }));
}

// The indexes are created on a connection of their own: on a large event log
// one takes minutes, and the window repaints meanwhile.
void DatabaseCheckBox::CreateIndexesClick()
{
    TDataModule3& m = context_.module;
    if (!m.Quorvel.isOpen())
        return;
    std::vector<DatabaseCheck::Finding> creates;
    for (const DatabaseCheck::Finding& f : checkDatabase())
        if (!f.createStatement.isEmpty())
            creates.push_back(f);
    if (creates.empty())
        return;
    if (!context_.dialogs.question(QStringLiteral("Utworzyć brakujące indeksy (%1)? Na dużej bazie może to "
                                                  "potrwać kilka minut.")
                                       .arg(creates.size())))
        return;
    try {
        runOnOwnConnection(m, CreateIndexesProgress, QStringLiteral("indeks %1 z %2"), {CreateIndexes},
                           [&](Connection& connection, const std::function<void(qint64, qint64)>& progress) {
                               qint64 done = 0;
                               const auto total = static_cast<qint64>(creates.size());
                               DatabaseCheck::createMissingIndexes(connection, creates, [&](const QString&) {
                                   progress(done++, total);
                               });
                               progress(total, total);
                           });
    } catch (...) {
        checkDatabase();   // shows what was created before the failure
        throw;
    }
    checkDatabase();
}
