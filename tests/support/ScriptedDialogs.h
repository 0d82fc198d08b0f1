#pragma once

#include "ui/Dialogs.h"

#include <QQueue>
#include <QStringList>
#include <functional>

// Dialogs for tests: records what the program showed and answers from queues.
// Questions are answered Yes and connect messages Yes unless a test queued otherwise;
// file dialogs are cancelled when no name is queued.
class ScriptedDialogs : public Dialogs {
public:
    void notice(const QString& text) override { record(QStringLiteral("notice"), text); }
    bool question(const QString& text) override;
    ConnectAnswer connectMessage(const QString& text, const QString& details) override;
    void errorBox(const QString& text) override { record(QStringLiteral("error"), text); }
    QString saveFileName(const QString& filter, const QString& defaultSuffix,
                         const QString& presetName) override;
    QString openFileName(const QString& filter) override;

    QQueue<bool> questionAnswers;
    QQueue<ConnectAnswer> connectAnswers;
    QQueue<QString> fileNames;

    // Every box shown, as "kind: text", in order.
    QStringList shown;
    QStringList texts(const QString& kind) const;   // the texts of one kind of box
    QStringList errors() const { return texts(QStringLiteral("error")); }
    // The details given with each connect message, in order (empty when none).
    QStringList connectDetails;
    void clear()
    {
        shown.clear();
        connectDetails.clear();
    }

    // Runs while each box is "open", so that a test can look at the program paused
    // behind a modal box.
    std::function<void(const QString& kind, const QString& text)> whileShown;

private:
    void record(const QString& kind, const QString& text)
    {
        shown << kind + QStringLiteral(": ") + text;
        if (whileShown)
            whileShown(kind, text);
    }
};
