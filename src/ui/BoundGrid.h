#pragma once

#include "ui/DatasetModel.h"

#include <QTableView>

// A grid bound to a dataset: its selected row is the dataset's current row, both
// ways; read-only unless made editable. It reports cell clicks, key releases and mouse presses to its handlers.
class BoundGrid : public QTableView {
    Q_OBJECT
public:
    BoundGrid(const QString& name, Dataset& dataset, std::vector<DatasetModel::Column> columns,
              QWidget* parent = nullptr);

    DatasetModel* datasetModel() const { return model_; }
    // Lets the operator edit the columns marked editable (double click, F2 or typing);
    // each typed cell is written to the database inside the guard (DatasetModel).
    // `writer` writes a typed cell (see DatasetModel::CellWriter).
    void setEditable(const ErrorGuard& guard, DatasetModel::CellWriter writer = {});
    // Lets the operator select several rows (Ctrl and Shift with the mouse or the
    // keys); the current row, the one with the focus, stays the dataset's current row.
    void setMultiSelect(bool on);
    // The rows selected, in ascending order.
    std::vector<int> selectedRowNumbers() const;
    // Clicks a cell as the operator would: selects its row, then reports the click.
    void clickRow(int row);

signals:
    void cellClicked();
    void keyReleased(int key, Qt::KeyboardModifiers modifiers);
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void followDataset(int row);
    void followSelection(const QModelIndex& current);

    DatasetModel* model_;
    bool following_ = false;
};
