#pragma once

#include <utility>

namespace kp {

// Runs one statement of a window handler so that a failure skips it and the handler goes on.
// Also wraps whole handlers: nothing may throw into Qt's event loop.
template <typename F> void guarded(F&& statement) noexcept {
    try {
        std::forward<F>(statement)();
    } catch (...) {
    }
}

} // namespace kp
