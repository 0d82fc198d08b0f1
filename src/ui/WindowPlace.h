#pragma once

#include <QObject>

class QMainWindow;
class QSettings;
class QTabWidget;

// Where the operator left the window: its size and position, the page shown and
// the splitters' positions, kept per user in Qt's settings (window.ini in the
// user's configuration folder, "valdrix"), never in Config.ini. Restored when the
// window is built, saved when it closes.
class WindowPlace : public QObject {
    Q_OBJECT
public:
    // Restores the window at once and saves it at its close.
    WindowPlace(QMainWindow* window, QTabWidget* pager);

    void restore();
    void save() const;

    // The settings file of the user.
    static QSettings settings();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMainWindow* window_;
    QTabWidget* pager_;
};
