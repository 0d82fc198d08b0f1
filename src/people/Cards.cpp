// Cards: the list of the selected person's cards or of the cards without owner,
// code entry, print text and validity, giving, taking away, deleting, and the
// owner look-up.
#include "people/UsersPage.h"
#include "people/CardCode.h"

#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "ui/BoundGrid.h"
#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTabWidget>

int UsersPage::selectedCardId() const
{
    return m_.Karty.isOpen() ? m_.Karty.integer(QStringLiteral("ID_CARD")) : 0;
}

// The deleted-people view has no card count: there the cards are counted.
int UsersPage::selectedUserCardCount()
{
    if (!m_.Users.isOpen())
        return 0;
    if (m_.Users.columnIndex(QStringLiteral("CARDS")) >= 0)
        return m_.Users.integer(QStringLiteral("CARDS"));
    m_.SQL.clearLines();
    m_.SQL.addLine(QStringLiteral("SELECT COUNT(*) FROM CARDS WHERE ID_USER_FK = ")
                   + QString::number(selectedUserId()));
    m_.SQL.reexecute();
    return m_.SQL.integerAt(0);
}

// Picker dates are written year-month-day, as the database reads them.
std::pair<QString, QString> UsersPage::validity(const char* fixedFrom, const char* fixedTo) const
{
    if (CheckBox1->isChecked())
        return {QString::fromLatin1(fixedFrom), QString::fromLatin1(fixedTo)};
    const QString format = QStringLiteral("yyyy-MM-dd");
    return {DateTimePicker1->date().toString(format), DateTimePicker2->date().toString(format)};
}

// Exactly 10 characters: shorter codes get leading zeros, longer ones keep their
// last 10; an empty code stays empty.
QString UsersPage::NormalizeCardCode(const QString& code) { return CardCode::normalized(code); }

// With 0, the cards without owner.
void UsersPage::RefreshUserCards(int userId)
{
    if (!connected())
        return;
    m_.Karty.setStatement(QStringLiteral("SELECT * FROM CARDS WHERE ID_USER_FK = '")
                          + QString::number(userId) + QLatin1Char('\''));
    m_.Karty.reexecute();
}

// The cards of the tab shown: the selected person's (0) or those without owner (1).
void UsersPage::RefreshCardList()
{
    if (!connected())
        return;
    if (AdvOfficePager3->currentIndex() == 0 && m_.Users.isOpen())
        RefreshUserCards(selectedUserId());
    if (AdvOfficePager3->currentIndex() == 1)
        RefreshUserCards(0);
}

void UsersPage::AdvOfficePager3Change() { RefreshCardList(); }

// The owner's names of a card code, through SQL; empty for a card without owner.
static QString ownerStatement(const QString& escapedCode)
{
    return QStringLiteral("Select USERS.FIRST_NAME,USERS.NAME  FROM CARDS,USERS WHERE CODE='")
           + escapedCode + QLatin1Char('\'') + QStringLiteral(" AND USERS.ID_USER = CARDS.ID_USER_FK ;");
}

// The new card belongs to the owner asked for, or else to the selected person; with
// nobody selected (an empty list) it is stored without owner.
int UsersPage::AddCard(const QString& code, const QString& printText, const QString& cardType,
                       const QString& validFrom, const QString& validTo, const AddOptions& options)
{
    if (!connected() || code.isEmpty())
        return 0;
    m_.SQL.clearLines();
    m_.SQL.addLine(QStringLiteral("Select COUNT(*)  FROM CARDS WHERE CODE='") + escaped(code)
                   + QLatin1Char('\'') + QLatin1Char(';'));
    m_.SQL.reexecute();
    if (m_.SQL.integerAt(0) != 0) {
        m_.SQL.clearLines();
        m_.SQL.addLine(ownerStatement(escaped(code)));
        m_.SQL.reexecute();
        dialogs_.notice(QStringLiteral("Karta z kodem: ") + code
                        + QStringLiteral(" już istnieje i nalezy do: ") + m_.SQL.textAt(0)
                        + QLatin1Char(' ') + m_.SQL.textAt(1));
        return -1;
    }
    const int owner = options.owner.value_or(selectedUserId());

    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral(
        "INSERT INTO CARDS (ID_USER_FK,CODE,TYPE,PRINT,KARENCJA_OD,KARENCJA_DO)VALUES"));
    m_.MyCommand1.addLine(QStringLiteral("('") + QString::number(owner) + QLatin1Char('\'')
                          + QLatin1Char(',') + quoted(code) + QLatin1Char(',') + quoted(cardType)
                          + QLatin1Char(',') + quoted(printText) + QLatin1Char(','));
    m_.MyCommand1.addLine(quoted(validFrom) + QLatin1Char(',') + quoted(validTo) + QStringLiteral(");"));
    m_.MyCommand1.execute();

    m_.SQL.clearLines();
    m_.SQL.addLine(QStringLiteral("Select ID_CARD  FROM CARDS WHERE CODE='") + escaped(code)
                   + QLatin1Char('\'') + QLatin1Char(';'));
    m_.SQL.reexecute();
    const int id = m_.SQL.integerAt(0);

    if (options.reloadLists) {
        RefreshUserCards(owner);   // whichever tab is shown
        m_.Users.refresh();        // the card count follows, the selection stays
    }
    m_.BumpStatusCounter(QStringLiteral("CARDS"), options.counterBumps);
    unit.commit();
    return id;
}

// Enter in the code field: upper case (ASCII only), 10 characters, add; then,
// when asked, the next person is selected whatever the result.
void UsersPage::Edit13KeyPress()
{
    Edit13->setText(CardCode::entered(Edit13->text()));
    const auto [from, to] = validity("2010-01-01", "2030-12-31");
    AddCard(Edit13->text(), Edit14->text(), QStringLiteral("1"), from, to);
    Edit13->clear();
    if (CheckBox4->isChecked() && m_.Users.isOpen())
        m_.Users.next();   // the change page and the card list stay as they are
}

// "Dodaj kartę": as Enter, but the case of the code is kept.
void UsersPage::Button8Click()
{
    Edit13->setText(NormalizeCardCode(Edit13->text()));
    const auto [from, to] = validity("2010-01-01", "2030-12-31");
    AddCard(Edit13->text(), Edit14->text(), QStringLiteral("1"), from, to);
    Edit13->clear();
}

// Writes the print field and the validity into the selected card.
void UsersPage::Button17Click()
{
    if (!connected() || selectedCardId() == 0 || selectedUserCardCount() == 0)
        return;
    const int recordNo = m_.Karty.recordNo();
    const auto [from, to] = validity("1000-01-01", "2200-12-31");
    const QString card = QString::number(selectedCardId());

    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("UPDATE CARDS SET PRINT = "));
    m_.MyCommand1.addLine(quoted(Edit14->text()));
    m_.MyCommand1.addLine(QStringLiteral(",TYPE = 1"));
    m_.MyCommand1.addLine(QStringLiteral(",KARENCJA_OD = '") + from + QLatin1Char('\''));
    m_.MyCommand1.addLine(QStringLiteral(",KARENCJA_DO = '") + to + QLatin1Char('\''));
    m_.MyCommand1.addLine(QStringLiteral("WHERE ID_CARD = ") + card);
    m_.MyCommand1.executeOnRow(QStringLiteral("tej karty"));
    RefreshCardList();
    if (m_.Karty.isOpen())
        m_.Karty.setRecordNo(recordNo);
    m_.BumpStatusCounter(QStringLiteral("CARDS"));
    unit.commit();
}

// The counter is raised even when there was nothing to give.
void UsersPage::Button16Click()
{
    if (!connected())
        return;
    Transaction unit(m_.Quorvel);
    AssignCardToUser();
    RefreshCardList();
    m_.BumpStatusCounter(QStringLiteral("CARDS"));
    unit.commit();
}

void UsersPage::AssignCardToUser()
{
    if (!connected() || selectedUserId() == 0 || selectedCardId() == 0)
        return;
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("UPDATE CARDS SET ID_USER_FK = "));
    m_.MyCommand1.addLine(QLatin1Char('\'') + QString::number(selectedUserId()) + QLatin1Char('\''));
    m_.MyCommand1.addLine(QStringLiteral("WHERE ID_CARD = ") + QString::number(selectedCardId()));
    m_.MyCommand1.execute();
    m_.Users.refresh();
}

// The card stays in the system, without owner.
void UsersPage::Button15Click()
{
    if (!connected() || selectedCardId() == 0 || selectedUserCardCount() == 0)
        return;
    const QString card = QString::number(selectedCardId());
    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("UPDATE CARDS SET ID_USER_FK = "));
    m_.MyCommand1.addLine(QStringLiteral("'0'"));
    m_.MyCommand1.addLine(QStringLiteral("WHERE ID_CARD = ") + card);
    m_.MyCommand1.execute();
    RefreshCardList();
    m_.Users.refresh();
    m_.BumpStatusCounter(QStringLiteral("CARDS"));
    unit.commit();
}

void UsersPage::Button14Click()
{
    if (!dialogs_.question(QStringLiteral("Czy usunąć kartę z systemu?")))
        return;
    if (!connected() || selectedCardId() <= 0)
        return;
    const QString card = QString::number(selectedCardId());
    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("DELETE FROM CARDS WHERE ID_CARD = "));
    m_.MyCommand1.addLine(card);
    m_.MyCommand1.execute();
    RefreshCardList();
    m_.Users.refresh();
    m_.BumpStatusCounter(QStringLiteral("CARDS"));
    unit.commit();
}

// Only when the list shows a card; an empty list does nothing.
void UsersPage::Button28Click()
{
    if (!dialogs_.question(QStringLiteral("Czy usunąć nieprzypisane karty z systemu?")))
        return;
    if (!connected() || selectedCardId() <= 0)
        return;
    Transaction unit(m_.Quorvel);
    m_.MyCommand1.clearLines();
    m_.MyCommand1.addLine(QStringLiteral("DELETE FROM CARDS WHERE ID_USER_FK = 0"));
    m_.MyCommand1.execute();
    RefreshCardList();
    m_.Users.refresh();
    m_.BumpStatusCounter(QStringLiteral("CARDS"));
    unit.commit();
}

// The code is looked up as typed; a free card, an unknown code and an owner
// without names all read "not assigned".
void UsersPage::Button33Click()
{
    const QString code = Edit17->text();
    m_.SQL.clearLines();
    m_.SQL.addLine(ownerStatement(escaped(code)));
    m_.SQL.reexecute();
    const QString firstName = m_.SQL.textAt(0);
    const QString surname = m_.SQL.textAt(1);
    if (firstName.isEmpty() && surname.isEmpty())
        dialogs_.notice(QStringLiteral("Karta nie jest przypisana"));
    else
        dialogs_.notice(QStringLiteral("Karta z kodem: ") + code + QStringLiteral(" nalezy do: ")
                        + firstName + QLatin1Char(' ') + surname);
}
