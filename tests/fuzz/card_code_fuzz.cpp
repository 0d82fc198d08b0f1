// Card codes: every number's stored code, hexadecimal and decimal forms read back
// as the number; every Wiegand frame it fits carries the facility and card numbers
// with correct parity bits and reads back; any typed text is either refused with
// InputError or read as a number within range that an independent reading agrees with.
#include "FuzzCheck.h"
#include "people/CardCode.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

int ones(std::uint64_t value) { return __builtin_popcountll(value); }

// Decimal digits with blanks (any white space) and leading zeros ignored, or -1.
long double independentDecimal(const QString& text)
{
    QString digits;
    for (const QChar c : text)
        if (!c.isSpace())
            digits += c;
    while (digits.size() > 1 && digits.front() == QLatin1Char('0'))
        digits.remove(0, 1);
    if (digits.isEmpty() || digits.size() > 30)
        return -1;
    long double value = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace CardCode;
    FuzzedDataProvider in(data, size);
    const std::uint64_t number = in.ConsumeIntegral<std::uint64_t>() & MaxNumber;

    const QString code = storedCode(number);
    FUZZ_CHECK(code.size() == StoredLength && code == code.toUpper(), "stored code %s", qPrintable(code));
    FUZZ_CHECK(fromStoredCode(code) == number, "stored code %s", qPrintable(code));
    FUZZ_CHECK(fromStoredCode(code.toLower()) == number, "lower-case code");
    FUZZ_CHECK(fromHex(QString::number(number, 16)) == number, "hex");
    FUZZ_CHECK(fromHex(QStringLiteral("0x") + QString::number(number, 16)) == number, "0x hex");
    FUZZ_CHECK(fromDecimal(QString::number(number)) == number, "decimal");
    FUZZ_CHECK(entered(code) == code && normalized(code) == code, "a stored code is kept by the field");
    FUZZ_CHECK(describe(number).value(0) == QStringLiteral("Kod w systemie: ") + code, "first line");

    for (const WiegandLayout* layout : WiegandLayouts) {
        const WiegandFrame frame = wiegandFrame(*layout, number);
        const int data = layout->dataBits();
        FUZZ_CHECK(frame.fits == (number >> data == 0), "%s fits", layout->name);
        if (!frame.fits)
            continue;
        FUZZ_CHECK(frame.facility == number >> layout->cardBits && frame.card == (number & layout->maxCard()),
                   "%s numbers", layout->name);
        const int half = data / 2;
        const int first = ones(number >> (data - half));
        const int second = ones(number & ((std::uint64_t(1) << (data - half)) - 1));
        FUZZ_CHECK(frame.onesFirstHalf == first && frame.onesSecondHalf == second, "%s halves", layout->name);
        FUZZ_CHECK((first + frame.evenParity) % 2 == 0, "%s even parity", layout->name);
        FUZZ_CHECK((second + frame.oddParity) % 2 == 1, "%s odd parity", layout->name);
        QString bits = frame.bits;
        bits.remove(QLatin1Char(' '));
        FUZZ_CHECK(bits.size() == layout->frameBits, "%s frame of %lld bits", layout->name,
                   static_cast<long long>(bits.size()));
        FUZZ_CHECK(bits.front() == QLatin1Char(frame.evenParity ? '1' : '0') &&
                       bits.back() == QLatin1Char(frame.oddParity ? '1' : '0'),
                   "%s parity bits", layout->name);
        FUZZ_CHECK(bits.mid(1, data).toULongLong(nullptr, 2) == number, "%s data bits", layout->name);
        FUZZ_CHECK(fromWiegand(*layout, QString::number(frame.facility), QString::number(frame.card)) == number,
                   "%s reads back", layout->name);
    }

    // Typed text.
    const std::string typed = in.ConsumeRandomLengthString(40);
    const QString text = QString::fromUtf8(typed.data(), static_cast<qsizetype>(typed.size()));
    try {
        const std::uint64_t value = fromDecimal(text);
        FUZZ_CHECK(value <= MaxNumber, "decimal beyond range");
        FUZZ_CHECK(independentDecimal(text) == static_cast<long double>(value), "decimal '%s'", shown(text).constData());
    } catch (const InputError& e) {
        FUZZ_CHECK(!e.message().isEmpty(), "a refusal without words");
        const long double independent = independentDecimal(text);
        FUZZ_CHECK(independent < 0 || independent > MaxNumber, "'%s' refused", shown(text).constData());
    }
    for (auto read : {&fromHex, &fromStoredCode}) {
        try {
            FUZZ_CHECK(read(text) <= MaxNumber, "hex beyond range");
        } catch (const InputError& e) {
            FUZZ_CHECK(!e.message().isEmpty(), "a refusal without words");
        }
    }
    const QString field = normalized(text);
    FUZZ_CHECK(field.isEmpty() == text.isEmpty() && (field.isEmpty() || field.size() == StoredLength),
               "the field keeps %lld characters", static_cast<long long>(field.size()));
    return 0;
}
