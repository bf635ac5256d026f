#pragma once

#include "generation/genPreguntas.h"

#include <QString>
#include <memory>

namespace kp {

// A topic: a named bank of candidate questions, keyed "tema" + its number.
class genTema {
public:
    const QString& Key() const { return key_; }
    void setKey(const QString& v) { key_ = v; }
    const QString& Nombre() const { return nombre_; }
    void setNombre(const QString& v) { nombre_ = v; }
    // Created empty on first read.
    const std::shared_ptr<kp::genPreguntas>& genPreguntas() const;
    void setgenPreguntas(std::shared_ptr<kp::genPreguntas> v) { preguntas_ = std::move(v); }

    // Candidates of kind TipoPregunta (1, 2 or 3); 0 for any other kind.
    qint16 CuantasPreguntas(qint16 TipoPregunta) const;

private:
    QString key_;
    QString nombre_;
    mutable std::shared_ptr<kp::genPreguntas> preguntas_;
};

} // namespace kp
