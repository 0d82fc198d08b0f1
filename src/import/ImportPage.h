#pragma once

#include "import/ImportRows.h"
#include "ui/PageContext.h"

#include <QWidget>

class LongWork;
struct ImportFile;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class StringGrid;
class TDataModule3;

// The page "Import": people and their cards from a text file, read into a preview
// grid and then added row by row (ImportRows), each row reporting its outcome.
class ImportPage : public QWidget {
    Q_OBJECT
public:
    explicit ImportPage(const PageContext& context);

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
    static inline const QString& UserExistsText = ImportRows::UserExistsText;
    static inline const QString& UserAddedText = ImportRows::UserAddedText;
    static inline const QString& CardExistsText = ImportRows::CardExistsText;
    static inline const QString& CardAddedText = ImportRows::CardAddedText;
    static inline const QString& NoNamesText = ImportRows::NoNamesText;
    static inline const QString& FailedText = ImportRows::FailedText;
    static inline const QString& CardFailedText = ImportRows::CardFailedText;
    static inline const QString& LineBreakText = ImportRows::LineBreakText;
    // Shown instead of importing when no group is chosen.
    static const QString NoGroupText;
    // What the page says after a load: the encoding read, and LF line ends.
    static QString loadedText(const ImportFile& file);

    StringGrid* StringGrid1 = nullptr;   // nr, Imię, Nazwisko, Kod karty, Status
    QPushButton* Button35 = nullptr;     // "Wczytaj plik z użytkownikami"
    QLabel* Label65 = nullptr;           // persons read by the last load
    QComboBox* ComboBox4 = nullptr;      // "Wybierz grupę"
    QPushButton* Button36 = nullptr;     // "Importuj"
    QPushButton* ImportCheckButton = nullptr;   // "Sprawdź plik", the import's dry run
    QProgressBar* ImportProgress = nullptr;   // rows done of all, while importing
    QLabel* ImportState = nullptr;            // the import's progress and outcome in words

private:
    // The lists of people and cards read once after the import, left as the adds
    // one by one would have left them.
    void showInLists(const ImportTally& tally);
    QString chosenGroup() const;
    void setStatus(int row, const QString& text);

    const PageContext context_;
    TDataModule3& m_;
    bool importing_ = false;
};
