#include "access/AccessCheckDialog.h"

#include "access/AccessCheck.h"
#include "db/Lookups.h"
#include "db/TDataModule3.h"
#include "ui/ErrorGuard.h"
#include "ui/Named.h"

#include <QCompleter>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTextEdit>
#include <QTimeEdit>
#include <QVBoxLayout>

AccessCheckDialog::AccessCheckDialog(const PageContext& context, QWidget* parent)
    : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("AccessCheckDialog"));
    setWindowTitle(QStringLiteral("Sprawdź dostęp"));
    resize(820, 560);

    byPerson = named<QRadioButton>("AccessCheckByPerson", this);
    byPerson->setText(QStringLiteral("Osoba"));
    byPerson->setChecked(true);
    person = named<QComboBox>("AccessCheckPerson", this);
    people_ = new QStandardItemModel(this);
    person->setModel(people_);
    person->setEditable(true);
    person->setInsertPolicy(QComboBox::NoInsert);
    person->completer()->setCompletionMode(QCompleter::PopupCompletion);
    person->completer()->setFilterMode(Qt::MatchContains);
    person->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    person->setMinimumWidth(340);
    byCard = named<QRadioButton>("AccessCheckByCard", this);
    byCard->setText(QStringLiteral("Kod karty"));
    cardCode = named<QLineEdit>("AccessCheckCard", this);
    cardCode->setMinimumWidth(340);
    passage = named<QComboBox>("AccessCheckPassage", this);
    passage->setMinimumWidth(340);
    head = named<QComboBox>("AccessCheckHead", this);
    head->addItems({QStringLiteral("A"), QStringLiteral("B")});
    date = named<QDateEdit>("AccessCheckDate", this);
    date->setCalendarPopup(true);
    date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    time = named<QTimeEdit>("AccessCheckTime", this);
    time->setDisplayFormat(QStringLiteral("HH:mm"));
    nowButton = named<QPushButton>("AccessCheckNow", this);
    nowButton->setText(QStringLiteral("Teraz"));
    runButton = named<QPushButton>("AccessCheckRun", this);
    runButton->setText(QStringLiteral("Sprawdź"));
    runButton->setDefault(true);
    verdict = named<QLabel>("AccessCheckVerdict", this);
    QFont large = verdict->font();
    large.setPointSizeF(large.pointSizeF() * 1.8);
    large.setBold(true);
    verdict->setFont(large);
    reasons = named<QTextEdit>("AccessCheckReasons", this);
    reasons->setReadOnly(true);

    // Typing into either field chooses it.
    connect(person, &QComboBox::activated, byPerson, [this] { byPerson->setChecked(true); });
    connect(person->lineEdit(), &QLineEdit::textEdited, byPerson, [this] { byPerson->setChecked(true); });
    connect(cardCode, &QLineEdit::textEdited, byCard, [this] { byCard->setChecked(true); });

    auto* when = new QHBoxLayout();
    when->addWidget(date);
    when->addWidget(time);
    when->addWidget(nowButton);
    when->addStretch(1);
    auto* fields = new QFormLayout();
    fields->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    fields->addRow(byPerson, person);
    fields->addRow(byCard, cardCode);
    fields->addRow(QStringLiteral("Przejście"), passage);
    fields->addRow(QStringLiteral("Głowica"), head);
    fields->addRow(QStringLiteral("Data i godzina"), when);

    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    close->button(QDialogButtonBox::Close)->setText(QStringLiteral("Zamknij"));
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout();
    top->addLayout(fields, 1);
    top->addWidget(runButton, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(verdict);
    layout->addWidget(reasons, 1);
    layout->addWidget(close);

    const ErrorGuard& guard = context_.guard;
    connectGuarded(runButton, &QPushButton::clicked, this, guard, [this] { RunCheck(); });
    connect(nowButton, &QPushButton::clicked, this, &AccessCheckDialog::setNow);
    connect(&context_.lookups, &Lookups::passageListFilled, this, &AccessCheckDialog::showPassageList);
    showPassageList();
    setNow();
}

void AccessCheckDialog::setNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    date->setDate(now.date());
    time->setTime(QTime(now.time().hour(), now.time().minute()));
}

// Item k is PassageList[k]; the chosen passage stays chosen when it is still listed.
void AccessCheckDialog::showPassageList()
{
    const int chosen = passage->currentData().toInt();
    passage->clear();
    for (const Tczytniki& p : context_.lookups.PassageList)
        passage->addItem(p.name, p.id);
    const int index = passage->findData(chosen);
    passage->setCurrentIndex(index >= 0 ? index : (passage->count() > 0 ? 0 : -1));
}

void AccessCheckDialog::prepare()
{
    setNow();
    TDataModule3& m = context_.module;
    if (!m.Quorvel.isOpen())
        return;
    const int chosen = chosenPerson();
    Dataset people(m.Quorvel, QStringLiteral("AccessCheckPeople"));
    people.setStatement(QStringLiteral("SELECT ID_USER, FIRST_NAME, NAME FROM USERS WHERE DEL = 0 "
                                       "ORDER BY NAME, FIRST_NAME, ID_USER"));
    people.open();
    // One insertion for the whole list: thousands of people fill it at once.
    QList<QStandardItem*> items;
    for (people.first(); !people.eof(); people.next()) {
        const int id = people.integer(QStringLiteral("ID_USER"));
        QString name = (people.text(QStringLiteral("NAME")) + QLatin1Char(' ') +
                        people.text(QStringLiteral("FIRST_NAME"))).trimmed();
        if (name.isEmpty())
            name = QStringLiteral("(bez nazwiska i imienia) nr %1").arg(id);
        auto* item = new QStandardItem(name);
        item->setData(id, Qt::UserRole);
        items << item;
    }
    people_->clear();
    if (!items.isEmpty())
        people_->appendColumn(items);
    person->setCurrentIndex(person->findData(chosen));
}

// The person picked from the list, or else the first whose name matches the text
// typed; two people may show the same name.
int AccessCheckDialog::chosenPerson() const
{
    int index = person->currentIndex();
    if (index < 0 || person->itemText(index) != person->currentText())
        index = person->findText(person->currentText());
    return index >= 0 ? person->itemData(index).toInt() : 0;
}

void AccessCheckDialog::RunCheck()
{
    TDataModule3& m = context_.module;
    if (!m.Quorvel.isOpen()) {
        showMessage(QStringLiteral("Brak połączenia z bazą: wybierz DATABASE → Connect."));
        return;
    }
    AccessQuestion q;
    if (byCard->isChecked()) {
        q.cardCode = cardCode->text();
        if (q.cardCode.isEmpty()) {
            showMessage(QStringLiteral("Wpisz kod karty."));
            return;
        }
    } else {
        q.personId = chosenPerson();
        if (q.personId <= 0) {
            showMessage(QStringLiteral("Wybierz osobę z listy."));
            return;
        }
    }
    q.deviceId = passage->currentData().toInt();
    if (q.deviceId <= 0) {
        showMessage(QStringLiteral("Wybierz przejście."));
        return;
    }
    q.head = head->currentIndex() == 1 ? ReaderHead::B : ReaderHead::A;
    q.date = date->date();
    q.time = time->time();
    showAnswer(CheckAccess(m.Quorvel, q));
}

void AccessCheckDialog::showMessage(const QString& text)
{
    verdict->clear();
    reasons->setPlainText(text);
}

// The verdict in its colour; each reason a paragraph indented by its level, with
// the mark of a step that passed in green and of one that stopped in red. Names
// keep their blanks and line breaks as stored (pre-wrap).
void AccessCheckDialog::showAnswer(const AccessAnswer& answer)
{
    verdict->setText(answer.verdict());
    verdict->setStyleSheet(answer.granted ? QStringLiteral("color: #1b7f2a;")
                                          : QStringLiteral("color: #b3261e;"));
    QString html;
    for (const AccessReason& r : answer.reasons) {
        const QString mark = r.outcome == AccessReason::Pass
                                 ? QStringLiteral("<b style=\"color:#1b7f2a\">[tak]</b> ")
                             : r.outcome == AccessReason::Fail
                                 ? QStringLiteral("<b style=\"color:#b3261e\">[nie]</b> ")
                                 : QString();
        html += QStringLiteral("<p style=\"margin:0 0 3px %1px; white-space:pre-wrap\">%2%3</p>")
                    .arg(18 * r.level)
                    .arg(mark, r.text.toHtmlEscaped());
    }
    reasons->setHtml(html);
}
