#include "app/MaintenanceBox.h"

#include "app/TForm1.h"
#include "db/Maintenance.h"
#include "db/TDataModule3.h"
#include "ui/Dialogs.h"
#include "ui/Named.h"

#include <QPushButton>
#include <QVBoxLayout>

MaintenanceBox::MaintenanceBox(TForm1& form, QWidget* parent)
    : QGroupBox(QStringLiteral("Baza danych"), parent), form_(form)
{
    setObjectName(QStringLiteral("GroupBoxDatabase"));
    Button24 = named<QPushButton>("Button24", QStringLiteral("Oczyść bazę zdarzeń z osób usunietych"), this);
    Button34 = named<QPushButton>("Button34", QStringLiteral("Usuń wszystkie zdarzenia"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Button24);
    layout->addWidget(Button34);
    connectGuarded(Button24, &QPushButton::clicked, this, form_.guard(), [this] { Button24Click(); });
    connectGuarded(Button34, &QPushButton::clicked, this, form_.guard(), [this] { Button34Click(); });
}

// Afterwards the event page runs its filter again, whichever page is shown.
void MaintenanceBox::Button24Click()
{
    TDataModule3& m = form_.dataModule();
    if (!m.Quorvel.isOpen())
        return;
    if (!form_.dialogs().question(QStringLiteral("Czy opróżnić bazę danych ze zdarzeń osób usuniętych?")))
        return;
    Maintenance::PurgeDeletedRows(m);
    form_.Button27Click();
}

void MaintenanceBox::Button34Click()
{
    TDataModule3& m = form_.dataModule();
    if (!m.Quorvel.isOpen())
        return;
    Dialogs& dialogs = form_.dialogs();
    if (!dialogs.question(QStringLiteral("Czy opróżnić bazę ze wszystkich zdarzeń ?")))
        return;
    if (!dialogs.question(QStringLiteral("Czy napewno! napewno! napewno! opróżnić bazę danych?")))
        return;
    Maintenance::DeleteAllEvents(m);
    form_.Button27Click();
}
