#pragma once

#include "people/AddOptions.h"
#include "people/CardChanges.h"

#include <QString>

class TDataModule3;

// The people: adding, changing, deleting and restoring, and the list of people.
// Each change is one unit with its re-reads and its counter bumps.
namespace PeopleChanges {

// The text shown when an operation needs a group and none is chosen.
extern const QString NoGroupText;

// People with exactly these names; deleted people count too (their names stay taken).
int CountUsersByName(TDataModule3& m, const QString& firstName, const QString& surname);

// A new person of the group whose number is `groupNumber` (decimal text). Refuses
// a missing group and names that are taken, saying so.
Outcome AddUser(TDataModule3& m, const QString& firstName, const QString& surname,
                const QString& groupNumber, const AddOptions& options = {});

// Writes names and group into the person `userId`, who stays selected. Unchanged
// names (a change of group) may find the person itself once; changed names must be
// free. Returns the notice when it refuses.
QString ChangeUser(TDataModule3& m, int userId, const QString& firstName,
                   const QString& surname, const QString& group);

// Frees the person's cards (the card list is then read again as `shownCards`
// says), and marks the person deleted.
void DeleteUser(TDataModule3& m, int userId, CardView shownCards);

// Brings a deleted person back; their former cards stay free.
void RestoreUser(TDataModule3& m, int userId);

// Switches the list of people between the active and the deleted ones; the
// chosen statement stays for the next "Connect".
void ShowPeople(TDataModule3& m, bool deleted);

}  // namespace PeopleChanges
