#pragma once

#include "access/Reach.h"
#include "ui/PageContext.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStandardItemModel;
class QTabWidget;
class QTableWidget;
class QTimeEdit;

// The window "Kto i dokąd wejdzie": who passes one reader head of a passage, where
// one person or card can go, and the cards that need attention. Reads only.
class ReachDialog : public QDialog {
    Q_OBJECT
public:
    ReachDialog(const PageContext& context, QWidget* parent);

    // Reads the passages and people afresh and sets the moment to the passage's now.
    void prepare();
    void RunWho();
    void setWhoNow();
    void FilterWho();        // find as you type: the rows whose person, group or card match
    void ExportWho();        // "Zapisz CSV..."
    void RunWhere();
    void RunCards();

    QTabWidget* tabs = nullptr;
    // "Kto wejdzie"
    QComboBox* whoPassage = nullptr;
    QComboBox* whoHead = nullptr;
    QDateEdit* whoDate = nullptr;
    QTimeEdit* whoTime = nullptr;
    QPushButton* whoNow = nullptr;       // "Teraz"
    QPushButton* whoRun = nullptr;       // "Pokaż"
    QLineEdit* whoFind = nullptr;        // "Szukaj"
    QLabel* whoCounts = nullptr;
    QTableWidget* whoTable = nullptr;
    QPushButton* whoExport = nullptr;    // "Zapisz CSV..."
    // "Dokąd wejdzie"
    QRadioButton* whereByPerson = nullptr;
    QComboBox* wherePerson = nullptr;
    QRadioButton* whereByCard = nullptr;
    QLineEdit* whereCard = nullptr;
    QPushButton* whereRun = nullptr;
    QLabel* whereSummary = nullptr;
    QTableWidget* whereTable = nullptr;
    // "Karty do sprawdzenia"
    QSpinBox* cardsDays = nullptr;
    QPushButton* cardsRun = nullptr;
    QLabel* cardsSummary = nullptr;
    QTableWidget* cardsTable = nullptr;

    const WhoAnswer& whoAnswer() const { return who_; }

private:
    QWidget* buildWho();
    QWidget* buildWhere();
    QWidget* buildCards();
    bool connected();

    const PageContext context_;
    QStandardItemModel* people_ = nullptr;
    WhoAnswer who_;
};
