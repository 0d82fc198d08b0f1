#pragma once

#include <QString>

class TDataModule3;

// The permissions of groups on passages: the permission list of the current
// group, granting a template on a passage and removing a permission. Each change
// is one unit with its re-read and its counter bump.
namespace PermissionChanges {

// Lists the current group's permissions into Prawa, one row per permission, by
// passage name. The statement keeps naming this group until the next call.
void RefreshGroupPermissions(TDataModule3& m);

// The template of the current permission row, or 0 when there is none.
int CurrentPermissionTemplate(const TDataModule3& m);

// The template granted to the group on one passage, for head A and/or B: the row,
// the list read again and the counter, as one change. `bumping` is set while the
// counter is raised, so that a caller can tell a failed bump (which keeps the row
// when the connection lives) from a failure before it.
void GrantPermission(TDataModule3& m, int templateId, int groupId, int passageId, bool headA,
                     bool headB, bool& bumping);

// Removes one permission row (NMID).
void RevokePermission(TDataModule3& m, int permissionRow);

}  // namespace PermissionChanges
