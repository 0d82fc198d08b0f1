#pragma once

#include <QWidget>

class QComboBox;
class QPushButton;
class TForm1;

// The page "Zdarzenia": the filtered, paged event log and its export.
class EventsPage : public QWidget {
    Q_OBJECT
public:
    explicit EventsPage(TForm1& form);

    void setInitialChoices();

    // "Filtruj": runs the event query with the filter and page shown; arrives with the event view.
    void Button27Click();
    // The person list of the filter; arrives with the event view.
    void FillPersonList();

    QComboBox* ComboBox12 = nullptr;   // event type filter
    QComboBox* ComboBox10 = nullptr;   // "Wybrana grupa"
    QComboBox* ComboBox11 = nullptr;   // "Wybrane przejście"
    QPushButton* Button27 = nullptr;   // "Filtruj"

private:
    void showPassageList();

    TForm1& form_;
};
