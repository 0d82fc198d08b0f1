#include "app/ConfigFile.h"

#include "text/IniFile.h"
#include "text/Windows1250.h"

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
