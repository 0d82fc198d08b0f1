#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <initializer_list>
#include <vector>

// A long operation that runs to its end inside one handler. While it runs, the
// given controls are disabled, and repaintNow() lets the window repaint and the
// timers run, dropping whatever the operator clicks or types meanwhile (also a
// request to close the window), so that nothing can start or close under the
// operation. Message boxes, shown by the operation itself or by a timer's handler
// meanwhile, work as usual. At the end the input still waiting is dropped the
// same way and the controls are enabled again.
class LongWork {
public:
    explicit LongWork(std::initializer_list<QWidget*> controls);
    ~LongWork();
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    // Whether the last repaint is older than the interval: time to show the
    // progress and repaint.
    bool due() const { return sinceRepaint_.elapsed() >= IntervalMs; }
    // Repaints at once; call it between the steps of the work, never inside a
    // change unit.
    void repaintNow();

    static constexpr int IntervalMs = 100;

private:
    std::vector<QPointer<QWidget>> controls_;
    QElapsedTimer sinceRepaint_;
};
