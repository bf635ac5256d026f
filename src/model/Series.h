#pragma once

#include "model/KeyedList.h"
#include "model/Serie.h"

namespace kp {

// The series of an exam, keyed "serie" + Numero.
class Series : public KeyedList<Serie> {
public:
    // Stores a new series with the given one's values; its slot collection is the given one's
    // own (shared, not copied).
    Ptr Add(const Serie& s) {
        auto copy = std::make_shared<Serie>();
        copy->setCreadaManualmente(s.CreadaManualmente());
        copy->setFechaCreacion(s.FechaCreacion());
        copy->setNumero(s.Numero());
        copy->setKey(s.Key());
        copy->setPreguntasSerie(s.PreguntasSerie());
        insert(s.Key(), copy);
        return copy;
    }
};

} // namespace kp
