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
    // recorded. Its key is freeKey's.
    bool Marcar(qint16 NumPregunta, qint16 NumRespuesta) {
        for (const auto& entry : *this)
            if (entry->NumPregunta() == NumPregunta && entry->NumRespuesta() == NumRespuesta)
                return false;
        Add(NumPregunta, NumRespuesta, freeKey(NumPregunta, NumRespuesta));
        return true;
    }

    // The key of a new mark: "respuesta" + question + answer with no separator. Two pairs can
    // give the same text (question 1 answer 12, question 11 answer 2): a later pair whose key
    // is taken gets "_2", "_3", ... appended, which no plain key can be. Few pairs share a
    // text, so this looks up only a few keys.
    QString freeKey(qint16 NumPregunta, qint16 NumRespuesta) const {
        const QString plain = QStringLiteral("respuesta") + QString::number(NumPregunta) +
                              QString::number(NumRespuesta);
        QString key = plain;
        for (int k = 2; contains(key); ++k)
            key = plain + u'_' + QString::number(k);
        return key;
    }
};

} // namespace kp
