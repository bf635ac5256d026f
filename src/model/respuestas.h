#pragma once

#include "model/KeyedList.h"
#include "model/Respuesta.h"

namespace kp {

// The answers of a question, keyed "respuesta" + Numero.
class respuestas : public KeyedList<Respuesta> {
public:
    // Stores a copy of the answer under its Key and returns the stored one.
    Ptr Add(const Respuesta& r) {
        auto copy = std::make_shared<Respuesta>(r);
        insert(r.Key(), copy);
        return copy;
    }
};

} // namespace kp
