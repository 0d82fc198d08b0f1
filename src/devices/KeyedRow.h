#pragma once

class Dataset;
class QString;

// Makes the row whose integer key field holds `key` the dataset's current row.
// Returns false, leaving the current row alone, when no row carries that key
// (or the dataset is closed or has no such field).
bool goToKey(Dataset& dataset, const QString& keyField, int key);
