#include "model/KipsaPrubex.h"

namespace kp {

const std::shared_ptr<kp::Series>& KipsaPrubex::Series() const {
    if (!series_)
        series_ = std::make_shared<kp::Series>();
    return series_;
}

const std::shared_ptr<kp::Preguntas>& KipsaPrubex::Preguntas() const {
    if (!preguntas_)
        preguntas_ = std::make_shared<kp::Preguntas>();
    return preguntas_;
}

} // namespace kp
