#include "import/ImportPage.h"

#include "dataaccess/Errors.h"
#include "db/Lookups.h"
#include "db/TDataModule3.h"
#include "import/ImportFile.h"
#include "text/PolishPlural.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/GroupCombo.h"
#include "ui/LongWork.h"
#include "ui/ListTools.h"
#include "ui/StringGrid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QVBoxLayout>

const QString ImportPage::NoGroupText =
    QStringLiteral("Nie wybrano grupy: wybierz grupę, do której trafią importowane osoby.");

ImportPage::ImportPage(const PageContext& context) : context_(context), m_(context.module)
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
    ImportState->setTextFormat(Qt::PlainText);
    auto* progress = new QHBoxLayout();
    progress->addWidget(ImportProgress);
    progress->addWidget(ImportState, 1);

    const std::vector<int> widths = {51, 170, 170, 170, 297};
    StringGrid1 = new StringGrid(QStringLiteral("StringGrid1"), widths, 20, this);
    StringGrid1->setRowCount(2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addLayout(progress);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(listCount(StringGrid1, this));

    const ErrorGuard& guard = context_.guard;
    connectGuarded(Button35, &QPushButton::clicked, this, guard, [this] { Button35Click(); });
    connectGuarded(Button36, &QPushButton::clicked, this, guard, [this] { Button36Click(); });
    connectGuarded(ImportCheckButton, &QPushButton::clicked, this, guard,
                   [this] { ImportCheckButtonClick(); });
    connect(&context_.lookups, &Lookups::groupListFilled, this,
            [this] { fillGroupCombo(ComboBox4, context_.lookups, true); });
}

void ImportPage::Button35Click()
{
    const QString path = context_.dialogs.openFileName(QStringLiteral("csv|*.csv"));
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
    // A new file: the last import's progress and outcome no longer apply.
    ImportProgress->hide();
    ImportProgress->setRange(0, 1);
    ImportProgress->setValue(0);
    ImportState->setText(loadedText(file));
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

QString ImportPage::loadedText(const ImportFile& file)
{
    QString text = QStringLiteral("Wczytano plik: kodowanie %1.").arg(file.encodingName());
    if (file.lfLineEnds)
        text += QStringLiteral(" Plik ma końce wierszy LF (nie CR LF), więc wiele wierszy pliku "
                               "czyta się jako jeden; takich wierszy import nie przyjmie – zapisz plik "
                               "z końcami wierszy CR LF.");
    return text;
}

// The id of the chosen group as decimal text; empty when none is chosen.
QString ImportPage::chosenGroup() const
{
    const int id = context_.lookups.groupId(ComboBox4->currentIndex());
    return id > 0 ? QString::number(id) : QString();
}

void ImportPage::setStatus(int row, const QString& text) { StringGrid1->setCells(4, row, text); }

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
        context_.dialogs.notice(NoGroupText);
        return;
    }
    const int rows = StringGrid1->rowCount() - 1;
    const ImportLimits limits = ImportRows::ReadLimits(m_.Quorvel);
    const QScopedValueRollback<bool> once(importing_, true);
    LongWork work({Button35, Button36, ImportCheckButton, ComboBox4});
    ImportProgress->setRange(0, rows);
    ImportProgress->setValue(0);
    ImportProgress->show();
    ImportTally tally;
    int row = 1;
    QString status;
    const auto tell = [&](const QString& notice) {
        setStatus(row, status);
        context_.dialogs.notice(notice);
    };
    try {
        for (; row <= rows; ++row) {
            // The row in words at once, for a message box that stops at it; the
            // bar and the grid's scrolling, which paint, only now and then.
            ImportState->setText(QStringLiteral("Import: wiersz %1 z %2").arg(row).arg(rows));
            status.clear();
            ImportRows::ImportRow(m_, group, StringGrid1->cells(1, row), StringGrid1->cells(2, row),
                                  StringGrid1->cells(3, row), tally, status, tell, limits);
            setStatus(row, status);
            if (work.due() || row == rows) {
                ImportProgress->setValue(row);
                StringGrid1->showRow(row);
                work.repaintNow();
            }
        }
    } catch (const OperatorError& error) {
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
            } catch (const OperatorError&) {
            }
        }
        throw DataAccessError(error.message() + QStringLiteral("\n\n") + summary);
    }
    ImportState->setText(QStringLiteral("Import zakończony: %1 z %2; dodano osób: %3, kart: %4.")
                             .arg(rows)
                             .arg(countOf(rows, "wiersza", "wierszy", "wierszy"))
                             .arg(tally.people)
                             .arg(tally.cards));
    showInLists(tally);
}

void ImportPage::showInLists(const ImportTally& tally)
{
    if (ImportRows::ShowInLists(m_, tally))
        emit context_.pageSignals.cardsChanged();
}
