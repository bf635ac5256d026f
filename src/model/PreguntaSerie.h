#pragma once

#include <QString>

namespace kp {

// One question slot of a series: which question (by Id), its kind and its position.
class PreguntaSerie {
public:
    qint16 Tipo() const { return tipo_; }
    void setTipo(qint16 v) { tipo_ = v; }
    qint16 Orden() const { return orden_; }
    void setOrden(qint16 v) { orden_ = v; }
    const QString& IdPreguntaExamen() const { return id_; }
    void setIdPreguntaExamen(const QString& v) { id_ = v; }

private:
    qint16 tipo_ = 0;
    qint16 orden_ = 0;
    QString id_;
};

} // namespace kp
