#include "ui/DatasetModel.h"

#include "dataaccess/Dataset.h"

DatasetModel::DatasetModel(Dataset& dataset, std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), dataset_(dataset), columns_(std::move(columns))
{
    resolveColumns();
    connect(&dataset_, &Dataset::aboutToReset, this, [this] { beginResetModel(); });
    connect(&dataset_, &Dataset::reset, this, [this] {
        resolveColumns();
        endResetModel();
    });
}

void DatasetModel::resolveColumns()
{
    fieldIndex_.clear();
    for (const Column& column : columns_)
        fieldIndex_.push_back(dataset_.isOpen() ? dataset_.columnIndex(column.field) : -1);
}

int DatasetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !dataset_.isOpen() ? 0 : dataset_.rowCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const int field = fieldIndex_[index.column()];
    return field < 0 ? QVariant() : QVariant(dataset_.cell(index.row(), field));
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return columns_[section].title;
    return {};
}
