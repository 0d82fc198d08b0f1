#pragma once

#include "people/CardChanges.h"
#include "people/PeopleChanges.h"
#include "ui/PageContext.h"

#include <QHash>
#include <QWidget>


class BoundGrid;
class CardCodeDialog;
class Dataset;
class Dialogs;
class QLabel;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TDataModule3;

// The page "Użytkownicy": the list of people with adding, changing, the serial
// add, deleting and restoring (Users.cpp), and the cards of the selected person
// or without owner, with code entry and card operations (Cards.cpp). The changes
// themselves are PeopleChanges and CardChanges.
class UsersPage : public QWidget {
    Q_OBJECT
public:
    explicit UsersPage(const PageContext& context);

    // People.
    // The new ID_USER; 0 when nothing was done, -1 when the person exists already.
    int AddUser(const QString& firstName, const QString& surname, const QString& groupNumber,
                const QString& action = {});
    void ShowSelectedUser();
    void DBGrid3CellClick();
    void DBGrid3KeyUp(int key, Qt::KeyboardModifiers shift);
    void Button2Click();
    void Button4Click();
    void Button5Click();
    void Button3Click();
    void Button32Click();
    // The page "Historia zmian" with the selected person's history and their cards'.
    void PersonHistoryButtonClick();
    void CheckBox14Click();

    // Cards.
    static QString NormalizeCardCode(const QString& code);
    void RefreshCardList();
    // The new ID_CARD of a card of the selected person; 0 when nothing was done, -1
    // when the code exists already.
    int AddCard(const QString& code, const QString& printText, const QString& cardType,
                const QString& validFrom, const QString& validTo);
    void Edit13KeyPress();
    void Button8Click();
    void Button17Click();
    void Button16Click();
    void Button15Click();
    void Button14Click();
    void Button28Click();
    void Button33Click();
    void AdvOfficePager3Change();

    // The window "Przelicz kod karty".
    void CardCodeButtonClick();
    CardCodeDialog* cardCodeDialog() const { return cardCodeDialog_; }

    // The text shown when an operation needs a group and none is chosen.
    static inline const QString& NoGroupText = PeopleChanges::NoGroupText;

    // People.
    QLineEdit* PersonFind = nullptr;         // find as you type: surname, first name, card code
    BoundGrid* DBGrid3 = nullptr;            // "Lista użytkowników"
    QPushButton* Button3 = nullptr;          // "Usuń użytkownika"
    QPushButton* Button32 = nullptr;         // "Przywróć użytkownika"
    QPushButton* PersonHistoryButton = nullptr;   // "Historia zmian" of the selected person
    QCheckBox* CheckBox14 = nullptr;         // "Wyświetl użytkowników usuniętych"
    QTabWidget* AdvOfficePager2 = nullptr;   // "Dodawanie użytkownika", "Zmiana danych", "Dodawanie seryjne"
    QLineEdit* Edit6 = nullptr;              // first name to add
    QLineEdit* Edit7 = nullptr;              // surname to add
    QComboBox* ComboBox2 = nullptr;          // new person's group
    QPushButton* Button2 = nullptr;          // "Dodaj uzytkownika"
    QLineEdit* Edit3 = nullptr;              // selected person's first name
    QLineEdit* Edit4 = nullptr;              // selected person's surname
    QComboBox* ComboBox1 = nullptr;          // changed person's group
    QPushButton* Button4 = nullptr;          // "Zmień"
    QComboBox* ComboBox3 = nullptr;          // group of the serial addition
    QLineEdit* Edit8 = nullptr;              // surname stem of the series
    QLineEdit* Edit10 = nullptr;             // number of people in the series
    QLineEdit* Edit11 = nullptr;             // first number of the series
    QPushButton* Button5 = nullptr;          // " Dodaj serię"

    // Cards.
    QTabWidget* AdvOfficePager3 = nullptr;   // the person's cards (0), cards without owner (1)
    BoundGrid* DBGrid7 = nullptr;            // the cards, editable; shown on the active tab
    QPushButton* Button15 = nullptr;         // "Odbierz kartę użytkownikowi"
    QPushButton* Button16 = nullptr;         // "Przypisz do uzytkownika"
    QPushButton* Button14 = nullptr;         // "Usuń kartę z systemu"
    QPushButton* Button28 = nullptr;         // "Usuń wszystkie nieprzypisane karty"
    QLineEdit* Edit13 = nullptr;             // card code; Enter adds the card
    QPushButton* CardCodeButton = nullptr;   // "Przelicz kod z karty...", beside the code field
    QCheckBox* CheckBox4 = nullptr;          // select the next person after an Enter
    QLineEdit* Edit14 = nullptr;             // print text
    QDateEdit* DateTimePicker1 = nullptr;    // "Ważna od"
    QDateEdit* DateTimePicker2 = nullptr;    // "Ważna do"
    QCheckBox* CheckBox1 = nullptr;          // "Bez ograniczeń czasowch"
    QPushButton* Button8 = nullptr;          // "Dodaj kartę"
    QPushButton* Button17 = nullptr;         // "Nadpisz dane karty"
    QLineEdit* Edit17 = nullptr;             // code to look up
    QPushButton* Button33 = nullptr;         // "Czyja karta"

private:
    QWidget* buildPeoplePanel();
    QWidget* buildPersonPager();
    QWidget* buildCardDataPanel();
    QWidget* buildCodePanel();
    QWidget* buildCardPager();
    QWidget* buildLookupPanel();
    void showGroupList();
    void placeCardGrid();
    // The card codes of every owner, for finding people by a code: read when the
    // find text changes and the cards changed since the last read.
    void readPersonCodes();
    QString personSearchText(int row) const;

    bool connected() const;
    // Which cards the card list shows: those of the tab shown.
    CardView cardView() const;
    // Shows the notice of an operation, when it has one, and returns its id.
    int told(const Outcome& outcome);
    // The id of the group chosen in a box as decimal text; empty when none is chosen.
    QString chosenGroup(const QComboBox* box) const;
    // The validity pair: the fixed dates when CheckBox1 is ticked, else the pickers.
    std::pair<QString, QString> validity(const char* fixedFrom, const char* fixedTo) const;

    const PageContext context_;
    TDataModule3& m_;
    Dialogs& dialogs_;
    CardCodeDialog* cardCodeDialog_ = nullptr;
    QLabel* cardCount_ = nullptr;            // moves with the card grid
    Dataset* personCodesQuery_ = nullptr;
    QHash<int, QString> personCodes_;        // ID_USER -> its codes, tab-separated
    bool personCodesStale_ = true;
};
