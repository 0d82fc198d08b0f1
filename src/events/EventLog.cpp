#include "events/EventLog.h"

#include "db/Lookups.h"
#include "db/TDataModule3.h"
#include "events/EventCsv.h"

QString EventLog::CountEvents(TDataModule3& m, const EventFilter& filter)
{
    return m.lookUp({EventStatements::count(filter)}).textAt(0);
}

void EventLog::ShowEventPage(TDataModule3& m, const EventFilter& filter, qint64 offset, int count)
{
    m.Events.setStatement(EventStatements::page(filter, offset, count));
    m.Events.reexecute();
}

void EventLog::ExportEvents(TDataModule3& m, const EventFilter& filter, int mode, const QString& fileName)
{
    m.SQL.setStatement(EventStatements::all(filter));
    m.SQL.reexecute();
    if (mode == 2)
        writeEventsCsv(m.SQL, fileName);
    else if (mode == 3)
        m.SQL.saveAsXml(fileName);
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
