#include "app/ToolCommands.h"

#include "access/AccessCheck.h"
#include "app/ConfigFile.h"
#include "dataaccess/Connection.h"
#include "dataaccess/ConnectionSettings.h"
#include "dataaccess/Dataset.h"
#include "dataaccess/Errors.h"
#include "db/DatabaseCheck.h"
#include "db/History.h"
#include "db/HistoryLog.h"
#include "import/ImportCheck.h"
#include "app/CommandLine.h"
#include "devices/TimeZones.h"
#include "import/ImportFile.h"
#include "people/CardCode.h"

#include <QDateTime>
#include <QHash>

#include <functional>

namespace ToolCommands {

// The text quotes what was typed: a line break in it is shown escaped.
[[noreturn]] void usage(const QString& text) { throw UsageError(CommandLine::printable(text).toStdString()); }

void print(std::FILE* out, const QStringList& lines)
{
    for (const QString& line : lines)
        std::fprintf(out, "%s\n", line.toLocal8Bit().constData());
}

// Runs a command; any failure becomes one line on err and the status 2.
int guarded(const char* command, std::FILE* err, const std::function<int()>& body)
{
    QString message;
    try {
        return body();
    } catch (const UsageError& e) {
        message = QString::fromStdString(e.what()) +
                  QStringLiteral(" (zobacz valdrix --help)");
    } catch (const CardCode::InputError& e) {
        message = e.message();
    } catch (const OperatorError& e) {
        message = e.message();
    } catch (const std::exception& e) {
        message = QString::fromLocal8Bit(e.what());
    }
    message.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(err, "valdrix %s: %s\n", command, message.simplified().toLocal8Bit().constData());
    return 2;
}

// "--name value" or "--name=value" pairs, each name at most once, only the known ones.
QHash<QString, QString> options(const QStringList& arguments, const QStringList& known)
{
    QHash<QString, QString> out;
    for (int i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i], value;
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        if (equals > 0) {
            value = name.mid(equals + 1);
            name = name.left(equals);
        } else if (known.contains(name)) {
            if (i + 1 >= arguments.size())
                usage(QStringLiteral("opcja '%1' wymaga wartości").arg(name));
            value = arguments[++i];
        }
        if (!known.contains(name))
            usage(QStringLiteral("nieznany argument '%1'").arg(arguments[i]));
        if (out.contains(name))
            usage(QStringLiteral("opcja '%1' podana dwa razy").arg(name));
        out.insert(name, value);
    }
    return out;
}

int positiveNumber(const QString& option, const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value <= 0)
        usage(QStringLiteral("%1 wymaga dodatniej liczby całkowitej, nie '%2'").arg(option, text));
    return value;
}

// The connection of Config.ini in the current directory, opened. A missing or
// unreadable file is an error: the commands never guess a server.
void connect(Connection& connection)
{
    if (const QString reason = ConfigFile::unusableBecause(); !reason.isEmpty())
        throw OperatorError(reason);
    const ConfigFile::Settings settings = ConfigFile::read();
    openConnection(connection, {settings.server, settings.login, settings.password, settings.database});
}

namespace {

// The live device of that name; refuses a name that no device or several carry.
// A name that only deleted devices carry is the first of them, which the check
// then denies as deleted.
int deviceNamed(Connection& connection, const QString& name)
{
    Dataset rows(connection, QStringLiteral("DeviceByName"));
    rows.setStatement(QStringLiteral("SELECT ID_DEVICE, DEL FROM DEVICE WHERE NAME = '%1' "
                                     "ORDER BY DEL <> 0, ID_DEVICE")
                          .arg(connection.escape(name)));
    rows.open();
    if (rows.rowCount() == 0)
        throw OperatorError(QStringLiteral("żadne przejście nie nazywa się '%1'").arg(name));
    int live = 0;
    for (rows.first(); !rows.eof(); rows.next())
        live += rows.integer(QStringLiteral("DEL")) == 0;
    if (live > 1)
        usage(QStringLiteral("przejść o nazwie '%2' jest %1; podaj --device ID").arg(live).arg(name));
    rows.first();
    return rows.integer(QStringLiteral("ID_DEVICE"));
}

// An id that no row of the table has is an error, like a name no row carries; a
// row marked deleted is there, and the check denies it.
void requireRow(Connection& connection, const char* table, const char* key, int id, const char* what)
{
    Dataset rows(connection, QStringLiteral("RowById"));
    rows.setStatement(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = %3")
                          .arg(QLatin1String(table), QLatin1String(key)).arg(id));
    rows.open();
    if (rows.rowCount() == 0)
        throw OperatorError(QStringLiteral("no %1 has the ID %2").arg(QLatin1String(what)).arg(id));
}

// "Now" at the passage: the current moment in its location's time zone (a zone
// position p is GMT + p - 12 hours); a passage without a location or zone takes
// the workstation's own time. Also the line that names the moment.
QDateTime nowAtPassage(Connection& connection, int deviceId, QString* said)
{
    Dataset rows(connection, QStringLiteral("PassageZone"));
    rows.setStatement(QStringLiteral("SELECT LOCALIZATION.TIME_ZONE FROM DEVICE JOIN LOCALIZATION ON "
                                     "LOCALIZATION.ID = DEVICE.ID_LOCALIZATION WHERE DEVICE.ID_DEVICE = %1")
                          .arg(deviceId));
    rows.open();
    const QDateTime utc = QDateTime::currentDateTimeUtc();
    const int zone = rows.rowCount() > 0 && !rows.isNull(QStringLiteral("TIME_ZONE"))
                         ? rows.integer(QStringLiteral("TIME_ZONE"))
                         : -1;
    if (zone < 0 || zone >= TimeZoneTexts().size()) {
        const QDateTime local = utc.toLocalTime();
        *said = QStringLiteral("Teraz: %1 czasu tej stacji (%2); przejście nie ma strefy czasowej.")
                    .arg(local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), local.timeZoneAbbreviation());
        return local;
    }
    const QDateTime there = utc.toOffsetFromUtc((zone - 12) * 3600);
    *said = QStringLiteral("Teraz: %1 w strefie przejścia %2 (UTC %3).")
                .arg(there.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), TimeZoneTexts()[zone].trimmed(),
                     utc.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    return there;
}

// A value on one line of tab-separated output.
QString cell(const QString& text) { return CommandLine::printable(text); }

}  // namespace

int check(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    return guarded("check", err, [&] {
        const QHash<QString, QString> o =
            options(arguments, {"--card", "--person", "--device", "--device-name", "--head",
                                "--date", "--time"});
        AccessQuestion q;
        if (o.contains("--card") == o.contains("--person"))
            usage(QStringLiteral("podaj albo --card KOD, albo --person ID"));
        if (o.contains("--card")) {
            q.cardCode = o.value("--card");
            if (q.cardCode.isEmpty())
                usage(QStringLiteral("--card wymaga kodu"));
        } else {
            q.personId = positiveNumber("--person", o.value("--person"));
        }
        if (o.contains("--device") == o.contains("--device-name"))
            usage(QStringLiteral("podaj albo --device ID, albo --device-name NAZWA"));
        const QString head = o.value("--head").toUpper();
        if (head != QLatin1String("A") && head != QLatin1String("B"))
            usage(QStringLiteral("--head musi być A albo B"));
        q.head = head == QLatin1String("A") ? ReaderHead::A : ReaderHead::B;

        if (o.contains("--date")) {
            q.date = QDate::fromString(o.value("--date"), QStringLiteral("yyyy-MM-dd"));
            if (!q.date.isValid())
                usage(QStringLiteral("--date musi być datą RRRR-MM-DD, nie '%1'").arg(o.value("--date")));
        }
        if (o.contains("--time")) {
            const QString text = o.value("--time");
            q.time = QTime::fromString(text, text.size() > 5 ? QStringLiteral("HH:mm:ss")
                                                             : QStringLiteral("HH:mm"));
            if (!q.time.isValid())
                usage(QStringLiteral("--time musi być GG:MM albo GG:MM:SS, nie '%1'").arg(text));
        }
        const int deviceId = o.contains("--device") ? positiveNumber("--device", o.value("--device")) : 0;

        Connection connection;
        connect(connection);
        if (deviceId > 0)
            requireRow(connection, "DEVICE", "ID_DEVICE", deviceId, "passage");
        q.deviceId = deviceId > 0 ? deviceId : deviceNamed(connection, o.value("--device-name"));
        if (q.personId > 0)
            requireRow(connection, "USERS", "ID_USER", q.personId, "person");
        QString moment;
        if (!q.date.isValid() || !q.time.isValid()) {
            const QDateTime now = nowAtPassage(connection, q.deviceId, &moment);
            if (!q.date.isValid())
                q.date = now.date();
            if (!q.time.isValid())
                q.time = QTime(now.time().hour(), now.time().minute(), now.time().second());
        }
        const AccessAnswer answer = CheckAccess(connection, q);
        QStringList lines = answer.lines();
        if (!moment.isEmpty())
            lines.insert(1, moment);
        print(out, lines);
        return answer.granted ? 0 : 1;
    });
}

int cardCode(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    return guarded("card-code", err, [&] {
        const QString format = arguments.value(0).toLower();
        auto expect = [&](int count) {
            if (arguments.size() != count + 1)
                usage(QStringLiteral("card-code %1 przyjmuje %2").arg(format,
                      count == 1 ? QStringLiteral("jedną wartość") : QStringLiteral("FC i CN")));
        };
        std::uint64_t number = 0;
        if (format == QLatin1String("hex")) {
            expect(1);
            number = CardCode::fromHex(arguments[1]);
        } else if (format == QLatin1String("dec")) {
            expect(1);
            number = CardCode::fromDecimal(arguments[1]);
        } else if (format == QLatin1String("code")) {
            expect(1);
            number = CardCode::fromStoredCode(arguments[1]);
        } else if (format == QLatin1String("w26") || format == QLatin1String("w34") ||
                   format == QLatin1String("w40")) {
            const CardCode::WiegandLayout& layout = format == QLatin1String("w26")   ? CardCode::Wiegand26
                                                    : format == QLatin1String("w34") ? CardCode::Wiegand34
                                                                                     : CardCode::Wiegand40;
            // "12,34567" (as printed) or "12 34567".
            QStringList values = arguments.mid(1);
            if (values.size() == 1 && values[0].contains(QLatin1Char(',')))
                values = values[0].split(QLatin1Char(','));
            if (values.size() != 2)
                usage(QStringLiteral("card-code %1 przyjmuje FC i CN").arg(format));
            number = CardCode::fromWiegand(layout, values[0], values[1]);
        } else {
            usage(QStringLiteral("card-code wymaga postaci: hex, dec, w26, w34, w40 albo code"));
        }
        print(out, CardCode::describe(number));
        return 0;
    });
}

int importCheck(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    return guarded("import-check", err, [&] {
        if (arguments.size() != 1 || arguments[0].isEmpty())
            usage(QStringLiteral("import-check przyjmuje jeden PLIK"));
        const ImportFile file = readImportFile(arguments[0]);
        if (!file.error.isEmpty())
            usage(QStringLiteral("%1: %2").arg(arguments[0], file.error));
        Connection connection;
        connect(connection);
        const std::vector<ImportCheckRow> rows = ImportCheck::rowsOf(file);
        const ImportCheckResult result = ImportCheck::check(connection, rows);
        // One line a row: a line feed or tab inside a value is shown escaped.
        QStringList lines;
        for (std::size_t i = 0; i < rows.size(); ++i)
            lines << QStringLiteral("%1\t%2\t%3\t%4\t%5")
                         .arg(i + 1)
                         .arg(cell(rows[i].firstName), cell(rows[i].surname), cell(rows[i].cardCode),
                              result.rows[i].status());
        lines << result.summary() + QStringLiteral(" Kodowanie pliku: %1.").arg(file.encodingName());
        print(out, lines);
        return 0;
    });
}

int dbCheck(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    return guarded("db-check", err, [&] {
        bool fix = false;
        for (const QString& argument : arguments) {
            if (argument == QLatin1String("--fix"))
                fix = true;
            else
                usage(QStringLiteral("nieznany argument '%1'").arg(argument));
        }
        Connection connection;
        connect(connection);
        std::vector<DatabaseCheck::Finding> findings = DatabaseCheck::check(connection);
        // The history of changes has a table of its own, made only when asked.
        const QString noHistory = QStringLiteral("Brak tabeli HISTORY: zmiany nie są zapisywane w historii zmian.");
        print(out, {QStringLiteral("Baza %1 na serwerze %2:").arg(connection.database(), connection.server())});
        print(out, DatabaseCheck::describe(findings));
        bool historyMissing = !History::tableExists(connection);
        if (historyMissing)
            print(out, {noHistory});
        if (!fix || (findings.empty() && !historyMissing))
            return findings.empty() && !historyMissing ? 0 : 1;

        if (historyMissing) {
            print(out, {QString(), QStringLiteral("Tworzenie tabeli HISTORY z jej indeksami:")});
            for (const QString& statement : History::createStatements()) {
                print(out, {statement});
                connection.execute(statement);
            }
            historyMissing = !History::tableExists(connection);
        }
        const auto creates = std::count_if(findings.begin(), findings.end(), [](const DatabaseCheck::Finding& f) {
            return !f.createStatement.isEmpty();
        });
        if (creates == 0) {
            if (!findings.empty())
                print(out, {QStringLiteral("Nie ma indeksów do utworzenia; pozostałe braki trzeba usunąć ręcznie.")});
            return findings.empty() && !historyMissing ? 0 : 1;
        }
        print(out, {QString(), QStringLiteral("Tworzenie brakujących indeksów (%1), nic poza tym:").arg(creates)});
        std::fflush(out);
        DatabaseCheck::createMissingIndexes(connection, findings, [&](const QString& statement) {
            print(out, {statement});
            std::fflush(out);
        });
        findings = DatabaseCheck::check(connection);
        print(out, {QString(), QStringLiteral("Po zmianach:")});
        print(out, DatabaseCheck::describe(findings));
        if (historyMissing)
            print(out, {noHistory});
        return findings.empty() && !historyMissing ? 0 : 1;
    });
}

int history(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    return guarded("history", err, [&] {
        const QHash<QString, QString> o =
            options(arguments, {"--since", "--until", "--login", "--table", "--key"});
        HistoryLog::Filter f;
        auto date = [&](const char* option) {
            const QString text = o.value(QString::fromLatin1(option));
            const QDate day = QDate::fromString(text, Qt::ISODate);
            if (!day.isValid() || text.size() != 10)
                usage(QStringLiteral("%1 musi być datą RRRR-MM-DD, nie '%2'").arg(QString::fromLatin1(option), text));
            return day;
        };
        if (o.contains("--since"))
            f.since = date("--since");
        if (o.contains("--until"))
            f.until = date("--until");
        f.login = o.value("--login");
        f.table = o.value("--table").toUpper();
        if (o.contains("--key"))
            f.key = positiveNumber("--key", o.value("--key"));
        Connection connection;
        connect(connection);
        if (!History::tableExists(connection))
            throw OperatorError(History::MissingTableText);
        Dataset rows(connection, QStringLiteral("History"));
        rows.setStatement(HistoryLog::pageStatement(connection, f, 0, 2147483647));
        rows.open();
        QStringList lines;
        for (int r = 0; r < rows.rowCount(); ++r)
            lines << HistoryLog::tabLine(rows, r);
        print(out, lines);
        return 0;
    });
}

}  // namespace ToolCommands
