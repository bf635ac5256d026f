#pragma once

#include "model/KeyedList.h"
#include "results/RespuestaKipsa.h"

namespace kp {

// The student's marks in the order they were made. A key already present is refused, so one
// answer of one question is recorded at most once.
class RespuestasKipsa : public KeyedList<RespuestaKipsa> {
public:
    Ptr Add(qint16 NumPregunta, qint16 NumRespuesta, const QString& Key) {
        auto entry = std::make_shared<RespuestaKipsa>();
        entry->setNumPregunta(NumPregunta);
        entry->setNumRespuesta(NumRespuesta);
        entry->setKey(Key);
        insert(Key, entry);
        return entry;
    }
};

} // namespace kp
