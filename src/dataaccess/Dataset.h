#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class Connection;
struct st_mysql_res;

// What the server says of one result column (the XML export needs all of it).
struct ColumnInfo {
    QString name;           // unique within the result: repeats get "_1", "_2", ...
    QString serverName;     // as the server named it
    QString table, baseTable, baseColumn, database;
    int type = 0;           // enum_field_types
    unsigned flags = 0;     // NOT_NULL_FLAG, PRI_KEY_FLAG, ...
    unsigned long length = 0;      // display length in bytes of the result's character set
    unsigned decimals = 0;
    unsigned charset = 0;
    unsigned charsetMaxBytes = 1;  // bytes per character at most in that character set
    QString typeName;              // the server's own type name where it reports one ("uuid")
};

// The rows of one statement, all fetched when opened, with a current row.
// A table dataset (setTable) can also write changed columns of its current row.
class Dataset : public QObject {
    Q_OBJECT
public:
    Dataset(Connection& connection, const QString& name, QObject* parent = nullptr);
    ~Dataset() override;

    const QString& name() const { return name_; }
    Connection& connection() const { return connection_; }

    // Statement lines; they are sent joined by line breaks.
    void clearLines();
    void addLine(const QString& line);
    void setStatement(const QString& text);
    const QStringList& lines() const { return lines_; }
    QString statement() const { return lines_.join(QLatin1Char('\n')); }

    // Makes this the table dataset of `table` (all its columns).
    void setTable(const QString& table);

    void open();
    void close();
    // Takes rows that were read elsewhere (on another connection of the same
    // database) for this statement, as if the dataset had been re-executed.
    void assign(const QString& statement, st_mysql_res* result);
    bool isOpen() const { return open_; }
    void reexecute();
    void refresh();

    void first();
    void next();
    void last();
    bool eof() const { return eof_; }

    int rowCount() const { return static_cast<int>(rows_.size()); }
    int recordNo() const { return current_ + 1; }
    void setRecordNo(int recordNo);
    // No current row (the rows stay): fields read as empty, as past the end. For a
    // view that shows none of the rows, so that nothing acts on a row not shown.
    void clearCurrent();
    int currentRow() const { return current_; }

    int columnCount() const { return static_cast<int>(columns_.size()); }
    const ColumnInfo& column(int index) const { return columns_[index]; }
    int columnIndex(const QString& name) const;   // -1 when the result has no such column

    // The current row's value; NULL (or no current row) reads as "" and 0.
    QString text(const QString& field) const;
    int integer(const QString& field) const;
    bool isNull(const QString& field) const;
    QString textAt(int column) const;
    int integerAt(int column) const;

    // Any row's value, for grids and writers.
    QString cell(int row, int column) const;
    bool cellIsNull(int row, int column) const;
    const char* cellData(int row, int column, unsigned long* length) const;

    // Writes a text typed into one cell of any row back to the database: the cell's
    // base table and column (as the server described them) are updated for the row
    // with the values of that table's primary-key columns (flagged by the server,
    // or named by the table when a join dropped the flags), the text escaped (an
    // empty text is NULL in a column that is not text). Then the rows are read
    // again and the edited row made current (wherever its new value sorts it), so
    // that the dataset shows what is stored.
    // Throws DataError for a computed column or a row without a key in the result,
    // and the server's DatabaseError for a value it refuses (nothing is changed).
    void writeCell(int row, int column, const QString& text);

    // Editing the current row of a table dataset.
    void edit();
    void setInteger(const QString& field, int value);
    void setText(const QString& field, const QString& value);
    // Adds `by` on the server; NULL counts as 0, negatives stay.
    void increment(const QString& field, int by = 1);
    void post();
    void cancel();
    bool isEditing() const { return editing_; }

    // Writes every row, first to last, as an XML document in the persisted-recordset
    // format into a file that is replaced only when the whole document is written.
    // Throws FileError when the file cannot be written. The current row stays.
    void saveAsXml(const QString& fileName) const;

    // Parses a decimal text as a signed 32-bit integer or throws ConversionError.
    static int toInteger(const char* data, unsigned long length);

    // The column descriptions of a result (stored or streamed), names made unique.
    static std::vector<ColumnInfo> describeResult(st_mysql_res* result);

    // The index of a column the result must have; throws DataError naming it.
    int requireColumn(const QString& field) const;

signals:
    void aboutToReset();
    void reset();
    void currentRowChanged(int row);

private:
    struct ResultDeleter {
        void operator()(st_mysql_res* result) const;
    };

    void requireOpen() const;
    void load(st_mysql_res* result);
    void setCurrent(int row);
    QString rowCondition() const;
    // " WHERE key = 'value' AND ..." over the given key columns of a row; empty
    // when there are none or one is NULL.
    QString keyCondition(int row, const std::vector<int>& keyColumns) const;
    // The result columns holding the primary key of a column's base table; empty
    // when the result lacks one of them.
    std::vector<int> keyColumnsOf(const ColumnInfo& base);

    Connection& connection_;
    QString name_;
    QStringList lines_;
    QString table_;

    bool open_ = false;
    bool eof_ = true;
    int current_ = -1;
    std::unique_ptr<st_mysql_res, ResultDeleter> result_;
    std::vector<char**> rows_;
    std::vector<unsigned> lengths_;     // rowCount x columnCount
    std::vector<ColumnInfo> columns_;
    QHash<QString, int> columnByName_;  // lower-case name -> index

    bool editing_ = false;
    std::vector<std::pair<int, QString>> changes_;   // column, SQL expression
};
