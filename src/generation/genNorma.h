#pragma once

#include <QString>

namespace kp {

// A rule of a generated series: place one named question (TipoNorma 1) or draw NumPreguntas
// questions from topic IdTema (TipoNorma 2), into block Seccion.
class genNorma {
public:
    static constexpr qint16 Fija = 1;
    static constexpr qint16 Sorteo = 2;

    const QString& Key() const { return key_; }
    void setKey(const QString& v) { key_ = v; }
    qint16 IdTema() const { return idTema_; }
    void setIdTema(qint16 v) { idTema_ = v; }
    const QString& IdPregunta() const { return idPregunta_; }
    void setIdPregunta(const QString& v) { idPregunta_ = v; }
    qint16 NumPreguntas() const { return numPreguntas_; }
    void setNumPreguntas(qint16 v) { numPreguntas_ = v; }
    qint16 TipoNorma() const { return tipoNorma_; }
    void setTipoNorma(qint16 v) { tipoNorma_ = v; }
    qint16 Seccion() const { return seccion_; }
    void setSeccion(qint16 v) { seccion_ = v; }

private:
    QString key_;
    qint16 idTema_ = 0;
    QString idPregunta_;
    qint16 numPreguntas_ = 0;
    qint16 tipoNorma_ = 0;
    qint16 seccion_ = 0;
};

} // namespace kp
