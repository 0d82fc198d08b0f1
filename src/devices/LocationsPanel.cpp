#include "devices/LocationsPanel.h"

#include "db/Lookups.h"
#include "db/Change.h"
#include "db/TDataModule3.h"
#include "devices/KeptRow.h"
#include "devices/TimeZones.h"
#include "ui/BoundGrid.h"
#include "ui/ErrorGuard.h"
#include "ui/ListTools.h"
#include "ui/FormPager.h"
#include "ui/Named.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

LocationsPanel::LocationsPanel(const PageContext& context, QWidget* parent)
    : QWidget(parent), context_(context), m_(context.module)
{
    auto* list = new QVBoxLayout();
    list->addWidget(new QLabel(QStringLiteral("Lista lokalizacji"), this));
    // Editable in place: a typed name is written to its location by the key.
    DBGrid8 = new BoundGrid(QStringLiteral("DBGrid8"), m_.LOCALIZATION,
                            {{QStringLiteral("NAME"), QStringLiteral("Nazawa lokalizacji"), true}}, this);
    DBGrid8->setEditable(context_.guard, [this](Dataset& dataset, int row, int column, const QString& text) {
        writeCell(m_, dataset, row, column, text);
    });
    DBGrid8->setMinimumSize(180, 300);
    list->addWidget(DBGrid8, 1);
    list->addWidget(listCount(DBGrid8, this));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addLayout(list);
    row->addWidget(buildPager(), 0, Qt::AlignTop);

    const ErrorGuard& guard = context_.guard;
    connectGuarded(DBGrid8, &BoundGrid::cellClicked, this, guard, [this] { DBGrid8CellClick(); });
    connectGuarded(DBGrid8, &BoundGrid::keyReleased, this, guard, [this] { DBGrid8KeyUp(); });
    // Whoever re-runs LOCALIZATION or walks it into the location lists, the
    // selected location stays the current row.
    selectedLocation_ = new KeptRow(m_.LOCALIZATION, QStringLiteral("ID"), this);
    connect(&context_.lookups, &Lookups::locationListFilled, selectedLocation_, &KeptRow::restore);
}

// Two tabs, each with its buttons; the form lies over both: it moves into
// whichever tab is shown.
QWidget* LocationsPanel::buildPager()
{
    GroupBox1 = buildForm();
    Button21 = named<QPushButton>("Button21", QStringLiteral("Zapisz zmiany"));
    Button22 = named<QPushButton>("Button22", QStringLiteral("Usuń lokalizację"));
    Button23 = named<QPushButton>("Button23", QStringLiteral("Dodaj"));
    AdvOfficePager16 = formPager(this, "AdvOfficePager16", GroupBox1,
                                 QStringLiteral("Edytuj / usuń lokalizację"), {Button21, Button22},
                                 QStringLiteral("Dodaj  lokalizację"), {Button23});

    const ErrorGuard& guard = context_.guard;
    connect(AdvOfficePager16, &QTabWidget::currentChanged, this,
            [this](int index) { context_.guard.run([&] { AdvOfficePager16Change(index); }); });
    connectGuarded(Button21, &QPushButton::clicked, this, guard, [this] { Button21Click(); });
    connectGuarded(Button22, &QPushButton::clicked, this, guard, [this] { Button22Click(); });
    connectGuarded(Button23, &QPushButton::clicked, this, guard, [this] { Button23Click(); });
    return AdvOfficePager16;
}

QGroupBox* LocationsPanel::buildForm()
{
    auto* frame = new QGroupBox();
    frame->setObjectName(QStringLiteral("GroupBox1"));
    auto* fields = new QFormLayout(frame);
    Edit12 = new QLineEdit(frame);
    Edit12->setObjectName(QStringLiteral("Edit12"));
    Edit12->setMaxLength(255);   // as long as the column
    fields->addRow(QStringLiteral("Nazwa"), Edit12);
    // Typed text is accepted too; it stands for no zone.
    ComboBox5 = new QComboBox(frame);
    ComboBox5->setObjectName(QStringLiteral("ComboBox5"));
    ComboBox5->setEditable(true);
    ComboBox5->setInsertPolicy(QComboBox::NoInsert);
    ComboBox5->addItems(TimeZoneTexts());
    ComboBox5->setCurrentIndex(-1);
    ComboBox5->setMinimumContentsLength(20);
    fields->addRow(QStringLiteral("Strefa czasowa "), ComboBox5);
    Memo1 = new QPlainTextEdit(frame);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setMinimumHeight(Memo1->fontMetrics().lineSpacing() * 5);
    fields->addRow(QStringLiteral("Adres obiektu"), Memo1);
    return frame;
}

int LocationsPanel::selectedLocationId() const { return selectedLocation_->key(); }
