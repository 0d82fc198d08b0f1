#pragma once

#include <QObject>
#include <QString>
#include <exception>
#include <functional>

class Dialogs;

// Runs a handler and turns any error it raises into the error box, so that no
// exception ever crosses Qt's event loop. The operation ends where it failed;
// what it had done stays done.
class ErrorGuard {
public:
    explicit ErrorGuard(Dialogs& dialogs) : dialogs_(dialogs) {}

    void run(const std::function<void()>& handler) const noexcept;

    // The text of the error box for the exception being handled.
    static QString describe(std::exception_ptr error);

private:
    Dialogs& dialogs_;
};

// Connects a signal to a handler that runs inside the guard.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, QObject* context,
                                       const ErrorGuard& guard, Handler handler)
{
    return QObject::connect(sender, signal, context,
                            [&guard, handler] { guard.run(handler); });
}
