#include "import/ImportFile.h"

#include "text/Utf8.h"

#include "text/Windows1250.h"

#include <QFile>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';
constexpr char EndOfFile = 26;   // Ctrl-Z
const QByteArray Utf8Mark("\xEF\xBB\xBF");

QString ioErrorText(int error)
{
    if (error == ENOENT)
        return QStringLiteral("File not found");
    return QStringLiteral("I/O error %1").arg(error);
}

}  // namespace

struct ImportFileReader::State {
    std::vector<QByteArray> lines;   // raw bytes, decoded once the whole file is known
    QByteArray line;
    QByteArray start;                // the first bytes, until the mark is ruled in or out
    bool startDone = false;
    bool mark = false;               // the file starts with the UTF-8 mark
    bool afterCarriageReturn = false;
    bool ended = false;              // Ctrl-Z seen

    void endLine()
    {
        if (!line.isEmpty())
            lines.push_back(line);
        line.clear();
    }

    // Cuts bytes that follow the mark test.
    void cut(const char* data, qsizetype size)
    {
        const char* p = data;
        const char* end = data + size;
        while (p != end && !ended) {
            if (afterCarriageReturn) {
                afterCarriageReturn = false;
                if (*p == LineFeed) {
                    ++p;   // the LF of CR LF
                    continue;
                }
            }
            // The run of plain bytes up to the next CR or Ctrl-Z, in one append.
            const auto* cr = static_cast<const char*>(std::memchr(p, CarriageReturn, static_cast<size_t>(end - p)));
            const char* stop = cr ? cr : end;
            if (const auto* z = static_cast<const char*>(std::memchr(p, EndOfFile, static_cast<size_t>(stop - p))))
                stop = z;
            line.append(p, stop - p);
            p = stop;
            if (p == end)
                break;
            if (*p == EndOfFile) {
                ended = true;
                break;
            }
            endLine();
            afterCarriageReturn = true;
            ++p;
        }
    }
};

namespace {

// UTF-8 bytes as text, keeping a U+FEFF at their start: only the file's first
// bytes are its mark, anywhere else the character is part of a value.
QString fromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

// Blanks and ";" are single bytes in both encodings and never part of a longer
// character, so a line is cut into its fields before it is decoded: a line of
// megabytes is then copied once, not three times.
ImportLine splitLineBytes(QByteArray& line, ImportFile::Encoding encoding)
{
    line.removeIf([](char c) { return c == ' '; });
    auto text = [encoding](QByteArrayView bytes) {
        return encoding == ImportFile::Encoding::Utf8 ? fromUtf8(bytes) : Windows1250::decode(bytes);
    };
    ImportLine out;
    const QByteArrayView all(line);
    const qsizetype first = all.indexOf(';');
    if (first < 0)
        return out;
    out.hasFields = true;
    out.firstName = text(all.first(first));
    const qsizetype second = all.indexOf(';', first + 1);
    if (second < 0) {
        out.cardCode = text(all.sliced(first + 1));
        return out;
    }
    out.surname = text(all.sliced(first + 1, second - first - 1));
    out.cardCode = text(all.sliced(second + 1));
    return out;
}

}  // namespace

ImportFileReader::ImportFileReader() : state_(new State) {}

ImportFileReader::~ImportFileReader() { delete state_; }

bool ImportFileReader::feed(const char* data, qsizetype size)
{
    State& s = *state_;
    if (s.ended)
        return false;
    if (!s.startDone) {
        // The mark may arrive split over reads: hold the first bytes until known.
        const qsizetype take = std::min<qsizetype>(size, Utf8Mark.size() - s.start.size());
        s.start.append(data, take);
        data += take;
        size -= take;
        if (s.start.size() < Utf8Mark.size() && Utf8Mark.startsWith(s.start))
            return true;
        s.startDone = true;
        s.mark = s.start == Utf8Mark;
        if (!s.mark)
            s.cut(s.start.constData(), s.start.size());
        s.start.clear();
    }
    s.cut(data, size);
    return !s.ended;
}

ImportFile ImportFileReader::finish(bool complete)
{
    State& s = *state_;
    if (!s.startDone) {   // a file shorter than the mark
        s.startDone = true;
        s.cut(s.start.constData(), s.start.size());
        s.start.clear();
    }
    if (complete || s.ended)
        s.endLine();
    ImportFile file;
    file.opened = true;
    file.byteOrderMark = s.mark;
    bool anyMultiByte = false;
    bool valid = true;
    for (const QByteArray& line : s.lines) {
        bool multiByte = false;
        valid = valid && isValidUtf8(line.constData(), line.size(), &multiByte);
        anyMultiByte = anyMultiByte || multiByte;
        if (!valid)
            break;
    }
    file.encoding = file.byteOrderMark || (valid && anyMultiByte) ? ImportFile::Encoding::Utf8
                                                                  : ImportFile::Encoding::Windows1250;
    file.lines.reserve(s.lines.size());
    for (QByteArray& line : s.lines) {
        file.lfLineEnds = file.lfLineEnds || line.contains(LineFeed);
        // A marked UTF-8 file with bytes that are no UTF-8: decoded first, so that a
        // removed blank never joins two stray bytes into a character.
        file.lines.push_back(file.encoding == ImportFile::Encoding::Utf8 && !valid
                                 ? splitImportLine(fromUtf8(line))
                                 : splitLineBytes(line, file.encoding));
        line = QByteArray();   // the decoded line replaces it
    }
    s.lines.clear();
    return file;
}

QString ImportFile::encodingName() const
{
    return encoding == Encoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1250");
}

bool isValidUtf8(const char* data, qsizetype size, bool* multiByte)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    const auto* end = p + size;
    bool wide = false;
    while (p != end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        char32_t code = 0;
        const int length = Utf8::multiByteLength(p, end, &code);
        if (length == 0)
            return false;
        wide = true;
        p += length;
    }
    if (multiByte)
        *multiByte = wide;
    return true;
}

ImportLine splitImportLine(const QString& line)
{
    QString text = line;
    text.remove(QLatin1Char(' '));
    ImportLine out;
    const qsizetype first = text.indexOf(QLatin1Char(';'));
    if (first < 0)
        return out;
    out.hasFields = true;
    out.firstName = text.left(first);
    const qsizetype second = text.indexOf(QLatin1Char(';'), first + 1);
    if (second < 0) {
        out.cardCode = text.mid(first + 1);
        return out;
    }
    out.surname = text.mid(first + 1, second - first - 1);
    out.cardCode = text.mid(second + 1);
    return out;
}

ImportFile parseImportFile(const QByteArray& bytes)
{
    ImportFileReader reader;
    reader.feed(bytes.constData(), bytes.size());
    return reader.finish();
}

ImportFile readImportFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ImportFile file;
        file.error = ioErrorText(errno);
        return file;
    }
    ImportFileReader reader;
    QString error;
    QByteArray buffer(256 * 1024, Qt::Uninitialized);
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), static_cast<size_t>(buffer.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            // The lines read so far stand; the one being read is lost.
            error = ioErrorText(errno);
            break;
        }
        if (got == 0 || !reader.feed(buffer.constData(), got))
            break;
    }
    ::close(fd);
    ImportFile file = reader.finish(error.isEmpty());
    file.error = error;
    return file;
}
