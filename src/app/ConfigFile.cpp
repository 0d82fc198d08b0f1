#include "app/ConfigFile.h"

#include "text/IniFile.h"
#include "text/Windows1250.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QStandardPaths>

namespace {

QString& configPath()
{
    static QString path = QString::fromLatin1(ConfigFile::Path);
    return path;
}

}  // namespace

QString ConfigFile::path() { return configPath(); }

QString ConfigFile::useUserFolder()
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/valdrix");
    QDir().mkpath(folder);
    configPath() = folder + QStringLiteral("/Config.ini");
    return configPath();
}

ConfigFile::Settings ConfigFile::read(const QString& path)
{
    QString values[4];
    for (int i = 0; i < 4; ++i)
        values[i] = IniFile::read(path, QString::fromLatin1(Section), QString::fromLatin1(Keys[i].name),
                                  QString::fromLatin1(Keys[i].defaultValue));
    return {values[0], values[1], values[2], values[3]};
}

QString ConfigFile::unusableBecause(const QString& path)
{
    QFile file(path);
    const QString name = QFileInfo(path).absoluteFilePath();
    if (!file.exists())
        return QStringLiteral("%1 not found: the commands read the connection settings from "
                              "Config.ini in the current directory").arg(name);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(name, file.errorString());
    const QByteArray bytes = file.read(1 << 20);
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("cannot read %1: %2").arg(name, file.errorString());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 && b != '\t' && b != '\r' && b != '\n' && b != 26)
            return QStringLiteral("%1 is not a text file (it holds the byte 0x%2)")
                .arg(name).arg(b, 2, 16, QLatin1Char('0'));
    }
    const QString missing(1, QChar(0));   // cannot be in a text file
    const QString address = IniFile::read(path, QString::fromLatin1(Section),
                                          QString::fromLatin1(Keys[0].name), missing);
    if (address == missing || address.isEmpty())
        return QStringLiteral("%1 names no server address (IP= in [SERVER])").arg(name);
    return QString();
}

QString ConfigFile::unsavableBecause(const QString& value)
{
    if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
        return QStringLiteral("zawiera znak końca wiersza");
    if (!Windows1250::canEncode(value))
        return QStringLiteral("zawiera znak, którego nie ma w kodowaniu Windows-1250");
    if (value != value.trimmed())
        return QStringLiteral("zaczyna się lub kończy odstępem, który nie zostałby odczytany");
    if (value.size() > 2047)
        return QStringLiteral("jest dłuższe niż 2047 znaków");
    return QString();
}

QString ConfigFile::write(const QString& path, const Settings& settings)
{
    const QString values[4] = {settings.server, settings.login, settings.password, settings.database};
    for (int i = 0; i < 4; ++i) {
        const QString reason = unsavableBecause(values[i]);
        if (!reason.isEmpty())
            return QStringLiteral("Nie zapisano Config.ini: pole \"") + QString::fromUtf8(FieldLabels[i])
                   + QStringLiteral("\" ") + reason + QLatin1Char('.');
    }
    for (int i = 0; i < 4; ++i)
        IniFile::write(path, QString::fromLatin1(Section), QString::fromLatin1(Keys[i].name), values[i]);
    return QString();
}
