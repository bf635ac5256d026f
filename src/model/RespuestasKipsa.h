#pragma once

#include "model/KeyedList.h"
#include "model/RespuestaKipsa.h"

namespace kp {

// The student's marks in the order they were made. A key already present is refused.
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

    // Records answer NumRespuesta of question NumPregunta once; false when that pair is already
    // recorded. The key is "respuesta" + question + answer with no separator, so two pairs can
    // give the same text (question 1 answer 12, question 11 answer 2): a later pair whose key is
    // taken gets "_2", "_3", ... appended, which no plain key can be, and is recorded too.
    bool Marcar(qint16 NumPregunta, qint16 NumRespuesta) {
        for (const auto& entry : *this)
            if (entry->NumPregunta() == NumPregunta && entry->NumRespuesta() == NumRespuesta)
                return false;
        const QString plain = QStringLiteral("respuesta") + QString::number(NumPregunta) +
                              QString::number(NumRespuesta);
        QString key = plain;
        for (int k = 2; contains(key); ++k)
            key = plain + u'_' + QString::number(k);
        Add(NumPregunta, NumRespuesta, key);
        return true;
    }
};

} // namespace kp
