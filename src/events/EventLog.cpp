#include "events/EventLog.h"

#include "db/Lookups.h"
#include "db/TDataModule3.h"

EventCount EventLog::countOf(const Dataset& counted)
{
    QStringList cells;
    for (int i = 0; i < counted.columnCount(); ++i)
        cells << counted.textAt(i);
    return EventCount::fromRow(cells);
}

EventCount EventLog::CountEvents(TDataModule3& m, const EventFilter& filter)
{
    return countOf(m.lookUp({EventStatements::count(filter)}));
}

void EventLog::ShowEventPage(TDataModule3& m, const EventFilter& filter, qint64 offset, int count,
                             const EventCount& counted)
{
    m.Events.setStatement(EventStatements::page(filter, offset, count, counted));
    m.Events.reexecute();
}

void EventLog::RunExportStatement(TDataModule3& m, const EventFilter& filter)
{
    m.SQL.setStatement(EventStatements::all(filter));
    m.SQL.reexecute();
}

QStringList EventLog::FillPersonList(const TDataModule3& m, Lookups& lookups)
{
    const Dataset& users = m.Users;
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
    lookups.PersonList = std::move(persons);
    return items;
}
