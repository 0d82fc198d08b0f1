#pragma once

#include "devices/DeviceChanges.h"
#include "devices/KeptRow.h"
#include "ui/PageContext.h"

#include <QWidget>

#include <optional>
#include <vector>

class BoundGrid;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QTabWidget;
class TDataModule3;

// The page "Urządzenia": door controllers with their two reader heads. The
// changes themselves are DeviceChanges.
class DevicesPage : public QWidget {
    Q_OBJECT
public:
    explicit DevicesPage(const PageContext& context);

    void setInitialChoices();

    // Operations.
    void ShowSelectedDevice();
    int LocationPosition(int locationId) const;
    void AddDevice();
    bool SaveDevice();

    // Handlers.
    void Button18Click();   // "Zapisz zmiany"
    void Button19Click();   // "Usuń urządzenie"
    void Button20Click();   // "Dodaj"
    void DBGrid1CellClick();
    void AdvOfficePager8Change(int index);
    void TrackBar1Change();

    // The gauge after a device save: shown from 0, one step a second (the main
    // window's Timer2, started and stopped through the two signals), hidden at 100.
    void startSaveGauge();
    void advanceSaveGauge();

    // The selected device (0: none): the row of Device kept current, which the form
    // shows on the tab "Edytuj/ usuń  urządzenie"; saving and deleting act on it.
    int selectedDeviceId() const { return selectedDevice_->key(); }

    BoundGrid* DBGrid1 = nullptr;
    QLineEdit* DeviceFind = nullptr;   // find as you type above the device list
    QTabWidget* AdvOfficePager8 = nullptr;
    QPushButton* Button18 = nullptr;
    QPushButton* Button19 = nullptr;
    QPushButton* Button20 = nullptr;
    QGroupBox* GroupBox2 = nullptr;    // "Właściwości urządzenia"
    QLineEdit* name = nullptr;
    QLineEdit* factory = nullptr;
    QLineEdit* ip = nullptr;
    QLineEdit* mask = nullptr;
    QLineEdit* getway = nullptr;
    QLineEdit* ip_serwera = nullptr;
    QLineEdit* Port_serwera = nullptr;
    QSlider* TrackBar1 = nullptr;      // relay time, 0..60
    QLabel* Label51 = nullptr;
    QComboBox* ComboBox6 = nullptr;    // location; item k is LocationList[k]
    QTabWidget* AdvOfficePager19 = nullptr;
    QLineEdit* Edit15 = nullptr;       // name of head A
    QLineEdit* Edit16 = nullptr;       // name of head B
    QComboBox* wiegand_a = nullptr;
    QComboBox* wiegand_b = nullptr;
    QComboBox* ComboBox8 = nullptr;    // event type of head A
    QComboBox* ComboBox7 = nullptr;    // event type of head B
    QCheckBox* CheckBox10 = nullptr;   // record events of head A
    QCheckBox* CheckBox9 = nullptr;    // record events of head B
    QProgressBar* Gauge1 = nullptr;

signals:
    void saveGaugeStarted();
    void saveGaugeFinished();

private:
    QWidget* buildDeviceList();
    QWidget* buildPager();
    QGroupBox* buildProperties();
    QWidget* buildHead(QLineEdit*& headName, const char* headNameName, const QString& headLabel,
                       QComboBox*& wiegand, const char* wiegandName, QComboBox*& direction,
                       const char* directionName, QCheckBox*& record, const char* recordName,
                       const QString& recordCaption);
    void showLocationList();
    void DBGrid1KeyUp();

    bool devicesOpen() const;
    int selectedLocationId() const;
    std::optional<int> serverPort();
    DeviceSettings shownSettings(int port) const;

    const PageContext context_;
    TDataModule3& m_;
    KeptRow* selectedDevice_ = nullptr;
    std::vector<int> locationIds_;   // the location of each item of ComboBox6
};
