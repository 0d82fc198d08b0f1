#include "events/EventsPage.h"

#include "app/TForm1.h"
#include "ui/PageLayout.h"
#include "db/TDataModule3.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

EventsPage::EventsPage(TForm1& form) : form_(form)
{
    setObjectName(QStringLiteral("AdvOfficePager13"));

    auto* filter = new QGroupBox(QStringLiteral("Filtr"), this);
    auto* fields = new QFormLayout(filter);
    ComboBox12 = new QComboBox(filter);
    ComboBox12->setObjectName(QStringLiteral("ComboBox12"));
    // The position of a type is its number in TYP.
    ComboBox12->addItems({QStringLiteral("Wszystkie"), QStringLiteral("Wejście "),
                          QStringLiteral("Wyjście "), QStringLiteral("Otwarcie przyciskiem"),
                          QStringLiteral("Wejście siłowe")});
    ComboBox12->setCurrentIndex(-1);
    fields->addRow(QStringLiteral("Zdarzenie"), ComboBox12);
    ComboBox10 = new QComboBox(filter);
    ComboBox10->setObjectName(QStringLiteral("ComboBox10"));
    ComboBox10->setMinimumWidth(200);
    fields->addRow(QStringLiteral("Wybrana grupa"), ComboBox10);
    ComboBox11 = new QComboBox(filter);
    ComboBox11->setObjectName(QStringLiteral("ComboBox11"));
    ComboBox11->setMinimumWidth(200);
    fields->addRow(QStringLiteral("Wybrane przejście"), ComboBox11);
    Button27 = new QPushButton(QStringLiteral("Filtruj"), filter);
    Button27->setObjectName(QStringLiteral("Button27"));
    fields->addRow(QString(), Button27);
    connectGuarded(Button27, &QPushButton::clicked, this, form_.guard(),
                   [this] { Button27Click(); });

    topLeftColumn(this)->addWidget(filter);

    connect(&form_.lookups(), &Lookups::groupListFilled, this,
            [this] { fillGroupCombo(ComboBox10, form_.lookups(), true); });
    connect(&form_.lookups(), &Lookups::passageListFilled, this, &EventsPage::showPassageList);
}

// Item k is PassageList[k]; nothing is selected after a fill.
void EventsPage::showPassageList()
{
    QStringList names;
    for (const Tczytniki& passage : form_.lookups().PassageList)
        names << passage.name;
    const QSignalBlocker quiet(ComboBox11);
    ComboBox11->clear();
    ComboBox11->addItems(names);
    ComboBox11->setCurrentIndex(-1);
}

void EventsPage::setInitialChoices() { ComboBox12->setCurrentIndex(0); }

// Until the filter form exists, the filter is the statement Events holds: the
// click runs it again, so that new events appear.
void EventsPage::Button27Click()
{
    TDataModule3& m = form_.dataModule();
    if (!m.Quorvel.isOpen())
        return;
    m.Events.reexecute();
}

// The person list of the filter arrives with the filter form.
void EventsPage::FillPersonList() {}
