#include "ui/LongWork.h"

#include <QApplication>
#include <QEvent>

namespace {

// Eats the operator's input while installed on the application.
class InputDrop : public QObject {
public:
    InputDrop() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputDrop() override { QCoreApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject*, QEvent* event) override
    {
        // A message box that a timer's handler opened meanwhile takes its input as
        // usual; the window behind it is blocked by the box itself.
        if (QApplication::activeModalWidget())
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
            return true;
        case QEvent::Close:
            // Only the window system's request: widgets the program closes itself
            // (a tooltip, say) close as usual.
            if (!event->spontaneous())
                return false;
            event->ignore();
            return true;
        default:
            return false;
        }
    }
};

void processEventsWithoutInput()
{
    if (!QCoreApplication::instance())
        return;
    const InputDrop drop;
    QCoreApplication::processEvents();
}

}  // namespace

LongWork::LongWork(std::initializer_list<QWidget*> controls)
{
    for (QWidget* control : controls) {
        if (control && control->isEnabled()) {
            control->setEnabled(false);
            controls_.emplace_back(control);
        }
    }
    sinceRepaint_.start();
}

LongWork::~LongWork()
{
    processEventsWithoutInput();
    for (const QPointer<QWidget>& control : controls_)
        if (control)
            control->setEnabled(true);
}

void LongWork::repaintNow()
{
    processEventsWithoutInput();
    sinceRepaint_.restart();
}
