#pragma once

#include "generation/genPregunta.h"
#include "model/KeyedList.h"

namespace kp {

// The candidates of a topic in insertion order; a candidate may be stored without a key.
class genPreguntas : public KeyedList<genPregunta> {
public:
    // Tipo is a whole number as text; text that is not one fits no block and is refused.
    Ptr Add(const QString& IdPregunta, const QString& Texto, const QString& Tipo,
            const QString& sKey = QString());
    Ptr Add(const QString& IdPregunta, const QString& Texto, qint16 Tipo,
            const QString& sKey = QString());
};

} // namespace kp
