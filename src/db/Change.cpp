#include "db/Change.h"

#include "dataaccess/Errors.h"
#include "dataaccess/Dataset.h"
#include "db/TDataModule3.h"

#include <mysql.h>

#include <algorithm>

namespace {

// The tables whose rows are marked deleted rather than removed.
bool marksDeleted(const QString& table)
{
    return table == QLatin1String("USERS") || table == QLatin1String("GROUPS")
           || table == QLatin1String("DEVICE") || table == QLatin1String("LOCALIZATION");
}

QString keyCondition(const QString& table, int key)
{
    return History::tableInfo(table).keyColumn + QStringLiteral(" = ") + QString::number(key);
}

}  // namespace

Change::Change(TDataModule3& m, const QString& action)
    : m_(m),
      outermost_(!m.Quorvel.inTransaction()),
      action_(outermost_ || m.currentAction.isEmpty() ? action : m.currentAction),
      unit_(m.Quorvel)
{
    if (outermost_)
        m_.currentAction = action_;
}

Change::~Change()
{
    if (outermost_)
        m_.currentAction.clear();
}

const QString Change::ConflictText = QStringLiteral(
    "Zmiana nie została zapisana: w tej samej chwili inna stacja zmieniła te same dane. "
    "Spróbuj ponownie.");

static bool isConflict(const DatabaseError& error) { return error.code() == Change::ConflictCode; }

Change& Change::step(std::function<void()> action)
{
    steps_.push_back(std::move(action));
    try {
        steps_.back()();
    } catch (const DatabaseError& error) {
        if (!isConflict(error) || !outermost_)
            throw;
        retry();
    }
    return *this;
}

void Change::retry()
{
    if (retried_)
        throw DatabaseError(ConflictText, ConflictCode);
    retried_ = true;
    // The server already undid the unit; a new one runs every step again, and
    // the history follows the rows from their state in the new unit.
    m_.Quorvel.rollbackTransaction();
    m_.Quorvel.beginTransaction();
    tracked_.clear();
    counted_.clear();
    try {
        for (const auto& action : steps_)
            action();
    } catch (const DatabaseError& error) {
        m_.Quorvel.rollbackTransaction();
        if (isConflict(error))
            throw DatabaseError(ConflictText, ConflictCode);
        throw;
    } catch (...) {
        m_.Quorvel.rollbackTransaction();
        throw;
    }
}

bool Change::recording() const { return m_.recordsHistory(); }

void Change::gone(const QString& row, Gone how)
{
    // Nothing of the change stays; the lists then show the rows as they stand.
    m_.Quorvel.rollbackTransaction();
    tracked_.clear();
    counted_.clear();
    for (const auto& reread : rereads_)
        reread();
    throw RowGoneError(row, how == Gone::AlreadyRemoved);
}

Change& Change::onGone(const std::function<void()>& reread)
{
    rereads_.push_back(reread);
    return *this;
}

Change& Change::require(const QString& table, int key, const QString& row, bool activeOnly)
{
    return step([=, this] {
        const QString active = activeOnly && marksDeleted(table) ? QStringLiteral("DEL = 0") : QStringLiteral("1");
        MYSQL_RES* result = m_.Quorvel.query(QStringLiteral("SELECT %1 FROM %2 WHERE %3 LOCK IN SHARE MODE")
                                                 .arg(active, table, keyCondition(table, key)));
        bool present = false;
        if (result) {
            MYSQL_ROW found = mysql_fetch_row(result);
            present = found && found[0] && QByteArray(found[0]) == "1";
            mysql_free_result(result);
        }
        if (!present)
            gone(row, Gone::Write);
    });
}

Change& Change::track(const QString& table, int key, const QString& row, Gone how, bool activeOnly)
{
    return step([=, this] {
        std::vector<History::RowImage> rows =
            History::readRows(m_.Quorvel, table, keyCondition(table, key), QStringLiteral(" FOR UPDATE"));
        const bool deleted = !rows.empty() && marksDeleted(table)
                             && rows.front().values.value(QStringLiteral("DEL")).toString() != QLatin1String("0");
        if (rows.empty() || (activeOnly && deleted))
            gone(row, how);
        if (recording())
            follow(table, key, std::move(rows.front()));
    });
}

Change& Change::trackWhere(const QString& table, const QString& where)
{
    return step([=, this] {
        if (!recording())
            return;
        for (History::RowImage& image : History::readRows(m_.Quorvel, table, where, QStringLiteral(" FOR UPDATE")))
            follow(table, image.key, std::move(image));
    });
}

Change& Change::trackInserted(const QString& table)
{
    return step([=, this] {
        if (recording() && m_.Quorvel.handle())
            follow(table, static_cast<int>(mysql_insert_id(m_.Quorvel.handle())), std::nullopt);
    });
}

Change& Change::trackCount(const QString& table, const QString& where, const QString& label)
{
    return step([=, this] {
        if (!recording())
            return;
        counted_.push_back({table, where, label, History::countRows(m_.Quorvel, table, where)});
    });
}

Change& Change::run(const QStringList& lines)
{
    return step([=, this] {
        m_.MyCommand1.clearLines();
        for (const QString& line : lines)
            m_.MyCommand1.addLine(line);
        found_ = m_.MyCommand1.execute();
    });
}

Change& Change::runOnRow(const QStringList& lines, const QString& row)
{
    run(lines);
    return step([=, this] {
        if (found_ == 0)
            throw RowGoneError(row);
    });
}

Change& Change::reexecute(Dataset& dataset)
{
    return step([target = &dataset] { target->reexecute(); });
}

Change& Change::refresh(Dataset& dataset)
{
    return step([target = &dataset] { target->refresh(); });
}

Change& Change::then(const std::function<void()>& action)
{
    return step(action);
}

Change& Change::bump(const QString& column, int times)
{
    return step([=, this] {
        record();
        m_.BumpStatusCounter(column, times);
    });
}

void Change::commit()
{
    step([this] {
        record();
        unit_.commit();
    });
}

void Change::follow(const QString& table, int key, std::optional<History::RowImage> before)
{
    for (const Tracked& t : tracked_)
        if (t.table == table && t.key == key)
            return;   // followed already, from its first state
    tracked_.push_back({table, key, std::move(before)});
}

void Change::record()
{
    if (tracked_.empty() && counted_.empty())
        return;
    std::vector<History::Entry> entries;
    // The rows as they stand now, read once per table.
    std::vector<std::pair<QString, std::vector<History::RowImage>>> now;
    for (const Tracked& t : tracked_) {
        auto it = std::find_if(now.begin(), now.end(), [&](const auto& p) { return p.first == t.table; });
        if (it != now.end())
            continue;
        QStringList keys;
        for (const Tracked& u : tracked_)
            if (u.table == t.table)
                keys << QString::number(u.key);
        now.emplace_back(t.table, History::readRows(m_.Quorvel, t.table,
                                                    History::tableInfo(t.table).keyColumn + QStringLiteral(" IN (")
                                                        + keys.join(QLatin1Char(',')) + QLatin1Char(')'),
                                                    QString()));
    }
    // A row that changed is recorded and followed on from its new state; one that
    // has not changed yet stays followed until the commit.
    std::vector<Tracked> following;
    for (Tracked& t : tracked_) {
        std::optional<History::RowImage> after;
        for (const auto& [table, rows] : now)
            if (table == t.table)
                for (const History::RowImage& image : rows)
                    if (image.key == t.key)
                        after = image;
        const History::Difference d = History::difference(t.before, after);
        if (d.changed)
            entries.push_back({t.table, t.key, after ? after->label : t.before->label, d});
        if (after)
            following.push_back({t.table, t.key, std::move(after)});
    }
    tracked_ = std::move(following);
    for (Counted& c : counted_) {
        const long long remaining = History::countRows(m_.Quorvel, c.table, c.where);
        if (remaining == c.before)
            continue;
        History::RowImage was, is;
        was.values.insert(QStringLiteral("COUNT"), QString::number(c.before));
        is.values.insert(QStringLiteral("COUNT"), QString::number(remaining));
        entries.push_back({c.table, 0, c.label, History::difference(was, is)});
        c.before = remaining;
    }
    if (entries.empty())
        return;
    try {
        History::write(m_.Quorvel, action_, entries);
    } catch (const DatabaseError& error) {
        // The change may not stay without its history: it is undone, and the
        // operator told why.
        if (!m_.Quorvel.isOpen())
            throw;
        m_.Quorvel.rollbackTransaction();
        throw DatabaseError(QStringLiteral("Nie zapisano zmian: nie udało się zapisać historii zmian (%1). "
                                           "Zmiana została wycofana.")
                                .arg(error.message()),
                            error.code());
    }
}

void writeCell(TDataModule3& m, Dataset& dataset, int row, int column, const QString& text)
{
    const QString table = dataset.column(column).baseTable.toUpper();
    const int keyColumn = dataset.columnIndex(History::tableInfo(table).keyColumn);
    Change change(m, QStringLiteral("Edycja w tabeli"));
    change.onGone([&] { dataset.refresh(); });
    if (keyColumn >= 0 && !table.isEmpty())
        change.track(table, dataset.cell(row, keyColumn).toInt(), QStringLiteral("tego wiersza"));
    change.then([&] { dataset.writeCell(row, column, text); }).commit();
}
