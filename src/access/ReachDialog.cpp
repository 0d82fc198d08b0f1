#include "access/ReachDialog.h"

#include "access/AccessRule.h"
#include "dataaccess/Dataset.h"
#include "db/Lookups.h"
#include "db/TDataModule3.h"
#include "ui/Dialogs.h"
#include "ui/ErrorGuard.h"
#include "ui/Named.h"

#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

QTableWidget* table(const char* name, const QStringList& titles, QWidget* parent)
{
    auto* t = named<QTableWidget>(name, 0, static_cast<int>(titles.size()), parent);
    t->setHorizontalHeaderLabels(titles);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 8);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void fill(QTableWidget* t, const QList<QStringList>& rows)
{
    t->setUpdatesEnabled(false);
    t->clearContents();
    t->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            t->setItem(r, c, new QTableWidgetItem(rows[r][c]));
    t->resizeColumnsToContents();
    t->setUpdatesEnabled(true);
}

QLabel* label(const char* name, QWidget* parent)
{
    auto* l = named<QLabel>(name, parent);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    return l;
}

}  // namespace

ReachDialog::ReachDialog(const PageContext& context, QWidget* parent)
    : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("ReachDialog"));
    setWindowTitle(QStringLiteral("Kto i dokąd wejdzie"));
    resize(1000, 600);
    tabs = named<QTabWidget>("ReachTabs", this);
    tabs->addTab(buildWho(), QStringLiteral("Kto wejdzie"));
    tabs->addTab(buildWhere(), QStringLiteral("Dokąd wejdzie"));
    tabs->addTab(buildCards(), QStringLiteral("Karty do sprawdzenia"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
}

QWidget* ReachDialog::buildWho()
{
    auto* page = new QWidget(this);
    whoPassage = named<QComboBox>("WhoPassage", page);
    whoPassage->setMinimumWidth(260);
    whoHead = named<QComboBox>("WhoHead", page);
    whoHead->addItems({QStringLiteral("A"), QStringLiteral("B")});
    whoDate = named<QDateEdit>("WhoDate", page);
    whoDate->setCalendarPopup(true);
    whoDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    whoTime = named<QTimeEdit>("WhoTime", page);
    whoTime->setDisplayFormat(QStringLiteral("HH:mm"));
    whoNow = named<QPushButton>("WhoNow", QStringLiteral("Teraz"), page);
    whoRun = named<QPushButton>("WhoRun", QStringLiteral("Pokaż"), page);
    whoFind = named<QLineEdit>("WhoFind", page);
    whoFind->setPlaceholderText(QStringLiteral("Szukaj: nazwisko, imię, grupa lub karta"));
    whoFind->setClearButtonEnabled(true);
    whoCounts = label("WhoCounts", page);
    whoTable = table("WhoTable", {"Wejdzie", "Nazwisko i imię", "Grupa", "Karta", "NMID", "Szablon", "Okres",
                                  "Powód"},
                     page);
    whoExport = named<QPushButton>("WhoExport", QStringLiteral("Zapisz CSV..."), page);

    auto* question = new QHBoxLayout();
    question->addWidget(new QLabel(QStringLiteral("Przejście"), page));
    question->addWidget(whoPassage, 1);
    question->addWidget(new QLabel(QStringLiteral("Głowica"), page));
    question->addWidget(whoHead);
    question->addWidget(whoDate);
    question->addWidget(whoTime);
    question->addWidget(whoNow);
    question->addWidget(whoRun);
    auto* find = new QHBoxLayout();
    find->addWidget(whoFind, 1);
    find->addWidget(whoExport);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(question);
    layout->addWidget(whoCounts);
    layout->addLayout(find);
    layout->addWidget(whoTable, 1);

    const ErrorGuard& guard = context_.guard;
    connectGuarded(whoRun, &QPushButton::clicked, this, guard, [this] { RunWho(); });
    connectGuarded(whoNow, &QPushButton::clicked, this, guard, [this] { setWhoNow(); });
    connectGuarded(whoExport, &QPushButton::clicked, this, guard, [this] { ExportWho(); });
    connect(whoFind, &QLineEdit::textChanged, this, [this] { FilterWho(); });
    return page;
}

QWidget* ReachDialog::buildWhere()
{
    auto* page = new QWidget(this);
    whereByPerson = named<QRadioButton>("WhereByPerson", QStringLiteral("Osoba"), page);
    whereByPerson->setChecked(true);
    wherePerson = named<QComboBox>("WherePerson", page);
    people_ = new QStandardItemModel(this);
    wherePerson->setModel(people_);
    wherePerson->setEditable(true);
    wherePerson->setInsertPolicy(QComboBox::NoInsert);
    wherePerson->completer()->setCompletionMode(QCompleter::PopupCompletion);
    wherePerson->completer()->setFilterMode(Qt::MatchContains);
    wherePerson->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    wherePerson->setMinimumWidth(300);
    whereByCard = named<QRadioButton>("WhereByCard", QStringLiteral("Kod karty"), page);
    whereCard = named<QLineEdit>("WhereCard", page);
    whereRun = named<QPushButton>("WhereRun", QStringLiteral("Pokaż"), page);
    whereSummary = label("WhereSummary", page);
    QStringList titles{"Przejście", "Głowica", "Teraz", "Powód / karta"};
    for (int day = 1; day <= 7; ++day)
        titles << WeekdayName(day);
    whereTable = table("WhereTable", titles, page);

    auto* question = new QHBoxLayout();
    question->addWidget(whereByPerson);
    question->addWidget(wherePerson, 2);
    question->addWidget(whereByCard);
    question->addWidget(whereCard, 1);
    question->addWidget(whereRun);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(question);
    layout->addWidget(whereSummary);
    layout->addWidget(whereTable, 1);

    connectGuarded(whereRun, &QPushButton::clicked, this, context_.guard, [this] { RunWhere(); });
    connect(whereCard, &QLineEdit::textEdited, whereByCard, [this] { whereByCard->setChecked(true); });
    return page;
}

QWidget* ReachDialog::buildCards()
{
    auto* page = new QWidget(this);
    cardsDays = named<QSpinBox>("CardsDays", page);
    cardsDays->setRange(0, 3650);
    cardsDays->setValue(30);
    cardsRun = named<QPushButton>("CardsRun", QStringLiteral("Pokaż"), page);
    cardsSummary = label("CardsSummary", page);
    cardsTable = table("CardsTable", {"Sprawa", "Kod", "Ważna od", "Ważna do", "Właściciel", "Grupa", "Uwagi"},
                       page);
    auto* question = new QHBoxLayout();
    question->addWidget(new QLabel(QStringLiteral("Ważność kończy się w ciągu dni:"), page));
    question->addWidget(cardsDays);
    question->addWidget(cardsRun);
    question->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(question);
    layout->addWidget(cardsSummary);
    layout->addWidget(cardsTable, 1);
    connectGuarded(cardsRun, &QPushButton::clicked, this, context_.guard, [this] { RunCards(); });
    return page;
}

bool ReachDialog::connected()
{
    if (context_.module.Quorvel.isOpen())
        return true;
    whoCounts->setText(QStringLiteral("Brak połączenia z bazą: wybierz DATABASE → Connect."));
    whereSummary->setText(whoCounts->text());
    cardsSummary->setText(whoCounts->text());
    return false;
}

void ReachDialog::prepare()
{
    const int passage = whoPassage->currentData().toInt();
    whoPassage->clear();
    for (const Tczytniki& p : context_.lookups.PassageList)
        whoPassage->addItem(p.name, p.id);
    if (whoPassage->findData(passage) >= 0)
        whoPassage->setCurrentIndex(whoPassage->findData(passage));
    setWhoNow();
    if (!connected())
        return;
    Dataset people(context_.module.Quorvel, QStringLiteral("ReachPeople"));
    people.setStatement(QStringLiteral("SELECT ID_USER, FIRST_NAME, NAME FROM USERS WHERE DEL = 0 "
                                       "ORDER BY NAME, FIRST_NAME, ID_USER"));
    people.open();
    QList<QStandardItem*> items;
    for (int r = 0; r < people.rowCount(); ++r) {
        QString name = (people.cell(r, 2) + QLatin1Char(' ') + people.cell(r, 1)).trimmed();
        if (name.isEmpty())
            name = QStringLiteral("(bez nazwiska i imienia) nr %1").arg(people.cell(r, 0));
        auto* item = new QStandardItem(name);
        item->setData(people.cell(r, 0).toInt(), Qt::UserRole);
        items << item;
    }
    people_->clear();
    if (!items.isEmpty())
        people_->appendColumn(items);
}

// The moment now at the chosen passage, in its own time zone.
void ReachDialog::setWhoNow()
{
    QDateTime now = QDateTime::currentDateTime();
    const int device = whoPassage->currentData().toInt();
    if (device > 0 && context_.module.Quorvel.isOpen())
        now = Reach::PassageNow(context_.module.Quorvel, device);
    whoDate->setDate(now.date());
    whoTime->setTime(QTime(now.time().hour(), now.time().minute()));
}

void ReachDialog::RunWho()
{
    if (!connected())
        return;
    const int device = whoPassage->currentData().toInt();
    if (device <= 0) {
        whoCounts->setText(QStringLiteral("Wybierz przejście."));
        return;
    }
    who_ = Reach::WhoCanPass(context_.module.Quorvel, device,
                             whoHead->currentIndex() == 1 ? ReaderHead::B : ReaderHead::A, whoDate->date(),
                             whoTime->time());
    QList<QStringList> rows;
    for (const WhoEntry& e : who_.entries)
        rows << QStringList{e.passes ? QStringLiteral("tak") : QStringLiteral("nie"),
                            e.personText(),
                            e.groupName,
                            e.cardCode,
                            e.passes ? QString::number(e.permissionId) : QString(),
                            e.templateName,
                            e.period,
                            e.reason};
    fill(whoTable, rows);
    for (int r = 0; r < who_.entries.size(); ++r)
        whoTable->item(r, 0)->setForeground(who_.entries[r].passes ? QColor(0x1b, 0x7f, 0x2a)
                                                                    : QColor(0xb3, 0x26, 0x1e));
    FilterWho();
}

// Hides the rows that do not contain the text typed; the counts follow.
void ReachDialog::FilterWho()
{
    const QString text = whoFind->text().trimmed();
    int shown = 0, passing = 0;
    for (int r = 0; r < who_.entries.size() && r < whoTable->rowCount(); ++r) {
        const WhoEntry& e = who_.entries[r];
        const bool match = text.isEmpty() || e.personText().contains(text, Qt::CaseInsensitive) ||
                           (e.firstName + QLatin1Char(' ') + e.surname).contains(text, Qt::CaseInsensitive) ||
                           e.groupName.contains(text, Qt::CaseInsensitive) ||
                           e.cardCode.contains(text, Qt::CaseInsensitive);
        whoTable->setRowHidden(r, !match);
        shown += match;
        passing += match && e.passes;
    }
    QString counts = who_.problem.isEmpty() ? who_.summary() : who_.problem + QLatin1Char(' ') + who_.summary();
    if (!text.isEmpty())
        counts += QStringLiteral(" Pasuje do „%1”: %2 (wejdzie: %3).").arg(text).arg(shown).arg(passing);
    whoCounts->setText(counts);
}

void ReachDialog::ExportWho()
{
    if (who_.deviceId == 0) {
        whoCounts->setText(QStringLiteral("Najpierw pokaż listę (przycisk „Pokaż”)."));
        return;
    }
    const QString fileName = context_.dialogs.saveFileName(QStringLiteral("CSV|csv"), QStringLiteral("csv"),
                                                           QStringLiteral("kto_wejdzie.csv"));
    if (fileName.isEmpty())
        return;
    QList<int> shown;
    for (int r = 0; r < who_.entries.size(); ++r)
        if (!whoTable->isRowHidden(r))
            shown << r;
    Reach::SaveWhoCsv(who_, fileName, shown);
    whoCounts->setText(whoCounts->text() + QStringLiteral(" Zapisano %1 wierszy w pliku %2.")
                                               .arg(shown.size())
                                               .arg(fileName));
}

void ReachDialog::RunWhere()
{
    if (!connected())
        return;
    int person = 0;
    QString code;
    if (whereByCard->isChecked()) {
        code = whereCard->text();
        if (code.isEmpty()) {
            whereSummary->setText(QStringLiteral("Wpisz kod karty."));
            return;
        }
    } else {
        int index = wherePerson->currentIndex();
        if (index < 0 || wherePerson->itemText(index) != wherePerson->currentText())
            index = wherePerson->findText(wherePerson->currentText());
        person = index >= 0 ? wherePerson->itemData(index).toInt() : 0;
        if (person <= 0) {
            whereSummary->setText(QStringLiteral("Wybierz osobę z listy."));
            return;
        }
    }
    const WhereAnswer a = Reach::WhereCanGo(context_.module.Quorvel, person, code);
    QList<QStringList> rows;
    for (const WherePassage& p : a.passages)
        for (const WhereHead& h : p.heads) {
            QStringList row{p.name, AccessRule::headName(h.head) + QLatin1Char(' ') + h.label,
                            h.passes ? QStringLiteral("wejdzie") : QStringLiteral("nie wejdzie"),
                            h.passes ? QStringLiteral("karta %1, NMID %2").arg(h.cardCode).arg(h.permissionId)
                                     : h.reason};
            row << h.week;
            rows << row;
        }
    fill(whereTable, rows);
    whereSummary->setText(a.subject + QStringLiteral(". ") +
                          (a.problem.isEmpty() ? a.lines().last() : a.problem));
}

void ReachDialog::RunCards()
{
    if (!connected())
        return;
    const CardsReport r = Reach::CardsNeedingAttention(context_.module.Quorvel, cardsDays->value(),
                                                       QDate::currentDate());
    QList<QStringList> rows;
    auto add = [&](const QString& what, const QList<AttentionCard>& cards) {
        for (const AttentionCard& c : cards)
            rows << QStringList{what, c.code, c.validFrom, c.validTo, c.owner, c.groupName, c.note};
    };
    add(QStringLiteral("kończy się ważność"), r.expiring);
    add(QStringLiteral("usunięta osoba lub grupa"), r.orphaned);
    add(QStringLiteral("bez ważności"), r.withoutValidity);
    fill(cardsTable, rows);
    cardsSummary->setText(QStringLiteral("Kończy się ważność: %1; ważne karty usuniętych osób lub grup: %2; "
                                         "bez daty ważności: %3.")
                              .arg(r.expiring.size())
                              .arg(r.orphaned.size())
                              .arg(r.withoutValidity.size()));
}
