#include "dataaccess/RecordsetXml.h"

#include "text/Utf8.h"

#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"
#include "dataaccess/RowSource.h"
#include "dataaccess/Errors.h"

#include <QIODevice>
#include <QSaveFile>
#include <QSet>
#include <QStringList>
#include <mysql.h>

#include <algorithm>
#include <vector>

namespace {

// What the reader of the file is told a column's values are.
enum class Kind { Text, I1, I2, Int, I8, UI2, UI4, Float, Date, Time, DateTime, Boolean, Decimal, Binary, Guid };

struct ColumnType {
    Kind kind = Kind::Text;
    bool isLong = false;         // long text or long binary
    bool fixedLength = false;
    bool wide = false;           // text in a multi-byte character set
    unsigned long length = 0;    // declared length in characters or bytes, or the precision
    int size = 0;                // bytes of one value
};

constexpr unsigned BinaryCharset = 63;
constexpr const char* LongLength = "2147483647";

bool isBlob(int type)
{
    return type == MYSQL_TYPE_TINY_BLOB || type == MYSQL_TYPE_MEDIUM_BLOB
        || type == MYSQL_TYPE_LONG_BLOB || type == MYSQL_TYPE_BLOB;
}

// Digits of a DECIMAL column: its display length less the sign and the point.
unsigned long decimalPrecision(const ColumnInfo& c)
{
    unsigned long digits = c.length;
    if (!(c.flags & UNSIGNED_FLAG) && digits > 0)
        --digits;
    if (c.decimals > 0 && digits > 0)
        --digits;
    return digits;
}

ColumnType classify(const ColumnInfo& c)
{
    const bool isUnsigned = c.flags & UNSIGNED_FLAG;
    ColumnType t;
    t.fixedLength = true;
    t.length = c.length;
    if (c.typeName.compare(QLatin1String("uuid"), Qt::CaseInsensitive) == 0) {
        t.kind = Kind::Guid;
        t.size = 16;
        return t;
    }
    switch (c.type) {
    case MYSQL_TYPE_TINY:
        // Unsigned 8-bit values need the next wider unsigned kind.
        t.kind = isUnsigned ? Kind::UI2 : Kind::I1;
        t.size = isUnsigned ? 2 : 1;
        return t;
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_YEAR:
        t.kind = isUnsigned ? Kind::UI2 : Kind::I2;
        t.size = 2;
        return t;
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONG:
        t.kind = isUnsigned ? Kind::UI4 : Kind::Int;
        t.size = 4;
        return t;
    case MYSQL_TYPE_LONGLONG:
        if (isUnsigned) {   // beyond the signed 64-bit range: written as a decimal number
            t.kind = Kind::Decimal;
            t.size = 19;
            return t;
        }
        t.kind = Kind::I8;
        t.size = 8;
        return t;
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
        t.kind = Kind::Float;
        t.size = c.length > 7 ? 8 : 4;
        return t;
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        t.kind = Kind::Decimal;
        t.size = 19;
        t.length = decimalPrecision(c);
        return t;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
        t.kind = Kind::Date;
        t.size = 6;
        return t;
    case MYSQL_TYPE_TIME:
    case MYSQL_TYPE_TIME2:
        t.kind = Kind::Time;
        t.size = 6;
        return t;
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_DATETIME2:
    case MYSQL_TYPE_TIMESTAMP:
    case MYSQL_TYPE_TIMESTAMP2:
        t.kind = Kind::DateTime;
        t.size = 16;
        return t;
    case MYSQL_TYPE_BIT:
        if (c.length == 1) {
            t.kind = Kind::Boolean;
            t.size = 2;
            return t;
        }
        t.kind = Kind::Binary;
        t.length = (c.length + 7) / 8;
        return t;
    default:
        break;
    }
    // Text and binary strings.
    t.fixedLength = false;
    const bool isText = c.type == MYSQL_TYPE_JSON
        || (c.charset != BinaryCharset && c.type != MYSQL_TYPE_GEOMETRY);
    t.kind = isText ? Kind::Text : Kind::Binary;
    if (isBlob(c.type) || c.type == MYSQL_TYPE_JSON || c.type == MYSQL_TYPE_GEOMETRY) {
        t.isLong = true;
    } else if (c.type == MYSQL_TYPE_STRING && !(c.flags & (ENUM_FLAG | SET_FLAG))) {
        t.fixedLength = true;
    }
    if (isText) {
        t.wide = c.charsetMaxBytes > 1;
        t.length = c.length / std::max(1u, c.charsetMaxBytes);
    }
    return t;
}

// The fraction digits of a date or time column; "not fixed" reads as none.
unsigned dateScale(const ColumnInfo& c) { return c.decimals > 6 ? 0 : c.decimals; }

void attribute(QByteArray& out, const char* name, const QByteArray& value)
{
    out += ' ';
    out += name;
    out += "='";
    RecordsetXml::appendEscaped(out, value.constData(), value.size());
    out += '\'';
}

void attribute(QByteArray& out, const char* name, unsigned long long value)
{
    attribute(out, name, QByteArray::number(value));
}

void newLine(QByteArray& out, int level)
{
    out += "\r\n";
    out.append(level * 2, ' ');
}

QByteArray datatype(const ColumnInfo& c)
{
    const ColumnType t = classify(c);
    QByteArray out("<s:datatype");
    switch (t.kind) {
    case Kind::Text:
        attribute(out, "dt:type", "string");
        attribute(out, "dt:maxLength", t.isLong ? QByteArray(LongLength) : QByteArray::number(t.length));
        if (!t.wide)
            attribute(out, "rs:dbtype", "str");
        if (t.isLong)
            attribute(out, "rs:long", "true");
        break;
    case Kind::I1:
        attribute(out, "dt:type", "i1");
        attribute(out, "dt:maxLength", t.size);
        attribute(out, "rs:precision", t.length);
        break;
    case Kind::I2:
        attribute(out, "dt:type", "i2");
        attribute(out, "dt:maxLength", t.size);
        attribute(out, "rs:precision", "5");
        break;
    case Kind::Int:
        attribute(out, "dt:type", "int");
        attribute(out, "dt:maxLength", t.size);
        attribute(out, "rs:precision", "10");
        break;
    case Kind::I8:
        attribute(out, "dt:type", "i8");
        attribute(out, "dt:maxLength", t.size);
        attribute(out, "rs:precision", "19");
        break;
    case Kind::UI2:
    case Kind::UI4:
        attribute(out, "dt:type", t.kind == Kind::UI2 ? "ui2" : "ui4");
        attribute(out, "dt:maxLength", t.size);
        attribute(out, "rs:precision", t.length);
        break;
    case Kind::Float:
        if (t.length > 7) {
            attribute(out, "dt:type", "float");
            attribute(out, "dt:maxLength", t.size);
        } else {
            attribute(out, "dt:type", "r4");
            attribute(out, "dt:maxLength", "4");
        }
        attribute(out, "rs:precision", t.length);
        break;
    case Kind::Date:
    case Kind::Time:
        attribute(out, "dt:type", t.kind == Kind::Date ? "date" : "time");
        attribute(out, "dt:maxLength", t.size);
        attribute(out, "rs:scale", dateScale(c));
        attribute(out, "rs:precision", t.length);
        break;
    case Kind::DateTime:
        attribute(out, "dt:type", "datetime");
        attribute(out, "rs:dbtype", "variantdate");
        attribute(out, "dt:maxLength", t.size);
        attribute(out, "rs:scale", dateScale(c));
        attribute(out, "rs:precision", t.length);
        break;
    case Kind::Boolean:
        attribute(out, "dt:type", "boolean");
        attribute(out, "dt:maxLength", t.size);
        break;
    case Kind::Decimal:
        attribute(out, "dt:type", "number");
        attribute(out, "rs:dbtype", "currency");
        attribute(out, "dt:maxLength", t.size);
        attribute(out, "rs:precision", t.length);
        break;
    case Kind::Binary:
        attribute(out, "dt:type", "bin.hex");
        attribute(out, "dt:maxLength", t.isLong ? QByteArray(LongLength) : QByteArray::number(t.length));
        if (t.isLong)
            attribute(out, "rs:long", "true");
        break;
    case Kind::Guid:
        attribute(out, "dt:type", "uuid");
        attribute(out, "dt:maxLength", "16");
        break;
    }
    if (t.fixedLength)
        attribute(out, "rs:fixedlength", "true");
    if (c.flags & NOT_NULL_FLAG)
        attribute(out, "rs:maybenull", "false");
    out += " />";
    return out;
}

const char Root[] =
    "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'"
    " xmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882'"
    " xmlns:rs='urn:schemas-microsoft-com:rowset' xmlns:z='#RowsetSchema'>";

}  // namespace

namespace {

// XML 1.0's NameStartChar, for the characters a QChar holds.
bool isNameStart(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' ||
           (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || c == 0x200C || c == 0x200D ||
           (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD);
}

// XML 1.0's NameChar without "-", "." and ":", which a plain name has not.
bool isNameChar(char16_t c)
{
    return isNameStart(c) || (c >= u'0' && c <= u'9') || c == 0xB7 || (c >= 0x300 && c <= 0x36F) ||
           c == 0x203F || c == 0x2040;
}

const char Replacement[] = "\xEF\xBF\xBD";   // U+FFFD

// The length of the well-formed UTF-8 character at p (1 to 4), or 0 when the
// bytes there are none, or the character is not allowed in XML.
int xmlCharacterLength(const unsigned char* p, const unsigned char* end)
{
    char32_t code = 0;
    const int length = Utf8::multiByteLength(p, end, &code);
    return code == 0xFFFE || code == 0xFFFF ? 0 : length;
}

}  // namespace

bool RecordsetXml::isPlainName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        const bool ok = (c.isLetter() || c == QLatin1Char('_') || (i > 0 && c.isDigit())) &&
                        (i == 0 ? isNameStart(c.unicode()) : isNameChar(c.unicode()));
        if (!ok)
            return false;
    }
    return true;
}

std::vector<QByteArray> RecordsetXml::xmlNames(const std::vector<ColumnInfo>& columns)
{
    QSet<QByteArray> plain;
    for (const ColumnInfo& column : columns)
        if (isPlainName(column.name))
            plain.insert(column.name.toUtf8());
    // A name twice (a result never has one, but the writer takes any columns)
    // is replaced the second time: an element holds each attribute once.
    QSet<QByteArray> used;
    std::vector<QByteArray> names;
    int replaced = 0;
    for (const ColumnInfo& column : columns) {
        QByteArray name = column.name.toUtf8();
        if (!isPlainName(column.name) || used.contains(name)) {
            do
                name = "c" + QByteArray::number(++replaced);
            while (plain.contains(name));
        }
        used.insert(name);
        names.push_back(name);
    }
    return names;
}

void RecordsetXml::appendEscaped(QByteArray& out, const char* data, qsizetype length)
{
    const auto* begin = reinterpret_cast<const unsigned char*>(data);
    const auto* end = begin + length;
    const auto* plain = begin;
    auto flush = [&](const unsigned char* upTo) {
        out.append(reinterpret_cast<const char*>(plain), upTo - plain);
    };
    for (const unsigned char* p = begin; p != end;) {
        const unsigned char b = *p;
        const char* reference = nullptr;
        int skip = 1;
        if (b >= 0x80) {
            skip = xmlCharacterLength(p, end);
            if (skip > 0) {
                p += skip;
                continue;
            }
            reference = Replacement;
            skip = 1;
            // One replacement for the whole ill-formed run of continuation bytes.
            while (p + skip != end && (p[skip] & 0xC0) == 0x80 && skip < 4)
                ++skip;
        } else {
            switch (b) {
            case '&': reference = "&#x26;"; break;
            case '\'': reference = "&#x27;"; break;
            case '"': reference = "&#x22;"; break;
            case '<': reference = "&#x3c;"; break;
            case '>': reference = "&#x3e;"; break;
            case '\t': reference = "&#x9;"; break;
            case '\n': reference = "&#xa;"; break;
            case '\r': reference = "&#xd;"; break;
            default:
                if (b < 0x20) {   // no XML document may hold these
                    reference = Replacement;
                    break;
                }
                ++p;
                continue;
            }
        }
        flush(p);
        out.append(reference);
        p += skip;
        plain = p;
    }
    flush(end);
}

QByteArray RecordsetXml::attributeType(const ColumnInfo& c, int number, const QByteArray& xmlName)
{
    const bool readOnly = c.baseTable.isEmpty() || c.baseColumn.isEmpty();
    const bool required = c.flags & NOT_NULL_FLAG;
    QByteArray out;
    newLine(out, 3);
    out += "<s:AttributeType";
    attribute(out, "name", xmlName);
    if (xmlName != c.name.toUtf8())
        attribute(out, "rs:name", c.name.toUtf8());
    attribute(out, "rs:number", number);
    if (!required && !readOnly)
        attribute(out, "rs:nullable", "true");
    if (!readOnly)
        attribute(out, "rs:writeunknown", "true");
    if (!c.baseColumn.isEmpty())
        attribute(out, "rs:basecolumn", c.baseColumn.toUtf8());
    if (c.flags & PRI_KEY_FLAG)
        attribute(out, "rs:keycolumn", "true");
    if (c.flags & AUTO_INCREMENT_FLAG)
        attribute(out, "rs:autoincrement", "true");
    if (!c.baseTable.isEmpty())
        attribute(out, "rs:basetable", c.baseTable.toUtf8());
    if (c.type == MYSQL_TYPE_TIMESTAMP)
        attribute(out, "rs:rowver", "true");
    out += '>';
    newLine(out, 4);
    out += datatype(c);
    newLine(out, 3);
    out += "</s:AttributeType>";
    return out;
}

QByteArray RecordsetXml::value(const ColumnInfo& c, const char* data, unsigned long length)
{
    const QByteArray text = QByteArray::fromRawData(data, static_cast<qsizetype>(length));
    switch (classify(c).kind) {
    case Kind::Date:
        return text.left(10) + "T00:00:00";
    case Kind::DateTime: {
        QByteArray out = text.left(19);   // no fraction of a second
        if (out.size() > 10)
            out[10] = 'T';
        else
            out += "T00:00:00";
        return out;
    }
    case Kind::Time: {
        const qsizetype point = text.indexOf('.');
        return QByteArray(data, point < 0 ? text.size() : point);
    }
    case Kind::Boolean:
        return std::any_of(data, data + length, [](char b) { return b != 0; }) ? "True" : "False";
    case Kind::Binary:
        return QByteArray(data, static_cast<qsizetype>(length)).toHex();
    default:
        return QByteArray(data, static_cast<qsizetype>(length));
    }
}

std::vector<RecordsetXml::TableKey> RecordsetXml::readTableKeys(Connection& connection,
                                                                 const QString& tableCondition)
{
    std::vector<TableKey> keys;
    MYSQL_RES* result = connection.query(
        QStringLiteral("SELECT TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME, COLUMN_KEY, EXTRA "
                       "FROM information_schema.COLUMNS WHERE ")
        + tableCondition);
    if (!result)
        return keys;
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        auto text = [&](int i) { return QString::fromUtf8(row[i] ? row[i] : "", static_cast<qsizetype>(lengths[i])); };
        keys.push_back({text(0), text(1), text(2), text(3) == QLatin1String("PRI"),
                        text(4).contains(QLatin1String("auto_increment"), Qt::CaseInsensitive)});
    }
    mysql_free_result(result);
    return keys;
}

void RecordsetXml::markKeys(std::vector<ColumnInfo>& columns, const std::vector<TableKey>& keys)
{
    for (const TableKey& k : keys) {
        for (ColumnInfo& c : columns) {
            if (c.database.compare(k.database, Qt::CaseInsensitive) != 0
                || c.baseTable.compare(k.table, Qt::CaseInsensitive) != 0
                || c.baseColumn.compare(k.column, Qt::CaseInsensitive) != 0)
                continue;
            if (k.key)
                c.flags |= PRI_KEY_FLAG;
            if (k.autoIncrement)
                c.flags |= AUTO_INCREMENT_FLAG;
        }
    }
}

std::vector<ColumnInfo> RecordsetXml::describeColumns(const Dataset& dataset)
{
    std::vector<ColumnInfo> columns;
    QStringList tables;
    Connection& connection = dataset.connection();
    auto quoted = [&](const QString& text) { return QLatin1Char('\'') + connection.escape(text) + QLatin1Char('\''); };
    for (int i = 0; i < dataset.columnCount(); ++i) {
        const ColumnInfo& c = dataset.column(i);
        columns.push_back(c);
        if (c.baseTable.isEmpty() || c.baseColumn.isEmpty() || c.database.isEmpty())
            continue;
        const QString table = QStringLiteral("(TABLE_SCHEMA = %1 AND TABLE_NAME = %2)")
                                  .arg(quoted(c.database), quoted(c.baseTable));
        if (!tables.contains(table))
            tables << table;
    }
    if (!tables.isEmpty())
        markKeys(columns, readTableKeys(connection, tables.join(QStringLiteral(" OR "))));
    return columns;
}

RecordsetXml::Writer::Writer(std::vector<ColumnInfo> descriptions)
    : descriptions_(std::move(descriptions)), names_(xmlNames(descriptions_))
{
    // Column kinds that write the server's text unchanged skip the conversion.
    for (const ColumnInfo& c : descriptions_) {
        const Kind kind = classify(c).kind;
        verbatim_.push_back(kind != Kind::Date && kind != Kind::DateTime && kind != Kind::Time
                            && kind != Kind::Boolean && kind != Kind::Binary);
    }
}

void RecordsetXml::Writer::begin(QByteArray& buffer) const
{
    buffer += Root;
    newLine(buffer, 1);
    buffer += "<s:Schema id='RowsetSchema'>";
    newLine(buffer, 2);
    buffer += "<s:ElementType name='row' content='eltOnly' rs:updatable='true'>";
    for (std::size_t i = 0; i < descriptions_.size(); ++i)
        buffer += attributeType(descriptions_[i], static_cast<int>(i) + 1, names_[i]);
    newLine(buffer, 3);
    buffer += "<s:extends type='rs:rowbase' />";
    newLine(buffer, 2);
    buffer += "</s:ElementType>";
    newLine(buffer, 1);
    buffer += "</s:Schema>";
    newLine(buffer, 1);
}

void RecordsetXml::Writer::appendRow(QByteArray& buffer, const char* const* cells, const unsigned long* lengths)
{
    if (!anyRow_)
        buffer += "<rs:data>";
    anyRow_ = true;
    newLine(buffer, 2);
    buffer += "<z:row";
    for (std::size_t col = 0; col < descriptions_.size(); ++col) {
        const char* data = cells[col];
        if (!data)
            continue;   // a null value has no attribute
        buffer += ' ';
        buffer += names_[col];
        buffer += "='";
        if (verbatim_[col]) {
            appendEscaped(buffer, data, static_cast<qsizetype>(lengths[col]));
        } else {
            const QByteArray text = value(descriptions_[col], data, lengths[col]);
            appendEscaped(buffer, text.constData(), text.size());
        }
        buffer += '\'';
    }
    buffer += " />";
}

void RecordsetXml::Writer::end(QByteArray& buffer) const
{
    if (anyRow_) {
        newLine(buffer, 1);
        buffer += "</rs:data>";
    } else {
        buffer += "<rs:data />";
    }
    buffer += "\r\n</xml>";
}

bool RecordsetXml::write(const Dataset& dataset, const std::vector<ColumnInfo>& descriptions,
                         QIODevice& out)
{
    return write(DatasetRows(dataset), descriptions, out);
}

bool RecordsetXml::write(const RowSource& dataset, const std::vector<ColumnInfo>& descriptions,
                         QIODevice& out)
{
    Writer writer(descriptions);
    QByteArray buffer;
    writer.begin(buffer);
    const int columns = static_cast<int>(descriptions.size());
    std::vector<const char*> cells(static_cast<std::size_t>(columns));
    std::vector<unsigned long> lengths(static_cast<std::size_t>(columns));
    for (int row = 0; row < dataset.rowCount(); ++row) {
        for (int col = 0; col < columns; ++col)
            cells[col] = dataset.cellData(row, col, &lengths[col]);
        writer.appendRow(buffer, cells.data(), lengths.data());
        if (buffer.size() >= (1 << 20)) {
            if (out.write(buffer) != buffer.size())
                return false;
            buffer.truncate(0);   // keeps its capacity
        }
    }
    writer.end(buffer);
    return out.write(buffer) == buffer.size();
}

void Dataset::saveAsXml(const QString& fileName) const
{
    requireOpen();
    const std::vector<ColumnInfo> columns = RecordsetXml::describeColumns(*this);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(fileName, file.errorString());
    if (!RecordsetXml::write(*this, columns, file) || !file.commit())
        throw FileError(fileName, file.errorString());
}
