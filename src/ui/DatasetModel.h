#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <functional>
#include <vector>

class Dataset;
class ErrorGuard;

// A table over a dataset: one column per named field, under its own title. Cells
// are turned into text only when the view asks for them. Read-only unless an edit
// guard is set: then the columns marked editable take typed text, which is
// written to the database at once (Dataset::writeCell); a write that fails is
// shown by the guard's error box and the cell keeps the value stored.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString field;
        QString title;
        bool editable = false;
    };

    DatasetModel(Dataset& dataset, std::vector<Column> columns, QObject* parent = nullptr);

    Dataset& dataset() const { return dataset_; }
    // What writes a typed cell (row, result column, text); by default the dataset itself.
    using CellWriter = std::function<void(Dataset& dataset, int row, int column, const QString& text)>;
    void setEditGuard(const ErrorGuard* guard, CellWriter writer = {})
    {
        guard_ = guard;
        writer_ = std::move(writer);
    }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    void resolveColumns();

    Dataset& dataset_;
    std::vector<Column> columns_;
    std::vector<int> fieldIndex_;   // result column of each grid column, -1 when missing
    const ErrorGuard* guard_ = nullptr;
    CellWriter writer_;
    // Set while a write runs: the error box takes the focus from the cell editor,
    // which then commits the same text again; that second commit is ignored.
    bool writing_ = false;
};
