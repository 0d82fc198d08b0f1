#pragma once

#include <QWidget>

class QComboBox;
class QProgressBar;
class TForm1;

// The page "Urządzenia": door controllers with their two reader heads.
class DevicesPage : public QWidget {
    Q_OBJECT
public:
    explicit DevicesPage(TForm1& form);

    void setInitialChoices();

    // The passage lookup and its lists; arrives with the devices.
    void FillPassageLists();
    // The device form from the current device; arrives with the devices.
    void ShowSelectedDevice();

    // The gauge after a device save: shown from 0, one step a second, hidden at 100.
    void startSaveGauge();
    void advanceSaveGauge();

    QComboBox* ComboBox8 = nullptr;   // event type of head A
    QComboBox* ComboBox7 = nullptr;   // event type of head B
    QComboBox* wiegand_a = nullptr;
    QComboBox* wiegand_b = nullptr;
    QProgressBar* Gauge1 = nullptr;

private:
    TForm1& form_;
};
