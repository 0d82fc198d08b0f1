// People: the list and the selected person, adding one person or a numbered
// series, changing names and group, deleting and restoring, the deleted-people view.
#include "people/UsersPage.h"

#include "dataaccess/Errors.h"
#include "db/Lookups.h"
#include "db/TDataModule3.h"
#include "people/PeopleChanges.h"
#include "ui/BoundGrid.h"
#include "ui/Dialogs.h"
#include "ui/ListProxy.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

bool UsersPage::connected() const { return m_.Quorvel.isOpen(); }

void UsersPage::readPersonCodes()
{
    if (!personCodesStale_ || !connected())
        return;
    if (!personCodesQuery_) {
        personCodesQuery_ = new Dataset(m_.Quorvel, QStringLiteral("PersonCodes"), this);
        personCodesQuery_->setStatement(QStringLiteral(
            "SELECT ID_USER_FK, CODE FROM CARDS WHERE ID_USER_FK IS NOT NULL"));
    }
    personCodesQuery_->reexecute();
    QHash<int, QString> codes;
    for (int row = 0; row < personCodesQuery_->rowCount(); ++row) {
        QString& joined = codes[personCodesQuery_->cell(row, 0).toInt()];
        joined += personCodesQuery_->cell(row, 1);
        joined += QLatin1Char('\t');
    }
    personCodesQuery_->close();
    personCodes_ = std::move(codes);
    personCodesStale_ = false;
    DBGrid3->listProxy()->forgetSearchTexts();
}

// What a person is found by: surname, first name and the codes of their cards.
QString UsersPage::personSearchText(int row) const
{
    const Dataset& users = m_.Users;
    auto field = [&](const char* name) {
        const int column = users.columnIndex(QLatin1String(name));
        return column >= 0 && row < users.rowCount() ? users.cell(row, column) : QString();
    };
    return field("NAME") + QLatin1Char('\t') + field("FIRST_NAME") + QLatin1Char('\t')
           + personCodes_.value(field("ID_USER").toInt());
}

int UsersPage::told(const Outcome& outcome)
{
    if (!outcome.notice.isEmpty())
        dialogs_.notice(outcome.notice);
    return outcome.id;
}

QString UsersPage::chosenGroup(const QComboBox* box) const
{
    const int index = box->currentIndex();
    if (index < 0 || (box->isEditable() && box->currentText() != box->itemText(index)))
        return {};
    const int id = context_.lookups.groupId(index);
    return id > 0 ? QString::number(id) : QString();
}

// The text of a field as an integer, or the conversion error with that text.
static long long integerValue(const QLineEdit* edit)
{
    const QByteArray text = edit->text().toUtf8();
    return Dataset::toInteger(text.constData(), static_cast<unsigned long>(text.size()));
}

int UsersPage::AddUser(const QString& firstName, const QString& surname, const QString& groupNumber,
                       const QString& action)
{
    AddOptions options;
    options.action = action;
    return told(PeopleChanges::AddUser(m_, firstName, surname, groupNumber, options));
}

// Copies the selected person into the page "Zmiana danych"; a group that is not
// in the group list leaves the group box as it is.
void UsersPage::ShowSelectedUser()
{
    if (!connected() || !m_.Users.isOpen())
        return;
    Edit3->setText(m_.Users.text(QStringLiteral("FIRST_NAME")));
    Edit4->setText(m_.Users.text(QStringLiteral("NAME")));
    const int index = context_.lookups.groupIndex(m_.Users.integer(QStringLiteral("ID_GROUP")));
    if (index >= 0)
        ComboBox1->setCurrentIndex(index);
}

// Shows the person and their cards; switching the card pager runs its own refresh.
void UsersPage::DBGrid3CellClick()
{
    ShowSelectedUser();
    AdvOfficePager3->setCurrentIndex(0);
    if (AdvOfficePager3->currentIndex() == 0)
        CardChanges::RefreshUserCards(m_, CardChanges::SelectedUserId(m_));
}

void UsersPage::DBGrid3KeyUp(int, Qt::KeyboardModifiers) { DBGrid3CellClick(); }

// The fields are cleared whatever the result.
void UsersPage::Button2Click()
{
    AddUser(Edit6->text(), Edit7->text(), chosenGroup(ComboBox2));
    Edit6->clear();
    Edit7->clear();
}

void UsersPage::Button4Click()
{
    const QString notice = PeopleChanges::ChangeUser(m_, CardChanges::SelectedUserId(m_), Edit3->text(),
                                                     Edit4->text(), chosenGroup(ComboBox1));
    if (!notice.isEmpty())
        dialogs_.notice(notice);
}

// Adds "stem N" for N from the start number on, each person on their own; the
// start number then moves on by the count, so that the next series continues.
// A series that stops at an error (a lost connection) says at whom it stopped and
// how many people it had added; the fields stay as they were.
void UsersPage::Button5Click()
{
    const long long count = integerValue(Edit10);
    const long long start = integerValue(Edit11);
    const QString group = chosenGroup(ComboBox3);
    if (connected() && count > 0 && group.isEmpty()) {
        dialogs_.notice(NoGroupText);
        return;
    }
    const QString stem = Edit8->text();
    long long added = 0;
    for (long long i = 1; i <= count; ++i) {
        const QString surname = stem + QLatin1Char(' ') + QString::number(start + i - 1);
        try {
            if (AddUser(QString(), surname, group, Button5->text().trimmed()) > 0)
                ++added;
        } catch (const OperatorError& error) {
            if (count == 1)
                throw;
            throw DataAccessError(error.message() + QStringLiteral("\n\nDodawanie seryjne przerwane przy osobie „")
                                  + surname + QStringLiteral("” (") + QString::number(i) + QStringLiteral(" z ")
                                  + QString::number(count) + QStringLiteral("); dodano osób: ")
                                  + QString::number(added) + QLatin1Char('.'));
        }
    }
    Edit11->setText(QString::number(start + count));
}

// The person's cards are freed first; the person is only marked deleted.
void UsersPage::Button3Click()
{
    if (!dialogs_.question(QStringLiteral("Czy usunąć użytkownika?")))
        return;
    PeopleChanges::DeleteUser(m_, CardChanges::SelectedUserId(m_), cardView());
}

// Brings the selected deleted person back; their former cards stay free.
void UsersPage::PersonHistoryButtonClick()
{
    const int personId = CardChanges::SelectedUserId(m_);
    if (!connected() || personId == 0)
        return;
    emit context_.pageSignals.personHistoryRequested(
        personId, m_.Users.text(QStringLiteral("FIRST_NAME")) + QLatin1Char(' ') + m_.Users.text(QStringLiteral("NAME")));
}

void UsersPage::Button32Click() { PeopleChanges::RestoreUser(m_, CardChanges::SelectedUserId(m_)); }

// Switches the list between active and deleted people. The deleted ones have no
// card count.
void UsersPage::CheckBox14Click()
{
    const bool deleted = CheckBox14->isChecked();
    Button16->setEnabled(!deleted);
    Button15->setEnabled(!deleted);
    Button3->setEnabled(!deleted);
    Button32->setEnabled(deleted);
    PeopleChanges::ShowPeople(m_, deleted);
}
