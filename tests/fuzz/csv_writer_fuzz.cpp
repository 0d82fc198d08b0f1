// The CSV export: an independent reading of the file (Windows-1250, CR LF between
// lines and none after the last, eight fields split at ";") gives back the header
// and every event's values: the time without its fraction (and without the time
// at midnight), the serial number between apostrophes, a character the code page
// lacks as "?". Values holding ";" or a line break are written unchanged, as the
// format has it, so that only the number of lines is checked for them.
#include "FuzzCheck.h"
#include "FuzzRows.h"
#include "events/EventCsv.h"
#include "text/Windows1250.h"

#include <QBuffer>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

const QString Header = QStringLiteral(
    "Data i czas;imię;nazwisko;zdarzenie;nazwa kontrolera;nr kontrolera;typ;nazwa głowicy");

// A text as the server sends it: valid UTF-8.
QByteArray textOf(FuzzedDataProvider& in)
{
    const std::string bytes = in.ConsumeRandomLengthString(16);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).toUtf8();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    // Columns as a result may order them: ID first, then the eight fields shuffled.
    std::array<int, 8> columns{};
    std::vector<int> free = {1, 2, 3, 4, 5, 6, 7, 8};
    for (int i = 0; i < 8; ++i) {
        const auto pick = in.ConsumeIntegralInRange<std::size_t>(0, free.size() - 1);
        columns[i] = free[pick];
        free.erase(free.begin() + static_cast<std::ptrdiff_t>(pick));
    }
    FuzzRows rows;
    const int count = in.ConsumeIntegralInRange(0, 12);
    std::vector<std::array<QByteArray, 8>> values;
    bool plain = true;   // no value holds ";", CR or LF
    for (int r = 0; r < count; ++r) {
        std::vector<std::optional<QByteArray>> cells(9);
        cells[0] = QByteArray::number(r + 1);
        std::array<QByteArray, 8> expected;
        // TIME: a date and time as the server writes it, sometimes with a fraction.
        const int hour = in.ConsumeIntegralInRange(0, 23), minute = in.ConsumeIntegralInRange(0, 59);
        const int second = in.ConsumeIntegralInRange(0, 59);
        const bool zero = in.ConsumeBool();
        const QByteArray day = QStringLiteral("2024-%1-%2").arg(in.ConsumeIntegralInRange(1, 12), 2, 10, QLatin1Char('0'))
                                   .arg(in.ConsumeIntegralInRange(1, 28), 2, 10, QLatin1Char('0')).toLatin1();
        const QByteArray clock = zero ? QByteArray("00:00:00")
                                          : QStringLiteral("%1:%2:%3").arg(hour, 2, 10, QLatin1Char('0'))
                                                .arg(minute, 2, 10, QLatin1Char('0'))
                                                .arg(second, 2, 10, QLatin1Char('0')).toLatin1();
        const bool fraction = in.ConsumeBool();
        cells[static_cast<std::size_t>(columns[0])] = day + ' ' + clock + (fraction ? ".250000" : "");
        const bool midnight = clock == "00:00:00" && !fraction;   // exactly
        expected[0] = midnight ? day : day + ' ' + clock;
        for (int i = 1; i < 8; ++i) {
            if (in.ConsumeIntegralInRange(0, 9) == 0)
                continue;   // NULL: an empty field
            const QByteArray value = textOf(in);
            cells[static_cast<std::size_t>(columns[i])] = value;
            expected[i] = Windows1250::encode(QString::fromUtf8(value));
            plain = plain && !value.contains(';') && !value.contains('\r') && !value.contains('\n');
        }
        expected[5] = '\'' + expected[5] + '\'';
        rows.cells.push_back(std::move(cells));
        values.push_back(expected);
    }

    QBuffer file;
    file.open(QIODevice::WriteOnly);
    FUZZ_CHECK(writeEventsCsv(rows, columns, file), "not written");
    const QByteArray bytes = file.data();
    FUZZ_CHECK(!bytes.endsWith("\r\n"), "a line break after the last line");
    const QList<QByteArray> lines = bytes.split('\n');
    FUZZ_CHECK(Windows1250::decode(lines[0]) == Header + (count > 0 ? QStringLiteral("\r") : QString()), "header");
    if (!plain)
        return 0;
    FUZZ_CHECK(lines.size() == count + 1, "%lld lines for %d events", static_cast<long long>(lines.size()), count);
    for (int r = 0; r < count; ++r) {
        QByteArray line = lines[r + 1];
        if (r + 1 < count) {
            FUZZ_CHECK(line.endsWith('\r'), "LF without CR");
            line.chop(1);
        }
        const QList<QByteArray> fields = line.split(';');
        FUZZ_CHECK(fields.size() == 8, "row %d has %lld fields", r + 1, static_cast<long long>(fields.size()));
        for (int i = 0; i < 8; ++i)
            FUZZ_CHECK(fields[i] == values[static_cast<std::size_t>(r)][static_cast<std::size_t>(i)],
                       "row %d field %d: '%s', expected '%s'", r + 1, i + 1, fields[i].toHex().constData(),
                       values[static_cast<std::size_t>(r)][static_cast<std::size_t>(i)].toHex().constData());
    }
    return 0;
}
