// Config.ini: whatever the file held before, the four settings written are the
// four read back, unless the writer refused one (then the file is unchanged); a
// second write changes nothing; and the commands either refuse the file in one
// line or find a server address in it.
#include "FuzzCheck.h"
#include "app/ConfigFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString text(FuzzedDataProvider& in)
{
    const std::string bytes = in.ConsumeRandomLengthString(24);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    FuzzedDataProvider in(data, size);
    const ConfigFile::Settings typed{text(in), text(in), text(in), text(in)};
    const std::string before = in.ConsumeRemainingBytesAsString();
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "temporary file");
        file.write(before.data(), static_cast<qint64>(before.size()));
    }

    const QString usable = ConfigFile::unusableBecause(path);
    FUZZ_CHECK(!usable.contains(QLatin1Char('\n')), "a refusal of more than one line");
    FUZZ_CHECK(!usable.isEmpty() || !ConfigFile::read(path).server.isEmpty(), "a usable file without an address");

    const QString refused = ConfigFile::write(path, typed);
    if (!refused.isEmpty()) {
        FUZZ_CHECK(contents(path) == QByteArray(before.data(), static_cast<qsizetype>(before.size())),
                   "a refused write changed the file");
        return 0;
    }
    const ConfigFile::Settings read = ConfigFile::read(path);
    FUZZ_CHECK(read.server == typed.server, "server '%s' read as '%s'", shown(typed.server).constData(),
               shown(read.server).constData());
    FUZZ_CHECK(read.login == typed.login, "login '%s' read as '%s'", shown(typed.login).constData(),
               shown(read.login).constData());
    FUZZ_CHECK(read.password == typed.password, "password '%s' read as '%s'", shown(typed.password).constData(),
               shown(read.password).constData());
    FUZZ_CHECK(read.database == typed.database, "database '%s' read as '%s'", shown(typed.database).constData(),
               shown(read.database).constData());
    // Written again, nothing changes.
    const QByteArray once = contents(path);
    FUZZ_CHECK(ConfigFile::write(path, typed).isEmpty() && contents(path) == once, "a second write changed the file");
    return 0;
}
