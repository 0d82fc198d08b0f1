#include "app/TForm1.h"

#include "access/AccessPage.h"
#include "access/GroupChanges.h"
#include "access/PermissionChanges.h"
#include "app/DatabaseCheckBox.h"
#include "app/HistoryPage.h"
#include "app/SettingsPage.h"
#include "app/Version.h"
#include "dataaccess/Errors.h"
#include "db/History.h"
#include "db/TDataModule3.h"
#include "devices/DeviceChanges.h"
#include "devices/DevicesPage.h"
#include "devices/LocationChanges.h"
#include "devices/LocationsPanel.h"
#include "events/EventsPage.h"
#include "import/ImportPage.h"
#include "people/UsersPage.h"
#include "ui/Dialogs.h"
#include "ui/ToolTips.h"
#include "ui/VerticalTabStyle.h"
#include "ui/WindowPlace.h"

#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

TForm1::TForm1(TDataModule3& dataModule, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), module_(dataModule), dialogs_(dialogs), guard_(dialogs)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Valdrix V" VALDRIX_VERSION));
    resize(1280, 860);
    buildMenu();
    buildPages();
    buildStatusBar();
    applyToolTips(this);
    enterPressesButtons(this);
    new WindowPlace(this, AdvOfficePager1);

    connect(&module_, &TDataModule3::statusTextChanged, this, &TForm1::setStatusText);
    connect(&pageSignals_, &PageSignals::statusMessage, this, &TForm1::setStatusText);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    connectGuarded(Timer1, &QTimer::timeout, this, guard_, [this] { Timer1Timer(); });
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);
    connectGuarded(Timer2, &QTimer::timeout, this, guard_, [this] { Timer2Timer(); });
    connect(devicesPage_, &DevicesPage::saveGaugeStarted, Timer2, qOverload<>(&QTimer::start));
    connect(devicesPage_, &DevicesPage::saveGaugeFinished, Timer2, &QTimer::stop);

    guard_.run([this] { FormCreate(); });
    Timer1->start();
}

TForm1::~TForm1() = default;

void TForm1::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* database = bar->addMenu(QStringLiteral("DATABASE"));
    database->setObjectName(QStringLiteral("DATABASE1"));
    Connect1 = database->addAction(QStringLiteral("Connect"));
    Connect1->setObjectName(QStringLiteral("Connect1"));
    UNCONNECT1 = database->addAction(QStringLiteral("Unconnect"));
    UNCONNECT1->setObjectName(QStringLiteral("UNCONNECT1"));
    connectGuarded(Connect1, &QAction::triggered, this, guard_, [this] { Connect1Click(); });
    connectGuarded(UNCONNECT1, &QAction::triggered, this, guard_, [this] { UNCONNECT1Click(); });
}

void TForm1::buildPages()
{
    AdvOfficePager1 = new QTabWidget(this);
    AdvOfficePager1->setObjectName(QStringLiteral("AdvOfficePager1"));
    AdvOfficePager1->setTabPosition(QTabWidget::West);
    auto* tabStyle = new VerticalTabStyle();
    tabStyle->setParent(AdvOfficePager1);
    AdvOfficePager1->tabBar()->setStyle(tabStyle);

    const PageContext context{module_, dialogs_, guard_, lookups_, pageSignals_};
    usersPage_ = new UsersPage(context);
    accessPage_ = new AccessPage(context);
    eventsPage_ = new EventsPage(context);
    devicesPage_ = new DevicesPage(context);
    settingsPage_ = new SettingsPage(context);
    importPage_ = new ImportPage(context);
    historyPage_ = new HistoryPage(context);
    // The order is fixed: the event watch tests for index 2. Each page scrolls when
    // the window is smaller than the page, instead of squeezing its controls.
    const std::pair<QWidget*, QString> pages[] = {
        {usersPage_, QStringLiteral("Użytkownicy")},
        {accessPage_, QStringLiteral("Uprawnienia grup")},
        {eventsPage_, QStringLiteral("Zdarzenia")},
        {devicesPage_, QStringLiteral("Urządzenia")},
        {settingsPage_, QStringLiteral("Ustawienia")},
        {importPage_, QStringLiteral("Import")},
        {historyPage_, QStringLiteral("Historia zmian")},
    };
    for (const auto& [page, caption] : pages) {
        auto* scroll = new QScrollArea(AdvOfficePager1);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setWidget(page);
        AdvOfficePager1->addTab(scroll, caption);
    }
    AdvOfficePager1->setCurrentIndex(0);
    setCentralWidget(AdvOfficePager1);
    // The history shows its newest rows as soon as its page is opened.
    connect(AdvOfficePager1, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 6 && module_.Quorvel.isOpen() && historyPage_->Rows.rowCount() == 0)
            guard_.run([&] {
                if (module_.recordsHistory())
                    historyPage_->FilterClick();
            });
    });
    connect(&pageSignals_, &PageSignals::personHistoryRequested, this, [this](int personId, const QString& name) {
        AdvOfficePager1->setCurrentIndex(6);   // "Historia zmian"
        guard_.run([&] { historyPage_->ShowPerson(personId, name); });
    });
}

void TForm1::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    statusPanel0_ = new QLabel(bar);
    statusPanel0_->setObjectName(QStringLiteral("StatusPanel0"));
    statusPanel0_->setFrameShape(QFrame::StyledPanel);
    statusPanel1_ = new QLabel(bar);
    statusPanel1_->setObjectName(QStringLiteral("StatusPanel1"));
    statusPanel1_->setFrameShape(QFrame::StyledPanel);
    bar->addPermanentWidget(statusPanel0_, 3);
    bar->addPermanentWidget(statusPanel1_, 1);
}

QString TForm1::statusText() const { return statusPanel0_->text(); }
void TForm1::setStatusText(const QString& text) { statusPanel0_->setText(text); }

void TForm1::FormCreate()
{
    settingsPage_->LoadConfig();
    devicesPage_->setInitialChoices();
    eventsPage_->setInitialChoices();
    LastEventsCount = 0;
}

// Watches STATUS.EVENTS, which the event writer raises, and refreshes the event
// page when it changed while that page is shown.
void TForm1::Timer1Timer()
{
    if (!module_.Quorvel.isOpen())
        return;
    try {
        module_.Status.reexecute();
    } catch (const DataAccessError&) {
        if (statusWatchFailed_)
            return;
        statusWatchFailed_ = true;
        throw;
    }
    statusWatchFailed_ = false;
    module_.Status.first();
    if (module_.Status.eof())
        return;
    const int events = module_.Status.integer(QStringLiteral("EVENTS"));
    if (events == LastEventsCount)
        return;
    LastEventsCount = events;
    if (AdvOfficePager1->currentIndex() != 2)
        return;
    // "Filtruj" for the filter and page shown. Its statements run off the GUI
    // thread; their rows are then shown as "Filtruj" shows them, and the grid
    // keeps its row number.
    eventsPage_->refreshForWatch();
}

void TForm1::Timer2Timer() { devicesPage_->advanceSaveGauge(); }

void TForm1::StartDeviceSaveGauge() { devicesPage_->startSaveGauge(); }

void TForm1::FillGroupLists() { GroupChanges::FillGroupLists(module_, lookups_); }
void TForm1::FillPassageLists() { DeviceChanges::FillPassageLists(module_, lookups_); }
void TForm1::RefreshGroupPermissions() { PermissionChanges::RefreshGroupPermissions(module_); }
void TForm1::LoadTemplate(int templateId) { accessPage_->LoadTemplate(templateId); }
void TForm1::RefreshCardList() { usersPage_->RefreshCardList(); }
void TForm1::FillLocationLists() { LocationChanges::FillLocationLists(module_, lookups_); }
void TForm1::ShowSelectedDevice() { devicesPage_->ShowSelectedDevice(); }
void TForm1::ShowSelectedLocation() { settingsPage_->locationsPanel()->ShowSelectedLocation(); }
void TForm1::FillPersonList() { eventsPage_->FillPersonList(); }

void TForm1::Connect1Click()
{
    statusWatchFailed_ = false;
    ConnectDatabase();
    // Once a connect: the page "Ustawienia" lists what the database lacks, and
    // the status bar says when it lacks something.
    if (module_.Quorvel.isOpen()) {
        const QString missing = DatabaseCheck::summary(settingsPage_->databaseCheck()->checkDatabase());
        if (!missing.isEmpty())
            setStatusText(missing);
    }
}

void TForm1::UNCONNECT1Click() { module_.Quorvel.close(); }

void TForm1::ConnectDatabase()
{
    TDataModule3& m = module_;
    // A connection that died unnoticed (the server went away, or ended the session)
    // is dropped first, so that this "Connect" connects afresh.
    m.Quorvel.closeIfDead();
    // A changed server, login or password closes an open connection; a changed
    // database name switches it (a failure there ends the sequence).
    m.Quorvel.setServer(settingsPage_->serverAddress());
    m.Quorvel.setLogin(settingsPage_->login());
    m.Quorvel.setPassword(settingsPage_->password());
    m.Quorvel.setDatabase(settingsPage_->databaseName());

    // Each message carries the server's or the client library's reason, so that a
    // wrong password can be told from an unreachable server.
    try {
        m.Quorvel.open();
    } catch (const DataAccessError& error) {
        dialogs_.connectMessage(QStringLiteral("Problem z otwarciem bazy danych"), error.message());
    }

    // Each opening on its own: a failure is told and the next one is tried.
    const std::pair<Dataset*, const char*> openings[] = {
        {&m.Device, "Problem z tabelą \"Devices\""},
        {&m.Events, "Problem z tabelę \"Events\""},
        {&m.Users, "Problem z tabelą \"Users\""},
        {&m.Groups, "Problem z tabelą \"GROUPS\""},
        {&m.Szablony, "Problem z tabelą \"PERMISSIONS\" "},
        {&m.LOCALIZATION, "Problem z tabelą \"Localization\" "},
        {&m.Status, "Problem z tabelą \"STATUS\" "},
    };
    for (const auto& [dataset, message] : openings) {
        try {
            dataset->open();
        } catch (const DataAccessError& error) {
            dialogs_.connectMessage(QString::fromUtf8(message), error.message());
        }
    }

    FillGroupLists();
    FillPassageLists();
    RefreshGroupPermissions();
    // Without the templates' table a load would only fail again.
    if (m.Szablony.isOpen())
        LoadTemplate(PermissionChanges::CurrentPermissionTemplate(m));
    RefreshCardList();
    FillLocationLists();
    ShowSelectedDevice();
    ShowSelectedLocation();
    FillPersonList();
    CheckHistoryTable();
}

// Whether changes are recorded; a database without the history table is told so
// once, with the way to add it.
void TForm1::CheckHistoryTable()
{
    TDataModule3& m = module_;
    if (!m.Quorvel.isOpen())
        return;
    bool recorded = false;
    try {
        recorded = m.checkHistoryTable();
    } catch (const DataAccessError&) {
        return;   // asked again by the first change
    }
    if (recorded) {
        historyPage_->FillOperatorList();
    } else if (!historyNoticeShown_) {
        historyNoticeShown_ = true;
        dialogs_.notice(History::MissingTableText);
    }
}
