#pragma once

#include "model/StoredText.h"

#include <QString>

namespace kp {

// One answer of a question. Numero identifies it, orders its display and is what marks record.
class Respuesta {
public:
    const QString& Key() const { return key_; }
    void setKey(const QString& v) { key_ = v; }
    QString Texto() const { return texto_.toString(); }
    void setTexto(StoredText v) { texto_ = std::move(v); }
    bool Correcta() const { return correcta_; }
    void setCorrecta(bool v) { correcta_ = v; }
    qint16 Numero() const { return numero_; }
    void setNumero(qint16 v) { numero_ = v; }

private:
    QString key_;
    StoredText texto_;
    bool correcta_ = false;
    qint16 numero_ = 0;
};

} // namespace kp
