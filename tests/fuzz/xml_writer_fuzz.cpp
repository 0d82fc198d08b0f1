// The recordset XML writer: whatever the column names and values, the document is
// well-formed XML with namespaces (an independent reader, QXmlStreamReader, takes
// it whole); every column has one s:AttributeType whose name is unique and is the
// name its rows use, with its own name as rs:name when it had to be replaced; a
// plain name is kept (its first time); and every value reads back as it was, a character XML
// cannot hold read as U+FFFD.
#include "FuzzCheck.h"
#include "FuzzRows.h"
#include "dataaccess/Dataset.h"
#include "dataaccess/RecordsetXml.h"

#include <QBuffer>
#include <QHash>
#include <QXmlStreamReader>
#include <fuzzer/FuzzedDataProvider.h>
#include <mysql.h>

namespace {

// What a reader gets from a stored text: U+FFFD for each character XML forbids.
QString readable(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        const bool allowed = u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && u != 0xFFFE && u != 0xFFFF);
        out += allowed ? text[i] : QChar(0xFFFD);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int columnCount = in.ConsumeIntegralInRange(1, 6);
    std::vector<ColumnInfo> columns(static_cast<std::size_t>(columnCount));
    for (ColumnInfo& c : columns) {
        const std::string name = in.ConsumeRandomLengthString(10);
        c.name = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
        c.serverName = c.name;
        const bool number = in.ConsumeBool();
        c.type = number ? MYSQL_TYPE_LONG : MYSQL_TYPE_VAR_STRING;
        c.length = number ? 11 : 1020;
        c.charset = number ? 63 : 45;   // binary for numbers, utf8mb4 for text
        c.charsetMaxBytes = number ? 1 : 4;
        if (in.ConsumeBool()) {
            c.baseTable = QStringLiteral("T");
            c.baseColumn = c.name;
        }
    }
    FuzzRows rows;
    const int rowCount = in.ConsumeIntegralInRange(0, 8);
    for (int r = 0; r < rowCount; ++r) {
        std::vector<std::optional<QByteArray>> cells;
        for (const ColumnInfo& c : columns) {
            if (in.ConsumeIntegralInRange(0, 7) == 0) {
                cells.emplace_back();
                continue;
            }
            if (c.type == MYSQL_TYPE_LONG) {
                cells.emplace_back(QByteArray::number(in.ConsumeIntegral<int>()));
                continue;
            }
            const std::string value = in.ConsumeRandomLengthString(24);
            cells.emplace_back(QByteArray(value.data(), static_cast<qsizetype>(value.size())));
        }
        rows.cells.push_back(std::move(cells));
    }

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    FUZZ_CHECK(RecordsetXml::write(rows, columns, buffer), "not written");
    const QByteArray document = buffer.data();

    QXmlStreamReader xml(document);
    QStringList names;
    QHash<QString, int> numberOf;
    int row = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.qualifiedName() == QLatin1String("s:AttributeType")) {
            const int column = static_cast<int>(names.size());
            const QString name = attributes.value(QLatin1String("name")).toString();
            FUZZ_CHECK(!numberOf.contains(name), "the name '%s' twice", shown(name).constData());
            FUZZ_CHECK(attributes.value(QLatin1String("rs:number")).toInt() == column + 1, "number");
            const ColumnInfo& c = columns[static_cast<std::size_t>(column)];
            bool earlier = false;
            for (int k = 0; k < column; ++k)
                earlier = earlier || columns[static_cast<std::size_t>(k)].name == c.name;
            if (RecordsetXml::isPlainName(c.name) && !earlier)
                FUZZ_CHECK(name == c.name, "plain name '%s' written as '%s'", shown(c.name).constData(),
                           shown(name).constData());
            else
                FUZZ_CHECK(attributes.value(QLatin1String("rs:name")) == readable(c.name), "rs:name");
            numberOf.insert(name, column);
            names << name;
        } else if (xml.qualifiedName() == QLatin1String("z:row")) {
            FUZZ_CHECK(row < rowCount, "more rows than given");
            const std::vector<std::optional<QByteArray>>& cells = rows.cells[static_cast<std::size_t>(row)];
            int present = 0;
            for (std::size_t i = 0; i < cells.size(); ++i) {
                const QString name = names.value(static_cast<qsizetype>(i));
                FUZZ_CHECK(attributes.hasAttribute(name) == cells[i].has_value(), "row %d column %zu", row + 1, i + 1);
                if (!cells[i])
                    continue;
                ++present;
                const QByteArray& value = *cells[i];
                // Text that is UTF-8 reads back exactly; other bytes only have to leave the document whole.
                const QString text = QString::fromUtf8(value);
                if (text.toUtf8() == value)
                    FUZZ_CHECK(attributes.value(name) == readable(text), "row %d column %zu: '%s' read as '%s'",
                               row + 1, i + 1, shown(readable(text)).constData(),
                               shown(attributes.value(name).toString()).constData());
            }
            FUZZ_CHECK(attributes.size() == present, "row %d has %lld attributes for %d values", row + 1,
                       static_cast<long long>(attributes.size()), present);
            ++row;
        }
    }
    FUZZ_CHECK(!xml.hasError(), "not well-formed: %s at line %lld, column %lld\n%s",
               qPrintable(xml.errorString()), static_cast<long long>(xml.lineNumber()),
               static_cast<long long>(xml.columnNumber()), document.constData());
    FUZZ_CHECK(names.size() == columnCount, "%lld column descriptions for %d columns",
               static_cast<long long>(names.size()), columnCount);
    FUZZ_CHECK(row == rowCount, "%d rows read of %d", row, rowCount);
    return 0;
}
