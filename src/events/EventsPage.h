#pragma once

#include "events/EventStatements.h"
#include "ui/PageContext.h"

#include <QWidget>

#include <memory>

class BackgroundExport;
class BoundGrid;
class QProgressBar;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TDataModule3;
class WatchRefresh;
struct WatchReply;

// The page "Zdarzenia": the filtered event log, 100 events to a page, and the
// export of everything the filter selects to CSV or XML.
class EventsPage : public QWidget {
    Q_OBJECT
public:
    explicit EventsPage(const PageContext& context);
    ~EventsPage() override;

    static constexpr int PageSize = 100;

    void setInitialChoices();

    // The one event statement builder. Mode 0 shows one page in Events; modes 1
    // (spreadsheet), 2 (CSV) and 3 (XML) run all filtered events in SQL and write
    // the file. Every mode refreshes the record and page counts first.
    void QueryEvents(int personId, int groupId, int deviceId, int eventType, int dateMode,
                     qint64 offset, int count, int mode, const QDate& from, const QDate& to,
                     const QString& fileName);

    // "Filtruj" and the page bar.
    void Button27Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void Edit18Click();

    // The person list of the filter, and the two filter check boxes with a list.
    void FillPersonList();
    void CheckBox11Click();
    void CheckBox13Click();

    // Export: "Eksport do EXELA" (hidden), "Eksport do pliku CSV", "Export do pliku XML".
    // The CSV and XML exports run on a connection of their own, off the GUI
    // thread; the window answers meanwhile and the stop button ends them.
    void Button29Click();
    void Button30Click();
    void Button31Click();
    void ExportStopClick();
    bool exportRunning() const;
    // Waits until a running export has ended and its outcome is shown.
    void waitForExport();
    BackgroundExport& backgroundExport() const { return *export_; }

    // The watch's press of "Filtruj" when new events arrived: the statements run on
    // a connection of their own, off the GUI thread; their rows are then shown as
    // "Filtruj" shows them, and the grid keeps its row number.
    void refreshForWatch();
    // Waits until the watch's statements are done and their rows shown.
    void waitForWatchRefresh();

    BoundGrid* DBGrid2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;       // "Filtr"
    QCheckBox* CheckBox11 = nullptr;      // "Wybrana osoba"
    QComboBox* ComboBox9 = nullptr;       // persons
    QCheckBox* CheckBox12 = nullptr;      // "Wybrana grupa"
    QComboBox* ComboBox10 = nullptr;      // groups
    QCheckBox* CheckBox13 = nullptr;      // "Wybrane przejście"
    QComboBox* ComboBox11 = nullptr;      // passages
    QComboBox* ComboBox12 = nullptr;      // event type
    QRadioButton* RadioButton2 = nullptr; // "Wszystkie"
    QRadioButton* RadioButton1 = nullptr; // "Dzisiejsze"
    QRadioButton* RadioButton3 = nullptr; // "Z zakresu dat"
    QDateEdit* DateTimePicker3 = nullptr; // "Od"
    QDateEdit* DateTimePicker4 = nullptr; // "Do"
    QPushButton* Button27 = nullptr;      // "Filtruj"
    QPushButton* BitBtn1 = nullptr;       // "<<"
    QPushButton* BitBtn2 = nullptr;       // "<"
    QLineEdit* Edit18 = nullptr;          // page number
    QLabel* Label62 = nullptr;            // number of pages
    QPushButton* BitBtn3 = nullptr;       // ">"
    QPushButton* BitBtn4 = nullptr;       // ">>"
    QLabel* Label61 = nullptr;            // record count
    QPushButton* Button29 = nullptr;      // "Eksport do EXELA", hidden
    QPushButton* Button30 = nullptr;      // "Eksport do pliku CSV"
    QPushButton* Button31 = nullptr;      // "Export do pliku XML"
    QProgressBar* ExportProgress = nullptr; // "zapisano N z M zdarzeń", while an export runs
    QPushButton* ExportStop = nullptr;    // "Przerwij eksport"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The filter and page as the controls show them (the steps of "Filtruj"
    // before the query); a page number that is not an integer is an error.
    struct ShownFilter {
        EventFilter filter;
        qint64 offset = 0;
    };
    ShownFilter shownFilter();
    void exportEvents(int mode, const QString& filter, const QString& suffix, const QString& preset);

    QWidget* buildGrid();
    QWidget* buildPageBar();
    QGroupBox* buildFilter();
    QGroupBox* buildExport();
    void showPassageList();
    void showCount(const QString& count);
    void showExportProgress(qint64 written, qint64 total);
    void exportFinished(const struct ExportOutcome& outcome);
    void applyWatchReply(WatchReply& reply);
    bool connected() const;

    const PageContext context_;
    TDataModule3& m_;
    std::unique_ptr<WatchRefresh> watch_;
    std::unique_ptr<BackgroundExport> export_;
    // Raised by every query of the operator, so that a watch refresh begun
    // earlier does not replace what it shows.
    quint64 generation_ = 0;
    quint64 exportGeneration_ = 0;   // generation_ when the running export began
};
