#include "text/IniFile.h"

#include "text/Windows1250.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace {

constexpr int MaxValueLength = 2047;

struct Lines {
    QStringList lines;
    QString lineEnd = QStringLiteral("\r\n");
};

Lines load(const QString& path)
{
    Lines result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QByteArray bytes = file.readAll();
    if (!bytes.isEmpty() && !bytes.contains("\r\n"))
        result.lineEnd = QStringLiteral("\n");
    QString text = Windows1250::decode(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.lines = text.split(QLatin1Char('\n'));
    if (!result.lines.isEmpty() && result.lines.last().isEmpty())
        result.lines.removeLast();
    return result;
}

bool isSection(const QString& line, QString* name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        return false;
    *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

bool isComment(const QString& line)
{
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'));
}

// The key of a "key=value" line, or an empty text.
QString keyOf(const QString& line)
{
    if (isComment(line))
        return QString();
    const int equals = line.indexOf(QLatin1Char('='));
    return equals < 0 ? QString() : line.left(equals).trimmed();
}

// [first, end) line range of the section's body, or first = -1 when it is missing.
std::pair<int, int> findSection(const QStringList& lines, const QString& section)
{
    for (int i = 0; i < lines.size(); ++i) {
        QString name;
        if (!isSection(lines[i], &name) || name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        int end = i + 1;
        QString other;
        while (end < lines.size() && !isSection(lines[end], &other))
            ++end;
        return {i + 1, end};
    }
    return {-1, -1};
}

}  // namespace

QString IniFile::read(const QString& path, const QString& section, const QString& key,
                      const QString& defaultValue)
{
    const Lines file = load(path);
    const auto [first, end] = findSection(file.lines, section);
    for (int i = first; first >= 0 && i < end; ++i) {
        if (keyOf(file.lines[i]).compare(key, Qt::CaseInsensitive) != 0)
            continue;
        const QString& line = file.lines[i];
        return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed().left(MaxValueLength);
    }
    return defaultValue;
}

void IniFile::write(const QString& path, const QString& section, const QString& key,
                    const QString& value)
{
    Lines file = load(path);
    const QString entry = key + QLatin1Char('=') + value;
    const auto [first, end] = findSection(file.lines, section);
    if (first < 0) {
        if (!file.lines.isEmpty() && !file.lines.last().trimmed().isEmpty())
            file.lines << QString();
        file.lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    } else {
        int found = -1;
        int lastContent = first - 1;
        for (int i = first; i < end; ++i) {
            if (!file.lines[i].trimmed().isEmpty())
                lastContent = i;
            if (found < 0 && keyOf(file.lines[i]).compare(key, Qt::CaseInsensitive) == 0)
                found = i;
        }
        if (found >= 0)
            file.lines[found] = entry;
        else
            file.lines.insert(lastContent + 1, entry);
    }

    QSaveFile out(path);
    out.setDirectWriteFallback(true);
    const QByteArray bytes = Windows1250::encode(file.lines.join(file.lineEnd) + file.lineEnd);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw FileError(QStringLiteral("Unable to write to %1").arg(path));
}
