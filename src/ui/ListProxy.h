#pragma once

#include <QCollator>
#include <QCollatorSortKey>
#include <QSortFilterProxyModel>

#include <functional>
#include <optional>
#include <vector>

// The view side of a list held whole in memory: sorts it by a column (numbers as
// numbers, texts the Polish way) and narrows it to the rows whose search text
// holds what the operator typed. The rows themselves stay as read; only the view
// changes, so a row of the view always maps back to the same record.
class ListProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    // The text a row is found by, from the source model's row.
    using SearchText = std::function<QString(int sourceRow)>;

    explicit ListProxy(QObject* parent = nullptr);

    void setSourceModel(QAbstractItemModel* source) override;

    // Which text of a row the find field searches; without one, every column shown.
    void setSearchText(SearchText searchText);
    // Narrows the view to rows whose search text contains `text` (letter case and
    // blanks around it ignored); an empty text shows every row.
    void setFindText(const QString& text);
    QString findText() const { return needle_; }
    // Forgets the search texts built so far (the rows behind them changed).
    void forgetSearchTexts();

    bool narrowed() const { return !needle_.isEmpty(); }

    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    void forgetSortKeys();
    void buildSortKeys(int column) const;
    void updateSortKeys(int firstRow, int lastRow);
    void buildSearchTexts() const;

    SearchText searchText_;
    QString needle_;
    mutable std::vector<QString> searchTexts_;   // folded, one per source row; built on demand
    mutable bool searchTextsBuilt_ = false;

    // The sort keys of the sorted column, one per source row: numbers when every
    // value of the column is a number, else collation keys.
    QCollator collator_;
    mutable int keyColumn_ = -1;
    mutable std::vector<double> numberKeys_;
    mutable std::vector<QCollatorSortKey> textKeys_;
};
