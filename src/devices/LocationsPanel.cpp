#include "devices/LocationsPanel.h"

#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "devices/TimeZones.h"
#include "ui/BoundGrid.h"

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

LocationsPanel::LocationsPanel(TForm1& form, QWidget* parent)
    : QWidget(parent), form_(form), m_(form.dataModule())
{
    auto* list = new QVBoxLayout();
    list->addWidget(new QLabel(QStringLiteral("Lista lokalizacji"), this));
    DBGrid8 = new BoundGrid(QStringLiteral("DBGrid8"), m_.LOCALIZATION,
                            {{QStringLiteral("NAME"), QStringLiteral("Nazawa lokalizacji")}}, this);
    DBGrid8->setMinimumSize(220, 300);
    list->addWidget(DBGrid8, 1);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addLayout(list);
    row->addWidget(buildPager(), 0, Qt::AlignTop);

    const ErrorGuard& guard = form_.guard();
    connectGuarded(DBGrid8, &BoundGrid::cellClicked, this, guard, [this] { DBGrid8CellClick(); });
    connectGuarded(DBGrid8, &BoundGrid::keyReleased, this, guard, [this] { DBGrid8KeyUp(); });
    // Whoever re-runs LOCALIZATION, the selected location stays the current row.
    connect(&m_.LOCALIZATION, &Dataset::reset, this, &LocationsPanel::returnToSelectedLocation);
}

// Two tabs, each with its buttons; the form lies over both: it moves into
// whichever tab is shown.
QWidget* LocationsPanel::buildPager()
{
    AdvOfficePager16 = new QTabWidget(this);
    AdvOfficePager16->setObjectName(QStringLiteral("AdvOfficePager16"));
    GroupBox1 = buildForm();

    auto button = [&](const char* buttonName, const QString& caption) {
        auto* b = new QPushButton(caption);
        b->setObjectName(QString::fromLatin1(buttonName));
        return b;
    };
    Button21 = button("Button21", QStringLiteral("Zapisz zmiany"));
    Button22 = button("Button22", QStringLiteral("Usuń lokalizację"));
    Button23 = button("Button23", QStringLiteral("Dodaj"));
    auto addTab = [&](const QString& caption, std::initializer_list<QPushButton*> buttons) {
        auto* page = new QWidget();
        auto* layout = new QVBoxLayout(page);
        auto* buttonRow = new QHBoxLayout();
        for (QPushButton* b : buttons)
            buttonRow->addWidget(b);
        buttonRow->addStretch(1);
        layout->addLayout(buttonRow);
        layout->addStretch(1);
        AdvOfficePager16->addTab(page, caption);
    };
    addTab(QStringLiteral("Edytuj / usuń lokalizację"), {Button21, Button22});
    addTab(QStringLiteral("Dodaj  lokalizację"), {Button23});
    auto placeForm = [this](int index) {
        if (auto* layout = qobject_cast<QVBoxLayout*>(AdvOfficePager16->widget(index)->layout()))
            layout->insertWidget(0, GroupBox1);
        GroupBox1->show();
    };
    placeForm(0);
    AdvOfficePager16->setCurrentIndex(0);

    const ErrorGuard& guard = form_.guard();
    connect(AdvOfficePager16, &QTabWidget::currentChanged, this, placeForm);
    connect(AdvOfficePager16, &QTabWidget::currentChanged, this,
            [this](int index) { form_.guard().run([&] { AdvOfficePager16Change(index); }); });
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
    ComboBox5->setMinimumContentsLength(24);
    fields->addRow(QStringLiteral("Strefa czasowa "), ComboBox5);
    Memo1 = new QPlainTextEdit(frame);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setMinimumHeight(Memo1->fontMetrics().lineSpacing() * 5);
    fields->addRow(QStringLiteral("Adres obiektu"), Memo1);
    return frame;
}
