#include "app/MaintenanceBox.h"

#include "db/Maintenance.h"
#include "db/TDataModule3.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/Named.h"

#include <QPushButton>
#include <QVBoxLayout>

MaintenanceBox::MaintenanceBox(const PageContext& context, QWidget* parent)
    : QGroupBox(QStringLiteral("Baza danych"), parent), context_(context)
{
    setObjectName(QStringLiteral("GroupBoxDatabase"));
    Button24 = named<QPushButton>("Button24", QStringLiteral("Oczyść bazę zdarzeń z osób usunietych"), this);
    Button34 = named<QPushButton>("Button34", QStringLiteral("Usuń wszystkie zdarzenia"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Button24);
    layout->addWidget(Button34);
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
    Maintenance::PurgeDeletedRows(m);
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
    Maintenance::DeleteAllEvents(m);
    emit context_.pageSignals.eventLogChanged();
}
