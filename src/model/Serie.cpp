#include "model/Serie.h"

#include "model/Clock.h"

namespace kp {

QString Serie::FechaCreacion(const Clock& clock) const {
    if (fechaCreacion_.trimmed().isEmpty())
        fechaCreacion_ = clock.now().date().toString(QStringLiteral("dd/MM/yyyy"));
    return fechaCreacion_;
}

QString Serie::FechaCreacion() const {
    return FechaCreacion(SystemClock());
}

const std::shared_ptr<kp::PreguntasSerie>& Serie::PreguntasSerie() const {
    if (!slots_)
        slots_ = std::make_shared<kp::PreguntasSerie>();
    return slots_;
}

} // namespace kp
