// The lists of the filter: the person list and the two check boxes that fill a list.
#include "app/TForm1.h"
#include "db/TDataModule3.h"
#include "events/EventsPage.h"

#include <QCheckBox>
#include <QComboBox>

// PersonList[i] for i = 1, 2, ... is the i-th person of Users; item k of the
// person list shows entry k + 1. The rows are read where they stand, so that
// the current row of Users, on which the people page acts, stays where it was.
void EventsPage::FillPersonList()
{
    const Dataset& users = m_.Users;
    if (!connected() || !users.isOpen())
        return;
    const int idColumn = users.requireColumn(QStringLiteral("ID_USER"));
    const int nameColumn = users.requireColumn(QStringLiteral("NAME"));
    const int firstNameColumn = users.requireColumn(QStringLiteral("FIRST_NAME"));

    std::vector<Tuser> persons(1);   // entry 0 is never filled
    persons.reserve(static_cast<std::size_t>(users.rowCount()) + 1);
    QStringList items;
    items.reserve(users.rowCount());
    for (int row = 0; row < users.rowCount(); ++row) {
        Tuser person;
        unsigned long length = 0;
        if (const char* id = users.cellData(row, idColumn, &length))
            person.id = Dataset::toInteger(id, length);
        person.name = users.cell(row, nameColumn);
        person.first_name = users.cell(row, firstNameColumn);
        items << person.name + QLatin1Char(' ') + person.first_name;
        persons.push_back(std::move(person));
    }
    form_.lookups().PersonList = std::move(persons);

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
