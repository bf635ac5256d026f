#include "generation/genTema.h"

#include <limits>

namespace kp {

const std::shared_ptr<kp::genPreguntas>& genTema::genPreguntas() const {
    if (!preguntas_)
        preguntas_ = std::make_shared<kp::genPreguntas>();
    return preguntas_;
}

qint16 genTema::CuantasPreguntas(qint16 TipoPregunta) const {
    if (TipoPregunta < 1 || TipoPregunta > 3)
        return 0;
    qint32 n = 0;
    for (const auto& candidate : *genPreguntas())
        if (candidate->Tipo() == TipoPregunta)
            ++n;
    if (n > std::numeric_limits<qint16>::max())
        throw KpError(KpError::OutOfRange,
                      QStringLiteral("El tema %1 tiene demasiadas preguntas").arg(key_));
    return static_cast<qint16>(n);
}

} // namespace kp
