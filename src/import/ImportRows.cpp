#include "import/ImportRows.h"

#include "dataaccess/Errors.h"
#include "db/TDataModule3.h"
#include "people/CardChanges.h"
#include "people/PeopleChanges.h"

const QString ImportRows::UserExistsText = QStringLiteral("Błąd! Użytkownik juz istnieje");
const QString ImportRows::UserAddedText = QStringLiteral("Dodano użytkownika");
const QString ImportRows::CardExistsText = QStringLiteral("ale kata juz była w systemie");
const QString ImportRows::CardAddedText = QStringLiteral(" - dodano kartę");
const QString ImportRows::NoNamesText = QStringLiteral("Pominięto: brak imienia i nazwiska");
const QString ImportRows::FailedText = QStringLiteral("Błąd bazy danych - import przerwany");
const QString ImportRows::CardFailedText =
    QStringLiteral(" - błąd bazy danych przy dodawaniu karty, import przerwany");

namespace {

// The import's adds: the lists are read once at the end, and every person and card
// is counted twice (the add's own bump and the import's).
AddOptions importAdd()
{
    AddOptions options;
    options.reloadLists = false;
    options.counterBumps = 2;
    options.action = QStringLiteral("Importuj");
    return options;
}

// The fixed validity of imported cards.
const QString ValidFrom = QStringLiteral("2010-01-01");
const QString ValidTo = QStringLiteral("2030-12-31");

}  // namespace

void ImportRows::ImportRow(TDataModule3& m, const QString& group, const QString& firstName,
                           const QString& surname, const QString& code, ImportTally& tally,
                           QString& status, const std::function<void(const QString&)>& tell)
{
    if (firstName.isEmpty() && surname.isEmpty()) {
        status = NoNamesText;   // nobody to give the card to
        return;
    }
    const Outcome person = PeopleChanges::AddUser(m, firstName, surname, group, importAdd());
    if (!person.notice.isEmpty())
        tell(person.notice);
    if (person.id == 0)
        throw DataError(QStringLiteral("Brak połączenia z bazą danych."));
    if (person.id < 0) {
        status = UserExistsText;
        return;
    }
    ++tally.people;
    tally.listOnLast = true;
    status = UserAddedText;
    if (code.isEmpty())
        return;

    // The card is stored with its owner at once: a program reading the cards never
    // sees it with another person's rights.
    const Outcome card = CardChanges::AddCard(m, code, QString(), QStringLiteral("1"), ValidFrom,
                                              ValidTo, person.id, importAdd());
    if (!card.notice.isEmpty())
        tell(card.notice);
    if (card.id == 0)
        throw DataError(QStringLiteral("Brak połączenia z bazą danych."));
    if (card.id < 0) {
        status += CardExistsText;
        return;
    }
    ++tally.cards;
    tally.listOnLast = false;
    status += CardAddedText;
}

bool ImportRows::ShowInLists(TDataModule3& m, const ImportTally& tally)
{
    if (tally.people == 0)
        return false;
    m.Users.reexecute();
    if (tally.listOnLast)
        m.Users.last();
    return tally.cards > 0;
}
