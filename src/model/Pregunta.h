#pragma once

#include "model/respuestas.h"

#include <QByteArray>
#include <QString>
#include <memory>

namespace kp {

// A question of the exam with its answers and optional image.
class Pregunta {
public:
    const QByteArray& ImagenBinary() const { return imagenBinary_; }
    void setImagenBinary(const QByteArray& v) { imagenBinary_ = v; }
    const QString& Imagen() const { return imagen_; }
    void setImagen(const QString& v) { imagen_ = v; }
    const QString& Ruta() const { return ruta_; }
    void setRuta(const QString& v) { ruta_ = v; }
    const QString& LicenciaAutor() const { return licenciaAutor_; }
    void setLicenciaAutor(const QString& v) { licenciaAutor_ = v; }
    const QString& NombreAutor() const { return nombreAutor_; }
    void setNombreAutor(const QString& v) { nombreAutor_ = v; }
    const QString& TextoPregunta() const { return textoPregunta_; }
    void setTextoPregunta(const QString& v) { textoPregunta_ = v; }
    const QString& Id() const { return id_; }
    void setId(const QString& v) { id_ = v; }
    const QString& Key() const { return key_; }
    void setKey(const QString& v) { key_ = v; }

    // Created empty on first read; null empties it.
    const std::shared_ptr<kp::respuestas>& respuestas() const;
    void setrespuestas(std::shared_ptr<kp::respuestas> v) { respuestas_ = std::move(v); }

    // Kind from the number of answers: 1 multiple choice (2+), 2 true/false (1), 3 text (0).
    qint16 GetTipo() const;
    // Drops all answers; the next read of respuestas() makes a new, empty collection.
    void eliminaRespuestas() { respuestas_.reset(); }

private:
    QByteArray imagenBinary_;
    QString imagen_;
    QString ruta_;
    QString licenciaAutor_;
    QString nombreAutor_;
    QString textoPregunta_;
    QString id_;
    QString key_;
    mutable std::shared_ptr<kp::respuestas> respuestas_;
};

} // namespace kp
