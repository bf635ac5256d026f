#pragma once

#include "model/StoredText.h"
#include "model/respuestas.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QIODevice;

namespace kp {

class Clock;
class RandomSource;

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
    QString TextoPregunta() const { return textoPregunta_.toString(); }
    void setTextoPregunta(StoredText v) { textoPregunta_ = std::move(v); }
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

    // Largest standalone question file Cargar() accepts, as for whole exam files.
    static constexpr qint64 kMaxFileSize = qint64(1) << 30;

    // The question record's operations (Cargar, Guardar, ExportImg) are the format layer's
    // (format/QuestionRecord.cpp).
    //
    // Reads the question record at 0-based ArchivoOffset of the bytes of an exam file. On
    // success ArchivoOffset stands just after the record; on failure it has not moved. Any
    // failure raises KpError::ReadQuestion.
    void Cargar(const QByteArray& ArchivoExamen, qsizetype& ArchivoOffset);
    // Reads the standalone question file named by Ruta. Raises KpError::ReadQuestion.
    void Cargar();

    // Writes the record at the device's position (inside the exam file being written). The
    // record is checked first, so a refused one writes nothing. Raises KpError::WriteQuestion.
    void Guardar(QIODevice& device) const;
    // Writes the standalone question file named by Ruta, keeping the previous file as Ruta +
    // "_TMP" until the new one is complete and putting it back when the write fails. Raises
    // KpError::WriteQuestion.
    void Guardar() const;
    // Writes ImagenBinary into Directorio under the image's file name, unless a file of that
    // name is already there. Failures are ignored.
    void ExportImg(const QString& Directorio) const;

    // Puts the answers in a random order (every order equally likely) and renumbers them
    // 1..n under the keys "respuesta1".."respuestaN"; texts and right flags go with them.
    void enredaRespuestas(RandomSource& random);
    void enredaRespuestas();
    // A new identifier from the licence number, the date and time and three random digits.
    // Raises KpError::NewIdFailed.
    QString getNewID(const Clock& clock, RandomSource& random) const;
    QString getNewID() const;
    // Last-modified date of the file named by Ruta, "dd/mm/yyyy". Raises
    // KpError::FileNotFound when there is no such file.
    QString Fecha() const;

private:
    QByteArray imagenBinary_;
    QString imagen_;
    QString ruta_;
    QString licenciaAutor_;
    QString nombreAutor_;
    StoredText textoPregunta_;
    QString id_;
    QString key_;
    mutable std::shared_ptr<kp::respuestas> respuestas_;
};

} // namespace kp
