#pragma once

#include "ui/DatasetModel.h"
#include "ui/ListProxy.h"

#include <QTableView>

// A grid bound to a dataset: its selected row is the dataset's current row, both
// ways; read-only unless made editable. It reports cell clicks, key releases and mouse presses to its handlers.
// A click on a column title sorts the view (again: the other way, a third time: as
// read); a find text narrows it. Both change the view only: the dataset keeps its
// rows and its current row, which stays the row shown selected.
class BoundGrid : public QTableView {
    Q_OBJECT
public:
    BoundGrid(const QString& name, Dataset& dataset, std::vector<DatasetModel::Column> columns,
              QWidget* parent = nullptr);

    DatasetModel* datasetModel() const { return model_; }
    ListProxy* listProxy() const { return proxy_; }
    // Whether a click on a column title sorts (on at first). A list that is a page
    // of the server's result keeps the server's order.
    void setSortable(bool on);
    // Narrows the rows shown to those whose search text holds `text`. When the
    // current row is no longer shown, the first row shown becomes current and is
    // reported as clicked, so that the forms show the record selected.
    void setFindText(const QString& text);
    // Rows shown, and rows in all.
    int shownRowCount() const;
    int allRowCount() const;
    // The dataset row shown at a row of the view, and back (-1 when not shown).
    int datasetRow(int viewRow) const;
    int viewRow(int datasetRow) const;
    // Lets the operator edit the columns marked editable (double click, F2 or typing);
    // each typed cell is written to the database inside the guard (DatasetModel).
    // `writer` writes a typed cell (see DatasetModel::CellWriter).
    void setEditable(const ErrorGuard& guard, DatasetModel::CellWriter writer = {});
    // Lets the operator select several rows (Ctrl and Shift with the mouse or the
    // keys); the current row, the one with the focus, stays the dataset's current row.
    void setMultiSelect(bool on);
    // The dataset rows selected, in ascending order.
    std::vector<int> selectedRowNumbers() const;
    // Clicks a cell as the operator would: selects a dataset row, then reports the click.
    void clickRow(int row);
    // The same for the row at a place of the view (as sorted and narrowed).
    void clickViewRow(int viewRow);

signals:
    // The rows shown changed (read again, narrowed or widened).
    void shownRowsChanged();
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
    ListProxy* proxy_;
    bool following_ = false;
};
