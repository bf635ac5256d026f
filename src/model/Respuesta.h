#pragma once

#include <QString>

namespace kp {

// One answer of a question. Numero identifies it, orders its display and is what marks record.
class Respuesta {
public:
    const QString& Key() const { return key_; }
    void setKey(const QString& v) { key_ = v; }
    const QString& Texto() const { return texto_; }
    void setTexto(const QString& v) { texto_ = v; }
    bool Correcta() const { return correcta_; }
    void setCorrecta(bool v) { correcta_ = v; }
    qint16 Numero() const { return numero_; }
    void setNumero(qint16 v) { numero_ = v; }

private:
    QString key_;
    QString texto_;
    bool correcta_ = false;
    qint16 numero_ = 0;
};

} // namespace kp
