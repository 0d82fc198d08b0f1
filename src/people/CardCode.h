#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <stdexcept>

// Converts between what is printed on a card and the code the system stores.
//
// The stored code is the card's number written as 10 upper-case hexadecimal
// digits, left-padded with "0" (the form the code field keeps after Enter), so
// every card number from 0 to 2^40 - 1 has exactly one stored code. Printed forms:
// - hexadecimal: the same number, 1 to 10 hexadecimal digits;
// - decimal: the same number, 0 to 1 099 511 627 775;
// - Wiegand 26: facility code 8 bits (0-255), card number 16 bits (0-65535);
// - Wiegand 34: facility code 16 bits (0-65535), card number 16 bits (0-65535);
// - Wiegand 40: facility code 16 bits (0-65535), card number 22 bits (0-4 194 303).
// A Wiegand frame is: one even-parity bit, the data bits (facility code, then card
// number, most significant bit first), one odd-parity bit. The even-parity bit
// covers the first half of the data bits, the odd-parity bit the second half.
// The card's number is the data bits read as one binary number (facility code
// times 2^cardBits plus card number), so a Wiegand 26 card with facility 12 and
// number 34567 is stored as 00000C8707.
namespace CardCode {

constexpr std::uint64_t MaxNumber = (std::uint64_t(1) << 40) - 1;
constexpr int StoredLength = 10;

// One Wiegand frame layout.
struct WiegandLayout {
    int frameBits;      // parity bits included
    int facilityBits;
    int cardBits;
    const char* name;   // "Wiegand 26"

    int dataBits() const { return facilityBits + cardBits; }
    std::uint64_t maxFacility() const { return (std::uint64_t(1) << facilityBits) - 1; }
    std::uint64_t maxCard() const { return (std::uint64_t(1) << cardBits) - 1; }
};

extern const WiegandLayout Wiegand26;
extern const WiegandLayout Wiegand34;
extern const WiegandLayout Wiegand40;
extern const std::array<const WiegandLayout*, 3> WiegandLayouts;

// Input that cannot be converted. The text names the field and the allowed range.
class InputError : public std::runtime_error {
public:
    explicit InputError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// The names of the input fields, as the converter window labels them.
extern const QString HexField;        // "Kod szesnastkowy"
extern const QString DecimalField;    // "Numer dziesiętny"
extern const QString FacilityField;   // "Kod obiektu (FC)"
extern const QString CardField;       // "Numer karty (CN)"
extern const QString StoredField;     // "Kod w systemie"

// Printed forms to the card's number. Blanks are ignored; a hexadecimal number
// may start with "0x". Each throws InputError for anything else.
std::uint64_t fromHex(const QString& text);
std::uint64_t fromDecimal(const QString& text);
std::uint64_t fromWiegand(const WiegandLayout& layout, const QString& facility,
                          const QString& card);
// A code as stored (or as typed into the code field): 1 to 10 hexadecimal
// digits; letter case does not matter.
std::uint64_t fromStoredCode(const QString& code);

// The number as the system stores it: 10 upper-case hexadecimal digits.
QString storedCode(std::uint64_t number);

// What the code field makes of a typed code: exactly 10 characters, shorter codes
// with leading zeros, longer ones their last 10; an empty code stays empty.
QString normalized(const QString& code);
// The same after Enter, which first turns the letters a-z into upper case.
QString entered(const QString& code);

// What a Wiegand reader of the given layout sends for the number.
struct WiegandFrame {
    bool fits = false;             // the number has no more bits than the data bits
    std::uint64_t facility = 0;
    std::uint64_t card = 0;
    bool evenParity = false;       // the first bit
    bool oddParity = false;        // the last bit
    int onesFirstHalf = 0;         // ones among the data bits the even parity covers
    int onesSecondHalf = 0;        // ones among those the odd parity covers
    QString bits;                  // the frame as 0/1, groups: parity, facility, card, parity
};
WiegandFrame wiegandFrame(const WiegandLayout& layout, std::uint64_t number);

// Every form of the number, one line each, for the window and the command line:
// the stored code, hexadecimal, decimal, and each Wiegand layout with its frame
// and its parity bits explained (or why the number does not fit it).
QStringList describe(std::uint64_t number);

}  // namespace CardCode
