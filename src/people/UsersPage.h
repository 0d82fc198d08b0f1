#pragma once

#include <QWidget>

class QComboBox;
class QTabWidget;
class TForm1;

// The page "Użytkownicy": people and their cards.
class UsersPage : public QWidget {
    Q_OBJECT
public:
    explicit UsersPage(TForm1& form);

    // Fills the card list of the card sub-page that is open; arrives with the cards.
    void RefreshCardList();

    QTabWidget* AdvOfficePager2 = nullptr;   // "Dodawanie użytkownika", "Zmiana danych", "Dodawanie seryjne"
    QComboBox* ComboBox2 = nullptr;          // new person's group
    QComboBox* ComboBox1 = nullptr;          // changed person's group
    QComboBox* ComboBox3 = nullptr;          // group of the serial addition

private:
    void showGroupList();

    TForm1& form_;
};
