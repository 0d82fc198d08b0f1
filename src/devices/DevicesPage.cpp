#include "devices/DevicesPage.h"

#include "db/Lookups.h"
#include "db/TDataModule3.h"
#include "ui/BoundGrid.h"
#include "ui/ErrorGuard.h"
#include "ui/FormPager.h"
#include "ui/ListTools.h"
#include "ui/Named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

DevicesPage::DevicesPage(const PageContext& context) : context_(context), m_(context.module)
{
    setObjectName(QStringLiteral("AdvOfficePage3"));

    // The list takes the width the form leaves; the splitter between them moves.
    auto* splitter = named<QSplitter>("DevicesSplitter", Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(buildDeviceList());
    auto* form = new QWidget(splitter);
    auto* formColumn = new QVBoxLayout(form);
    formColumn->setContentsMargins(0, 0, 0, 0);
    formColumn->addWidget(buildPager());
    formColumn->addStretch(1);
    splitter->addWidget(form);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    auto* row = new QHBoxLayout(this);
    row->addWidget(splitter);

    connect(&context_.lookups, &Lookups::locationListFilled, this, &DevicesPage::showLocationList);
    // Whoever re-runs Device (a device or location change, a rollback) or walks it
    // into the passage lists, the selected device stays the current row.
    selectedDevice_ = new KeptRow(m_.Device, QStringLiteral("ID_DEVICE"), this);
    connect(&context_.lookups, &Lookups::passageListFilled, selectedDevice_, &KeptRow::restore);
}

QWidget* DevicesPage::buildDeviceList()
{
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QHBoxLayout();
    caption->addWidget(new QLabel(QStringLiteral("Lista urządeń"), panel));
    caption->addStretch(1);
    layout->addLayout(caption);
    DBGrid1 = new BoundGrid(QStringLiteral("DBGrid1"), m_.Device,
                            {{QStringLiteral("FACTORY"), QStringLiteral("Nume fabryczny")},
                             {QStringLiteral("NAME"), QStringLiteral("Nazwa")},
                             {QStringLiteral("IP"), QStringLiteral("IP")},
                             {QStringLiteral("LOKALIZACJA"), QStringLiteral("Lokalizacja")}},
                            panel);
    DBGrid1->setColumnWidth(0, 130);
    DBGrid1->setColumnWidth(1, 200);
    DBGrid1->setColumnWidth(2, 120);
    // Narrow enough for the form beside it at 1024 pixels; wider windows widen it.
    DBGrid1->setMinimumSize(300, 300);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(listCount(DBGrid1, panel));
    DeviceFind = findField("DeviceFind", DBGrid1, context_.guard,
                           QStringLiteral("Zawęża listę do urządzeń, których numer, nazwa, IP "
                                          "lub lokalizacja zawiera wpisany tekst"),
                           panel);
    DeviceFind->setMaximumWidth(260);
    caption->addWidget(DeviceFind);

    const ErrorGuard& guard = context_.guard;
    connectGuarded(DBGrid1, &BoundGrid::cellClicked, this, guard, [this] { DBGrid1CellClick(); });
    connectGuarded(DBGrid1, &BoundGrid::keyReleased, this, guard, [this] { DBGrid1KeyUp(); });
    return panel;
}

// Two tabs, each with its buttons; the frame "Właściwości urządzenia" lies over
// both: it moves into whichever tab is shown.
QWidget* DevicesPage::buildPager()
{
    GroupBox2 = buildProperties();
    Button18 = named<QPushButton>("Button18", QStringLiteral("Zapisz zmiany"));
    Button19 = named<QPushButton>("Button19", QStringLiteral("Usuń urządzenie"));
    Button20 = named<QPushButton>("Button20", QStringLiteral("Dodaj"));
    AdvOfficePager8 = formPager(this, "AdvOfficePager8", GroupBox2,
                                QStringLiteral("Edytuj/ usuń  urządzenie"), {Button18, Button19},
                                QStringLiteral("Dodaj nowe  urządzenie"), {Button20});

    const ErrorGuard& guard = context_.guard;
    connect(AdvOfficePager8, &QTabWidget::currentChanged, this,
            [this](int index) { context_.guard.run([&] { AdvOfficePager8Change(index); }); });
    connectGuarded(Button18, &QPushButton::clicked, this, guard, [this] { Button18Click(); });
    connectGuarded(Button19, &QPushButton::clicked, this, guard, [this] { Button19Click(); });
    connectGuarded(Button20, &QPushButton::clicked, this, guard, [this] { Button20Click(); });
    return AdvOfficePager8;
}

// The form holds what a new device is given at first; a text field is as long as
// its column, so that nothing typed is refused by the server for its length.
QGroupBox* DevicesPage::buildProperties()
{
    auto* frame = new QGroupBox(QStringLiteral("Właściwości urządzenia"));
    frame->setObjectName(QStringLiteral("GroupBox2"));
    auto* fields = new QFormLayout(frame);
    auto field = [&](const char* fieldName, const QString& label, int maxLength,
                     const QString& text = QString()) {
        auto* edit = new QLineEdit(text, frame);
        edit->setObjectName(QString::fromLatin1(fieldName));
        edit->setMaxLength(maxLength);
        edit->setMinimumWidth(260);
        fields->addRow(label, edit);
        return edit;
    };
    name = field("name", QStringLiteral("Nazwa"), 255);
    factory = field("factory", QStringLiteral("Numer fabryczny"), 64);
    ip = field("ip", QStringLiteral("IP"), 64);
    mask = field("mask", QStringLiteral("Maska"), 64, QStringLiteral("255.255.255.0"));
    getway = field("getway", QStringLiteral("Brama"), 64);
    ip_serwera = field("ip_serwera", QStringLiteral("IP serwera"), 64);
    Port_serwera = field("Port_serwera", QStringLiteral("Port serwera"), 11, QStringLiteral("36156"));

    TrackBar1 = new QSlider(Qt::Horizontal, frame);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(0, 60);
    TrackBar1->setSingleStep(1);
    TrackBar1->setPageStep(5);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setTickInterval(5);
    TrackBar1->setValue(5);
    Label51 = new QLabel(QStringLiteral("Label51"), frame);
    Label51->setObjectName(QStringLiteral("Label51"));
    Label51->setMinimumWidth(Label51->fontMetrics().horizontalAdvance(QStringLiteral("Label51")));
    auto* relay = new QHBoxLayout();
    relay->addWidget(TrackBar1, 1);
    relay->addWidget(Label51);
    fields->addRow(QStringLiteral("Czas przekaźnika"), relay);
    connectGuarded(TrackBar1, &QSlider::valueChanged, this, context_.guard,
                   [this] { TrackBar1Change(); });

    ComboBox6 = new QComboBox(frame);
    ComboBox6->setObjectName(QStringLiteral("ComboBox6"));
    fields->addRow(QStringLiteral("Lokalizacja"), ComboBox6);

    AdvOfficePager19 = new QTabWidget(frame);
    AdvOfficePager19->setObjectName(QStringLiteral("AdvOfficePager19"));
    AdvOfficePager19->addTab(buildHead(Edit15, "Edit15", QStringLiteral("Nazwa glowicy A"),
                                       wiegand_a, "wiegand_a", ComboBox8, "ComboBox8", CheckBox10,
                                       "CheckBox10", QStringLiteral("Rejestruj zdarzeia")),
                             QStringLiteral("Czytnik A"));
    AdvOfficePager19->addTab(buildHead(Edit16, "Edit16", QStringLiteral("Nazwa głowicy B"),
                                       wiegand_b, "wiegand_b", ComboBox7, "ComboBox7", CheckBox9,
                                       "CheckBox9", QStringLiteral("Rejestruj zdarzenia")),
                             QStringLiteral("Czytnik B"));
    fields->addRow(AdvOfficePager19);

    Gauge1 = new QProgressBar(frame);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->setFormat(QStringLiteral("%p%"));
    Gauge1->hide();
    fields->addRow(Gauge1);
    return frame;
}

QWidget* DevicesPage::buildHead(QLineEdit*& headName, const char* headNameName,
                                const QString& headLabel, QComboBox*& wiegand,
                                const char* wiegandName, QComboBox*& direction,
                                const char* directionName, QCheckBox*& record,
                                const char* recordName, const QString& recordCaption)
{
    auto* page = new QWidget();
    auto* fields = new QFormLayout(page);
    headName = new QLineEdit(QString::fromLatin1(headNameName), page);
    headName->setObjectName(QString::fromLatin1(headNameName));
    headName->setMaxLength(255);
    fields->addRow(headLabel, headName);
    wiegand = new QComboBox(page);
    wiegand->setObjectName(QString::fromLatin1(wiegandName));
    wiegand->setEditable(true);
    wiegand->setInsertPolicy(QComboBox::NoInsert);
    wiegand->lineEdit()->setMaxLength(16);
    wiegand->addItems({QStringLiteral("26"), QStringLiteral("34"), QStringLiteral("40")});
    fields->addRow(QStringLiteral("Typ głowicy"), wiegand);
    direction = new QComboBox(page);
    direction->setObjectName(QString::fromLatin1(directionName));
    direction->addItems({QStringLiteral("Wejściowy"), QStringLiteral("Wyjśćiowy")});
    fields->addRow(QStringLiteral("Typ zdarzenia"), direction);
    record = new QCheckBox(recordCaption, page);
    record->setObjectName(QString::fromLatin1(recordName));
    record->setChecked(true);
    fields->addRow(record);
    return page;
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
    emit saveGaugeStarted();
}

void DevicesPage::advanceSaveGauge()
{
    Gauge1->setValue(Gauge1->value() + 1);
    if (Gauge1->value() == 100) {
        Gauge1->setValue(0);
        Gauge1->hide();
        emit saveGaugeFinished();
    }
}

void DevicesPage::TrackBar1Change() { Label51->setText(QString::number(TrackBar1->value())); }
