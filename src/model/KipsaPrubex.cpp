#include "model/KipsaPrubex.h"

#include "model/Fields.h"
#include "model/KpError.h"

#include <limits>

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

qint16 KipsaPrubex::PreguntasPrimeraSerie() const {
    const long slotCount = Series()->Item(1)->PreguntasSerie()->Count();
    if (slotCount > std::numeric_limits<qint16>::max())
        throw KpError(KpError::Overflow, QStringLiteral("la primera serie tiene %1 preguntas, más "
                                                        "de las 32767 posibles")
                                             .arg(slotCount));
    return static_cast<qint16>(slotCount);
}

bool KipsaPrubex::wholeFile(const std::function<void()>& operation) {
    KpError failure(0, QString());
    const bool ok = KpError::catchAll(operation, &failure);
    errorCode_ = failure.code();
    errorString_ = failure.message();
    return ok;
}

} // namespace kp
