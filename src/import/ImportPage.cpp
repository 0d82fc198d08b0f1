#include "import/ImportPage.h"

#include "app/TForm1.h"
#include "dataaccess/Errors.h"
#include "db/TDataModule3.h"
#include "import/ImportFile.h"
#include "people/AddOptions.h"
#include "ui/Dialogs.h"
#include "ui/LongWork.h"
#include "ui/StringGrid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QVBoxLayout>

const QString ImportPage::UserExistsText = QStringLiteral("Błąd! Użytkownik juz istnieje");
const QString ImportPage::UserAddedText = QStringLiteral("Dodano użytkownika");
const QString ImportPage::CardExistsText = QStringLiteral("ale kata juz była w systemie");
const QString ImportPage::CardAddedText = QStringLiteral(" - dodano kartę");
const QString ImportPage::NoNamesText = QStringLiteral("Pominięto: brak imienia i nazwiska");
const QString ImportPage::FailedText = QStringLiteral("Błąd bazy danych - import przerwany");
const QString ImportPage::CardFailedText =
    QStringLiteral(" - błąd bazy danych przy dodawaniu karty, import przerwany");
const QString ImportPage::NoGroupText =
    QStringLiteral("Nie wybrano grupy: wybierz grupę, do której trafią importowane osoby.");

// The import's adds: the lists are read once at the end, and every person and card
// is counted twice (the add's own bump and the import's).
static AddOptions importAdd(std::optional<int> owner = std::nullopt)
{
    AddOptions options;
    options.reloadLists = false;
    options.counterBumps = 2;
    options.owner = owner;
    return options;
}

// The fixed validity of imported cards.
static const QString ValidFrom = QStringLiteral("2010-01-01");
static const QString ValidTo = QStringLiteral("2030-12-31");

ImportPage::ImportPage(TForm1& form) : form_(form), m_(form.dataModule())
{
    setObjectName(QStringLiteral("AdvOfficePage1"));

    Button35 = new QPushButton(QStringLiteral("Wczytaj plik z użytkownikami"), this);
    Button35->setObjectName(QStringLiteral("Button35"));
    Label65 = new QLabel(QStringLiteral("0"), this);
    Label65->setObjectName(QStringLiteral("Label65"));
    Label65->setMinimumWidth(60);
    ComboBox4 = new QComboBox(this);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    ComboBox4->setMinimumWidth(200);
    Button36 = new QPushButton(QStringLiteral("Importuj"), this);
    Button36->setObjectName(QStringLiteral("Button36"));
    // The dry run beside the import it forecasts.
    ImportCheckButton = new QPushButton(QStringLiteral("Sprawdź plik"), this);
    ImportCheckButton->setObjectName(QStringLiteral("ImportCheckButton"));

    auto* controls = new QHBoxLayout();
    controls->addWidget(Button35);
    controls->addSpacing(12);
    controls->addWidget(new QLabel(QStringLiteral("Liczba osob:"), this));
    controls->addWidget(Label65);
    controls->addSpacing(24);
    controls->addWidget(new QLabel(QStringLiteral("Wybierz grupę"), this));
    controls->addWidget(ComboBox4);
    controls->addWidget(Button36);
    controls->addWidget(ImportCheckButton);
    controls->addStretch(1);

    ImportProgress = new QProgressBar(this);
    ImportProgress->setObjectName(QStringLiteral("ImportProgress"));
    ImportProgress->setFormat(QStringLiteral("%v z %m"));
    ImportProgress->setFixedWidth(300);
    ImportProgress->setRange(0, 1);
    ImportProgress->setValue(0);
    ImportProgress->hide();
    ImportState = new QLabel(this);
    ImportState->setObjectName(QStringLiteral("ImportState"));
    ImportState->setWordWrap(true);   // the dry run's counts are a long line
    auto* progress = new QHBoxLayout();
    progress->addWidget(ImportProgress);
    progress->addWidget(ImportState, 1);

    const std::vector<int> widths = {51, 170, 170, 170, 297};
    StringGrid1 = new StringGrid(QStringLiteral("StringGrid1"), widths, 20, this);
    StringGrid1->setRowCount(2);
    int width = 2 * StringGrid1->frameWidth() + StringGrid1->verticalScrollBar()->sizeHint().width();
    for (const int w : widths)
        width += w;
    StringGrid1->setFixedWidth(width);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addLayout(progress);
    layout->addWidget(StringGrid1, 1, Qt::AlignLeft);

    const ErrorGuard& guard = form_.guard();
    connectGuarded(Button35, &QPushButton::clicked, this, guard, [this] { Button35Click(); });
    connectGuarded(Button36, &QPushButton::clicked, this, guard, [this] { Button36Click(); });
    connectGuarded(ImportCheckButton, &QPushButton::clicked, this, guard,
                   [this] { ImportCheckButtonClick(); });
    connect(&form_.lookups(), &Lookups::groupListFilled, this,
            [this] { fillGroupCombo(ComboBox4, form_.lookups(), true); });
}

void ImportPage::Button35Click()
{
    const QString path = form_.dialogs().openFileName(QStringLiteral("csv|*.csv"));
    if (!path.isEmpty())
        LoadImportFile(path);
}

// A file that cannot be opened leaves all but the titles as they were; one that
// fails part-way shows the rows read before the failure and their number.
void ImportPage::LoadImportFile(const QString& path)
{
    const QString titles[] = {QStringLiteral("nr"), QStringLiteral("Imię"), QStringLiteral("Nazwisko"),
                              QStringLiteral("Kod karty"), QStringLiteral("Status")};
    for (int column = 0; column < 5; ++column)
        StringGrid1->setCells(column, 0, titles[column]);

    const ImportFile file = readImportFile(path);
    if (!file.opened)
        throw ImportFileError(file.error);
    int count = 0;
    for (const ImportLine& line : file.lines) {
        const int row = ++count;
        if (!line.hasFields)
            continue;   // counted, but its row keeps what it showed
        StringGrid1->setCells(0, row, QString::number(row));
        StringGrid1->setCells(1, row, line.firstName);
        StringGrid1->setCells(2, row, line.surname);
        StringGrid1->setCells(3, row, line.cardCode);
    }
    if (count > 0)
        StringGrid1->setRowCount(count + 1);
    Label65->setText(QString::number(count));
    if (!file.error.isEmpty())
        throw ImportFileError(file.error);
}

// The id of the chosen group as decimal text; empty when none is chosen.
QString ImportPage::chosenGroup() const
{
    const int id = form_.lookups().groupId(ComboBox4->currentIndex());
    return id > 0 ? QString::number(id) : QString();
}

void ImportPage::setStatus(int row, const QString& text) { StringGrid1->setCells(4, row, text); }

// What the import did, for the lists at its end and for the operator.
struct ImportPage::Tally {
    int people = 0;            // persons added
    int cards = 0;             // cards added
    bool listOnLast = false;   // the list of people ends on its last row (after a person
                               // without card) or on its first (after a card)
};

// Every row is imported on its own: the person's add and the card's add are each
// one unit, begun after their duplicate test, so that no unit waits on the
// existing-person or existing-card message. The lists of people and cards are read
// once at the end. A database error stops the import at its row; the rows before
// keep what was done for them.
void ImportPage::Button36Click()
{
    if (!m_.Quorvel.isOpen() || importing_)
        return;
    const QString group = chosenGroup();
    if (group.isEmpty()) {
        form_.dialogs().notice(NoGroupText);
        return;
    }
    const int rows = StringGrid1->rowCount() - 1;
    const QScopedValueRollback<bool> once(importing_, true);
    LongWork work({Button35, Button36, ImportCheckButton, ComboBox4});
    ImportProgress->setRange(0, rows);
    ImportProgress->setValue(0);
    ImportProgress->show();
    Tally tally;
    int row = 1;
    QString status;
    try {
        for (; row <= rows; ++row) {
            // The row in words at once, for a message box that stops at it; the
            // bar and the grid's scrolling, which paint, only now and then.
            ImportState->setText(QStringLiteral("Import: wiersz %1 z %2").arg(row).arg(rows));
            status.clear();
            importRow(row, group, tally, status);
            if (work.due() || row == rows) {
                ImportProgress->setValue(row);
                StringGrid1->showRow(row);
                work.repaintNow();
            }
        }
    } catch (const DataAccessError& error) {
        setStatus(row, status.isEmpty() ? FailedText : status + CardFailedText);
        StringGrid1->showRow(row);
        const QString summary = QStringLiteral("Import przerwany w wierszu %1 z %2; dodano osób: %3, kart: %4.")
                                    .arg(row).arg(rows).arg(tally.people).arg(tally.cards);
        ImportState->setText(summary);
        // The lists show what was stored; the error that stopped the import is the
        // one told, not a second one from the lists.
        if (m_.Quorvel.isOpen()) {
            try {
                showInLists(tally);
            } catch (const DataAccessError&) {
            }
        }
        throw DataAccessError(error.message() + QStringLiteral("\n\n") + summary);
    }
    ImportState->setText(QStringLiteral("Import zakończony: %1 z %2 wierszy; dodano osób: %3, kart: %4.")
                             .arg(rows).arg(rows).arg(tally.people).arg(tally.cards));
    showInLists(tally);
}

void ImportPage::importRow(int row, const QString& group, Tally& tally, QString& status)
{
    const QString firstName = StringGrid1->cells(1, row);
    const QString surname = StringGrid1->cells(2, row);
    const QString code = StringGrid1->cells(3, row);
    if (firstName.isEmpty() && surname.isEmpty()) {
        setStatus(row, NoNamesText);   // nobody to give the card to
        return;
    }
    const int id = form_.AddUser(firstName, surname, group, importAdd());
    if (id == 0)
        throw DataError(QStringLiteral("Brak połączenia z bazą danych."));
    if (id < 0) {
        setStatus(row, UserExistsText);
        return;
    }
    ++tally.people;
    tally.listOnLast = true;
    status = UserAddedText;
    setStatus(row, status);
    if (code.isEmpty())
        return;

    // The card is stored with its owner at once: a program reading the cards never
    // sees it with another person's rights.
    const int card = form_.AddCard(code, QString(), QStringLiteral("1"), ValidFrom, ValidTo,
                                   importAdd(id));
    if (card == 0)
        throw DataError(QStringLiteral("Brak połączenia z bazą danych."));
    if (card < 0) {
        status += CardExistsText;
        setStatus(row, status);
        return;
    }
    ++tally.cards;
    tally.listOnLast = false;
    status += CardAddedText;
    setStatus(row, status);
}

void ImportPage::showInLists(const Tally& tally)
{
    if (tally.people == 0)
        return;
    m_.Users.reexecute();
    if (tally.listOnLast)
        m_.Users.last();
    if (tally.cards > 0)
        form_.RefreshCardList();
}
