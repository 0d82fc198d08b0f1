#pragma once

#include "dataaccess/Dataset.h"
#include "db/HistoryLog.h"
#include "ui/PageContext.h"

#include <QWidget>

class BoundGrid;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// The page "Historia zmian": who changed what and when, newest first, read only.
// A filter by dates, operator, kind of row and a text; 100 rows a page with the
// paging of the event list; the rows shown (all pages) exported to CSV. The page
// of people asks it for one person's history and that of their cards.
class HistoryPage : public QWidget {
    Q_OBJECT
public:
    explicit HistoryPage(const PageContext& context);

    static constexpr int PageSize = 100;

    // "Filtruj": the filter for the page in the page field.
    void FilterClick();
    void FirstClick();
    void PreviousClick();
    void NextClick();
    void LastClick();
    // "Eksport do pliku CSV": every row the filter selects.
    void ExportClick();
    // The operators that made changes, into the operator list (after "Connect").
    void FillOperatorList();
    // One person's history and that of their cards, from the first page; the
    // person's filter stays until "Wszystkie osoby".
    void ShowPerson(int personId, const QString& name);
    void ClearPersonClick();

    // The rows shown.
    Dataset Rows;

    QCheckBox* HistorySinceCheck = nullptr;
    QDateEdit* HistorySince = nullptr;
    QCheckBox* HistoryUntilCheck = nullptr;
    QDateEdit* HistoryUntil = nullptr;
    QComboBox* HistoryOperator = nullptr;   // item 0: every operator
    QComboBox* HistoryKind = nullptr;       // item 0: every kind
    QLineEdit* HistoryText = nullptr;
    QPushButton* HistoryFilter = nullptr;   // "Filtruj"
    QLabel* HistoryPerson = nullptr;        // the person whose history is shown
    QPushButton* HistoryAllPeople = nullptr;
    BoundGrid* HistoryGrid = nullptr;
    QPushButton* HistoryFirst = nullptr;
    QPushButton* HistoryPrevious = nullptr;
    QLineEdit* HistoryPageNumber = nullptr;
    QLabel* HistoryPageCount = nullptr;
    QPushButton* HistoryNext = nullptr;
    QPushButton* HistoryLast = nullptr;
    QLabel* HistoryCount = nullptr;         // "liczba rekordów: N"
    QPushButton* HistoryExport = nullptr;   // "Eksport do pliku CSV"

private:
    HistoryLog::Filter shownFilter() const;
    int pageNumber();
    bool connected() const;

    TDataModule3& m_;
    const PageContext context_;
    int personId_ = 0;
};
