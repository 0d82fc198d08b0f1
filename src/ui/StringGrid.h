#pragma once

#include <QTableView>
#include <QStringList>
#include <vector>

class ListProxy;
class StringGridModel;

// A grid of texts addressed as cells(column, row), with row 0 the fixed title row
// (shown as the column header) and no fixed column; read-only for the operator.
// Like a string grid, cells outside the row count keep their texts: making the
// grid shorter and then longer again shows them once more. A click on a column
// title sorts the view; rows keep their numbers. A cell shows at most 1000
// characters (then "…"), and its tool tip and cells() give the whole text.
class StringGrid : public QTableView {
    Q_OBJECT
public:
    StringGrid(const QString& name, const std::vector<int>& columnWidths, int rowHeight,
               QWidget* parent = nullptr);

    int columnCount() const;
    // Rows including the title row.
    int rowCount() const;
    void setRowCount(int rows);

    QString cells(int column, int row) const;
    void setCells(int column, int row, const QString& text);

    // Brings a row (1 or more) into view.
    void showRow(int row);

private:
    StringGridModel* model_;
    ListProxy* proxy_;
};
