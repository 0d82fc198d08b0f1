// The import file reader: a file arriving in pieces reads as when read whole, and
// an independent reading of the format (lines at CR LF and lone CR, Ctrl-Z ends
// the file, the encoding rule, spaces removed, the fields at the first two ";")
// gives the same persons, encoding and LF mark.
#include "FuzzCheck.h"
#include "import/ImportFile.h"
#include "text/Windows1250.h"

#include <QList>
#include <QStringDecoder>

#include <algorithm>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

bool same(const ImportLine& a, const ImportLine& b)
{
    return a.hasFields == b.hasFields && a.firstName == b.firstName && a.surname == b.surname &&
           a.cardCode == b.cardCode;
}

bool same(const ImportFile& a, const ImportFile& b)
{
    if (a.lines.size() != b.lines.size() || a.encoding != b.encoding || a.byteOrderMark != b.byteOrderMark ||
        a.lfLineEnds != b.lfLineEnds)
        return false;
    for (std::size_t i = 0; i < a.lines.size(); ++i)
        if (!same(a.lines[i], b.lines[i]))
            return false;
    return true;
}

ImportLine fieldsOf(QString text)
{
    text.remove(QLatin1Char(' '));
    const QStringList parts = text.split(QLatin1Char(';'));
    ImportLine line;
    if (parts.size() < 2)
        return line;
    line.hasFields = true;
    line.firstName = parts[0];
    if (parts.size() == 2) {
        line.cardCode = parts[1];
    } else {
        line.surname = parts[1];
        line.cardCode = parts.mid(2).join(QLatin1Char(';'));
    }
    return line;
}

// UTF-8 as text, a U+FEFF at the start kept (it is the file's mark only at its start).
QString utf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const unsigned pieceSeed = in.ConsumeIntegral<uint8_t>();
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray bytes(rest.data(), static_cast<qsizetype>(rest.size()));

    const ImportFile whole = parseImportFile(bytes);

    // The same bytes in pieces of 1 to 11 bytes.
    ImportFileReader reader;
    qsizetype at = 0;
    unsigned step = pieceSeed % 11 + 1;
    while (at < bytes.size()) {
        const qsizetype n = std::min<qsizetype>(step, bytes.size() - at);
        if (!reader.feed(bytes.constData() + at, n))
            break;
        at += n;
        step = (step * 7 + 3) % 11 + 1;
    }
    const ImportFile pieces = reader.finish();
    FUZZ_CHECK(same(whole, pieces), "pieces of %u bytes read otherwise", pieceSeed % 11 + 1);

    // The independent reading.
    QByteArray body = bytes;
    const bool mark = body.startsWith("\xEF\xBB\xBF");
    if (mark)
        body.remove(0, 3);
    if (const qsizetype end = body.indexOf('\x1A'); end >= 0)
        body.truncate(end);
    QList<QByteArray> raw;
    QByteArray line;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] != '\r') {
            line += body[i];
            continue;
        }
        raw << line;
        line.clear();
        if (i + 1 < body.size() && body[i + 1] == '\n')
            ++i;
    }
    raw << line;
    raw.removeAll(QByteArray());
    const QByteArray all = raw.join('\r');
    const bool nonAscii = std::any_of(all.begin(), all.end(), [](char c) { return (c & 0x80) != 0; });
    const bool isUtf8 = mark || (nonAscii && utf8(all).toUtf8() == all);

    FUZZ_CHECK(whole.byteOrderMark == mark, "mark");
    FUZZ_CHECK((whole.encoding == ImportFile::Encoding::Utf8) == isUtf8, "encoding %s", qPrintable(whole.encodingName()));
    FUZZ_CHECK(whole.lines.size() == static_cast<std::size_t>(raw.size()), "%zu lines, expected %lld",
               whole.lines.size(), static_cast<long long>(raw.size()));
    bool lf = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        lf = lf || raw[i].contains('\n');
        const ImportLine expected = fieldsOf(isUtf8 ? utf8(raw[i]) : Windows1250::decode(raw[i]));
        const ImportLine& got = whole.lines[static_cast<std::size_t>(i)];
        FUZZ_CHECK(same(got, expected), "line %lld: '%s' '%s' '%s', expected '%s' '%s' '%s'",
                   static_cast<long long>(i + 1), shown(got.firstName).constData(), shown(got.surname).constData(),
                   shown(got.cardCode).constData(), shown(expected.firstName).constData(),
                   shown(expected.surname).constData(), shown(expected.cardCode).constData());
        for (const QString* field : {&got.firstName, &got.surname, &got.cardCode})
            FUZZ_CHECK(!field->contains(QLatin1Char('\r')) && !field->contains(QLatin1Char(' ')), "CR or blank kept");
    }
    FUZZ_CHECK(whole.lfLineEnds == lf, "LF mark");
    return 0;
}
