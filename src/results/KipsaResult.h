#pragma once

#include "results/RespuestasKipsa.h"

#include <QString>
#include <array>
#include <memory>

namespace kp {

class KipsaPrubex;

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

private:
    QString archivoSalida_;
    mutable std::shared_ptr<kp::RespuestasKipsa> marks_;
    qint16 serie_ = 0;
    QString idExamen_;
    std::array<QString, 5> dato_;
};

} // namespace kp
