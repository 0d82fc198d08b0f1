#pragma once

#include "people/AddOptions.h"

#include <QString>

class TDataModule3;

// What an operation that may refuse did: `id` is the new row's key (0 when nothing
// was done, -1 when the row exists already) and `notice` what the operator is to
// be told (empty when nothing).
struct Outcome {
    int id = 0;
    QString notice;
};

// Which cards the card list shows: the selected person's, those without owner,
// or none (another tab).
enum class CardView { SelectedPerson, WithoutOwner, None };

// The cards: the card list, adding a card, its print text and validity, giving,
// taking away and deleting cards, and a card's owner. Each change is one unit
// with its re-reads and its counter bumps.
namespace CardChanges {

// The selected person's ID_USER and the selected card's ID_CARD; 0 when the list
// is closed or empty.
int SelectedUserId(const TDataModule3& m);
int SelectedCardId(const TDataModule3& m);
// The selected person's cards; the deleted-people view has no card count, so
// there they are counted.
int SelectedUserCardCount(TDataModule3& m);

// The cards of one person into Karty; with 0, the cards without owner.
void RefreshUserCards(TDataModule3& m, int userId);
// The cards the card list shows, read again.
void RefreshCardList(TDataModule3& m, CardView view);

// The owner's first name and surname of a card code, as typed; both empty for a
// card without owner or an unknown code.
std::pair<QString, QString> CardOwner(TDataModule3& m, const QString& code);

// A new card of `owner` (0: without owner). Refuses a code that is taken, saying
// whose card it is.
Outcome AddCard(TDataModule3& m, const QString& code, const QString& printText,
                const QString& cardType, const QString& validFrom, const QString& validTo,
                int owner, const AddOptions& options = {});

// Writes the print text and the validity into the card; the card list, read
// again as `view` says, stays on the same row.
void OverwriteCard(TDataModule3& m, int cardId, const QString& printText,
                   const QString& validFrom, const QString& validTo, CardView view);

// Gives the card to the person (nothing when either is 0); the counter is raised
// even when there was nothing to give.
void GiveCard(TDataModule3& m, int userId, int cardId, CardView view);
// Takes the card from its owner: it stays in the system, without owner.
void TakeCard(TDataModule3& m, int cardId, CardView view);
// Removes the card, or every card without owner, from the system.
void DeleteCard(TDataModule3& m, int cardId, CardView view);
void DeleteCardsWithoutOwner(TDataModule3& m, CardView view);

}  // namespace CardChanges
