#include "support/ScriptedDialogs.h"

bool ScriptedDialogs::question(const QString& text)
{
    record(QStringLiteral("question"), text);
    return questionAnswers.isEmpty() ? true : questionAnswers.dequeue();
}

Dialogs::ConnectAnswer ScriptedDialogs::connectMessage(const QString& text, const QString& details)
{
    connectDetails << details;
    record(QStringLiteral("connect"), text);
    return connectAnswers.isEmpty() ? ConnectAnswer::Yes : connectAnswers.dequeue();
}

QString ScriptedDialogs::saveFileName(const QString& filter, const QString&, const QString&)
{
    record(QStringLiteral("save"), filter);
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString ScriptedDialogs::openFileName(const QString& filter)
{
    record(QStringLiteral("open"), filter);
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QStringList ScriptedDialogs::texts(const QString& kind) const
{
    QStringList out;
    const QString prefix = kind + QStringLiteral(": ");
    for (const QString& entry : shown)
        if (entry.startsWith(prefix))
            out << entry.mid(prefix.size());
    return out;
}
