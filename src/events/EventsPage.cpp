// The page "Zdarzenia": its controls and how they are wired.
#include "events/EventsPage.h"

#include "db/Lookups.h"
#include "db/TDataModule3.h"
#include "events/EventExport.h"
#include "events/WatchRefresh.h"
#include "ui/BoundGrid.h"
#include "ui/ErrorGuard.h"
#include "ui/GroupCombo.h"
#include "ui/Named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Both pickers start at the date stored with the form, not at today.
QDateEdit* datePicker(const char* name, QWidget* parent)
{
    auto* picker = named<QDateEdit>(name, QDate(2019, 3, 3), parent);
    picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    picker->setCalendarPopup(true);
    // The day after the last one must still be a date the statements can write.
    picker->setDateRange(QDate(1000, 1, 1), QDate(9999, 12, 30));
    return picker;
}

}  // namespace

EventsPage::EventsPage(const PageContext& context) : context_(context), m_(context.module)
{
    setObjectName(QStringLiteral("AdvOfficePager13"));

    auto* left = new QVBoxLayout();
    left->addWidget(buildGrid(), 1);
    left->addWidget(buildPageBar());

    auto* right = new QVBoxLayout();
    right->addWidget(buildFilter());
    right->addWidget(buildExport());
    right->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    export_ = std::make_unique<BackgroundExport>(BackgroundExport::Callbacks{
        [this](const EventCount& counted) {
            // Unless the operator queried since: the labels then show that query.
            if (exportGeneration_ == generation_)
                showCount(counted.text);
        },
        [this](qint64 written, qint64 total) { showExportProgress(written, total); },
        [this](const ExportOutcome& outcome) { context_.guard.run([&] { exportFinished(outcome); }); }});
    watch_ = std::make_unique<WatchRefresh>(
        [this](WatchReply& reply) { context_.guard.run([&] { applyWatchReply(reply); }); });

    connect(&context_.lookups, &Lookups::groupListFilled, this,
            [this] { fillGroupCombo(ComboBox10, context_.lookups, true); });
    connect(&context_.lookups, &Lookups::passageListFilled, this, &EventsPage::showPassageList);
    // The log changed under the page (maintenance): the filter runs again.
    // Its statements run off the GUI thread, as the watch's do: after a purge of a
    // large log the count alone would keep the window silent.
    connect(&context_.pageSignals, &PageSignals::eventLogChanged, this,
            [this] { context_.guard.run([this] {
                ++generation_;   // a refresh begun before the change is outdated
                refreshForWatch();
            }); });
}

EventsPage::~EventsPage() = default;

QWidget* EventsPage::buildGrid()
{
    DBGrid2 = new BoundGrid(QStringLiteral("DBGrid2"), m_.Events,
                            {{QStringLiteral("TIME"), QStringLiteral("Data i czas")},
                             {QStringLiteral("NAME"), QStringLiteral("Nazwisko")},
                             {QStringLiteral("FIRST_NAME"), QStringLiteral("Imię")},
                             {QStringLiteral("NAME_2"), QStringLiteral("Kontroler")},
                             {QStringLiteral("HEAD"), QStringLiteral("Głowica")},
                             {QStringLiteral("NAME_1"), QStringLiteral("Zdarzenie")}},
                            this);
    DBGrid2->setSortable(false);   // a page of the server's result keeps the server's order
    // Narrow enough for the filter beside it at 1024 pixels.
    const int widths[] = {135, 110, 90, 130, 70};
    for (int i = 0; i < 5; ++i)
        DBGrid2->setColumnWidth(i, widths[i]);
    DBGrid2->setMinimumSize(480, 400);
    return DBGrid2;
}

QWidget* EventsPage::buildPageBar()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    BitBtn1 = named<QPushButton>("BitBtn1", QStringLiteral("<<"), bar);
    BitBtn2 = named<QPushButton>("BitBtn2", QStringLiteral("<"), bar);
    Edit18 = named<QLineEdit>("Edit18", QStringLiteral("1"), bar);
    Edit18->setFixedWidth(70);
    Edit18->setAlignment(Qt::AlignRight);
    Edit18->installEventFilter(this);
    Label62 = named<QLabel>("Label62", QStringLiteral("1"), bar);
    Label62->setMinimumWidth(50);
    BitBtn3 = named<QPushButton>("BitBtn3", QStringLiteral(">"), bar);
    BitBtn4 = named<QPushButton>("BitBtn4", QStringLiteral(">>"), bar);
    Label61 = named<QLabel>("Label61", QStringLiteral("---"), bar);
    for (QPushButton* button : {BitBtn1, BitBtn2, BitBtn3, BitBtn4})
        button->setFixedWidth(44);

    row->addWidget(BitBtn1);
    row->addWidget(BitBtn2);
    row->addWidget(new QLabel(QStringLiteral("Strona"), bar));
    row->addWidget(Edit18);
    row->addWidget(new QLabel(QStringLiteral("z"), bar));
    row->addWidget(Label62);
    row->addWidget(BitBtn3);
    row->addWidget(BitBtn4);
    row->addSpacing(24);
    row->addWidget(Label61);
    row->addStretch(1);

    const ErrorGuard& guard = context_.guard;
    connectGuarded(BitBtn1, &QPushButton::clicked, this, guard, [this] { BitBtn1Click(); });
    connectGuarded(BitBtn2, &QPushButton::clicked, this, guard, [this] { BitBtn2Click(); });
    connectGuarded(BitBtn3, &QPushButton::clicked, this, guard, [this] { BitBtn3Click(); });
    connectGuarded(BitBtn4, &QPushButton::clicked, this, guard, [this] { BitBtn4Click(); });
    return bar;
}

QGroupBox* EventsPage::buildFilter()
{
    GroupBox3 = named<QGroupBox>("GroupBox3", QStringLiteral("Filtr"), this);
    auto* grid = new QGridLayout(GroupBox3);
    int row = 0;
    auto choice = [&](QCheckBox*& check, const char* checkName, const QString& caption,
                      QComboBox*& combo, const char* comboName) {
        check = named<QCheckBox>(checkName, caption, GroupBox3);
        combo = named<QComboBox>(comboName, GroupBox3);
        combo->setMinimumWidth(260);
        grid->addWidget(check, row++, 0, 1, 2);
        grid->addWidget(combo, row++, 0, 1, 2);
    };
    choice(CheckBox11, "CheckBox11", QStringLiteral("Wybrana osoba"), ComboBox9, "ComboBox9");
    choice(CheckBox12, "CheckBox12", QStringLiteral("Wybrana grupa"), ComboBox10, "ComboBox10");
    choice(CheckBox13, "CheckBox13", QStringLiteral("Wybrane przejście"), ComboBox11, "ComboBox11");
    // ComboBox9 has as many items as there are people: it must not measure them all.
    ComboBox9->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox9->setMinimumContentsLength(24);

    grid->addWidget(new QLabel(QStringLiteral("Typ zdarzenia"), GroupBox3), row++, 0, 1, 2);
    ComboBox12 = named<QComboBox>("ComboBox12", GroupBox3);
    // The position of a type is its number in TYP.
    ComboBox12->addItems({QStringLiteral("Wszystkie"), QStringLiteral("Wejście "),
                          QStringLiteral("Wyjście "), QStringLiteral("Otwarcie przyciskiem"),
                          QStringLiteral("Wejście siłowe")});
    ComboBox12->setCurrentIndex(-1);
    grid->addWidget(ComboBox12, row++, 0, 1, 2);

    RadioButton2 = named<QRadioButton>("RadioButton2", QStringLiteral("Wszystkie"), GroupBox3);
    RadioButton1 = named<QRadioButton>("RadioButton1", QStringLiteral("Dzisiejsze"), GroupBox3);
    RadioButton3 = named<QRadioButton>("RadioButton3", QStringLiteral("Z zakresu dat"), GroupBox3);
    RadioButton2->setChecked(true);
    for (QRadioButton* radio : {RadioButton2, RadioButton1, RadioButton3})
        grid->addWidget(radio, row++, 0, 1, 2);

    DateTimePicker3 = datePicker("DateTimePicker3", GroupBox3);
    DateTimePicker4 = datePicker("DateTimePicker4", GroupBox3);
    grid->addWidget(new QLabel(QStringLiteral("Od"), GroupBox3), row, 0);
    grid->addWidget(DateTimePicker3, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("Do"), GroupBox3), row, 0);
    grid->addWidget(DateTimePicker4, row++, 1);

    Button27 = named<QPushButton>("Button27", QStringLiteral("Filtruj"), GroupBox3);
    grid->addWidget(Button27, row++, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    const ErrorGuard& guard = context_.guard;
    connectGuarded(Button27, &QPushButton::clicked, this, guard, [this] { Button27Click(); });
    connectGuarded(CheckBox11, &QCheckBox::clicked, this, guard, [this] { CheckBox11Click(); });
    connectGuarded(CheckBox13, &QCheckBox::clicked, this, guard, [this] { CheckBox13Click(); });
    return GroupBox3;
}

QGroupBox* EventsPage::buildExport()
{
    auto* box = named<QGroupBox>("GroupBox4", QStringLiteral("Eksport wyfiltrowanych zdarzeń"), this);
    auto* column = new QVBoxLayout(box);
    Button30 = named<QPushButton>("Button30", QStringLiteral("Eksport do pliku CSV"), box);
    Button31 = named<QPushButton>("Button31", QStringLiteral("Export do pliku XML"), box);
    Button29 = named<QPushButton>("Button29", QStringLiteral("Eksport do EXELA"), box);
    Button29->hide();
    column->addWidget(Button30);
    column->addWidget(Button31);
    column->addWidget(Button29);
    ExportProgress = named<QProgressBar>("ExportProgress", box);
    ExportProgress->setTextVisible(true);
    ExportProgress->hide();
    ExportStop = named<QPushButton>("ExportStop", QStringLiteral("Przerwij eksport"), box);
    ExportStop->hide();
    column->addWidget(ExportProgress);
    column->addWidget(ExportStop);

    const ErrorGuard& guard = context_.guard;
    connectGuarded(Button30, &QPushButton::clicked, this, guard, [this] { Button30Click(); });
    connectGuarded(Button31, &QPushButton::clicked, this, guard, [this] { Button31Click(); });
    connectGuarded(Button29, &QPushButton::clicked, this, guard, [this] { Button29Click(); });
    connectGuarded(ExportStop, &QPushButton::clicked, this, guard, [this] { ExportStopClick(); });
    return box;
}

// A click into the page number field presses "Filtruj".
bool EventsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit18 && event->type() == QEvent::MouseButtonPress)
        context_.guard.run([this] { Edit18Click(); });
    return QWidget::eventFilter(watched, event);
}

// Item k is PassageList[k]; nothing is selected after a fill.
void EventsPage::showPassageList()
{
    QStringList names;
    for (const Tczytniki& passage : context_.lookups.PassageList)
        names << passage.name;
    const QSignalBlocker quiet(ComboBox11);
    ComboBox11->clear();
    ComboBox11->addItems(names);
    ComboBox11->setCurrentIndex(-1);
}

void EventsPage::setInitialChoices() { ComboBox12->setCurrentIndex(0); }

bool EventsPage::connected() const { return m_.Quorvel.isOpen(); }
