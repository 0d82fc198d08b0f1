#include "import/ImportFile.h"

#include "text/Windows1250.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';
constexpr char EndOfFile = 26;   // Ctrl-Z

QString ioErrorText(int error)
{
    if (error == ENOENT)
        return QStringLiteral("File not found");
    return QStringLiteral("I/O error %1").arg(error);
}

// Cuts the bytes into lines as they arrive, however the reads split them.
class LineCutter {
public:
    explicit LineCutter(std::vector<ImportLine>& lines) : lines_(lines) {}

    // False once Ctrl-Z ended the file.
    bool feed(const char* data, qsizetype size)
    {
        for (qsizetype i = 0; i < size; ++i) {
            const char c = data[i];
            if (afterCarriageReturn_) {
                afterCarriageReturn_ = false;
                if (c == LineFeed)
                    continue;   // the LF of CR LF
            }
            if (c == EndOfFile) {
                finish();
                return false;
            }
            if (c == CarriageReturn) {
                endLine();
                afterCarriageReturn_ = true;
                continue;
            }
            line_.append(c);
        }
        return true;
    }

    // The last line needs no line end.
    void finish() { endLine(); }

private:
    void endLine()
    {
        if (!line_.isEmpty())
            lines_.push_back(splitImportLine(line_));
        line_.clear();
    }

    std::vector<ImportLine>& lines_;
    QByteArray line_;
    bool afterCarriageReturn_ = false;
};

}  // namespace

ImportLine splitImportLine(const QByteArray& line)
{
    QString text = Windows1250::decode(line);
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

ImportFile readImportFile(const QString& path)
{
    ImportFile file;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        file.error = ioErrorText(errno);
        return file;
    }
    file.opened = true;
    LineCutter cutter(file.lines);
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), static_cast<size_t>(buffer.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            // The lines read so far stand; the one being read is lost.
            file.error = ioErrorText(errno);
            break;
        }
        if (got == 0) {
            cutter.finish();
            break;
        }
        if (!cutter.feed(buffer.constData(), got))
            break;
    }
    ::close(fd);
    return file;
}
