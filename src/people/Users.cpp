// People: the list and the selected person, adding one person or a numbered
// series, changing names and group, deleting and restoring, the deleted-people view.
#include "people/UsersPage.h"

#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "ui/BoundGrid.h"
#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

const QString UsersPage::NoGroupText = QStringLiteral("Nie wybrano grupy.");

static const QString DeletedPeopleStatement = QStringLiteral(
    "SELECT USERS.ID_USER, USERS.ID_GROUP, USERS.FIRST_NAME, USERS.NAME, GROUPS.NAME  FROM USERS, "
    "GROUPS WHERE GROUPS.ID_GROUP = USERS.ID_GROUP AND USERS.DEL =1 ORDER BY USERS.NAME");
static const QString ActivePeopleStatement = QStringLiteral(
    "SELECT  USERS.ID_USER, USERS.ID_GROUP, USERS.FIRST_NAME, USERS.NAME, GROUPS.NAME,"
    " (SELECT COUNT(*) FROM CARDS WHERE USERS.ID_USER = CARDS.ID_USER_FK) AS CARDS FROM"
    " USERS, GROUPS WHERE GROUPS.ID_GROUP = USERS.ID_GROUP AND USERS.DEL = 0"
    " ORDER BY USERS.NAME");

bool UsersPage::connected() const { return m_.Quorvel.isOpen(); }

QString UsersPage::escaped(const QString& text) const { return m_.Quorvel.escape(text); }

QString UsersPage::quoted(const QString& text) const
{
    return QLatin1Char('\'') + escaped(text) + QLatin1Char('\'');
}

int UsersPage::selectedUserId() const
{
    return m_.Users.isOpen() ? m_.Users.integer(QStringLiteral("ID_USER")) : 0;
}

QString UsersPage::chosenGroup(const QComboBox* box) const
{
    const int index = box->currentIndex();
    if (index < 0 || (box->isEditable() && box->currentText() != box->itemText(index)))
        return {};
    const int id = form_.lookups().groupId(index);
    return id > 0 ? QString::number(id) : QString();
}

// The text of a field as an integer, or the conversion error with that text.
static long long integerValue(const QLineEdit* edit)
{
    const QByteArray text = edit->text().toUtf8();
    return Dataset::toInteger(text.constData(), static_cast<unsigned long>(text.size()));
}

// Deleted people count too: their names stay taken.
int UsersPage::CountUsersByName(const QString& firstName, const QString& surname)
{
    m_.SQL.clearLines();
    m_.SQL.addLine(QStringLiteral("SELECT COUNT(*) FROM USERS WHERE FIRST_NAME = '")
                   + escaped(firstName) + QLatin1Char('\''));
    m_.SQL.addLine(QStringLiteral("AND NAME = '") + escaped(surname) + QLatin1Char('\''));
    m_.SQL.reexecute();
    return m_.SQL.integerAt(0);
}

int UsersPage::AddUser(const QString& firstName, const QString& surname, const QString& groupNumber,
                       const AddOptions& options)
{
    if (!connected() || (firstName.isEmpty() && surname.isEmpty()))
        return 0;
    // The group number goes bare into the statement: only a group's number may.
    bool isNumber = false;
    const int group = groupNumber.toInt(&isNumber);
    if (!isNumber || group <= 0 || QString::number(group) != groupNumber) {
        dialogs_.notice(NoGroupText);
        return 0;
    }
    if (CountUsersByName(firstName, surname) != 0) {
        dialogs_.notice(QStringLiteral("Osoba: ") + firstName + QStringLiteral("  ") + surname
                        + QStringLiteral("  już istnieje w bazie."));
        return -1;
    }

    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("INSERT INTO USERS (ID_GROUP, FIRST_NAME, NAME)VALUES"));
    m_.MyCommand1.addLine(QLatin1Char('(') + groupNumber + QLatin1Char(',') + quoted(firstName)
                          + QLatin1Char(',') + quoted(surname) + QStringLiteral(");"));
    m_.MyCommand1.execute();

    m_.SQL.clearLines();
    m_.SQL.addLine(QStringLiteral("SELECT ID_USER FROM USERS WHERE USERS.FIRST_NAME = '")
                   + escaped(firstName) + QLatin1Char('\'') + QStringLiteral(" AND USERS.NAME = ")
                   + quoted(surname) + QLatin1Char(';'));
    m_.SQL.reexecute();
    const int id = m_.SQL.integerAt(0);

    if (options.reloadLists) {
        m_.Users.reexecute();
        m_.Users.last();   // the last in surname order, not necessarily the new person
    }
    m_.BumpStatusCounter(QStringLiteral("USERS"), options.counterBumps);
    unit.commit();
    return id;
}

// Copies the selected person into the page "Zmiana danych"; a group that is not
// in the group list leaves the group box as it is.
void UsersPage::ShowSelectedUser()
{
    if (!connected() || !m_.Users.isOpen())
        return;
    Edit3->setText(m_.Users.text(QStringLiteral("FIRST_NAME")));
    Edit4->setText(m_.Users.text(QStringLiteral("NAME")));
    const int index = form_.lookups().groupIndex(m_.Users.integer(QStringLiteral("ID_GROUP")));
    if (index >= 0)
        ComboBox1->setCurrentIndex(index);
}

// Shows the person and their cards; switching the card pager runs its own refresh.
void UsersPage::DBGrid3CellClick()
{
    ShowSelectedUser();
    AdvOfficePager3->setCurrentIndex(0);
    if (AdvOfficePager3->currentIndex() == 0)
        RefreshUserCards(selectedUserId());
}

void UsersPage::DBGrid3KeyUp(int, Qt::KeyboardModifiers) { DBGrid3CellClick(); }

// The fields are cleared whatever the result.
void UsersPage::Button2Click()
{
    AddUser(Edit6->text(), Edit7->text(), chosenGroup(ComboBox2));
    Edit6->clear();
    Edit7->clear();
}

// Writes the change page into the selected person. Unchanged names (a change of
// group) may find the person itself once; changed names must be free.
void UsersPage::Button4Click()
{
    if (!connected() || selectedUserId() == 0)
        return;
    const QString firstName = Edit3->text();
    const QString surname = Edit4->text();
    if (firstName.isEmpty() && surname.isEmpty())
        return;   // a person keeps at least one name, as when added
    const QString group = chosenGroup(ComboBox1);
    if (group.isEmpty()) {
        dialogs_.notice(NoGroupText);
        return;
    }
    const bool namesKept = firstName == m_.Users.text(QStringLiteral("FIRST_NAME"))
                           && surname == m_.Users.text(QStringLiteral("NAME"));
    const int found = CountUsersByName(firstName, surname);
    if (namesKept ? found >= 2 : found != 0) {
        dialogs_.notice(QStringLiteral("Osoba już istnieje w bazie."));
        return;
    }
    const QString id = QString::number(selectedUserId());

    Transaction unit(m_.Quorvel);
    const int recordNo = m_.Users.recordNo();
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("UPDATE USERS SET FIRST_NAME = "));
    m_.MyCommand1.addLine(quoted(firstName) + QLatin1Char(','));
    m_.MyCommand1.addLine(QStringLiteral("NAME = '") + escaped(surname) + QStringLiteral("',"));
    m_.MyCommand1.addLine(QStringLiteral("ID_GROUP ='") + group + QLatin1Char('\''));
    m_.MyCommand1.addLine(QStringLiteral(" WHERE ID_USER ="));
    m_.MyCommand1.addLine(id);
    m_.MyCommand1.executeOnRow(QStringLiteral("tej osoby"));
    m_.Users.reexecute();
    m_.Users.setRecordNo(recordNo);
    m_.BumpStatusCounter(QStringLiteral("USERS"));
    unit.commit();
}

// Adds "stem N" for N from the start number on, each person on their own; the
// start number then moves on by the count, so that the next series continues.
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
    for (long long i = 1; i <= count; ++i)
        AddUser(QString(), stem + QLatin1Char(' ') + QString::number(start + i - 1), group);
    Edit11->setText(QString::number(start + count));
}

// The person's cards are freed first; the person is only marked deleted.
void UsersPage::Button3Click()
{
    if (!dialogs_.question(QStringLiteral("Czy usunąć użytkownika?")))
        return;
    if (!connected() || selectedUserId() == 0)
        return;
    const QString id = QString::number(selectedUserId());

    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("UPDATE CARDS SET ID_USER_FK = "));
    m_.MyCommand1.addLine(QStringLiteral("'0'"));
    m_.MyCommand1.addLine(QStringLiteral("WHERE ID_USER_FK = ") + id);
    m_.MyCommand1.execute();
    m_.BumpStatusCounter(QStringLiteral("CARDS"));
    RefreshCardList();

    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("UPDATE USERS SET DEL = 1"));
    m_.MyCommand1.addLine(QStringLiteral("WHERE ID_USER = ") + id);
    m_.MyCommand1.execute();
    m_.Users.reexecute();
    m_.BumpStatusCounter(QStringLiteral("USERS"));
    unit.commit();
}

// Brings the selected deleted person back; their former cards stay free.
void UsersPage::Button32Click()
{
    const int id = selectedUserId();
    if (id == 0)
        return;   // an empty list: there is nobody to restore
    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("UPDATE USERS SET DEL = "));
    m_.MyCommand1.addLine(QStringLiteral("'0'"));
    m_.MyCommand1.addLine(QStringLiteral(" WHERE ID_USER ="));
    m_.MyCommand1.addLine(QString::number(id));
    m_.MyCommand1.execute();
    m_.Users.reexecute();   // still the deleted people: the restored one leaves the list
    m_.BumpStatusCounter(QStringLiteral("USERS"));
    unit.commit();
}

// Switches the list between active and deleted people. The deleted ones have no
// card count. The chosen statement stays for the next "Connect".
void UsersPage::CheckBox14Click()
{
    const bool deleted = CheckBox14->isChecked();
    Button16->setEnabled(!deleted);
    Button15->setEnabled(!deleted);
    Button3->setEnabled(!deleted);
    Button32->setEnabled(deleted);
    m_.Users.setStatement(deleted ? DeletedPeopleStatement : ActivePeopleStatement);
    if (connected())
        m_.Users.reexecute();
}
