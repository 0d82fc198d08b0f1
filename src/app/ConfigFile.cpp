#include "app/ConfigFile.h"

#include "app/IniFile.h"

ConfigFile::Settings ConfigFile::read(const QString& path)
{
    QString values[4];
    for (int i = 0; i < 4; ++i)
        values[i] = IniFile::read(path, QString::fromLatin1(Section), QString::fromLatin1(Keys[i].name),
                                  QString::fromLatin1(Keys[i].defaultValue));
    return {values[0], values[1], values[2], values[3]};
}
