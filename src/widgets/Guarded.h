#pragma once

#include <QLoggingCategory>
#include <utility>

namespace kp {

// Statements a window handler skipped because they failed, one warning each, with what the
// failure said. The student sees nothing; tests turn these warnings into failures.
Q_DECLARE_LOGGING_CATEGORY(lcGuarded)

// Logs the exception being handled (call only inside a catch block); never throws.
void reportSkippedStatement() noexcept;

// Runs one statement of a window handler so that a failure skips it and the handler goes on.
// Also wraps whole handlers: nothing may throw into Qt's event loop.
template <typename F> void guarded(F&& statement) noexcept {
    try {
        std::forward<F>(statement)();
    } catch (...) {
        reportSkippedStatement();
    }
}

} // namespace kp
