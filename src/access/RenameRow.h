#pragma once

#include <QString>

#include <functional>

class Dataset;
class TDataModule3;

// Renaming a group or a template: the same road for both.

// Writes the name into the row `id` of `table` (key column `keyColumn`) inside the
// change that calls it, and refreshes the list that shows it (the same position,
// whichever row now stands there). Nothing for an empty name or without a
// connection: no duplicate test and no refill of lookups. A row another client
// removed is named by `row` ("tej grupy").
void renameRow(TDataModule3& m, const QString& table, const QString& keyColumn, int id,
               const QString& name, Dataset& list, const QString& row);

// A rename as a change of its own whose counter is raised even when the rename
// wrote nothing (an empty name).
void saveName(TDataModule3& m, const std::function<void()>& rename, const QString& counter);
