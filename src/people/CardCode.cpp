#include "people/CardCode.h"
#include "text/PolishPlural.h"

#include <bit>
#include <optional>

namespace CardCode {

const WiegandLayout Wiegand26{26, 8, 16, "Wiegand 26"};
const WiegandLayout Wiegand34{34, 16, 16, "Wiegand 34"};
const WiegandLayout Wiegand40{40, 16, 22, "Wiegand 40"};
const std::array<const WiegandLayout*, 3> WiegandLayouts = {&Wiegand26, &Wiegand34, &Wiegand40};

const QString HexField = QStringLiteral("Kod szesnastkowy");
const QString DecimalField = QStringLiteral("Numer dziesiętny");
const QString FacilityField = QStringLiteral("Kod obiektu (FC)");
const QString CardField = QStringLiteral("Numer karty (CN)");
const QString StoredField = QStringLiteral("Kod w systemie");

namespace {

QString withoutBlanks(const QString& text)
{
    QString out;
    for (QChar c : text)
        if (!c.isSpace())
            out += c;
    return out;
}

[[noreturn]] void refuse(const QString& field, const QString& allowed, const QString& typed)
{
    if (typed.isEmpty())
        throw InputError(QStringLiteral("Pole „%1” jest puste: %2.").arg(field, allowed));
    throw InputError(QStringLiteral("Pole „%1”: %2 (wpisano „%3”).").arg(field, allowed, typed));
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Digits in the given base up to a largest value; nullopt for anything else.
std::optional<std::uint64_t> parse(const QString& digits, int base, std::uint64_t max)
{
    if (digits.isEmpty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (QChar c : digits) {
        const int d = hexDigit(c);
        if (d < 0 || d >= base)
            return std::nullopt;
        if (value > (max - static_cast<std::uint64_t>(d)) / static_cast<std::uint64_t>(base))
            return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    }
    return value;
}

std::uint64_t decimalIn(const QString& field, const QString& text, std::uint64_t max)
{
    const QString digits = withoutBlanks(text);
    const auto value = parse(digits, 10, max);
    if (!value)
        refuse(field, QStringLiteral("dozwolona liczba dziesiętna od 0 do %1").arg(max), digits);
    return *value;
}


// "mają N jedynkę" and "ramka N bitów": the forms these sentences take.
QString ones(int n) { return countOf(n, "jedynkę", "jedynki", "jedynek"); }
QString bits(int n) { return countOf(n, "bitu", "bitów", "bitów"); }

QString binary(std::uint64_t value, int bits)
{
    QString out;
    for (int i = bits - 1; i >= 0; --i)
        out += QLatin1Char(((value >> i) & 1) ? '1' : '0');
    return out;
}

}  // namespace

std::uint64_t fromHex(const QString& text)
{
    QString digits = withoutBlanks(text);
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        digits = digits.mid(2);
    const auto value = parse(digits, 16, MaxNumber);
    if (!value)
        refuse(HexField,
               QStringLiteral("dozwolona liczba szesnastkowa (cyfry 0–9, A–F) od 0 do FFFFFFFFFF"),
               withoutBlanks(text));
    return *value;
}

std::uint64_t fromDecimal(const QString& text) { return decimalIn(DecimalField, text, MaxNumber); }

std::uint64_t fromWiegand(const WiegandLayout& layout, const QString& facility, const QString& card)
{
    const std::uint64_t fc = decimalIn(FacilityField, facility, layout.maxFacility());
    const std::uint64_t cn = decimalIn(CardField, card, layout.maxCard());
    return (fc << layout.cardBits) | cn;
}

std::uint64_t fromStoredCode(const QString& code)
{
    const auto value = code.size() <= StoredLength ? parse(code, 16, MaxNumber) : std::nullopt;
    if (!value)
        refuse(StoredField,
               QStringLiteral("dozwolone od 1 do 10 cyfr szesnastkowych (0–9, A–F); inny kod "
                              "nie jest numerem karty i nie da się go przeliczyć"),
               code);
    return *value;
}

QString storedCode(std::uint64_t number)
{
    return QStringLiteral("%1").arg(number, StoredLength, 16, QLatin1Char('0')).toUpper();
}

QString normalized(const QString& code)
{
    if (code.isEmpty() || code.size() >= StoredLength)
        return code.right(StoredLength);
    return QString(StoredLength - code.size(), QLatin1Char('0')) + code;
}

QString entered(const QString& code)
{
    QString upper = code;
    for (QChar& c : upper)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return normalized(upper);
}

WiegandFrame wiegandFrame(const WiegandLayout& layout, std::uint64_t number)
{
    WiegandFrame frame;
    const int data = layout.dataBits();
    frame.fits = number >> data == 0;
    if (!frame.fits)
        return frame;
    frame.facility = number >> layout.cardBits;
    frame.card = number & layout.maxCard();
    const int half = data / 2;
    frame.onesFirstHalf = std::popcount(number >> half);
    frame.onesSecondHalf = std::popcount(number & ((std::uint64_t(1) << half) - 1));
    frame.evenParity = frame.onesFirstHalf % 2 == 1;    // makes the count even
    frame.oddParity = frame.onesSecondHalf % 2 == 0;    // makes the count odd
    frame.bits = QStringLiteral("%1 %2 %3 %4")
                     .arg(QLatin1Char(frame.evenParity ? '1' : '0'))
                     .arg(binary(frame.facility, layout.facilityBits),
                          binary(frame.card, layout.cardBits))
                     .arg(QLatin1Char(frame.oddParity ? '1' : '0'));
    return frame;
}

QStringList describe(std::uint64_t number)
{
    QStringList lines;
    lines << QStringLiteral("Kod w systemie: %1").arg(storedCode(number));
    lines << QStringLiteral("Szesnastkowo: %1").arg(QString::number(number, 16).toUpper());
    lines << QStringLiteral("Dziesiętnie: %1").arg(number);
    for (const WiegandLayout* layout : WiegandLayouts) {
        const QString name = QString::fromLatin1(layout->name);
        const WiegandFrame f = wiegandFrame(*layout, number);
        if (!f.fits) {
            lines << QStringLiteral("%1: nie mieści się w %2 bitach danych (największy numer to %3)")
                         .arg(name)
                         .arg(layout->dataBits())
                         .arg((std::uint64_t(1) << layout->dataBits()) - 1);
            continue;
        }
        const int half = layout->dataBits() / 2;
        const int last = layout->frameBits;
        lines << QStringLiteral("%1: kod obiektu (FC) %2, numer karty (CN) %3")
                     .arg(name)
                     .arg(f.facility)
                     .arg(f.card);
        lines << QStringLiteral("  ramka %1 (P | FC %2 | CN %3 | P): %4")
                     .arg(bits(last), QString::number(layout->facilityBits),
                          QString::number(layout->cardBits), f.bits);
        lines << QStringLiteral("  bit 1 = %1: parzystość parzysta (bity 2–%2 mają %3, z tym bitem "
                                "%4 – parzyście)")
                     .arg(f.evenParity ? 1 : 0)
                     .arg(half + 1)
                     .arg(ones(f.onesFirstHalf))
                     .arg(f.onesFirstHalf + (f.evenParity ? 1 : 0));
        lines << QStringLiteral("  bit %1 = %2: parzystość nieparzysta (bity %3–%4 mają %5, z tym "
                                "bitem %6 – nieparzyście)")
                     .arg(last)
                     .arg(f.oddParity ? 1 : 0)
                     .arg(half + 2)
                     .arg(last - 1)
                     .arg(ones(f.onesSecondHalf))
                     .arg(f.onesSecondHalf + (f.oddParity ? 1 : 0));
    }
    return lines;
}

}  // namespace CardCode
