#include "app/MaintenanceBox.h"

#include "dataaccess/Connection.h"
#include "db/Maintenance.h"
#include "db/TDataModule3.h"
#include "ui/BackgroundWork.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/Named.h"

#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

MaintenanceBox::MaintenanceBox(const PageContext& context, QWidget* parent)
    : QGroupBox(QStringLiteral("Baza danych"), parent), context_(context)
{
    setObjectName(QStringLiteral("GroupBoxDatabase"));
    Button24 = named<QPushButton>("Button24", QStringLiteral("Oczyść bazę zdarzeń z osób usunietych"), this);
    Button34 = named<QPushButton>("Button34", QStringLiteral("Usuń wszystkie zdarzenia"), this);
    MaintenanceProgress = named<QProgressBar>("MaintenanceProgress", this);
    MaintenanceProgress->setTextVisible(true);
    MaintenanceProgress->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Button24);
    layout->addWidget(Button34);
    layout->addWidget(MaintenanceProgress);
    connectGuarded(Button24, &QPushButton::clicked, this, context_.guard, [this] { Button24Click(); });
    connectGuarded(Button34, &QPushButton::clicked, this, context_.guard, [this] { Button34Click(); });
}

// Afterwards the event page runs its filter again, whichever page is shown.
void MaintenanceBox::Button24Click()
{
    TDataModule3& m = context_.module;
    if (!m.Quorvel.isOpen())
        return;
    if (!context_.dialogs.question(QStringLiteral("Czy opróżnić bazę danych ze zdarzeń osób usuniętych?")))
        return;
    runOnOwnConnection(context_.module, MaintenanceProgress, QStringLiteral("Oczyszczanie bazy: krok %1 z %2"), {Button24, Button34},
                    [](Connection& c, const Maintenance::Progress& progress) {
                        Maintenance::PurgeDeletedRows(c, progress);
                    });
    emit context_.pageSignals.eventLogChanged();
}

void MaintenanceBox::Button34Click()
{
    TDataModule3& m = context_.module;
    if (!m.Quorvel.isOpen())
        return;
    Dialogs& dialogs = context_.dialogs;
    if (!dialogs.question(QStringLiteral("Czy opróżnić bazę ze wszystkich zdarzeń ?")))
        return;
    if (!dialogs.question(QStringLiteral("Czy napewno! napewno! napewno! opróżnić bazę danych?")))
        return;
    runOnOwnConnection(context_.module, MaintenanceProgress, QStringLiteral("usunięto %1 z %2 zdarzeń"), {Button24, Button34},
                    [](Connection& c, const Maintenance::Progress& progress) {
                        Maintenance::DeleteAllEvents(c, progress);
                    });
    emit context_.pageSignals.eventLogChanged();
}
