#pragma once

class TDataModule3;

// Removing rows for good, one statement per change (with the history of what it
// removed: each row, and the events counted). No change counter is raised: the rows removed were in none of the lists that the
// counters announce.
namespace Maintenance {

// The people, groups, devices and locations marked deleted, and the events of the
// deleted people. Each statement stands on its own: one that fails ends the purge
// with the earlier ones done, which leaves nothing inconsistent (the rest is still
// only marked deleted, and a second purge finishes it).
void PurgeDeletedRows(TDataModule3& m);

// The whole event log.
void DeleteAllEvents(TDataModule3& m);

}  // namespace Maintenance
