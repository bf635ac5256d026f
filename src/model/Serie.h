#pragma once

#include "model/PreguntasSerie.h"

#include <QString>
#include <memory>

namespace kp {

class Clock;

// One variant of the exam: an ordered selection of its questions. The slot collection is shared
// between a series and the copy that Series::Add stores.
class Serie {
public:
    const QString& Key() const { return key_; }
    void setKey(const QString& v) { key_ = v; }
    bool CreadaManualmente() const { return creadaManualmente_; }
    void setCreadaManualmente(bool v) { creadaManualmente_ = v; }
    // A blank date reads as the clock's today, "dd/mm/yyyy", and keeps that value.
    QString FechaCreacion(const Clock& clock) const;
    // The same on the system clock.
    QString FechaCreacion() const;
    void setFechaCreacion(const QString& v) { fechaCreacion_ = v; }
    qint16 Numero() const { return numero_; }
    void setNumero(qint16 v) { numero_ = v; }

    // Created empty on first read.
    const std::shared_ptr<kp::PreguntasSerie>& PreguntasSerie() const;
    // Null empties it (a new one is made on the next read).
    void setPreguntasSerie(std::shared_ptr<kp::PreguntasSerie> v) { slots_ = std::move(v); }

private:
    QString key_;
    bool creadaManualmente_ = false;
    mutable QString fechaCreacion_;
    qint16 numero_ = 0;
    mutable std::shared_ptr<kp::PreguntasSerie> slots_;
};

} // namespace kp
