#pragma once

#include <QWidget>

class QComboBox;
class TForm1;

// The page "Import": people and cards from a text file.
class ImportPage : public QWidget {
    Q_OBJECT
public:
    explicit ImportPage(TForm1& form);

    QComboBox* ComboBox4 = nullptr;   // "Wybierz grupę"

private:
    TForm1& form_;
};
