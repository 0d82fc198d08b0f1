#pragma once

#include "ui/PageContext.h"

#include <QDialog>

struct AccessAnswer;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTextEdit;
class QPushButton;
class QRadioButton;
class QStandardItemModel;
class QTimeEdit;

// The window "Sprawdź dostęp": whether a person (any of their cards) or a card
// opens one reader head of a passage at a date and time, and why. Reads only.
class AccessCheckDialog : public QDialog {
    Q_OBJECT
public:
    AccessCheckDialog(const PageContext& context, QWidget* parent);

    // Reads the list of people afresh and sets the date and time to now.
    void prepare();
    // "Sprawdź": answers the question the fields ask.
    void RunCheck();
    void setNow();

    QRadioButton* byPerson = nullptr;     // "Osoba"
    QComboBox* person = nullptr;          // live people, surname first; typing finds
    QRadioButton* byCard = nullptr;       // "Kod karty"
    QLineEdit* cardCode = nullptr;
    QComboBox* passage = nullptr;         // PassageList
    QComboBox* head = nullptr;            // "A", "B"
    QDateEdit* date = nullptr;
    QTimeEdit* time = nullptr;
    QPushButton* nowButton = nullptr;     // "Teraz"
    QPushButton* runButton = nullptr;     // "Sprawdź"
    QLabel* verdict = nullptr;            // "Wejdzie" / "Nie wejdzie"
    QTextEdit* reasons = nullptr;         // the chain, one paragraph a reason

private:
    void showPassageList();
    void showMessage(const QString& text);
    void showAnswer(const AccessAnswer& answer);
    // The id of the person the box names, or 0.
    int chosenPerson() const;

    const PageContext context_;
    QStandardItemModel* people_ = nullptr;
};
