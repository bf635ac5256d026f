#include "model/Serie.h"

#include <QDate>

namespace kp {

QString Serie::FechaCreacion() const {
    if (fechaCreacion_.trimmed().isEmpty())
        fechaCreacion_ = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    return fechaCreacion_;
}

const std::shared_ptr<kp::PreguntasSerie>& Serie::PreguntasSerie() const {
    if (!slots_)
        slots_ = std::make_shared<kp::PreguntasSerie>();
    return slots_;
}

} // namespace kp
