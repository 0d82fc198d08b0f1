// Connecting and disconnecting from the menu "DATABASE".
#include "app/SettingsPage.h"
#include "app/TForm1.h"
#include "dataaccess/Errors.h"
#include "db/TDataModule3.h"
#include "ui/Dialogs.h"

void TForm1::Connect1Click()
{
    statusWatchFailed_ = false;
    ConnectDatabase();
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

    try {
        m.Quorvel.open();
    } catch (const DataAccessError&) {
        dialogs_.connectMessage(QStringLiteral("Problem z otwarciem bazy danych"));
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
        } catch (const DataAccessError&) {
            dialogs_.connectMessage(QString::fromUtf8(message));
        }
    }

    FillGroupLists();
    FillPassageLists();
    RefreshGroupPermissions();
    // Without the templates' table a load would only fail again.
    if (m.Szablony.isOpen())
        LoadTemplate(currentPermissionTemplate());
    RefreshCardList();
    FillLocationLists();
    ShowSelectedDevice();
    ShowSelectedLocation();
    FillPersonList();
}
