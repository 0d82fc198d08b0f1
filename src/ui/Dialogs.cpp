#include "ui/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

static const QString AppTitle = QStringLiteral("Valdrix");

void QtDialogs::notice(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, AppTitle, text, QMessageBox::Ok, parent_);
    box.exec();
}

bool QtDialogs::question(const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::NoButton,
                    parent_);
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

Dialogs::ConnectAnswer QtDialogs::connectMessage(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, AppTitle, text,
                    QMessageBox::Yes | QMessageBox::Cancel | QMessageBox::YesToAll, parent_);
    box.button(QMessageBox::YesToAll)->setText(QStringLiteral("All"));
    switch (box.exec()) {
    case QMessageBox::Yes: return ConnectAnswer::Yes;
    case QMessageBox::YesToAll: return ConnectAnswer::All;
    default: return ConnectAnswer::Cancel;
    }
}

void QtDialogs::errorBox(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, AppTitle, text, QMessageBox::Ok, parent_);
    box.exec();
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

QString QtDialogs::saveFileName(const QString& filter, const QString& defaultSuffix,
                                const QString& presetName)
{
    QFileDialog dialog(parent_, QString(), presetName, qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString QtDialogs::openFileName(const QString& filter)
{
    return QFileDialog::getOpenFileName(parent_, QString(), QString(), qtFilter(filter));
}
