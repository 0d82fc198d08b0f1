// Cards: the card list of a person or of the cards without owner, adding a card,
// its print text and validity, giving, taking away, deleting, and the owner look-up.
#include "people/CardChanges.h"

#include "db/Change.h"
#include "db/TDataModule3.h"

int CardChanges::SelectedUserId(const TDataModule3& m)
{
    return m.Users.isOpen() ? m.Users.integer(QStringLiteral("ID_USER")) : 0;
}

int CardChanges::SelectedCardId(const TDataModule3& m)
{
    return m.Karty.isOpen() ? m.Karty.integer(QStringLiteral("ID_CARD")) : 0;
}

int CardChanges::SelectedUserCardCount(TDataModule3& m)
{
    if (!m.Users.isOpen())
        return 0;
    if (m.Users.columnIndex(QStringLiteral("CARDS")) >= 0)
        return m.Users.integer(QStringLiteral("CARDS"));
    return m.lookUp({QStringLiteral("SELECT COUNT(*) FROM CARDS WHERE ID_USER_FK = ")
                     + QString::number(SelectedUserId(m))})
        .integerAt(0);
}

void CardChanges::RefreshUserCards(TDataModule3& m, int userId)
{
    if (!m.Quorvel.isOpen())
        return;
    m.Karty.setStatement(QStringLiteral("SELECT * FROM CARDS WHERE ID_USER_FK = '")
                         + QString::number(userId) + QLatin1Char('\''));
    m.Karty.reexecute();
}

void CardChanges::RefreshCardList(TDataModule3& m, CardView view)
{
    if (!m.Quorvel.isOpen())
        return;
    if (view == CardView::SelectedPerson && m.Users.isOpen())
        RefreshUserCards(m, SelectedUserId(m));
    if (view == CardView::WithoutOwner)
        RefreshUserCards(m, 0);
}

std::pair<QString, QString> CardChanges::CardOwner(TDataModule3& m, const QString& code)
{
    const Dataset& owner = m.lookUp({QStringLiteral("Select USERS.FIRST_NAME,USERS.NAME  FROM CARDS,USERS WHERE CODE=")
                                     + m.Quorvel.quoted(code)
                                     + QStringLiteral(" AND USERS.ID_USER = CARDS.ID_USER_FK ;")});
    return {owner.textAt(0), owner.textAt(1)};
}

Outcome CardChanges::AddCard(TDataModule3& m, const QString& code, const QString& printText,
                             const QString& cardType, const QString& validFrom,
                             const QString& validTo, int owner, const AddOptions& options)
{
    if (!m.Quorvel.isOpen() || code.isEmpty())
        return {};
    const Connection& c = m.Quorvel;
    if (m.lookUp({QStringLiteral("Select COUNT(*)  FROM CARDS WHERE CODE=") + c.quoted(code)
                  + QLatin1Char(';')})
            .integerAt(0)
        != 0) {
        const auto [firstName, surname] = CardOwner(m, code);
        return {-1, QStringLiteral("Karta z kodem: ") + code + QStringLiteral(" już istnieje i nalezy do: ")
                        + firstName + QLatin1Char(' ') + surname};
    }

    int id = 0;
    Change change(m, options.action.isEmpty() ? QStringLiteral("Dodaj kartę") : options.action);
    change.onGone([&] {
        m.Users.reexecute();
        RefreshUserCards(m, 0);
    });
    // The owner may have been removed by another client meanwhile; a person marked
    // deleted still takes cards (the view of deleted people allows it).
    if (owner != 0)
        change.require(QStringLiteral("USERS"), owner, QStringLiteral("tej osoby"), false);
    change
        .run({QStringLiteral("INSERT INTO CARDS (ID_USER_FK,CODE,TYPE,PRINT,KARENCJA_OD,KARENCJA_DO)VALUES"),
              QStringLiteral("('") + QString::number(owner) + QStringLiteral("',") + c.quoted(code)
                  + QLatin1Char(',') + c.quoted(cardType) + QLatin1Char(',') + c.quoted(printText)
                  + QLatin1Char(','),
              c.quoted(validFrom) + QLatin1Char(',') + c.quoted(validTo) + QStringLiteral(");")})
        .trackInserted(QStringLiteral("CARDS"))
        .then([&] {
            id = m.lookUp({QStringLiteral("Select ID_CARD  FROM CARDS WHERE CODE=") + c.quoted(code)
                           + QLatin1Char(';')})
                     .integerAt(0);
            if (options.reloadLists) {
                RefreshUserCards(m, owner);   // whichever tab is shown
                m.Users.refresh();            // the card count follows, the selection stays
            }
        })
        .bump(QStringLiteral("CARDS"), options.counterBumps)
        .commit();
    return {id, {}};
}

void CardChanges::OverwriteCard(TDataModule3& m, int cardId, const QString& printText,
                                const QString& validFrom, const QString& validTo, CardView view)
{
    const int recordNo = m.Karty.recordNo();
    Change(m, QStringLiteral("Nadpisz dane karty"))
        .onGone([&] { RefreshCardList(m, view); })
        .track(QStringLiteral("CARDS"), cardId, QStringLiteral("tej karty"))
        .runOnRow({QStringLiteral("UPDATE CARDS SET PRINT = "), m.Quorvel.quoted(printText),
                   QStringLiteral(",TYPE = 1"),
                   QStringLiteral(",KARENCJA_OD = '") + validFrom + QLatin1Char('\''),
                   QStringLiteral(",KARENCJA_DO = '") + validTo + QLatin1Char('\''),
                   QStringLiteral("WHERE ID_CARD = ") + QString::number(cardId)},
                  QStringLiteral("tej karty"))
        .then([&] {
            RefreshCardList(m, view);
            if (m.Karty.isOpen())
                m.Karty.setRecordNo(recordNo);
        })
        .bump(QStringLiteral("CARDS"))
        .commit();
}

void CardChanges::GiveCard(TDataModule3& m, int userId, int cardId, CardView view)
{
    if (!m.Quorvel.isOpen())
        return;
    Change change(m, QStringLiteral("Przypisz do uzytkownika"));
    if (userId != 0 && cardId != 0)
        change
            .onGone([&] {
                m.Users.reexecute();
                RefreshCardList(m, view);
            })
            .require(QStringLiteral("USERS"), userId, QStringLiteral("tej osoby"))
            .track(QStringLiteral("CARDS"), cardId, QStringLiteral("tej karty"))
            .run({QStringLiteral("UPDATE CARDS SET ID_USER_FK = "),
                  QLatin1Char('\'') + QString::number(userId) + QLatin1Char('\''),
                  QStringLiteral("WHERE ID_CARD = ") + QString::number(cardId)})
            .refresh(m.Users);
    change.then([&] { RefreshCardList(m, view); }).bump(QStringLiteral("CARDS")).commit();
}

namespace {

// The change of a card (`cardId`, or with 0 the cards without owner) that ends
// with both lists read again.
void cardChange(TDataModule3& m, const QString& action, int cardId, const QStringList& statement,
                CardView view)
{
    Change change(m, action);
    change.onGone([&] {
        CardChanges::RefreshCardList(m, view);
        m.Users.refresh();
    });
    if (cardId != 0)
        change.track(QStringLiteral("CARDS"), cardId, QStringLiteral("tej karty"), Change::Gone::AlreadyRemoved);
    else
        change.trackWhere(QStringLiteral("CARDS"), QStringLiteral("ID_USER_FK = 0"));
    change
        .run(statement)
        .then([&] { CardChanges::RefreshCardList(m, view); })
        .refresh(m.Users)
        .bump(QStringLiteral("CARDS"))
        .commit();
}

}  // namespace

void CardChanges::TakeCard(TDataModule3& m, int cardId, CardView view)
{
    cardChange(m, QStringLiteral("Odbierz kartę użytkownikowi"), cardId,
               {QStringLiteral("UPDATE CARDS SET ID_USER_FK = "), QStringLiteral("'0'"),
                QStringLiteral("WHERE ID_CARD = ") + QString::number(cardId)},
               view);
}

void CardChanges::DeleteCard(TDataModule3& m, int cardId, CardView view)
{
    cardChange(m, QStringLiteral("Usuń kartę z systemu"), cardId,
               {QStringLiteral("DELETE FROM CARDS WHERE ID_CARD = "), QString::number(cardId)}, view);
}

void CardChanges::DeleteCardsWithoutOwner(TDataModule3& m, CardView view)
{
    cardChange(m, QStringLiteral("Usuń wszystkie nieprzypisane karty"), 0,
               {QStringLiteral("DELETE FROM CARDS WHERE ID_USER_FK = 0")}, view);
}
