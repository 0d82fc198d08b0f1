// The lists of the filter: the person list and the two check boxes that fill a list.
#include "db/TDataModule3.h"
#include "events/EventLog.h"
#include "events/EventsPage.h"

#include <QCheckBox>
#include <QComboBox>

// The filter's person list: item k shows PersonList[k + 1].
void EventsPage::FillPersonList()
{
    if (!connected() || !m_.Users.isOpen())
        return;
    const QStringList items = EventLog::FillPersonList(m_, context_.lookups);
    const QSignalBlocker quiet(ComboBox9);
    ComboBox9->clear();
    ComboBox9->addItems(items);
    ComboBox9->setCurrentIndex(-1);
}

void EventsPage::CheckBox11Click()
{
    if (!CheckBox11->isChecked()) {
        ComboBox9->clear();
        return;
    }
    FillPersonList();
    if (ComboBox9->count() > 0)
        ComboBox9->setCurrentIndex(0);
}

void EventsPage::CheckBox13Click()
{
    if (!CheckBox13->isChecked()) {
        ComboBox11->clear();
        return;
    }
    showPassageList();
    if (ComboBox11->count() > 0)
        ComboBox11->setCurrentIndex(0);
}
