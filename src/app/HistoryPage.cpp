#include "app/HistoryPage.h"

#include "db/History.h"
#include "db/TDataModule3.h"
#include "ui/BoundGrid.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/Named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

HistoryPage::HistoryPage(const PageContext& context)
    : Rows(context.module.Quorvel, QStringLiteral("History")), m_(context.module), context_(context)
{
    setObjectName(QStringLiteral("HistoryPage"));
    const ErrorGuard& guard = context_.guard;

    auto* filter = new QGridLayout();
    HistorySinceCheck = named<QCheckBox>("HistorySinceCheck", QStringLiteral("Od"), this);
    HistorySince = named<QDateEdit>("HistorySince", QDate::currentDate().addDays(-30), this);
    HistoryUntilCheck = named<QCheckBox>("HistoryUntilCheck", QStringLiteral("Do"), this);
    HistoryUntil = named<QDateEdit>("HistoryUntil", QDate::currentDate(), this);
    for (QDateEdit* date : {HistorySince, HistoryUntil}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    HistoryOperator = named<QComboBox>("HistoryOperator", this);
    HistoryOperator->addItem(QStringLiteral("(wszyscy)"));
    HistoryOperator->setMinimumWidth(140);
    HistoryKind = named<QComboBox>("HistoryKind", this);
    HistoryKind->addItem(QStringLiteral("(wszystkie)"));
    for (const HistoryLog::Kind& kind : HistoryLog::kinds())
        HistoryKind->addItem(kind.name, kind.table);
    HistoryText = named<QLineEdit>("HistoryText", this);
    HistoryText->setPlaceholderText(QStringLiteral("nazwisko, kod karty, przejście..."));
    HistoryFilter = named<QPushButton>("HistoryFilter", QStringLiteral("Filtruj"), this);
    HistoryPerson = named<QLabel>("HistoryPerson", this);
    HistoryPerson->setTextFormat(Qt::PlainText);
    HistoryAllPeople = named<QPushButton>("HistoryAllPeople", QStringLiteral("Wszystkie osoby"), this);
    HistoryAllPeople->setVisible(false);

    // Four columns, so that the page fits a small screen.
    filter->addWidget(HistorySinceCheck, 0, 0);
    filter->addWidget(HistorySince, 0, 1);
    filter->addWidget(HistoryUntilCheck, 0, 2);
    filter->addWidget(HistoryUntil, 0, 3);
    filter->addWidget(new QLabel(QStringLiteral("Operator"), this), 1, 0);
    filter->addWidget(HistoryOperator, 1, 1);
    filter->addWidget(new QLabel(QStringLiteral("Rodzaj"), this), 1, 2);
    filter->addWidget(HistoryKind, 1, 3);
    filter->addWidget(new QLabel(QStringLiteral("Tekst"), this), 2, 0);
    filter->addWidget(HistoryText, 2, 1, 1, 2);
    filter->addWidget(HistoryFilter, 2, 3);
    filter->addWidget(HistoryPerson, 3, 0, 1, 3);
    filter->addWidget(HistoryAllPeople, 3, 3);
    filter->setColumnStretch(7, 1);

    HistoryGrid = new BoundGrid(QStringLiteral("HistoryGrid"), Rows,
                                {{QStringLiteral("TIME"), QStringLiteral("Czas")},
                                 {QStringLiteral("LOGIN"), QStringLiteral("Login")},
                                 {QStringLiteral("OS_USER"), QStringLiteral("Użytkownik stacji")},
                                 {QStringLiteral("HOST"), QStringLiteral("Stacja")},
                                 {QStringLiteral("ACTION"), QStringLiteral("Akcja")},
                                 {QStringLiteral("KIND"), QStringLiteral("Rodzaj")},
                                 {QStringLiteral("ROW_KEY"), QStringLiteral("Klucz")},
                                 {QStringLiteral("LABEL"), QStringLiteral("Obiekt")},
                                 {QStringLiteral("BEFORE_VALUES"), QStringLiteral("Przed")},
                                 {QStringLiteral("AFTER_VALUES"), QStringLiteral("Po")}},
                                this);
    const int widths[] = {135, 50, 115, 105, 135, 85, 45, 190, 170};
    for (int i = 0; i < 9; ++i)
        HistoryGrid->setColumnWidth(i, widths[i]);
    HistoryGrid->horizontalHeader()->setStretchLastSection(true);
    HistoryGrid->setMinimumSize(400, 300);

    auto* bar = new QHBoxLayout();
    HistoryFirst = named<QPushButton>("HistoryFirst", QStringLiteral("<<"), this);
    HistoryPrevious = named<QPushButton>("HistoryPrevious", QStringLiteral("<"), this);
    HistoryPageNumber = named<QLineEdit>("HistoryPageNumber", QStringLiteral("1"), this);
    HistoryPageNumber->setFixedWidth(70);
    HistoryPageNumber->setAlignment(Qt::AlignRight);
    HistoryPageCount = named<QLabel>("HistoryPageCount", QStringLiteral("1"), this);
    HistoryPageCount->setMinimumWidth(50);
    HistoryNext = named<QPushButton>("HistoryNext", QStringLiteral(">"), this);
    HistoryLast = named<QPushButton>("HistoryLast", QStringLiteral(">>"), this);
    HistoryCount = named<QLabel>("HistoryCount", QStringLiteral("---"), this);
    HistoryExport = named<QPushButton>("HistoryExport", QStringLiteral("Eksport do pliku CSV"), this);
    for (QPushButton* button : {HistoryFirst, HistoryPrevious, HistoryNext, HistoryLast})
        button->setFixedWidth(44);
    bar->addWidget(HistoryFirst);
    bar->addWidget(HistoryPrevious);
    bar->addWidget(new QLabel(QStringLiteral("Strona"), this));
    bar->addWidget(HistoryPageNumber);
    bar->addWidget(new QLabel(QStringLiteral("z"), this));
    bar->addWidget(HistoryPageCount);
    bar->addWidget(HistoryNext);
    bar->addWidget(HistoryLast);
    bar->addSpacing(24);
    bar->addWidget(HistoryCount);
    bar->addStretch(1);
    bar->addWidget(HistoryExport);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filter);
    layout->addWidget(HistoryGrid, 1);
    layout->addLayout(bar);

    connectGuarded(HistoryFilter, &QPushButton::clicked, this, guard, [this] { FilterClick(); });
    connectGuarded(HistoryText, &QLineEdit::returnPressed, this, guard, [this] { FirstClick(); });
    connectGuarded(HistoryPageNumber, &QLineEdit::returnPressed, this, guard, [this] { FilterClick(); });
    connectGuarded(HistoryFirst, &QPushButton::clicked, this, guard, [this] { FirstClick(); });
    connectGuarded(HistoryPrevious, &QPushButton::clicked, this, guard, [this] { PreviousClick(); });
    connectGuarded(HistoryNext, &QPushButton::clicked, this, guard, [this] { NextClick(); });
    connectGuarded(HistoryLast, &QPushButton::clicked, this, guard, [this] { LastClick(); });
    connectGuarded(HistoryExport, &QPushButton::clicked, this, guard, [this] { ExportClick(); });
    connectGuarded(HistoryAllPeople, &QPushButton::clicked, this, guard, [this] { ClearPersonClick(); });
}

bool HistoryPage::connected() const { return m_.Quorvel.isOpen(); }

HistoryLog::Filter HistoryPage::shownFilter() const
{
    HistoryLog::Filter f;
    if (HistorySinceCheck->isChecked())
        f.since = HistorySince->date();
    if (HistoryUntilCheck->isChecked())
        f.until = HistoryUntil->date();
    if (HistoryOperator->currentIndex() > 0)
        f.login = HistoryOperator->currentText();
    if (HistoryKind->currentIndex() > 0)
        f.table = HistoryKind->currentData().toString();
    f.text = HistoryText->text();
    f.personId = personId_;
    return f;
}

// Pages count from 1: anything else shows the first page, and says so.
int HistoryPage::pageNumber()
{
    bool number = false;
    const int page = HistoryPageNumber->text().toInt(&number);
    if (number && page >= 1)
        return page;
    HistoryPageNumber->setText(QStringLiteral("1"));
    return 1;
}

void HistoryPage::FilterClick()
{
    if (!connected())
        return;
    if (!m_.recordsHistory()) {
        context_.dialogs.notice(History::MissingTableText);
        return;
    }
    HistoryLog::Filter f = shownFilter();
    if (f.personId != 0)
        f.personCards = HistoryLog::cardsOf(m_.Quorvel, f.personId);
    const Connection& c = m_.Quorvel;
    const long long count = m_.lookUp({HistoryLog::countStatement(c, f)}).textAt(0).toLongLong();
    HistoryCount->setText(QStringLiteral("liczba rekordów: ") + QString::number(count));
    HistoryPageCount->setText(QString::number(count / PageSize + 1));
    const qint64 offset = (static_cast<qint64>(pageNumber()) - 1) * PageSize;
    Rows.setStatement(HistoryLog::pageStatement(c, f, offset, PageSize));
    Rows.reexecute();
}

void HistoryPage::FirstClick()
{
    HistoryPageNumber->setText(QStringLiteral("1"));
    FilterClick();
}

void HistoryPage::PreviousClick()
{
    const int page = pageNumber();
    if (page > 1)
        HistoryPageNumber->setText(QString::number(page - 1));
    FilterClick();
}

// On the last page it does nothing at all.
void HistoryPage::NextClick()
{
    const int page = pageNumber();
    if (page >= HistoryPageCount->text().toInt())
        return;
    HistoryPageNumber->setText(QString::number(page + 1));
    FilterClick();
}

void HistoryPage::LastClick()
{
    HistoryPageNumber->setText(HistoryPageCount->text());
    FilterClick();
}

void HistoryPage::ExportClick()
{
    if (!connected())
        return;
    const QString fileName =
        context_.dialogs.saveFileName(QStringLiteral("CSV|csv"), QStringLiteral("csv"), QStringLiteral("historia"));
    if (fileName.isEmpty())
        return;
    Dataset all(m_.Quorvel, QStringLiteral("HistoryExport"));
    HistoryLog::Filter f = shownFilter();
    if (f.personId != 0)
        f.personCards = HistoryLog::cardsOf(m_.Quorvel, f.personId);
    all.setStatement(HistoryLog::pageStatement(m_.Quorvel, f, 0, 2147483647));
    all.open();
    HistoryLog::writeCsv(all, fileName);
}

void HistoryPage::FillOperatorList()
{
    const QString chosen = HistoryOperator->currentIndex() > 0 ? HistoryOperator->currentText() : QString();
    HistoryOperator->clear();
    HistoryOperator->addItem(QStringLiteral("(wszyscy)"));
    if (connected() && m_.recordsHistory())
        HistoryOperator->addItems(HistoryLog::logins(m_.Quorvel));
    HistoryOperator->setCurrentIndex(std::max(0, HistoryOperator->findText(chosen)));
}

void HistoryPage::ShowPerson(int personId, const QString& name)
{
    personId_ = personId;
    HistoryPerson->setText(QStringLiteral("Osoba: ") + name + QStringLiteral(" (z kartami)"));
    HistoryAllPeople->setVisible(personId != 0);
    FirstClick();
}

void HistoryPage::ClearPersonClick()
{
    personId_ = 0;
    HistoryPerson->clear();
    HistoryAllPeople->setVisible(false);
    FirstClick();
}
