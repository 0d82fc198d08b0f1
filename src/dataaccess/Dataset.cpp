#include "dataaccess/Dataset.h"

#include "dataaccess/Connection.h"
#include "dataaccess/Errors.h"

#include <mysql.h>

#include <algorithm>
#include <limits>

void Dataset::ResultDeleter::operator()(MYSQL_RES* result) const { mysql_free_result(result); }

Dataset::Dataset(Connection& connection, const QString& name, QObject* parent)
    : QObject(parent), connection_(connection), name_(name)
{
    setObjectName(name);
    connection_.attach(this);
}

Dataset::~Dataset() { connection_.detach(this); }

void Dataset::clearLines() { lines_.clear(); }
void Dataset::addLine(const QString& line) { lines_.append(line); }

void Dataset::setStatement(const QString& text)
{
    lines_ = text.split(QLatin1Char('\n'));
}

void Dataset::setTable(const QString& table)
{
    table_ = table;
    setStatement(QStringLiteral("SELECT * FROM `%1`").arg(table));
}

void Dataset::open()
{
    if (open_)
        return;
    MYSQL_RES* result = connection_.query(statement());
    emit aboutToReset();
    load(result);
    emit reset();
    emit currentRowChanged(current_);
}

void Dataset::load(MYSQL_RES* result)
{
    connection_.noteLoaded(this);
    result_.reset(result);
    rows_.clear();
    lengths_.clear();
    columns_.clear();
    columnByName_.clear();
    editing_ = false;
    changes_.clear();
    open_ = true;

    if (result) {
        const unsigned count = mysql_num_fields(result);
        columns_ = describeResult(result);
        for (unsigned i = 0; i < count; ++i)
            columnByName_.insert(columns_[i].name.toLower(), static_cast<int>(i));
        const auto rowCount = mysql_num_rows(result);
        rows_.reserve(rowCount);
        lengths_.reserve(rowCount * count);
        while (MYSQL_ROW row = mysql_fetch_row(result)) {
            const unsigned long* lengths = mysql_fetch_lengths(result);
            rows_.push_back(row);
            lengths_.insert(lengths_.end(), lengths, lengths + count);
        }
    }
    current_ = rows_.empty() ? -1 : 0;
    eof_ = rows_.empty();
}

void Dataset::assign(const QString& statement, MYSQL_RES* result)
{
    setStatement(statement);
    emit aboutToReset();
    load(result);
    emit reset();
    emit currentRowChanged(current_);
}

void Dataset::close()
{
    if (!open_)
        return;
    emit aboutToReset();
    result_.reset();
    rows_.clear();
    rows_.shrink_to_fit();
    lengths_.clear();
    lengths_.shrink_to_fit();
    columns_.clear();
    columnByName_.clear();
    editing_ = false;
    changes_.clear();
    open_ = false;
    current_ = -1;
    eof_ = true;
    emit reset();
    emit currentRowChanged(current_);
}

void Dataset::reexecute()
{
    // The statement runs first, so that a failing one leaves the old rows in view.
    MYSQL_RES* result = connection_.query(statement());
    emit aboutToReset();
    load(result);
    emit reset();
    emit currentRowChanged(current_);
}

void Dataset::refresh()
{
    const int keep = recordNo();
    reexecute();
    if (keep > 0)
        setRecordNo(keep);
}

void Dataset::setCurrent(int row)
{
    if (row == current_)
        return;
    current_ = row;
    emit currentRowChanged(current_);
}

void Dataset::first()
{
    requireOpen();
    eof_ = rows_.empty();
    setCurrent(rows_.empty() ? -1 : 0);
}

void Dataset::next()
{
    requireOpen();
    if (current_ + 1 < rowCount())
        setCurrent(current_ + 1);
    else
        eof_ = true;
}

void Dataset::last()
{
    requireOpen();
    eof_ = rows_.empty();
    setCurrent(rowCount() - 1);
}

void Dataset::setRecordNo(int recordNo)
{
    requireOpen();
    if (rows_.empty())
        return;
    eof_ = false;
    setCurrent(std::clamp(recordNo, 1, rowCount()) - 1);
}

void Dataset::clearCurrent()
{
    requireOpen();
    eof_ = true;
    setCurrent(-1);
}

void Dataset::requireOpen() const
{
    if (!open_)
        throw DataError(QStringLiteral("%1: Cannot perform this operation on a closed dataset")
                            .arg(name_));
}

int Dataset::columnIndex(const QString& name) const
{
    return columnByName_.value(name.toLower(), -1);
}

int Dataset::requireColumn(const QString& field) const
{
    requireOpen();
    const int index = columnIndex(field);
    if (index < 0)
        throw DataError(QStringLiteral("%1: Field '%2' not found").arg(name_, field));
    return index;
}

const char* Dataset::cellData(int row, int column, unsigned long* length) const
{
    const std::size_t index = static_cast<std::size_t>(row) * columns_.size() + column;
    *length = lengths_[index];
    return rows_[row][column];
}

bool Dataset::cellIsNull(int row, int column) const { return rows_[row][column] == nullptr; }

QString Dataset::cell(int row, int column) const
{
    unsigned long length = 0;
    const char* data = cellData(row, column, &length);
    return data ? QString::fromUtf8(data, static_cast<qsizetype>(length)) : QString();
}

QString Dataset::text(const QString& field) const { return textAt(requireColumn(field)); }
int Dataset::integer(const QString& field) const { return integerAt(requireColumn(field)); }

bool Dataset::isNull(const QString& field) const
{
    const int column = requireColumn(field);
    return current_ < 0 || cellIsNull(current_, column);
}

QString Dataset::textAt(int column) const
{
    requireOpen();
    if (column < 0 || column >= columnCount())
        throw DataError(QStringLiteral("%1: Column %2 not found").arg(name_).arg(column));
    return current_ < 0 ? QString() : cell(current_, column);
}

int Dataset::integerAt(int column) const
{
    requireOpen();
    if (column < 0 || column >= columnCount())
        throw DataError(QStringLiteral("%1: Column %2 not found").arg(name_).arg(column));
    if (current_ < 0)
        return 0;
    unsigned long length = 0;
    const char* data = cellData(current_, column, &length);
    return data ? toInteger(data, length) : 0;
}

int Dataset::toInteger(const char* data, unsigned long length)
{
    unsigned long i = 0;
    bool negative = false;
    if (i < length && (data[i] == '-' || data[i] == '+'))
        negative = data[i++] == '-';
    long long value = 0;
    bool digits = false;
    for (; i < length && data[i] >= '0' && data[i] <= '9'; ++i) {
        digits = true;
        value = value * 10 + (data[i] - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            break;
    }
    if (negative)
        value = -value;
    if (!digits || i != length || value > std::numeric_limits<int>::max()
        || value < std::numeric_limits<int>::min())
        throw ConversionError(QString::fromUtf8(data, static_cast<qsizetype>(length)));
    return static_cast<int>(value);
}

void Dataset::edit()
{
    requireOpen();
    if (table_.isEmpty())
        throw DataError(QStringLiteral("%1: Cannot modify a read-only dataset").arg(name_));
    if (current_ < 0)
        throw DataError(QStringLiteral("%1: Cannot edit an empty dataset").arg(name_));
    editing_ = true;
    changes_.clear();
}

static QString quotedName(const QString& name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('`'), QLatin1String("``"));
    return QLatin1Char('`') + escaped + QLatin1Char('`');
}

void Dataset::setInteger(const QString& field, int value)
{
    const int column = requireColumn(field);
    if (!editing_)
        throw DataError(QStringLiteral("%1: Dataset not in edit mode").arg(name_));
    changes_.emplace_back(column, QString::number(value));
}

void Dataset::setText(const QString& field, const QString& value)
{
    const int column = requireColumn(field);
    if (!editing_)
        throw DataError(QStringLiteral("%1: Dataset not in edit mode").arg(name_));
    changes_.emplace_back(column, QLatin1Char('\'') + connection_.escape(value) + QLatin1Char('\''));
}

void Dataset::increment(const QString& field, int by)
{
    const int column = requireColumn(field);
    if (!editing_)
        throw DataError(QStringLiteral("%1: Dataset not in edit mode").arg(name_));
    const QString name = quotedName(columns_[column].baseColumn.isEmpty()
                                        ? columns_[column].serverName
                                        : columns_[column].baseColumn);
    changes_.emplace_back(column,
                          QStringLiteral("IF(%1 < 0, %1, COALESCE(%1, 0) + %2)").arg(name).arg(by));
}

QString Dataset::keyCondition(int row, const std::vector<int>& keyColumns) const
{
    QStringList keys;
    for (int c : keyColumns) {
        if (cellIsNull(row, c))
            return {};   // an outer join's missing row has no key
        keys << QStringLiteral("%1 = '%2'").arg(quotedName(columns_[c].baseColumn),
                                                 connection_.escape(cell(row, c)));
    }
    return keys.isEmpty() ? QString() : QStringLiteral(" WHERE ") + keys.join(QStringLiteral(" AND "));
}

QString Dataset::rowCondition() const
{
    std::vector<int> keyColumns;
    for (int c = 0; c < columnCount(); ++c)
        if (columns_[c].flags & PRI_KEY_FLAG)
            keyColumns.push_back(c);
    const QString keys = keyCondition(current_, keyColumns);
    if (!keys.isEmpty())
        return keys;
    // Without a key only the first row can be told apart: it is the one the server returns first.
    if (current_ != 0)
        throw DataError(QStringLiteral("%1: Cannot identify the row to update").arg(name_));
    return QStringLiteral(" LIMIT 1");
}

static QString qualifiedTable(const ColumnInfo& info)
{
    return info.database.isEmpty()
               ? quotedName(info.baseTable)
               : quotedName(info.database) + QLatin1Char('.') + quotedName(info.baseTable);
}

std::vector<int> Dataset::keyColumnsOf(const ColumnInfo& base)
{
    auto sameTable = [&](const ColumnInfo& info) {
        return info.baseTable == base.baseTable && info.database == base.database;
    };
    std::vector<int> keys;
    for (int c = 0; c < columnCount(); ++c)
        if ((columns_[c].flags & PRI_KEY_FLAG) && sameTable(columns_[c]))
            keys.push_back(c);
    if (!keys.empty())
        return keys;
    // A join sorted through a temporary table loses the key flags: ask the table.
    std::unique_ptr<MYSQL_RES, ResultDeleter> result(connection_.query(
        QStringLiteral("SHOW KEYS FROM %1 WHERE Key_name = 'PRIMARY'").arg(qualifiedTable(base))));
    while (MYSQL_ROW row = result ? mysql_fetch_row(result.get()) : nullptr) {
        const QString name = QString::fromUtf8(row[4]);   // Column_name
        int found = -1;
        for (int c = 0; c < columnCount() && found < 0; ++c)
            if (sameTable(columns_[c]) && columns_[c].baseColumn.compare(name, Qt::CaseInsensitive) == 0)
                found = c;
        if (found < 0)
            return {};   // a key column the result does not hold
        keys.push_back(found);
    }
    return keys;
}

static bool holdsText(int type)
{
    switch (type) {
    case MYSQL_TYPE_VARCHAR: case MYSQL_TYPE_VAR_STRING: case MYSQL_TYPE_STRING:
    case MYSQL_TYPE_TINY_BLOB: case MYSQL_TYPE_MEDIUM_BLOB: case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_BLOB: case MYSQL_TYPE_ENUM: case MYSQL_TYPE_SET: case MYSQL_TYPE_JSON:
        return true;
    default:
        return false;
    }
}

void Dataset::writeCell(int row, int column, const QString& text)
{
    requireOpen();
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        throw DataError(QStringLiteral("%1: No such cell").arg(name_));
    const ColumnInfo& info = columns_[column];
    if (info.baseTable.isEmpty() || info.baseColumn.isEmpty())
        throw DataError(QStringLiteral("%1: Field '%2' cannot be modified").arg(name_, info.name));
    const std::vector<int> keyColumns = keyColumnsOf(info);
    const QString keys = keyCondition(row, keyColumns);
    if (keys.isEmpty())
        throw DataError(QStringLiteral("%1: Cannot identify the row to update").arg(name_));
    const QString value = text.isEmpty() && !holdsText(info.type)
                              ? QStringLiteral("NULL")
                              : QLatin1Char('\'') + connection_.escape(text) + QLatin1Char('\'');
    const unsigned long long found = connection_.execute(
        QStringLiteral("UPDATE %1 SET %2 = %3%4")
            .arg(qualifiedTable(info), quotedName(info.baseColumn), value, keys));
    if (found == 0) {   // another client deleted the row: show the rows as they stand
        refresh();
        throw RowGoneError(QStringLiteral("tego wiersza"));
    }
    // The edited row stays current, wherever the new value sorts it.
    QStringList key;
    for (int c : keyColumns)
        key << cell(row, c);
    const int keep = recordNo();
    reexecute();
    for (int r = 0; r < rowCount(); ++r) {
        QStringList candidate;
        for (int c : keyColumns)
            candidate << cell(r, c);
        if (candidate == key) {
            setRecordNo(r + 1);
            return;
        }
    }
    if (keep > 0)
        setRecordNo(keep);
}

void Dataset::post()
{
    if (!editing_)
        return;
    if (changes_.empty()) {
        cancel();
        return;
    }
    QStringList assignments;
    for (const auto& [column, expression] : changes_) {
        const ColumnInfo& info = columns_[column];
        assignments << quotedName(info.baseColumn.isEmpty() ? info.serverName : info.baseColumn)
                           + QStringLiteral(" = ") + expression;
    }
    const QString update = QStringLiteral("UPDATE %1 SET %2%3")
                               .arg(quotedName(table_), assignments.join(QStringLiteral(", ")),
                                    rowCondition());
    editing_ = false;
    changes_.clear();
    // A row that another program removed meanwhile is an error, not a silent no-op.
    if (connection_.execute(update) == 0)
        throw DataError(QStringLiteral("%1: Record not found or changed by another user").arg(name_));
    refresh();
}

void Dataset::cancel()
{
    editing_ = false;
    changes_.clear();
}

std::vector<ColumnInfo> Dataset::describeResult(st_mysql_res* result)
{
    std::vector<ColumnInfo> columns;
    QHash<QString, int> byName;
    const unsigned count = mysql_num_fields(result);
    const MYSQL_FIELD* fields = mysql_fetch_fields(result);
    columns.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        const MYSQL_FIELD& f = fields[i];
        ColumnInfo info;
        info.serverName = QString::fromUtf8(f.name, f.name_length);
        info.table = QString::fromUtf8(f.table, f.table_length);
        info.baseTable = QString::fromUtf8(f.org_table, f.org_table_length);
        info.baseColumn = QString::fromUtf8(f.org_name, f.org_name_length);
        info.database = QString::fromUtf8(f.db, f.db_length);
        info.type = f.type;
        info.flags = f.flags;
        info.length = f.length;
        info.decimals = f.decimals;
        info.charset = f.charsetnr;
        if (const MARIADB_CHARSET_INFO* charset = mariadb_get_charset_by_nr(f.charsetnr))
            info.charsetMaxBytes = std::max(1u, charset->char_maxlen);
        MARIADB_CONST_STRING typeName{nullptr, 0};
        if (mariadb_field_attr(&typeName, &f, MARIADB_FIELD_ATTR_DATA_TYPE_NAME) == 0 && typeName.str)
            info.typeName = QString::fromUtf8(typeName.str, static_cast<qsizetype>(typeName.length));
        // A repeated name gets the first free suffix: NAME, NAME_1, NAME_2 ...
        QString unique = info.serverName;
        for (int n = 1; byName.contains(unique.toLower()); ++n)
            unique = QStringLiteral("%1_%2").arg(info.serverName).arg(n);
        info.name = unique;
        byName.insert(unique.toLower(), static_cast<int>(i));
        columns.push_back(std::move(info));
    }
    return columns;
}
