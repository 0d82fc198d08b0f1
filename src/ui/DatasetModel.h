#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <vector>

class Dataset;

// A read-only table over a dataset: one column per named field, under its own
// title. Cells are turned into text only when the view asks for them.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString field;
        QString title;
    };

    DatasetModel(Dataset& dataset, std::vector<Column> columns, QObject* parent = nullptr);

    Dataset& dataset() const { return dataset_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void resolveColumns();

    Dataset& dataset_;
    std::vector<Column> columns_;
    std::vector<int> fieldIndex_;   // result column of each grid column, -1 when missing
};
