#pragma once

#include "model/RespuestasKipsa.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <memory>

class QIODevice;

namespace kp {

class KipsaPrubex;
class SafeFile;

// Everything the results file carries: exam identifier, series, the student's data and marks.
class KipsaResult {
public:
    const QString& ArchivoSalida() const { return archivoSalida_; }
    void setArchivoSalida(const QString& v) { archivoSalida_ = v; }
    // Created empty on first read; assigning null discards every mark.
    const std::shared_ptr<kp::RespuestasKipsa>& RespuestasKipsa() const;
    void setRespuestasKipsa(std::shared_ptr<kp::RespuestasKipsa> v) { marks_ = std::move(v); }
    qint16 Serie() const { return serie_; }
    void setSerie(qint16 v) { serie_ = v; }
    const QString& IdExamen() const { return idExamen_; }
    void setIdExamen(const QString& v) { idExamen_ = v; }
    // The student's values of the five data fields, 1..5.
    const QString& DatoAlumno(int i) const { return dato_[static_cast<size_t>(i - 1)]; }
    void setDatoAlumno(int i, const QString& v) { dato_[static_cast<size_t>(i - 1)] = v; }

    // Writes the results file named by ArchivoSalida: the labels come from exam, the kind of
    // every question record from exam.TipoExamen() and the question count from
    // totalPreguntas (the run's TotalPreguntas). Written through files (SafeFile): complete and
    // on disk, or not at all; what stood at that path is kept beside it unless files wrote it.
    // False on any failure (files.errorString() says why); this object is never changed.
    bool Guardar(const KipsaPrubex& exam, qint16 totalPreguntas, SafeFile& files) const;
    // The same through a writer of its own: any file already at the path is kept beside it.
    bool Guardar(const KipsaPrubex& exam, qint16 totalPreguntas) const;
    // The same bytes to an open device; false when it does not take them all.
    bool Guardar(const KipsaPrubex& exam, qint16 totalPreguntas, QIODevice& device) const;
    // The bytes Guardar writes.
    QByteArray Contenido(const KipsaPrubex& exam, qint16 totalPreguntas) const;

private:
    QString archivoSalida_;
    mutable std::shared_ptr<kp::RespuestasKipsa> marks_;
    qint16 serie_ = 0;
    QString idExamen_;
    std::array<QString, 5> dato_;
};

} // namespace kp
