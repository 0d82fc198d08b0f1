#pragma once

#include <QLabel>

class Dataset;

// A label that shows one field of a dataset's current row between a fixed lead
// and tail text, and follows the row as it changes. Without a current row (or
// with the dataset closed) the field reads as empty.
class BoundLabel : public QLabel {
    Q_OBJECT
public:
    BoundLabel(const QString& name, Dataset& dataset, const QString& field, const QString& lead,
               const QString& tail = QString(), QWidget* parent = nullptr);

    // The field's value as shown.
    QString value() const;

private:
    void follow();

    Dataset& dataset_;
    QString field_;
    QString lead_;
    QString tail_;
};
