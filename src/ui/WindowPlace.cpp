#include "ui/WindowPlace.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTabWidget>

WindowPlace::WindowPlace(QMainWindow* window, QTabWidget* pager)
    : QObject(window), window_(window), pager_(pager)
{
    restore();
    window_->installEventFilter(this);
}

QSettings WindowPlace::settings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("valdrix"),
                     QStringLiteral("window"));
}

void WindowPlace::restore()
{
    QSettings s = settings();
    const QByteArray geometry = s.value(QStringLiteral("window/geometry")).toByteArray();
    // A geometry from a screen no longer there is put back by Qt on a screen that is.
    if (!geometry.isEmpty())
        window_->restoreGeometry(geometry);
    const int page = s.value(QStringLiteral("window/page"), -1).toInt();
    if (page >= 0 && page < pager_->count())
        pager_->setCurrentIndex(page);
    s.beginGroup(QStringLiteral("splitters"));
    for (QSplitter* splitter : window_->findChildren<QSplitter*>()) {
        const QByteArray state = s.value(splitter->objectName()).toByteArray();
        if (!splitter->objectName().isEmpty() && !state.isEmpty())
            splitter->restoreState(state);
    }
    s.endGroup();
}

void WindowPlace::save() const
{
    QSettings s = settings();
    s.setValue(QStringLiteral("window/geometry"), window_->saveGeometry());
    s.setValue(QStringLiteral("window/page"), pager_->currentIndex());
    s.beginGroup(QStringLiteral("splitters"));
    for (const QSplitter* splitter : window_->findChildren<QSplitter*>())
        if (!splitter->objectName().isEmpty())
            s.setValue(splitter->objectName(), splitter->saveState());
    s.endGroup();
    s.sync();
}

bool WindowPlace::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::Close)
        save();
    return QObject::eventFilter(watched, event);
}
