#pragma once

#include "model/KeyedList.h"
#include "model/PreguntaSerie.h"

namespace kp {

// The slots of a series, keyed "pregunta" + the trimmed question identifier.
class PreguntasSerie : public KeyedList<PreguntaSerie> {
public:
    Ptr Add(const QString& IdPreguntaExamen, qint16 Orden, qint16 Tipo, const QString& sKey) {
        auto slot = std::make_shared<PreguntaSerie>();
        slot->setIdPreguntaExamen(IdPreguntaExamen);
        slot->setOrden(Orden);
        slot->setTipo(Tipo);
        insert(sKey, slot);
        return slot;
    }
};

} // namespace kp
