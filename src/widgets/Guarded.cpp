#include "widgets/Guarded.h"

#include "model/KpError.h"

namespace kp {

Q_LOGGING_CATEGORY(lcGuarded, "kp.guarded", QtWarningMsg)

void reportSkippedStatement() noexcept {
    try {
        qCWarning(lcGuarded).noquote()
            << "skipped a failing statement:" << KpError::fromCurrentException().message();
    } catch (...) {
        // Nothing to report with: the statement is skipped all the same.
    }
}

} // namespace kp
