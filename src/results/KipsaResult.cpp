#include "results/KipsaResult.h"

namespace kp {

const std::shared_ptr<kp::RespuestasKipsa>& KipsaResult::RespuestasKipsa() const {
    if (!marks_)
        marks_ = std::make_shared<kp::RespuestasKipsa>();
    return marks_;
}

} // namespace kp
