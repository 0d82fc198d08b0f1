// Windows-1250: every byte reads as one character and writes back as the same
// byte; a text writes one byte per character (a character beyond 16 bits is one),
// a character the code page lacks as "?", and canEncode says exactly whether the
// text comes back unchanged.
#include "FuzzCheck.h"
#include "text/Windows1250.h"

#include <QSet>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QSet<char16_t> upperHalf = [] {
        QSet<char16_t> set;
        for (int b = 0x80; b < 0x100; ++b)
            set.insert(Windows1250::decode(QByteArray(1, static_cast<char>(b)))[0].unicode());
        return set;
    }();
    // Every byte has its own character.
    FUZZ_CHECK(upperHalf.size() == 128, "%lld characters for 128 bytes", static_cast<long long>(upperHalf.size()));

    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString decoded = Windows1250::decode(bytes);
    FUZZ_CHECK(decoded.size() == bytes.size(), "decoded length");
    FUZZ_CHECK(Windows1250::encode(decoded) == bytes, "bytes do not come back");
    FUZZ_CHECK(Windows1250::canEncode(decoded), "a decoded text is not encodable");

    // The same bytes as UTF-16 text.
    FuzzedDataProvider in(data, size);
    QString text;
    while (in.remaining_bytes() >= 2)
        text += QChar(in.ConsumeIntegral<uint16_t>());
    const QByteArray encoded = Windows1250::encode(text);
    qsizetype characters = 0;
    bool encodable = true;
    QByteArray expected;
    for (qsizetype i = 0; i < text.size(); ++i, ++characters) {
        const char16_t u = text[i].unicode();
        const bool pair = QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pair)
            ++i;
        const bool known = !pair && (u < 0x80 || upperHalf.contains(u));
        encodable = encodable && known;
        if (!known)
            expected += '?';
        else if (u < 0x80)
            expected += static_cast<char>(u);
        else
            expected += Windows1250::encode(QString(QChar(u)));
    }
    FUZZ_CHECK(encoded.size() == characters, "%lld bytes for %lld characters", static_cast<long long>(encoded.size()),
               static_cast<long long>(characters));
    FUZZ_CHECK(encoded == expected, "a character written otherwise");
    FUZZ_CHECK(Windows1250::canEncode(text) == encodable, "canEncode says %d", Windows1250::canEncode(text));
    FUZZ_CHECK(!encodable || Windows1250::decode(encoded) == text, "an encodable text changed");
    return 0;
}
