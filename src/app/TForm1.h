#pragma once

#include "db/Lookups.h"
#include "ui/ErrorGuard.h"
#include "ui/PageContext.h"

#include <QMainWindow>

class AccessPage;
class DevicesPage;
class Dialogs;
class EventsPage;
class HistoryPage;
class ImportPage;
class QAction;
class QLabel;
class QTabWidget;
class QTimer;
class SettingsPage;
class TDataModule3;
class UsersPage;

// The main window: menu "DATABASE", six pages, the status bar and the two timers.
// It assembles the pages, each with its context, wires what one page tells the
// others, and runs the connect sequence.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(TDataModule3& dataModule, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    TDataModule3& dataModule() const { return module_; }
    Dialogs& dialogs() const { return dialogs_; }
    const ErrorGuard& guard() const { return guard_; }
    Lookups& lookups() { return lookups_; }

    // Handlers.
    void FormCreate();
    void Connect1Click();
    void UNCONNECT1Click();
    void Timer1Timer();
    void Timer2Timer();

    void ConnectDatabase();

    // The steps of the connect sequence.
    void FillGroupLists();
    void FillPassageLists();
    void RefreshGroupPermissions();
    void LoadTemplate(int templateId);
    void RefreshCardList();
    void FillLocationLists();
    void ShowSelectedDevice();
    void ShowSelectedLocation();
    void FillPersonList();
    void CheckHistoryTable();
    // The progress gauge on the device page after a device save.
    void StartDeviceSaveGauge();

    // Panel 0 of the status bar.
    QString statusText() const;
    void setStatusText(const QString& text);

    int LastEventsCount = 0;

    QTabWidget* AdvOfficePager1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QAction* Connect1 = nullptr;
    QAction* UNCONNECT1 = nullptr;

    UsersPage* usersPage() const { return usersPage_; }
    AccessPage* accessPage() const { return accessPage_; }
    EventsPage* eventsPage() const { return eventsPage_; }
    DevicesPage* devicesPage() const { return devicesPage_; }
    SettingsPage* settingsPage() const { return settingsPage_; }
    ImportPage* importPage() const { return importPage_; }
    HistoryPage* historyPage() const { return historyPage_; }

private:
    void buildMenu();
    void buildPages();
    void buildStatusBar();

    TDataModule3& module_;
    Dialogs& dialogs_;
    ErrorGuard guard_;
    Lookups lookups_;
    PageSignals pageSignals_;

    QLabel* statusPanel0_ = nullptr;
    QLabel* statusPanel1_ = nullptr;
    // Set after the watch of STATUS failed and was reported, so that a missing
    // table is reported once and not at every tick.
    bool statusWatchFailed_ = false;

    UsersPage* usersPage_ = nullptr;
    AccessPage* accessPage_ = nullptr;
    EventsPage* eventsPage_ = nullptr;
    DevicesPage* devicesPage_ = nullptr;
    SettingsPage* settingsPage_ = nullptr;
    ImportPage* importPage_ = nullptr;
    HistoryPage* historyPage_ = nullptr;
    // Set once the operator was told that changes are not recorded.
    bool historyNoticeShown_ = false;
};
