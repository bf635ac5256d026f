#include "model/Pregunta.h"

namespace kp {

const std::shared_ptr<kp::respuestas>& Pregunta::respuestas() const {
    if (!respuestas_)
        respuestas_ = std::make_shared<kp::respuestas>();
    return respuestas_;
}

qint16 Pregunta::GetTipo() const {
    const long n = respuestas()->Count();
    return n == 0 ? 3 : n == 1 ? 2 : 1;
}

} // namespace kp
