#include "ui/BoundGrid.h"

#include "dataaccess/Dataset.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

BoundGrid::BoundGrid(const QString& name, Dataset& dataset,
                     std::vector<DatasetModel::Column> columns, QWidget* parent)
    : QTableView(parent),
      model_(new DatasetModel(dataset, std::move(columns), this)),
      proxy_(new ListProxy(this))
{
    setObjectName(name);
    proxy_->setSourceModel(model_);
    setModel(proxy_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    // Title clicks go ascending, descending, then back to the order read.
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    horizontalHeader()->setSortIndicatorClearable(true);
    setSortingEnabled(true);

    connect(&dataset, &Dataset::currentRowChanged, this, &BoundGrid::followDataset);
    connect(proxy_, &QAbstractItemModel::modelReset, this, [this] {
        followDataset(model_->dataset().currentRow());
        emit shownRowsChanged();
    });
    connect(proxy_, &QAbstractItemModel::rowsInserted, this, [this] { emit shownRowsChanged(); });
    connect(proxy_, &QAbstractItemModel::rowsRemoved, this, [this] { emit shownRowsChanged(); });
    connect(proxy_, &QAbstractItemModel::layoutChanged, this, [this] { emit shownRowsChanged(); });
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

void BoundGrid::setSortable(bool on)
{
    if (!on)
        horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(on);
}

int BoundGrid::shownRowCount() const { return proxy_->rowCount(); }
int BoundGrid::allRowCount() const { return model_->rowCount(); }

int BoundGrid::datasetRow(int viewRow) const
{
    return proxy_->mapToSource(proxy_->index(viewRow, 0)).row();
}

int BoundGrid::viewRow(int datasetRow) const
{
    if (datasetRow < 0 || datasetRow >= model_->rowCount())
        return -1;
    return proxy_->mapFromSource(model_->index(datasetRow, 0)).row();
}

void BoundGrid::setFindText(const QString& text)
{
    Dataset& dataset = model_->dataset();
    following_ = true;   // the view's own moves of its current row are not the operator's
    proxy_->setFindText(text);
    following_ = false;
    if (!dataset.isOpen())
        return;
    const int current = dataset.currentRow();
    if (current >= 0 && viewRow(current) >= 0) {
        followDataset(current);
    } else if (shownRowCount() > 0) {
        dataset.setRecordNo(datasetRow(0) + 1);
        followDataset(dataset.currentRow());
        emit cellClicked();
    } else if (current >= 0) {
        // Nothing shown, nothing selected: no operation may act on a hidden row.
        dataset.clearCurrent();
        selectionModel()->clear();
        emit cellClicked();
    }
}

void BoundGrid::followDataset(int row)
{
    if (following_ || !model_->dataset().isOpen() || row >= model_->rowCount())
        return;
    following_ = true;
    const int shown = viewRow(row);
    if (shown < 0) {
        selectionModel()->clear();
    } else {
        const QModelIndex index = proxy_->index(shown, std::max(0, currentIndex().column()));
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
    model_->dataset().setRecordNo(datasetRow(current.row()) + 1);
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
        rows.push_back(proxy_->mapToSource(index).row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void BoundGrid::clickRow(int row)
{
    clickViewRow(viewRow(row));
}

void BoundGrid::clickViewRow(int viewRow)
{
    selectionModel()->setCurrentIndex(proxy_->index(viewRow, 0),
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
