#include "events/EventCsv.h"

#include "text/Windows1250.h"
#include "dataaccess/Dataset.h"
#include "dataaccess/Errors.h"
#include "dataaccess/RowSource.h"

#include <QSaveFile>

#include <algorithm>
#include <array>

namespace {

const char* const Fields[] = {"TIME", "FIRST_NAME", "NAME", "NAME_1", "NAME_2", "SERIAL", "CANAL", "HEAD"};
constexpr int Time = 0;
constexpr int Serial = 5;

void appendText(QByteArray& out, const char* utf8, unsigned long length)
{
    const bool ascii = std::all_of(utf8, utf8 + length, [](char c) { return (c & 0x80) == 0; });
    if (ascii)
        out.append(utf8, static_cast<qsizetype>(length));
    else
        out += Windows1250::encode(QString::fromUtf8(utf8, static_cast<qsizetype>(length)));
}

// Date and time without a fraction of a second; the time is left out at exact midnight.
void appendTime(QByteArray& out, const char* data, unsigned long length)
{
    const QByteArray value = QByteArray::fromRawData(data, static_cast<qsizetype>(length));
    const qsizetype blank = value.indexOf(' ');
    if (blank < 0) {
        out += value;
        return;
    }
    const QByteArray time = value.mid(blank + 1);
    const bool midnight = std::all_of(time.begin(), time.end(),
                                      [](char c) { return c == '0' || c == ':' || c == '.'; });
    if (midnight) {
        out += value.left(blank);
        return;
    }
    const qsizetype point = value.indexOf('.', blank);
    out += point < 0 ? value : value.left(point);
}

}  // namespace

EventCsv::EventCsv(const std::vector<ColumnInfo>& columns)
{
    for (int i = 0; i < 8; ++i) {
        const QString name = QString::fromLatin1(Fields[i]);
        const auto found = std::find_if(columns.begin(), columns.end(), [&](const ColumnInfo& c) {
            return c.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (found == columns.end())
            throw DataError(QStringLiteral("Field '%1' not found").arg(name));
        columns_[i] = static_cast<int>(found - columns.begin());
    }
}

QByteArray EventCsv::header()
{
    return Windows1250::encode(QStringLiteral(
        "Data i czas;imię;nazwisko;zdarzenie;nazwa kontrolera;nr kontrolera;typ;nazwa głowicy"));
}

void EventCsv::appendRow(QByteArray& buffer, const char* const* cells, const unsigned long* lengths) const
{
    buffer += "\r\n";
    for (int i = 0; i < 8; ++i) {
        if (i > 0)
            buffer += ';';
        if (i == Serial)
            buffer += '\'';
        const char* data = cells[columns_[i]];
        const unsigned long length = lengths[columns_[i]];
        if (data && i == Time)
            appendTime(buffer, data, length);
        else if (data)
            appendText(buffer, data, length);
        if (i == Serial)
            buffer += '\'';
    }
}

void writeEventsCsv(const Dataset& rows, const QString& fileName)
{
    std::vector<ColumnInfo> columns;
    for (int i = 0; i < rows.columnCount(); ++i)
        columns.push_back(rows.column(i));
    const EventCsv csv(columns);

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(fileName, file.errorString());
    if (!writeEventsCsv(DatasetRows(rows), csv.columns(), file) || !file.commit())
        throw FileError(fileName, file.errorString());
}

bool writeEventsCsv(const RowSource& rows, const std::array<int, 8>& columns, QIODevice& file)
{
    const EventCsv csv(columns);
    const std::size_t width = static_cast<std::size_t>(*std::max_element(columns.begin(), columns.end())) + 1;
    QByteArray buffer = EventCsv::header();
    std::vector<const char*> cells(width);
    std::vector<unsigned long> lengths(width);
    bool written = true;
    for (int row = 0; row < rows.rowCount() && written; ++row) {
        for (int col : columns)
            cells[static_cast<std::size_t>(col)] = rows.cellData(row, col, &lengths[static_cast<std::size_t>(col)]);
        csv.appendRow(buffer, cells.data(), lengths.data());
        if (buffer.size() >= (1 << 20)) {
            written = file.write(buffer) == buffer.size();
            buffer.truncate(0);   // keeps its capacity
        }
    }
    return written && file.write(buffer) == buffer.size();
}
