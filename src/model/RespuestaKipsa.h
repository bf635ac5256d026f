#pragma once

#include <QString>

namespace kp {

// One marked answer: the question's position in the series and the answer number shown.
class RespuestaKipsa {
public:
    const QString& Key() const { return key_; }
    void setKey(const QString& v) { key_ = v; }
    qint16 NumRespuesta() const { return numRespuesta_; }
    void setNumRespuesta(qint16 v) { numRespuesta_ = v; }
    qint16 NumPregunta() const { return numPregunta_; }
    void setNumPregunta(qint16 v) { numPregunta_ = v; }

private:
    QString key_;
    qint16 numRespuesta_ = 0;
    qint16 numPregunta_ = 0;
};

} // namespace kp
