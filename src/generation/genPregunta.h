#pragma once

#include <QString>

namespace kp {

// A candidate question of a topic: which exam question, and the kind block it can fill.
class genPregunta {
public:
    const QString& Texto() const { return texto_; }
    void setTexto(const QString& v) { texto_ = v; }
    const QString& IdPregunta() const { return idPregunta_; }
    void setIdPregunta(const QString& v) { idPregunta_ = v; }
    qint16 Tipo() const { return tipo_; }
    void setTipo(qint16 v) { tipo_ = v; }

private:
    QString texto_;
    QString idPregunta_;
    qint16 tipo_ = 0;
};

} // namespace kp
