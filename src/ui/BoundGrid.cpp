#include "ui/BoundGrid.h"

#include "dataaccess/Dataset.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

BoundGrid::BoundGrid(const QString& name, Dataset& dataset,
                     std::vector<DatasetModel::Column> columns, QWidget* parent)
    : QTableView(parent), model_(new DatasetModel(dataset, std::move(columns), this))
{
    setObjectName(name);
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);

    connect(&dataset, &Dataset::currentRowChanged, this, &BoundGrid::followDataset);
    connect(model_, &QAbstractItemModel::modelReset, this,
            [this] { followDataset(model_->dataset().currentRow()); });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { followSelection(current); });
    connect(this, &QAbstractItemView::clicked, this, [this] { emit cellClicked(); });
}

void BoundGrid::setEditable(const ErrorGuard& guard, DatasetModel::CellWriter writer)
{
    model_->setEditGuard(&guard, std::move(writer));
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
}

// A written cell re-reads the rows, which closes the editor before the delegate
// asks to close it; that late request is only a return of the focus.
void BoundGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor && editor->isHidden()) {
        if (hint != QAbstractItemDelegate::NoHint)
            setFocus();
        return;
    }
    QTableView::closeEditor(editor, hint);
}

void BoundGrid::followDataset(int row)
{
    if (following_ || !model_->dataset().isOpen() || row >= model_->rowCount())
        return;
    following_ = true;
    if (row < 0) {
        selectionModel()->clear();
    } else {
        const QModelIndex index = model_->index(row, std::max(0, currentIndex().column()));
        selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    }
    following_ = false;
}

void BoundGrid::followSelection(const QModelIndex& current)
{
    if (following_ || !current.isValid() || !model_->dataset().isOpen())
        return;
    following_ = true;
    model_->dataset().setRecordNo(current.row() + 1);
    following_ = false;
}

void BoundGrid::setMultiSelect(bool on)
{
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection
                        : QAbstractItemView::SingleSelection);
}

std::vector<int> BoundGrid::selectedRowNumbers() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void BoundGrid::clickRow(int row)
{
    selectionModel()->setCurrentIndex(model_->index(row, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    emit cellClicked();
}

void BoundGrid::keyReleaseEvent(QKeyEvent* event)
{
    QTableView::keyReleaseEvent(event);
    emit keyReleased(event->key(), event->modifiers());
}

void BoundGrid::mousePressEvent(QMouseEvent* event)
{
    QTableView::mousePressEvent(event);
    emit mousePressed(event->button(), event->modifiers(), event->position().toPoint());
}
