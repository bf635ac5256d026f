#include "generation/genNormas.h"

namespace kp {

qint32 genNormas::CuantasPreguntas(qint16 Tipo) const {
    qint32 n = 0;
    for (const auto& rule : *this)
        if (rule->Seccion() == Tipo)
            n += rule->TipoNorma() == genNorma::Fija ? 1 : rule->NumPreguntas();
    return n;
}

} // namespace kp
