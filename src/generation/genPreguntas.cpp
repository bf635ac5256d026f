#include "generation/genPreguntas.h"

#include <limits>

namespace kp {

genPreguntas::Ptr genPreguntas::Add(const QString& IdPregunta, const QString& Texto,
                                    const QString& Tipo, const QString& sKey) {
    bool ok = false;
    const qint64 tipo = Tipo.trimmed().toLongLong(&ok);
    if (!ok || tipo < std::numeric_limits<qint16>::min() ||
        tipo > std::numeric_limits<qint16>::max())
        throw KpError(KpError::InvalidArgument,
                      QStringLiteral("Tipo de pregunta no válido: ") + Tipo);
    return Add(IdPregunta, Texto, static_cast<qint16>(tipo), sKey);
}

genPreguntas::Ptr genPreguntas::Add(const QString& IdPregunta, const QString& Texto, qint16 Tipo,
                                    const QString& sKey) {
    auto candidate = std::make_shared<genPregunta>();
    candidate->setIdPregunta(IdPregunta);
    candidate->setTexto(Texto);
    candidate->setTipo(Tipo);
    insert(sKey, candidate);
    return candidate;
}

} // namespace kp
