#include "ui/DatasetModel.h"

#include "dataaccess/Dataset.h"
#include "ui/ErrorGuard.h"

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
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid()
        || index.row() >= rowCount())
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

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (guard_ && index.isValid() && columns_[index.column()].editable
        && fieldIndex_[index.column()] >= 0)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !guard_ || writing_ || !index.isValid()
        || index.row() >= rowCount() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int field = fieldIndex_[index.column()];
    const QString text = value.toString();
    if (text == dataset_.cell(index.row(), field))
        return true;   // unchanged: nothing to write
    bool written = false;
    writing_ = true;
    guard_->run([&] {
        if (writer_)
            writer_(dataset_, index.row(), field, text);
        else
            dataset_.writeCell(index.row(), field, text);
        written = true;
    });
    writing_ = false;
    return written;
}
