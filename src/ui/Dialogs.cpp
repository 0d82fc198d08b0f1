#include "ui/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QUrl>

static const QString AppTitle = QStringLiteral("Valdrix");

// The boxes keep their English captions under Qt's Polish translation, which
// would otherwise name the standard buttons in Polish.
static void captionOk(QMessageBox& box)
{
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
}

int QtDialogs::runBox(QMessageBox& box) { return box.exec(); }

QString QtDialogs::runFileDialog(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

void QtDialogs::notice(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, AppTitle, text, QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    captionOk(box);
    runBox(box);
}

bool QtDialogs::question(const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::NoButton,
                    parent_);
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    runBox(box);
    return box.clickedButton() == yes;
}

Dialogs::ConnectAnswer QtDialogs::connectMessage(const QString& text, const QString& details)
{
    QMessageBox box(QMessageBox::NoIcon, AppTitle, text,
                    QMessageBox::Yes | QMessageBox::Cancel | QMessageBox::YesToAll, parent_);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Yes"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancel"));
    box.button(QMessageBox::YesToAll)->setText(QStringLiteral("All"));
    // Behind "Show Details...", as plain text: why the server or the client
    // library refused (a wrong password, an unreachable server, a missing table).
    if (!details.isEmpty())
        box.setDetailedText(details);
    switch (runBox(box)) {
    case QMessageBox::Yes: return ConnectAnswer::Yes;
    case QMessageBox::YesToAll: return ConnectAnswer::All;
    default: return ConnectAnswer::Cancel;
    }
}

void QtDialogs::errorBox(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, AppTitle, text, QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    captionOk(box);
    runBox(box);
}

// Filters are given as "CSV|csv" or "csv|*.csv": a description, a bar, and an
// extension or a whole pattern.
static QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (parts.size() != 2)
        return filter;
    const QString pattern = parts[1].contains(QLatin1Char('*')) ? parts[1] : QStringLiteral("*.") + parts[1];
    return QStringLiteral("%1 (%2)").arg(parts[0], pattern);
}

QString QtDialogs::startFolder(const QString& kind) const
{
    const QString last = lastFolders_.value(kind);
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return QDir::currentPath();
}

// While it is being built, Qt's file dialog first lists the folder of Qt's
// per-user history ("lastVisited" in QtProject.conf, shared by every Qt program)
// and only then the folder it is given. A special folder there (/proc) blocks the
// dialog's file reader for good. So the history names our folder first; Qt itself
// writes the folder it ends in there when the dialog closes.
static void pointQtHistoryAt(const QString& folder)
{
    QSettings settings(QSettings::UserScope, QStringLiteral("QtProject"));
    settings.setValue(QStringLiteral("FileDialog/lastVisited"), QUrl::fromLocalFile(folder).toString());
}

QString QtDialogs::chooseFile(const QString& kind, const QString& filter, const QString& presetName,
                              const std::function<void(QFileDialog&)>& setUp)
{
    const QString folder = startFolder(kind);
    pointQtHistoryAt(folder);
    // A folder with a file name in it opens the folder with the name filled in.
    QFileDialog dialog(parent_, QString(), presetName.isEmpty() ? folder : QDir(folder).filePath(presetName),
                       qtFilter(filter));
    setUp(dialog);
    const QString chosen = runFileDialog(dialog);
    if (!chosen.isEmpty())
        lastFolders_.insert(kind, QFileInfo(chosen).absolutePath());
    return chosen;
}

QString QtDialogs::saveFileName(const QString& filter, const QString& defaultSuffix,
                                const QString& presetName)
{
    return chooseFile(QStringLiteral("save ") + filter, filter, presetName, [&](QFileDialog& dialog) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    });
}

QString QtDialogs::openFileName(const QString& filter)
{
    return chooseFile(QStringLiteral("open ") + filter, filter, QString(), [](QFileDialog& dialog) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    });
}
