#include "model/KpError.h"

namespace kp {

KpError KpError::fromCurrentException() {
    try {
        throw;
    } catch (const KpError& e) {
        return e;
    } catch (const std::exception& e) {
        return KpError(Unknown, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return KpError(Unknown, QStringLiteral("error desconocido"));
    }
}

bool KpError::catchAll(const std::function<void()>& operation, KpError* failure) {
    try {
        operation();
        return true;
    } catch (...) {
        if (failure)
            *failure = fromCurrentException();
        return false;
    }
}

} // namespace kp
