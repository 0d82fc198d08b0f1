#include "ui/ErrorGuard.h"

#include "text/Errors.h"
#include "ui/Dialogs.h"

QString ErrorGuard::describe(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const OperatorError& e) {
        return e.message();
    } catch (const std::exception& e) {
        // Our own errors keep their text in UTF-8.
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

void ErrorGuard::run(const std::function<void()>& handler) const noexcept
{
    try {
        handler();
    } catch (...) {
        const QString text = describe(std::current_exception());
        try {
            dialogs_.errorBox(text);
        } catch (...) {
            // Nothing more can be told; the program carries on.
        }
    }
}
