#pragma once

#include "devices/LocationChanges.h"
#include "ui/PageContext.h"

#include <QWidget>

class BoundGrid;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class KeptRow;
class TDataModule3;

// The locations (sites with their address and time zone), on the page "Ustawienia":
// the list, the form, adding, saving and deleting. The changes themselves are
// LocationChanges.
class LocationsPanel : public QWidget {
    Q_OBJECT
public:
    LocationsPanel(const PageContext& context, QWidget* parent);

    // Operations.
    void ShowSelectedLocation();

    // Handlers.
    void Button23Click();   // "Dodaj"
    void Button21Click();   // "Zapisz zmiany"
    void Button22Click();   // "Usuń lokalizację"
    void DBGrid8CellClick();
    void AdvOfficePager16Change(int index);

    // The selected location (0: none): the row of LOCALIZATION kept current, which
    // the form shows after a list click or on the tab "Edytuj / usuń lokalizację";
    // saving and deleting act on it.
    int selectedLocationId() const;

    BoundGrid* DBGrid8 = nullptr;
    QTabWidget* AdvOfficePager16 = nullptr;
    QPushButton* Button21 = nullptr;
    QPushButton* Button22 = nullptr;
    QPushButton* Button23 = nullptr;
    QGroupBox* GroupBox1 = nullptr;     // the form, over both tabs
    QLineEdit* Edit12 = nullptr;        // "Nazwa"
    QComboBox* ComboBox5 = nullptr;     // "Strefa czasowa "
    QPlainTextEdit* Memo1 = nullptr;    // "Adres obiektu"

private:
    QWidget* buildPager();
    QGroupBox* buildForm();
    void DBGrid8KeyUp();

    bool locationsOpen() const;
    int timeZonePosition() const;
    LocationSettings shownSettings() const;

    const PageContext context_;
    TDataModule3& m_;
    KeptRow* selectedLocation_ = nullptr;
};
