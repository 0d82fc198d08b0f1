// The layout of the page "Użytkownicy" and the wiring of its handlers: the list
// of people on the left, the person pager at the top middle, the card data at
// the top right, the code entry, the card pager and the card look-up below.
#include "people/UsersPage.h"

#include "people/CardCodeDialog.h"

#include "db/Change.h"
#include "db/TDataModule3.h"
#include "db/Lookups.h"
#include "ui/BoundGrid.h"
#include "ui/ErrorGuard.h"
#include "ui/GroupCombo.h"
#include "ui/ListTools.h"
#include "ui/Named.h"
#include "ui/ToolTips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QComboBox* groupCombo(const char* name, QWidget* parent)
{
    auto* combo = named<QComboBox>(name, parent);
    combo->setMinimumWidth(200);
    return combo;
}

QDateEdit* datePicker(const char* name, QWidget* parent)
{
    auto* picker = named<QDateEdit>(name, parent);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    picker->setDate(QDate(2019, 2, 11));
    return picker;
}

// Buttons one under another, so that long captions do not widen the page.
QWidget* buttonColumn(QWidget* parent, std::initializer_list<QWidget*> buttons)
{
    auto* column = new QWidget(parent);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* b : buttons)
        layout->addWidget(b, 0, Qt::AlignLeft);
    return column;
}

QWidget* buttonRow(QWidget* parent, std::initializer_list<QWidget*> buttons)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* b : buttons)
        layout->addWidget(b);
    layout->addStretch(1);
    return row;
}

}  // namespace

UsersPage::UsersPage(const PageContext& context)
    : context_(context), m_(context.module), dialogs_(context.dialogs)
{
    setObjectName(QStringLiteral("AdvOfficePager11"));

    // The list of people and the card area share the width by a splitter the
    // operator can move (its place is remembered with the window's).
    auto* splitter = named<QSplitter>("UsersSplitter", Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(buildPeoplePanel());
    auto* right = new QWidget(splitter);
    auto* layout = new QGridLayout(right);
    layout->setContentsMargins(0, 0, 0, 0);
    // One column of forms, the card's data beside the card list, so that the page
    // fits a 1024-pixel screen without a horizontal scroll bar.
    layout->addWidget(buildPersonPager(), 0, 0, 1, 2);
    layout->addWidget(buildCodePanel(), 1, 0, 1, 2);
    layout->addWidget(buildCardPager(), 2, 0);
    layout->addWidget(buildCardDataPanel(), 2, 1, Qt::AlignTop);
    layout->addWidget(buildLookupPanel(), 3, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(2, 1);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 4);
    splitter->setStretchFactor(1, 5);
    splitter->setSizes({420, 600});   // until the operator moves it
    auto* page = new QVBoxLayout(this);
    page->addWidget(splitter);

    connect(&context_.lookups, &Lookups::groupListFilled, this, &UsersPage::showGroupList);
    // People and cards added elsewhere (the import) show in the card list.
    connect(&context_.pageSignals, &PageSignals::cardsChanged, this,
            [this] { context_.guard.run([this] { RefreshCardList(); }); });
}

QWidget* UsersPage::buildPeoplePanel()
{
    auto* box = new QGroupBox(QStringLiteral("Lista użytkowników"), this);
    DBGrid3 = new BoundGrid(QStringLiteral("DBGrid3"), m_.Users,
                            {{QStringLiteral("FIRST_NAME"), QStringLiteral("Imię")},
                             {QStringLiteral("NAME"), QStringLiteral("Nazwisko")},
                             {QStringLiteral("NAME_1"), QStringLiteral("Grupa")},
                             {QStringLiteral("CARDS"), QStringLiteral("Karty")}},
                            box);
    // The group takes what is left; the card count stays narrow at the right.
    DBGrid3->setMinimumWidth(240);
    DBGrid3->setColumnWidth(0, 95);
    DBGrid3->setColumnWidth(1, 115);
    DBGrid3->setColumnWidth(3, 42);
    DBGrid3->horizontalHeader()->setStretchLastSection(false);
    DBGrid3->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    Button3 = named<QPushButton>("Button3", QStringLiteral("Usuń użytkownika"), box);
    Button32 = named<QPushButton>("Button32", QStringLiteral("Przywróć użytkownika"), box);
    Button32->setEnabled(false);
    PersonHistoryButton = named<QPushButton>("PersonHistoryButton", QStringLiteral("Historia zmian"), box);
    CheckBox14 = named<QCheckBox>("CheckBox14", box);
    CheckBox14->setText(QStringLiteral("Wyświetl użytkowników usuniętych"));

    PersonFind = findField("PersonFind", DBGrid3, context_.guard,
                           QStringLiteral("Zawęża listę do osób, których nazwisko, imię "
                                          "lub kod karty zawiera wpisany tekst"),
                           box, [this] { readPersonCodes(); });
    DBGrid3->listProxy()->setSearchText([this](int row) { return personSearchText(row); });
    // Every change of cards reads the people again (their card counts), and a code
    // typed into the card list is a change too: the codes are read again at the
    // next key (until then the list is found by the codes read last). Selecting a
    // person reads only Karty, which leaves the codes as they are.
    connect(&m_.Users, &Dataset::aboutToReset, this, [this] { personCodesStale_ = true; });

    auto* column = new QVBoxLayout(box);
    column->addWidget(PersonFind);
    column->addWidget(DBGrid3, 1);
    column->addWidget(listCount(DBGrid3, box));
    column->addWidget(buttonRow(box, {Button3, Button32, PersonHistoryButton}));
    column->addWidget(CheckBox14);

    const ErrorGuard& guard = context_.guard;
    connectGuarded(DBGrid3, &BoundGrid::cellClicked, this, guard, [this] { DBGrid3CellClick(); });
    connect(DBGrid3, &BoundGrid::keyReleased, this, [this](int key, Qt::KeyboardModifiers shift) {
        context_.guard.run([&] { DBGrid3KeyUp(key, shift); });
    });
    connectGuarded(Button3, &QPushButton::clicked, this, guard, [this] { Button3Click(); });
    connectGuarded(Button32, &QPushButton::clicked, this, guard, [this] { Button32Click(); });
    connectGuarded(PersonHistoryButton, &QPushButton::clicked, this, guard, [this] { PersonHistoryButtonClick(); });
    connectGuarded(CheckBox14, &QCheckBox::clicked, this, guard, [this] { CheckBox14Click(); });
    return box;
}

QWidget* UsersPage::buildPersonPager()
{
    AdvOfficePager2 = named<QTabWidget>("AdvOfficePager2", this);
    auto addSubPage = [&](const char* name, const QString& caption) {
        auto* page = named<QWidget>(name, nullptr);
        AdvOfficePager2->addTab(page, caption);
        return new QFormLayout(page);
    };

    QFormLayout* add = addSubPage("AdvOfficePage5", QStringLiteral("Dodawanie użytkownika"));
    QWidget* page = add->parentWidget();
    Edit6 = named<QLineEdit>("Edit6", page);
    Edit7 = named<QLineEdit>("Edit7", page);
    ComboBox2 = groupCombo("ComboBox2", page);
    Button2 = named<QPushButton>("Button2", QStringLiteral("Dodaj uzytkownika"), page);
    add->addRow(QStringLiteral("Imię"), Edit6);
    add->addRow(QStringLiteral("Nazwisko"), Edit7);
    add->addRow(QStringLiteral("Grupa"), ComboBox2);
    add->addRow(QString(), Button2);

    QFormLayout* change = addSubPage("AdvOfficePage6", QStringLiteral("Zmiana danych"));
    page = change->parentWidget();
    Edit3 = named<QLineEdit>("Edit3", page);
    Edit4 = named<QLineEdit>("Edit4", page);
    ComboBox1 = groupCombo("ComboBox1", page);
    Button4 = named<QPushButton>("Button4", QStringLiteral("Zmień"), page);
    change->addRow(QStringLiteral("Imię"), Edit3);
    change->addRow(QStringLiteral("Nazwisko"), Edit4);
    change->addRow(QStringLiteral("Grupa"), ComboBox1);
    change->addRow(QString(), Button4);

    QFormLayout* serial = addSubPage("AdvOfficePage7", QStringLiteral("Dodawanie seryjne"));
    page = serial->parentWidget();
    ComboBox3 = groupCombo("ComboBox3", page);
    Edit8 = named<QLineEdit>("Edit8", QStringLiteral("Nowy"), page);
    Edit10 = named<QLineEdit>("Edit10", QStringLiteral("5"), page);
    Edit11 = named<QLineEdit>("Edit11", QStringLiteral("1"), page);
    Button5 = named<QPushButton>("Button5", QStringLiteral(" Dodaj serię"), page);
    serial->addRow(QStringLiteral("Dodaj do grupy"), ComboBox3);
    serial->addRow(QStringLiteral("Nazwisko"), Edit8);
    serial->addRow(QStringLiteral("Ilość"), Edit10);
    serial->addRow(QStringLiteral("Numer początkowy"), Edit11);
    serial->addRow(QString(), Button5);

    AdvOfficePager2->tabBar()->setUsesScrollButtons(false);   // all three tabs readable
    AdvOfficePager2->setCurrentIndex(0);
    const ErrorGuard& guard = context_.guard;
    connectGuarded(Button2, &QPushButton::clicked, this, guard, [this] { Button2Click(); });
    connectGuarded(Button4, &QPushButton::clicked, this, guard, [this] { Button4Click(); });
    // Enter in the name fields does what the form's button does.
    for (QLineEdit* edit : {Edit6, Edit7})
        connect(edit, &QLineEdit::returnPressed, Button2, &QPushButton::click);
    for (QLineEdit* edit : {Edit3, Edit4})
        connect(edit, &QLineEdit::returnPressed, Button4, &QPushButton::click);
    connectGuarded(Button5, &QPushButton::clicked, this, guard, [this] { Button5Click(); });
    return AdvOfficePager2;
}

QWidget* UsersPage::buildCardDataPanel()
{
    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    Edit14 = named<QLineEdit>("Edit14", panel);
    DateTimePicker1 = datePicker("DateTimePicker1", panel);
    DateTimePicker2 = datePicker("DateTimePicker2", panel);
    CheckBox1 = named<QCheckBox>("CheckBox1", panel);
    CheckBox1->setText(QStringLiteral("Bez ograniczeń czasowch"));
    CheckBox1->setChecked(true);
    Button8 = named<QPushButton>("Button8", QStringLiteral("Dodaj kartę"), panel);
    Button17 = named<QPushButton>("Button17", QStringLiteral("Nadpisz dane karty"), panel);

    auto* fields = new QFormLayout(panel);
    fields->addRow(QStringLiteral("Nadruk"), Edit14);
    fields->addRow(QStringLiteral("Ważna od"), DateTimePicker1);
    fields->addRow(QStringLiteral("Ważna do"), DateTimePicker2);
    fields->addRow(CheckBox1);
    fields->addRow(Button8);
    fields->addRow(Button17);

    const ErrorGuard& guard = context_.guard;
    connectGuarded(Button8, &QPushButton::clicked, this, guard, [this] { Button8Click(); });
    connectGuarded(Button17, &QPushButton::clicked, this, guard, [this] { Button17Click(); });
    return panel;
}

QWidget* UsersPage::buildCodePanel()
{
    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    QFont large = font();
    large.setPointSizeF(large.pointSizeF() * 1.8);
    large.setBold(true);
    auto* label = new QLabel(QStringLiteral("Wprowadź kod karty+ ENTER"), panel);
    label->setFont(large);
    Edit13 = named<QLineEdit>("Edit13", panel);
    Edit13->setFont(large);
    Edit13->setMinimumWidth(240);
    CheckBox4 = named<QCheckBox>("CheckBox4", panel);
    CheckBox4->setText(QStringLiteral("Po dodaniu karty przejdź do następnego "));

    // What is printed on a card, converted into the code this field takes.
    CardCodeButton = named<QPushButton>("CardCodeButton", QStringLiteral("Przelicz kod z karty..."), panel);

    // The caption above the field: the page keeps its width.
    auto* layout = new QGridLayout(panel);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(Edit13, 1, 0);
    layout->addWidget(CardCodeButton, 1, 1);
    layout->addWidget(CheckBox4, 2, 0, 1, 2);
    layout->setColumnStretch(0, 1);

    connectGuarded(Edit13, &QLineEdit::returnPressed, this, context_.guard,
                   [this] { Edit13KeyPress(); });
    connectGuarded(CardCodeButton, &QPushButton::clicked, this, context_.guard,
                   [this] { CardCodeButtonClick(); });
    return panel;
}

QWidget* UsersPage::buildCardPager()
{
    AdvOfficePager3 = named<QTabWidget>("AdvOfficePager3", this);
    DBGrid7 = new BoundGrid(QStringLiteral("DBGrid7"), m_.Karty,
                            {{QStringLiteral("CODE"), QStringLiteral("Kod"), true},
                             {QStringLiteral("KARENCJA_OD"), QStringLiteral("od"), true},
                             {QStringLiteral("KARENCJA_DO"), QStringLiteral("do"), true},
                             {QStringLiteral("PRINT"), QStringLiteral("Nadruk"), true}});
    DBGrid7->setEditable(context_.guard, [this](Dataset& dataset, int row, int column, const QString& text) {
        writeCell(m_, dataset, row, column, text);
    });
    connect(DBGrid7->itemDelegate(), &QAbstractItemDelegate::commitData, this,
            [this] { personCodesStale_ = true; });
    cardCount_ = listCount(DBGrid7, nullptr);
    DBGrid7->setMinimumHeight(180);
    DBGrid7->setColumnWidth(0, 150);
    DBGrid7->setColumnWidth(1, 110);
    DBGrid7->setColumnWidth(2, 110);

    auto addSubPage = [&](const char* name, const QString& caption,
                          std::initializer_list<QWidget*> buttons) {
        auto* page = named<QWidget>(name, nullptr);
        auto* column = new QVBoxLayout(page);
        column->addWidget(buttonColumn(page, buttons));
        AdvOfficePager3->addTab(page, caption);
    };
    Button15 = named<QPushButton>("Button15", QStringLiteral("Odbierz kartę użytkownikowi"), nullptr);
    Button16 = named<QPushButton>("Button16", QStringLiteral("Przypisz do uzytkownika"), nullptr);
    Button14 = named<QPushButton>("Button14", QStringLiteral("Usuń kartę z systemu"), nullptr);
    Button28 = named<QPushButton>("Button28", QStringLiteral("Usuń wszystkie nieprzypisane karty"), nullptr);
    addSubPage("CardsOfPersonPage", QStringLiteral("Karty przypisane do użytkownika"), {Button15});
    addSubPage("CardsWithoutOwnerPage", QStringLiteral("Karty bez właścicieli"),
               {Button16, Button14, Button28});

    AdvOfficePager3->setCurrentIndex(1);
    placeCardGrid();
    connect(AdvOfficePager3, &QTabWidget::currentChanged, this, &UsersPage::placeCardGrid);
    const ErrorGuard& guard = context_.guard;
    connectGuarded(AdvOfficePager3, &QTabWidget::currentChanged, this, guard,
                   [this] { AdvOfficePager3Change(); });
    connectGuarded(Button15, &QPushButton::clicked, this, guard, [this] { Button15Click(); });
    connectGuarded(Button16, &QPushButton::clicked, this, guard, [this] { Button16Click(); });
    connectGuarded(Button14, &QPushButton::clicked, this, guard, [this] { Button14Click(); });
    connectGuarded(Button28, &QPushButton::clicked, this, guard, [this] { Button28Click(); });
    return AdvOfficePager3;
}

// One card grid serves both tabs: it moves above the buttons of the tab shown.
void UsersPage::placeCardGrid()
{
    QWidget* page = AdvOfficePager3->currentWidget();
    if (page && DBGrid7->parentWidget() != page) {
        auto* column = static_cast<QVBoxLayout*>(page->layout());
        column->insertWidget(0, DBGrid7, 1);
        column->insertWidget(1, cardCount_);
    }
}

QWidget* UsersPage::buildLookupPanel()
{
    auto* panel = new QWidget(this);
    Edit17 = named<QLineEdit>("Edit17", panel);
    Button33 = named<QPushButton>("Button33", QStringLiteral("Czyja karta"), panel);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    row->addWidget(new QLabel(QStringLiteral("Sprawdź kartę ->"), panel));
    row->addWidget(Edit17);
    row->addWidget(Button33);
    connectGuarded(Button33, &QPushButton::clicked, this, context_.guard, [this] { Button33Click(); });
    connect(Edit17, &QLineEdit::returnPressed, Button33, &QPushButton::click);
    return panel;
}

void UsersPage::showGroupList()
{
    fillGroupCombo(ComboBox1, context_.lookups, true);
    fillGroupCombo(ComboBox2, context_.lookups, true);
    fillGroupCombo(ComboBox3, context_.lookups, false);
}

// Opens the window "Przelicz kod karty" (one per page, kept between openings);
// "Użyj" there puts the code into the code field, ready for Enter.
void UsersPage::CardCodeButtonClick()
{
    if (!cardCodeDialog_) {
        cardCodeDialog_ = new CardCodeDialog(
            [this](const QString& code) {
                Edit13->setText(code);
                Edit13->setFocus();
            },
            this);
        applyToolTips(cardCodeDialog_);
    }
    cardCodeDialog_->show();
    cardCodeDialog_->raise();
    cardCodeDialog_->activateWindow();
}
