#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The window "Przelicz kod karty": what is printed on a card (hexadecimal,
// decimal, Wiegand 26/34/40 facility code and card number) or a stored code, to
// the 10-character code the system stores and every other form. Converts as the
// operator types; "Użyj" hands the code to the code field.
class CardCodeDialog : public QDialog {
    Q_OBJECT
public:
    // use receives the stored code when the operator presses "Użyj".
    CardCodeDialog(std::function<void(const QString&)> use, QWidget* parent);

    enum Format { Hex, Decimal, Wiegand26, Wiegand34, Wiegand40, Stored };

    // Converts the fields; returns the stored code, or an empty text after an error.
    QString Convert();
    void UseClick();

    QComboBox* format = nullptr;
    QLabel* valueLabel = nullptr;
    QLineEdit* value = nullptr;        // hexadecimal, decimal or stored code
    QLabel* facilityLabel = nullptr;
    QLineEdit* facility = nullptr;     // Wiegand facility code
    QLabel* cardLabel = nullptr;
    QLineEdit* card = nullptr;         // Wiegand card number
    QLabel* result = nullptr;          // the stored code, large
    QLabel* error = nullptr;           // names the field and the allowed range
    QPlainTextEdit* details = nullptr; // every form, the Wiegand frames and parity
    QPushButton* useButton = nullptr;  // "Użyj"

private:
    void showFields();

    std::function<void(const QString&)> use_;
};
