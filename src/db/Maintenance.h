#pragma once

#include <QtGlobal>

#include <functional>

class Connection;

// Removing rows for good, one statement per execution, on a connection of its
// own (the window runs them off the GUI thread). No change counter is raised:
// the rows removed were in none of the lists that the counters announce.
namespace Maintenance {

// How far the work is: `done` of `total` (steps or events).
using Progress = std::function<void(qint64 done, qint64 total)>;

// The people, groups, devices and locations marked deleted, and the events of the
// deleted people, in five statements (the progress counts them). Each statement
// stands on its own: one that fails ends the purge with the earlier ones done,
// which leaves nothing inconsistent (the rest is still only marked deleted, and a
// second purge finishes it).
void PurgeDeletedRows(Connection& connection, const Progress& progress = {});

// The whole event log as it stands when the work begins, removed in slices of
// the oldest events so that the progress counts the events removed; events
// recorded meanwhile stay.
void DeleteAllEvents(Connection& connection, const Progress& progress = {});

inline constexpr int DeleteSlice = 10000;

}  // namespace Maintenance
