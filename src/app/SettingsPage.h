#pragma once

#include "ui/PageContext.h"

#include <QWidget>

class DatabaseCheckBox;
class LocationsPanel;
class QGroupBox;
class QLineEdit;
class QPushButton;

// The page "Ustawienia": the connection settings kept in Config.ini with the
// maintenance box "Baza danych" and the database check under them, and the locations beside them.
class SettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit SettingsPage(const PageContext& context);

    static const QString DefaultServer;

    void LoadConfig();
    void SaveConfig();
    void Button1Click() { SaveConfig(); }

    LocationsPanel* locationsPanel() const { return locations_; }
    DatabaseCheckBox* databaseCheck() const { return databaseCheck_; }

    QString serverAddress() const;
    QString login() const;
    QString password() const;
    QString databaseName() const;

    QLineEdit* Edit1 = nullptr;      // "Adres serwera bazy danych"
    QLineEdit* MaskEdit1 = nullptr;  // "Login"
    QLineEdit* MaskEdit2 = nullptr;  // "Hasło", shown in clear
    QLineEdit* Edit2 = nullptr;      // "Nazwa bazy"
    QPushButton* Button1 = nullptr;  // "Zapisz"

private:
    const PageContext context_;
    LocationsPanel* locations_ = nullptr;
    DatabaseCheckBox* databaseCheck_ = nullptr;
};
