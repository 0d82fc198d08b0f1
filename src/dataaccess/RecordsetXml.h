#pragma once

#include "dataaccess/RowSource.h"

#include <QByteArray>
#include <QString>

#include <vector>

class Connection;
class Dataset;
class QIODevice;
#include "dataaccess/Dataset.h"

// The persisted-recordset XML format: the root `xml`, a schema built from the
// result's column descriptions, then `rs:data` with one `z:row` per row. UTF-8,
// no declaration, CR LF before every element but the root, two blanks of
// indentation per level, no line break at the end.
namespace RecordsetXml {

// The `s:AttributeType` element of one column (1-based `number`) with its
// `s:datatype`, at its indentation, each line preceded by CR LF. `xmlName` is
// the name the rows use for the column.
QByteArray attributeType(const ColumnInfo& column, int number, const QByteArray& xmlName);

// A value as a row writes it, before escaping.
QByteArray value(const ColumnInfo& column, const char* data, unsigned long length);

// Appends UTF-8 text with the ampersand, apostrophe, double quote, less-than and
// greater-than signs replaced by character references, and the tab, line feed
// and carriage return too (an XML reader would read them back as blanks
// otherwise). What XML cannot hold at all (the other control characters, U+FFFE,
// U+FFFF, bytes that are no UTF-8) becomes U+FFFD, the replacement character, so
// that every document is well-formed.
void appendEscaped(QByteArray& out, const char* data, qsizetype length);

// Whether a column name can stand as it is: a letter or underscore, then
// letters, digits and underscores, every one of them allowed in an XML name.
bool isPlainName(const QString& name);

// The names the rows use, one per column: a name that is not plain (or repeats
// an earlier column's) becomes "c" and a running number, skipping any that a
// plain name of the result already is.
std::vector<QByteArray> xmlNames(const std::vector<ColumnInfo>& columns);

// The dataset's column descriptions with the key and auto-increment marks of
// their tables' columns. The server leaves those marks out of a result that it
// sorted through a temporary table, so that they would otherwise depend on the
// plan; the tables' definitions are read on the dataset's connection.
std::vector<ColumnInfo> describeColumns(const Dataset& dataset);

// The key and auto-increment marks of table columns, read from the server's
// catalogue (`tableCondition` selects rows of information_schema.COLUMNS), and
// put on the result columns that come from them.
struct TableKey {
    QString database, table, column;
    bool key = false;
    bool autoIncrement = false;
};
std::vector<TableKey> readTableKeys(Connection& connection, const QString& tableCondition);
void markKeys(std::vector<ColumnInfo>& columns, const std::vector<TableKey>& keys);

// Writes the document piece by piece, for rows that arrive one at a time: the
// schema, each row, then the end (which says whether any row came).
class Writer {
public:
    explicit Writer(std::vector<ColumnInfo> descriptions);
    void begin(QByteArray& buffer) const;
    void appendRow(QByteArray& buffer, const char* const* cells, const unsigned long* lengths);
    void end(QByteArray& buffer) const;

private:
    std::vector<ColumnInfo> descriptions_;
    std::vector<QByteArray> names_;
    std::vector<bool> verbatim_;
    bool anyRow_ = false;
};

// Writes the whole document of every row (of an open dataset, or of any rows),
// with the schema from `columns` (one per column of the rows); false when the
// device refused to take the bytes.
bool write(const RowSource& rows, const std::vector<ColumnInfo>& columns, QIODevice& out);
bool write(const Dataset& dataset, const std::vector<ColumnInfo>& columns, QIODevice& out);

}  // namespace RecordsetXml
