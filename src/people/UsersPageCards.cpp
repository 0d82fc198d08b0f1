// Cards: the list of the selected person's cards or of the cards without owner,
// code entry, print text and validity, giving, taking away, deleting, and the
// owner look-up.
#include "people/UsersPage.h"

#include "db/TDataModule3.h"
#include "people/CardChanges.h"
#include "people/CardCode.h"
#include "ui/BoundGrid.h"
#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTabWidget>

using namespace CardChanges;

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

CardView UsersPage::cardView() const
{
    switch (AdvOfficePager3->currentIndex()) {
    case 0: return CardView::SelectedPerson;
    case 1: return CardView::WithoutOwner;
    default: return CardView::None;
    }
}

// The cards of the tab shown: the selected person's (0) or those without owner (1).
void UsersPage::RefreshCardList() { CardChanges::RefreshCardList(m_, cardView()); }

void UsersPage::AdvOfficePager3Change() { RefreshCardList(); }

// With nobody selected (an empty list) the card is stored without owner.
int UsersPage::AddCard(const QString& code, const QString& printText, const QString& cardType,
                       const QString& validFrom, const QString& validTo)
{
    return told(CardChanges::AddCard(m_, code, printText, cardType, validFrom, validTo,
                                     SelectedUserId(m_)));
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
    if (!connected() || SelectedCardId(m_) == 0 || SelectedUserCardCount(m_) == 0)
        return;
    const auto [from, to] = validity("1000-01-01", "2200-12-31");
    OverwriteCard(m_, SelectedCardId(m_), Edit14->text(), from, to, cardView());
}

// "Przypisz do uzytkownika".
void UsersPage::Button16Click()
{
    if (connected())
        GiveCard(m_, SelectedUserId(m_), SelectedCardId(m_), cardView());
}

// "Odbierz kartę użytkownikowi".
void UsersPage::Button15Click()
{
    if (connected() && SelectedCardId(m_) != 0 && SelectedUserCardCount(m_) != 0)
        TakeCard(m_, SelectedCardId(m_), cardView());
}

void UsersPage::Button14Click()
{
    if (!dialogs_.question(QStringLiteral("Czy usunąć kartę z systemu?")))
        return;
    if (connected() && SelectedCardId(m_) > 0)
        DeleteCard(m_, SelectedCardId(m_), cardView());
}

// Only when the list shows a card; an empty list does nothing.
void UsersPage::Button28Click()
{
    if (!dialogs_.question(QStringLiteral("Czy usunąć nieprzypisane karty z systemu?")))
        return;
    if (connected() && SelectedCardId(m_) > 0)
        DeleteCardsWithoutOwner(m_, cardView());
}

// The code is looked up as typed; a free card, an unknown code and an owner
// without names all read "not assigned".
void UsersPage::Button33Click()
{
    const QString code = Edit17->text();
    const auto [firstName, surname] = CardOwner(m_, code);
    if (firstName.isEmpty() && surname.isEmpty())
        dialogs_.notice(QStringLiteral("Karta nie jest przypisana"));
    else
        dialogs_.notice(QStringLiteral("Karta z kodem: ") + code + QStringLiteral(" nalezy do: ")
                        + firstName + QLatin1Char(' ') + surname);
}
