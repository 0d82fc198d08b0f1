#include "devices/DevicesPage.h"

#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "ui/PageLayout.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

DevicesPage::DevicesPage(TForm1& form) : form_(form)
{
    setObjectName(QStringLiteral("AdvOfficePage3"));

    auto* properties = new QGroupBox(QStringLiteral("Właściwości urządzenia"), this);
    properties->setObjectName(QStringLiteral("GroupBox3"));
    auto* heads = new QHBoxLayout(properties);
    auto head = [&](const QString& caption, QComboBox*& wiegand, const char* wiegandName,
                    QComboBox*& direction, const char* directionName) {
        auto* box = new QGroupBox(caption, properties);
        auto* fields = new QFormLayout(box);
        wiegand = new QComboBox(box);
        wiegand->setObjectName(QString::fromLatin1(wiegandName));
        wiegand->setEditable(true);
        wiegand->addItems({QStringLiteral("26"), QStringLiteral("34"), QStringLiteral("40")});
        fields->addRow(QStringLiteral("Typ głowicy"), wiegand);
        direction = new QComboBox(box);
        direction->setObjectName(QString::fromLatin1(directionName));
        direction->addItems({QStringLiteral("Wejściowy"), QStringLiteral("Wyjśćiowy")});
        fields->addRow(QStringLiteral("Typ zdarzenia"), direction);
        heads->addWidget(box);
    };
    head(QStringLiteral("Czytnik A"), wiegand_a, "wiegand_a", ComboBox8, "ComboBox8");
    head(QStringLiteral("Czytnik B"), wiegand_b, "wiegand_b", ComboBox7, "ComboBox7");

    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->setFormat(QStringLiteral("%p%"));
    Gauge1->hide();

    QVBoxLayout* column = topLeftColumn(this);
    column->addWidget(properties);
    column->addWidget(Gauge1);
}

void DevicesPage::setInitialChoices()
{
    ComboBox8->setCurrentIndex(0);
    ComboBox7->setCurrentIndex(1);
    wiegand_a->setCurrentIndex(1);
    wiegand_b->setCurrentIndex(1);
}

void DevicesPage::startSaveGauge()
{
    Gauge1->setValue(0);
    Gauge1->show();
    form_.Timer2->start();
}

void DevicesPage::advanceSaveGauge()
{
    Gauge1->setValue(Gauge1->value() + 1);
    if (Gauge1->value() == 100) {
        Gauge1->setValue(0);
        Gauge1->hide();
        form_.Timer2->stop();
    }
}

// Walks the devices into PassageList, in the order of Device, and has the passage
// lists of the other pages refilled from it; leaves Device on its last row.
void DevicesPage::FillPassageLists()
{
    Dataset& device = form_.dataModule().Device;
    if (!form_.dataModule().Quorvel.isOpen() || !device.isOpen())
        return;
    Lookups& lookups = form_.lookups();
    lookups.PassageList.clear();
    device.first();
    while (!device.eof()) {
        lookups.PassageList.push_back(
            {device.text(QStringLiteral("NAME")), device.integer(QStringLiteral("ID_DEVICE"))});
        device.next();
    }
    emit lookups.passageListFilled();
}
void DevicesPage::ShowSelectedDevice() {}
