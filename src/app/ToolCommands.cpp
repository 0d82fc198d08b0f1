#include "app/ToolCommands.h"

#include "access/AccessCheck.h"
#include "app/ConfigFile.h"
#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"
#include "dataaccess/Errors.h"
#include "db/History.h"
#include "db/HistoryLog.h"
#include "import/ImportCheck.h"
#include "import/ImportFile.h"
#include "people/CardCode.h"

#include <QDateTime>
#include <QHash>

#include <functional>

namespace ToolCommands {

namespace {

[[noreturn]] void usage(const QString& text) { throw UsageError(text.toStdString()); }

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
                  QStringLiteral(" (see valdrix --help)");
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
                usage(QStringLiteral("option '%1' needs a value").arg(name));
            value = arguments[++i];
        }
        if (!known.contains(name))
            usage(QStringLiteral("unknown argument '%1'").arg(arguments[i]));
        if (out.contains(name))
            usage(QStringLiteral("option '%1' given twice").arg(name));
        out.insert(name, value);
    }
    return out;
}

int positiveNumber(const QString& option, const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value <= 0)
        usage(QStringLiteral("%1 needs a positive whole number, not '%2'").arg(option, text));
    return value;
}

// The connection of Config.ini in the current directory, opened.
void connect(Connection& connection)
{
    const ConfigFile::Settings settings = ConfigFile::read();
    connection.setServer(settings.server);
    connection.setLogin(settings.login);
    connection.setPassword(settings.password);
    connection.setDatabase(settings.database);
    connection.open();
}

// The live device of that name; refuses a name that no device or several carry.
int deviceNamed(Connection& connection, const QString& name)
{
    Dataset rows(connection, QStringLiteral("DeviceByName"));
    rows.setStatement(QStringLiteral("SELECT ID_DEVICE FROM DEVICE WHERE NAME = '%1' AND DEL = 0 "
                                     "ORDER BY ID_DEVICE")
                          .arg(connection.escape(name)));
    rows.open();
    if (rows.rowCount() == 0)
        usage(QStringLiteral("no passage is named '%1'").arg(name));
    if (rows.rowCount() > 1)
        usage(QStringLiteral("%1 passages are named '%2'; give --device ID").arg(rows.rowCount()).arg(name));
    return rows.integer(QStringLiteral("ID_DEVICE"));
}

}  // namespace

int check(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    return guarded("check", err, [&] {
        const QHash<QString, QString> o =
            options(arguments, {"--card", "--person", "--device", "--device-name", "--head",
                                "--date", "--time"});
        AccessQuestion q;
        if (o.contains("--card") == o.contains("--person"))
            usage(QStringLiteral("give either --card CODE or --person ID"));
        if (o.contains("--card")) {
            q.cardCode = o.value("--card");
            if (q.cardCode.isEmpty())
                usage(QStringLiteral("--card needs a code"));
        } else {
            q.personId = positiveNumber("--person", o.value("--person"));
        }
        if (o.contains("--device") == o.contains("--device-name"))
            usage(QStringLiteral("give either --device ID or --device-name NAME"));
        const QString head = o.value("--head").toUpper();
        if (head != QLatin1String("A") && head != QLatin1String("B"))
            usage(QStringLiteral("--head must be A or B"));
        q.head = head == QLatin1String("A") ? ReaderHead::A : ReaderHead::B;

        const QDateTime now = QDateTime::currentDateTime();
        q.date = o.contains("--date") ? QDate::fromString(o.value("--date"), QStringLiteral("yyyy-MM-dd"))
                                      : now.date();
        if (!q.date.isValid())
            usage(QStringLiteral("--date must be a date YYYY-MM-DD, not '%1'").arg(o.value("--date")));
        if (o.contains("--time")) {
            const QString text = o.value("--time");
            q.time = QTime::fromString(text, text.size() > 5 ? QStringLiteral("HH:mm:ss")
                                                             : QStringLiteral("HH:mm"));
            if (!q.time.isValid())
                usage(QStringLiteral("--time must be HH:MM or HH:MM:SS, not '%1'").arg(text));
        } else {
            q.time = QTime(now.time().hour(), now.time().minute(), now.time().second());
        }

        Connection connection;
        connect(connection);
        q.deviceId = o.contains("--device") ? positiveNumber("--device", o.value("--device"))
                                            : deviceNamed(connection, o.value("--device-name"));
        const AccessAnswer answer = CheckAccess(connection, q);
        print(out, answer.lines());
        return answer.granted ? 0 : 1;
    });
}

int cardCode(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    return guarded("card-code", err, [&] {
        const QString format = arguments.value(0).toLower();
        auto expect = [&](int count) {
            if (arguments.size() != count + 1)
                usage(QStringLiteral("card-code %1 takes %2").arg(format,
                      count == 1 ? QStringLiteral("one value") : QStringLiteral("FC and CN")));
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
                usage(QStringLiteral("card-code %1 takes FC and CN").arg(format));
            number = CardCode::fromWiegand(layout, values[0], values[1]);
        } else {
            usage(QStringLiteral("card-code needs a format: hex, dec, w26, w34, w40 or code"));
        }
        print(out, CardCode::describe(number));
        return 0;
    });
}

int importCheck(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    return guarded("import-check", err, [&] {
        if (arguments.size() != 1 || arguments[0].isEmpty())
            usage(QStringLiteral("import-check takes one FILE"));
        const ImportFile file = readImportFile(arguments[0]);
        if (!file.error.isEmpty())
            usage(QStringLiteral("%1: %2").arg(arguments[0], file.error));
        Connection connection;
        connect(connection);
        const std::vector<ImportCheckRow> rows = ImportCheck::rowsOf(file);
        const ImportCheckResult result = ImportCheck::check(connection, rows);
        QStringList lines;
        for (std::size_t i = 0; i < rows.size(); ++i)
            lines << QStringLiteral("%1\t%2\t%3\t%4\t%5")
                         .arg(i + 1)
                         .arg(rows[i].firstName, rows[i].surname, rows[i].cardCode,
                              result.rows[i].status());
        lines << result.summary();
        print(out, lines);
        return 0;
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
                usage(QStringLiteral("%1 needs a date YYYY-MM-DD, not '%2'").arg(QString::fromLatin1(option), text));
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
