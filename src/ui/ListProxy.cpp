#include "ui/ListProxy.h"

#include <QCollator>
#include <QLocale>

namespace {

QCollator polishCollator()
{
    QCollator collator(QLocale(QLocale::Polish, QLocale::Poland));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);   // "Nowy 2" before "Nowy 10"
    return collator;
}

}  // namespace

ListProxy::ListProxy(QObject* parent) : QSortFilterProxyModel(parent), collator_(polishCollator())
{
    setDynamicSortFilter(true);
    setSortRole(Qt::DisplayRole);
}

void ListProxy::setSourceModel(QAbstractItemModel* source)
{
    if (sourceModel())
        disconnect(sourceModel(), nullptr, this, nullptr);
    // Any change of the rows makes the cached keys stale; they are built again
    // when next needed. Connected before the base class so that the keys are
    // forgotten before it sorts and filters the new rows.
    if (source) {
        auto stale = [this] {
            forgetSearchTexts();
            forgetSortKeys();
        };
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this, stale);
        connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this, stale);
        connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this, stale);
        connect(source, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                    forgetSearchTexts();
                    if (keyColumn_ >= topLeft.column() && keyColumn_ <= bottomRight.column())
                        updateSortKeys(topLeft.row(), bottomRight.row());
                });
        connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this, stale);
    }
    QSortFilterProxyModel::setSourceModel(source);
}

void ListProxy::setSearchText(SearchText searchText)
{
    searchText_ = std::move(searchText);
    forgetSearchTexts();
}

void ListProxy::setFindText(const QString& text)
{
    const QString needle = text.trimmed().toCaseFolded();
    if (needle == needle_)
        return;
    needle_ = needle;
    // One layout change for the whole list: removing and inserting thousands of
    // scattered rows one range at a time costs far more at 20,000 rows.
    invalidate();
}

void ListProxy::forgetSearchTexts()
{
    searchTexts_.clear();
    searchTextsBuilt_ = false;
}

void ListProxy::forgetSortKeys()
{
    keyColumn_ = -1;
    numberKeys_.clear();
    textKeys_.clear();
}

void ListProxy::buildSearchTexts() const
{
    const QAbstractItemModel* source = sourceModel();
    const int rows = source ? source->rowCount() : 0;
    searchTexts_.clear();
    searchTexts_.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        QString text;
        if (searchText_) {
            text = searchText_(row);
        } else {
            for (int column = 0; column < source->columnCount(); ++column) {
                text += source->index(row, column).data().toString();
                text += QLatin1Char('\t');
            }
        }
        searchTexts_.push_back(text.toCaseFolded());
    }
    searchTextsBuilt_ = true;
}

bool ListProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    if (needle_.isEmpty())
        return true;
    if (!searchTextsBuilt_)
        buildSearchTexts();
    return sourceRow < static_cast<int>(searchTexts_.size())
           && searchTexts_[static_cast<std::size_t>(sourceRow)].contains(needle_);
}

void ListProxy::sort(int column, Qt::SortOrder order)
{
    if (column != keyColumn_)
        forgetSortKeys();
    QSortFilterProxyModel::sort(column, order);
}

// A few cells changed (an import writes its status row by row): their keys are
// made again, not the whole column's.
void ListProxy::updateSortKeys(int firstRow, int lastRow)
{
    const std::size_t rows = static_cast<std::size_t>(sourceModel()->rowCount());
    for (int row = firstRow; row <= lastRow; ++row) {
        const auto at = static_cast<std::size_t>(row);
        const QString text = sourceModel()->index(row, keyColumn_).data(sortRole()).toString();
        if (numberKeys_.size() == rows && at < rows) {
            bool ok = text.isEmpty();
            const double value = ok ? 0.0 : text.toDouble(&ok);
            if (!ok) {
                forgetSortKeys();   // no longer a column of numbers
                return;
            }
            numberKeys_[at] = value;
        } else if (textKeys_.size() == rows && at < rows) {
            textKeys_[at] = collator_.sortKey(text);
        } else {
            forgetSortKeys();
            return;
        }
    }
}

void ListProxy::buildSortKeys(int column) const
{
    const QAbstractItemModel* source = sourceModel();
    const int rows = source->rowCount();
    std::vector<QString> texts;
    texts.reserve(static_cast<std::size_t>(rows));
    bool numbers = true;
    numberKeys_.assign(static_cast<std::size_t>(rows), 0.0);
    for (int row = 0; row < rows; ++row) {
        texts.push_back(source->index(row, column).data(sortRole()).toString());
        if (numbers) {
            const QString& text = texts.back();
            bool ok = text.isEmpty();   // an empty cell sorts as 0 among numbers
            const double value = ok ? 0.0 : text.toDouble(&ok);
            numbers = ok;
            numberKeys_[static_cast<std::size_t>(row)] = value;
        }
    }
    textKeys_.clear();
    if (!numbers) {
        numberKeys_.clear();
        textKeys_.reserve(texts.size());
        for (const QString& text : texts)
            textKeys_.push_back(collator_.sortKey(text));
    }
    keyColumn_ = column;
}

bool ListProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const int column = left.column();
    const std::size_t rows = static_cast<std::size_t>(sourceModel()->rowCount());
    if (column != keyColumn_ || (numberKeys_.size() != rows && textKeys_.size() != rows))
        buildSortKeys(column);
    const auto l = static_cast<std::size_t>(left.row());
    const auto r = static_cast<std::size_t>(right.row());
    int order = 0;
    if (!numberKeys_.empty())
        order = numberKeys_[l] < numberKeys_[r] ? -1 : numberKeys_[r] < numberKeys_[l] ? 1 : 0;
    else
        order = textKeys_[l].compare(textKeys_[r]);
    // Equal keys keep the order the rows were read in.
    return order != 0 ? order < 0 : left.row() < right.row();
}
