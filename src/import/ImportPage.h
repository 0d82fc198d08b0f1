#pragma once

#include <QWidget>

class LongWork;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class StringGrid;
class TDataModule3;
class TForm1;

// The page "Import": people and their cards from a text file, read into a preview
// grid and then added row by row, each row reporting its outcome.
class ImportPage : public QWidget {
    Q_OBJECT
public:
    explicit ImportPage(TForm1& form);

    // "Wczytaj plik z użytkownikami": chooses a file and loads it.
    void Button35Click();
    // Fills the preview grid and the count from a file. Writes the titles, and for
    // each line with ";" its number, names and code; nothing else of the grid.
    void LoadImportFile(const QString& path);
    // "Importuj": adds the people and cards of the grid.
    void Button36Click();
    // "Sprawdź plik": writes into the column "Status" what "Importuj" would do with
    // each row, and the counts into ImportState; writes nothing to the database.
    void ImportCheckButtonClick();

    // Outcomes written into the column "Status".
    static const QString UserExistsText;
    static const QString UserAddedText;
    static const QString CardExistsText;   // follows UserAddedText without a separator
    static const QString CardAddedText;    // follows UserAddedText
    static const QString NoNamesText;
    static const QString FailedText;       // the row at which a database error stopped the import
    static const QString CardFailedText;   // follows UserAddedText when the card's add failed
    // Shown instead of importing when no group is chosen.
    static const QString NoGroupText;

    StringGrid* StringGrid1 = nullptr;   // nr, Imię, Nazwisko, Kod karty, Status
    QPushButton* Button35 = nullptr;     // "Wczytaj plik z użytkownikami"
    QLabel* Label65 = nullptr;           // persons read by the last load
    QComboBox* ComboBox4 = nullptr;      // "Wybierz grupę"
    QPushButton* Button36 = nullptr;     // "Importuj"
    QPushButton* ImportCheckButton = nullptr;   // "Sprawdź plik", the import's dry run
    QProgressBar* ImportProgress = nullptr;   // rows done of all, while importing
    QLabel* ImportState = nullptr;            // the import's progress and outcome in words

private:
    struct Tally;
    // Adds the person of one row and the person's card; `status` is what the row's
    // Status cell says so far.
    void importRow(int row, const QString& group, Tally& tally, QString& status);
    // The lists of people and cards read once after the import, left as the adds
    // one by one would have left them.
    void showInLists(const Tally& tally);
    QString chosenGroup() const;
    void setStatus(int row, const QString& text);

    TForm1& form_;
    TDataModule3& m_;
    bool importing_ = false;
};
