#include "app/ReachCommands.h"

#include "access/Reach.h"
#include "app/ConfigFile.h"
#include "dataaccess/Connection.h"
#include "dataaccess/ConnectionSettings.h"
#include "dataaccess/Dataset.h"
#include "text/Errors.h"

#include <QHash>

#include <functional>
#include <stdexcept>

namespace ReachCommands {

const char* const Usage =
    "  who (--device ID | --device-name NAME) --head A|B [--date YYYY-MM-DD]\n"
    "        [--time HH:MM[:SS]]\n"
    "               \"Kto wejdzie\": everyone who passes that reader head at that date\n"
    "               and time of the passage (default: now in the passage's time zone),\n"
    "               with the deciding card, permission row and template period, and\n"
    "               the members of its groups who do not, with the reason\n"
    "               (tab-separated, a header line first, the counts last)\n"
    "  where (--person ID | --card CODE)\n"
    "               \"Dokąd wejdzie\": every passage the person's (or card's) group has\n"
    "               permissions on, whether each head lets them in now, and their\n"
    "               week there as periods per weekday\n"
    "  cards [--expiring N]\n"
    "               cards whose validity ends within N days (default 30) with their\n"
    "               owners, valid cards of deleted people or groups, and cards\n"
    "               without a validity period\n";

namespace {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void usage(const QString& text) { throw UsageError(text.toStdString()); }

void print(std::FILE* out, const QStringList& lines)
{
    for (const QString& line : lines)
        std::fprintf(out, "%s\n", line.toLocal8Bit().constData());
}

int guarded(const char* command, std::FILE* err, const std::function<int()>& body)
{
    QString message;
    try {
        return body();
    } catch (const UsageError& e) {
        message = QString::fromStdString(e.what()) + QStringLiteral(" (see valdrix --help)");
    } catch (const OperatorError& e) {
        message = e.message();
    } catch (const std::exception& e) {
        message = QString::fromLocal8Bit(e.what());
    }
    std::fprintf(err, "valdrix %s: %s\n", command, message.simplified().toLocal8Bit().constData());
    return 2;
}

// "--name value" or "--name=value", each known name at most once.
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

int number(const QString& option, const QString& text, int least)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < least)
        usage(QStringLiteral("%1 needs a whole number of at least %2, not '%3'").arg(option).arg(least).arg(text));
    return value;
}

// The connection of Config.ini in the current directory, opened; a missing or
// unreadable file is an error, as for every command: no server is guessed.
void connect(Connection& connection)
{
    if (const QString reason = ConfigFile::unusableBecause(); !reason.isEmpty())
        throw OperatorError(reason);
    const ConfigFile::Settings settings = ConfigFile::read();
    openConnection(connection, {settings.server, settings.login, settings.password, settings.database});
}

int deviceNamed(Connection& connection, const QString& name)
{
    Dataset rows(connection, QStringLiteral("DeviceByName"));
    rows.setStatement(QStringLiteral("SELECT ID_DEVICE FROM DEVICE WHERE NAME = %1 AND DEL = 0 ORDER BY ID_DEVICE")
                          .arg(connection.quoted(name)));
    rows.open();
    if (rows.rowCount() != 1)
        usage(rows.rowCount() == 0
                  ? QStringLiteral("no passage is named '%1'").arg(name)
                  : QStringLiteral("%1 passages are named '%2'; give --device ID").arg(rows.rowCount()).arg(name));
    return rows.integer(QStringLiteral("ID_DEVICE"));
}

}  // namespace

int who(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    return guarded("who", err, [&] {
        const auto o = options(arguments, {"--device", "--device-name", "--head", "--date", "--time"});
        if (o.contains("--device") == o.contains("--device-name"))
            usage(QStringLiteral("give either --device ID or --device-name NAME"));
        const QString head = o.value("--head").toUpper();
        if (head != QLatin1String("A") && head != QLatin1String("B"))
            usage(QStringLiteral("--head must be A or B"));
        QDate date;
        QTime time;
        if (o.contains("--date")) {
            date = QDate::fromString(o.value("--date"), QStringLiteral("yyyy-MM-dd"));
            if (!date.isValid())
                usage(QStringLiteral("--date must be a date YYYY-MM-DD, not '%1'").arg(o.value("--date")));
        }
        if (o.contains("--time")) {
            const QString text = o.value("--time");
            time = QTime::fromString(text, text.size() > 5 ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
            if (!time.isValid())
                usage(QStringLiteral("--time must be HH:MM or HH:MM:SS, not '%1'").arg(text));
        }
        Connection connection;
        connect(connection);
        const int device = o.contains("--device") ? number("--device", o.value("--device"), 1)
                                                  : deviceNamed(connection, o.value("--device-name"));
        const QDateTime now = Reach::PassageNow(connection, device);
        const WhoAnswer a = Reach::WhoCanPass(connection, device, head == "A" ? ReaderHead::A : ReaderHead::B,
                                              date.isValid() ? date : now.date(),
                                              time.isValid() ? time : QTime(now.time().hour(), now.time().minute(),
                                                                            now.time().second()));
        QStringList lines{QStringLiteral("Kto wejdzie: %1 (ID_DEVICE = %2), głowica %3 %4, %5 %6")
                              .arg(a.passage, QString::number(device), head, a.headLabel,
                                   a.date.toString(Qt::ISODate), a.time.toString(QStringLiteral("HH:mm:ss")))};
        if (!a.problem.isEmpty())
            lines << a.problem;
        lines << a.lines(QLatin1Char('\t')) << a.summary();
        print(out, lines);
        return 0;
    });
}

int where(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    return guarded("where", err, [&] {
        const auto o = options(arguments, {"--person", "--card"});
        if (o.contains("--person") == o.contains("--card"))
            usage(QStringLiteral("give either --person ID or --card CODE"));
        if (o.contains("--card") && o.value("--card").isEmpty())
            usage(QStringLiteral("--card needs a code"));
        const int person = o.contains("--person") ? number("--person", o.value("--person"), 1) : 0;
        Connection connection;
        connect(connection);
        print(out, Reach::WhereCanGo(connection, person, o.value("--card")).lines());
        return 0;
    });
}

int cards(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    return guarded("cards", err, [&] {
        const auto o = options(arguments, {"--expiring"});
        const int days = o.contains("--expiring") ? number("--expiring", o.value("--expiring"), 0) : 30;
        Connection connection;
        connect(connection);
        print(out, Reach::CardsNeedingAttention(connection, days, QDate::currentDate()).lines());
        return 0;
    });
}

}  // namespace ReachCommands
