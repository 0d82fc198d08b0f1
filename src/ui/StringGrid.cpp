#include "ui/StringGrid.h"

#include "ui/ListProxy.h"

#include <QAbstractTableModel>
#include <QHeaderView>

#include <algorithm>

namespace {

// A cell shows at most this many characters: laying out a text of megabytes
// would hold the window for seconds, and no column is that wide.
constexpr qsizetype ShownLength = 1000;

QString shown(const QString& text)
{
    if (text.size() <= ShownLength)
        return text;
    qsizetype cut = ShownLength;
    if (text[cut - 1].isHighSurrogate())
        --cut;   // never half a character
    return text.left(cut) + QChar(0x2026);
}

}  // namespace

// Row 0 of the grid is the header; grid row r is model row r - 1.
class StringGridModel : public QAbstractTableModel {
public:
    StringGridModel(int columns, QObject* parent)
        : QAbstractTableModel(parent), columns_(columns)
    {
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : rows_ - 1;
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : columns_;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        // The tool tip is the whole text, for a cell too narrow to show it.
        if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid())
            return {};
        return shown(text(index.column(), index.row() + 1));
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
            return {};
        return text(section, 0);
    }

    int gridRows() const { return rows_; }

    void setGridRows(int rows)
    {
        rows = std::max(rows, 1);
        if (rows > rows_) {
            beginInsertRows({}, rows_ - 1, rows - 2);
            rows_ = rows;
            endInsertRows();
        } else if (rows < rows_) {
            beginRemoveRows({}, rows - 1, rows_ - 2);
            rows_ = rows;
            endRemoveRows();
        }
    }

    QString text(int column, int row) const
    {
        if (column < 0 || column >= columns_ || row < 0
            || row >= static_cast<int>(cells_.size()))
            return {};
        return cells_[static_cast<std::size_t>(row)][column];
    }

    void setText(int column, int row, const QString& value)
    {
        if (column < 0 || column >= columns_ || row < 0)
            return;
        if (row >= static_cast<int>(cells_.size()))
            cells_.resize(static_cast<std::size_t>(row) + 1, QStringList(columns_, QString()));
        cells_[static_cast<std::size_t>(row)][column] = value;
        if (row == 0)
            emit headerDataChanged(Qt::Horizontal, column, column);
        else if (row < rows_)
            emit dataChanged(index(row - 1, column), index(row - 1, column), {Qt::DisplayRole});
    }

private:
    int columns_;
    int rows_ = 1;
    std::vector<QStringList> cells_;   // kept beyond the row count
};

StringGrid::StringGrid(const QString& name, const std::vector<int>& columnWidths, int rowHeight,
                       QWidget* parent)
    : QTableView(parent),
      model_(new StringGridModel(static_cast<int>(columnWidths.size()), this)),
      proxy_(new ListProxy(this))
{
    setObjectName(name);
    proxy_->setSourceModel(model_);
    setModel(proxy_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setFixedHeight(rowHeight);
    horizontalHeader()->setHighlightSections(false);
    // Columns can be widened by their title's edge; the last one takes the room left.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (std::size_t c = 0; c < columnWidths.size(); ++c)
        setColumnWidth(static_cast<int>(c), columnWidths[c]);
    // A title click sorts the view only: cells keep their rows.
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    horizontalHeader()->setSortIndicatorClearable(true);
    setSortingEnabled(true);
}

int StringGrid::columnCount() const { return model_->columnCount(); }
int StringGrid::rowCount() const { return model_->gridRows(); }
void StringGrid::setRowCount(int rows) { model_->setGridRows(rows); }
QString StringGrid::cells(int column, int row) const { return model_->text(column, row); }
void StringGrid::setCells(int column, int row, const QString& text) { model_->setText(column, row, text); }

void StringGrid::showRow(int row)
{
    if (row >= 1 && row < rowCount())
        scrollTo(proxy_->mapFromSource(model_->index(row - 1, 0)));
}
