#pragma once

#include "model/KeyedList.h"
#include "model/Pregunta.h"

namespace kp {

// The questions of an exam, keyed "pregunta" + the trimmed question identifier.
class Preguntas : public KeyedList<Pregunta> {
public:
    // Stores a new question with the given one's values and a copy of each of its answers.
    Ptr Add(const Pregunta& p) {
        auto copy = std::make_shared<Pregunta>();
        copy->setId(p.Id());
        copy->setKey(p.Key());
        copy->setTextoPregunta(p.TextoPregunta());
        copy->setNombreAutor(p.NombreAutor());
        copy->setLicenciaAutor(p.LicenciaAutor());
        copy->setRuta(p.Ruta());
        copy->setImagen(p.Imagen());
        copy->setImagenBinary(p.ImagenBinary());
        for (const auto& r : *p.respuestas())
            copy->respuestas()->Add(*r);
        insert(p.Key(), copy);
        return copy;
    }

    // Stores the question itself under its Key, without a copy: for a reader that has just made
    // it and keeps no other reference to it or its answers.
    Ptr Adopt(Ptr p) {
        const QString key = p->Key();
        insert(key, p);
        return p;
    }
};

} // namespace kp
