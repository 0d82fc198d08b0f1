#pragma once

#include <QString>

class Lookups;
class TDataModule3;

// The groups: the group lookup, adding, deleting and renaming. Each change is one
// unit with its re-reads and its counter bumps.
namespace GroupChanges {

// The current group's ID_GROUP; 0 when there is none (the list empty or not open).
int CurrentGroupId(const TDataModule3& m);

// Walks the groups into GroupList and has the group lists of every page refilled;
// leaves Groups on its last row, which thereby becomes the current group.
void FillGroupLists(TDataModule3& m, Lookups& lookups);

// Groups of this name; deleted groups count too (their names are not used again).
int GroupNameExists(TDataModule3& m, const QString& name);

// A new group; the permission list then shows the current group's. Returns the
// notice when the name is taken.
QString AddGroup(TDataModule3& m, Lookups& lookups, const QString& name);

// Members go to group 1, the group's permissions are removed, the group is marked
// deleted.
void DeleteGroup(TDataModule3& m, Lookups& lookups, int groupId);

// Renames a group, inside the change that calls it: no duplicate test and no
// refill (the group lists keep the old name until the next fill, while ids and
// positions stay valid); nothing for an empty name.
void RenameGroup(TDataModule3& m, int groupId, const QString& name);
// "Zmień nazwę": RenameGroup as a change of its own; the counter is raised even
// when the name was empty.
void SaveGroupName(TDataModule3& m, int groupId, const QString& name);

}  // namespace GroupChanges
