#include "app/ReachCommands.h"

#include "access/Reach.h"
#include "app/ToolCommands.h"
#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"
#include "text/Errors.h"

#include <QHash>

#include <functional>
#include <stdexcept>

namespace ReachCommands {

const char* const Usage =
    "  who (--device ID | --device-name NAZWA) --head A|B [--date RRRR-MM-DD]\n"
    "        [--time GG:MM[:SS]]\n"
    "               \"Kto wejdzie\": każdy, kto przejdzie przez tę głowicę czytnika\n"
    "               w podanym dniu i czasie przejścia (domyślnie: teraz w jego strefie\n"
    "               czasowej), z rozstrzygającą kartą, uprawnieniem i okresem szablonu,\n"
    "               oraz członkowie jego grup, którzy nie przejdą, z powodem\n"
    "               (rozdzielone tabulacją, najpierw nagłówek, na końcu liczby)\n"
    "  where (--person ID | --card KOD)\n"
    "               \"Dokąd wejdzie\": każde przejście, na które grupa osoby (lub karty)\n"
    "               ma uprawnienia, czy każda głowica wpuści ją teraz, i jej tydzień\n"
    "               tam jako okresy w dniach tygodnia\n"
    "  cards [--expiring N]\n"
    "               karty, których ważność kończy się w ciągu N dni (domyślnie 30),\n"
    "               z właścicielami, ważne karty osób lub grup usuniętych i karty\n"
    "               bez okresu ważności\n";

namespace {

using ToolCommands::connect;
using ToolCommands::guarded;
using ToolCommands::options;
using ToolCommands::print;
using ToolCommands::usage;

int number(const QString& option, const QString& text, int least)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < least)
        usage(QStringLiteral("%1 wymaga liczby całkowitej nie mniejszej niż %2, nie '%3'").arg(option).arg(least).arg(text));
    return value;
}

int deviceNamed(Connection& connection, const QString& name)
{
    Dataset rows(connection, QStringLiteral("DeviceByName"));
    rows.setStatement(QStringLiteral("SELECT ID_DEVICE FROM DEVICE WHERE NAME = %1 AND DEL = 0 ORDER BY ID_DEVICE")
                          .arg(connection.quoted(name)));
    rows.open();
    if (rows.rowCount() != 1)
        usage(rows.rowCount() == 0
                  ? QStringLiteral("żadne przejście nie nazywa się '%1'").arg(name)
                  : QStringLiteral("przejść o nazwie '%2' jest %1; podaj --device ID").arg(rows.rowCount()).arg(name));
    return rows.integer(QStringLiteral("ID_DEVICE"));
}

}  // namespace

int who(const QStringList& arguments, std::FILE* out, std::FILE* err)
{
    return guarded("who", err, [&] {
        const auto o = options(arguments, {"--device", "--device-name", "--head", "--date", "--time"});
        if (o.contains("--device") == o.contains("--device-name"))
            usage(QStringLiteral("podaj albo --device ID, albo --device-name NAZWA"));
        const QString head = o.value("--head").toUpper();
        if (head != QLatin1String("A") && head != QLatin1String("B"))
            usage(QStringLiteral("--head musi być A albo B"));
        QDate date;
        QTime time;
        if (o.contains("--date")) {
            date = QDate::fromString(o.value("--date"), QStringLiteral("yyyy-MM-dd"));
            if (!date.isValid())
                usage(QStringLiteral("--date musi być datą RRRR-MM-DD, nie '%1'").arg(o.value("--date")));
        }
        if (o.contains("--time")) {
            const QString text = o.value("--time");
            time = QTime::fromString(text, text.size() > 5 ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
            if (!time.isValid())
                usage(QStringLiteral("--time musi być GG:MM albo GG:MM:SS, nie '%1'").arg(text));
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
            usage(QStringLiteral("podaj albo --person ID, albo --card KOD"));
        if (o.contains("--card") && o.value("--card").isEmpty())
            usage(QStringLiteral("--card wymaga kodu"));
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
