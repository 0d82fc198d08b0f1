#pragma once

#include <QObject>
#include <QString>

class Dataset;

// Makes the row whose integer key field holds `key` the dataset's current row.
// Returns false, leaving the current row alone, when no row carries that key
// (or the dataset is closed or has no such field).
bool goToKey(Dataset& dataset, const QString& keyField, int key);

// The row a form shows and its buttons act on, kept as its dataset's current
// row: whoever re-runs the dataset (a change, a rollback), the row with the kept
// key is current again afterwards; restore() does the same after a walk. A key
// that is no longer listed leaves the current row where it is; 0 keeps nothing.
class KeptRow : public QObject {
    Q_OBJECT
public:
    KeptRow(Dataset& dataset, const QString& keyField, QObject* parent = nullptr);

    int key() const { return key_; }
    void setKey(int key) { key_ = key; }
    // The kept row current again.
    void restore();

private:
    Dataset& dataset_;
    QString keyField_;
    int key_ = 0;
};
