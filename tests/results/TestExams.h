#pragma once

#include "model/KipsaPrubex.h"
#include "results/KipsaResult.h"

#include <QStringList>
#include <initializer_list>

namespace kp::test {

using namespace Qt::StringLiterals;

// Adds question `id` with answers numbered 1..answers, those in `right` marked right.
inline void addQuestion(KipsaPrubex& exam, const QString& id, int answers,
                        const QList<int>& right) {
    Pregunta p;
    p.setId(id);
    p.setKey(u"pregunta"_s + id.trimmed());
    for (int i = 1; i <= answers; ++i) {
        Respuesta r;
        r.setNumero(static_cast<qint16>(i));
        r.setKey(u"respuesta%1"_s.arg(i));
        r.setCorrecta(right.contains(i));
        p.respuestas()->Add(r);
    }
    exam.Preguntas()->Add(p);
}

// Adds series `numero` whose question n (Orden n) is ids[n - 1].
inline void addSeries(KipsaPrubex& exam, qint16 numero, const QStringList& ids) {
    Serie s;
    s.setNumero(numero);
    s.setKey(u"serie%1"_s.arg(numero));
    for (qsizetype i = 0; i < ids.size(); ++i)
        s.PreguntasSerie()->Add(ids[i], static_cast<qint16>(i + 1), 1,
                                u"pregunta"_s + ids[i].trimmed());
    exam.Series()->Add(s);
}

// Records the marks of question `position` in the given order, keyed as the window keys them.
inline void mark(KipsaResult& result, qint16 position, std::initializer_list<int> answers) {
    for (const int a : answers)
        result.RespuestasKipsa()->Add(position, static_cast<qint16>(a),
                                      u"respuesta%1_%2"_s.arg(position).arg(a));
}

} // namespace kp::test
