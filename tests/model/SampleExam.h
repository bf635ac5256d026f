#pragma once

#include "model/KipsaPrubex.h"

#include <QString>

namespace kp::test {

// Adds a question with the given answers ("texto" per answer, right when in rightOnes).
inline Pregunta makeQuestion(const QString& id, const QStringList& answers,
                             const QList<int>& rightOnes = {}) {
    Pregunta p;
    p.setId(id);
    p.setKey(QStringLiteral("pregunta") + id.trimmed());
    p.setTextoPregunta(QStringLiteral("¿Pregunta %1?").arg(id));
    for (int i = 1; i <= answers.size(); ++i) {
        Respuesta r;
        r.setNumero(static_cast<qint16>(i));
        r.setKey(QStringLiteral("respuesta%1").arg(i));
        r.setTexto(answers[i - 1]);
        r.setCorrecta(rightOnes.contains(i));
        p.respuestas()->Add(r);
    }
    return p;
}

// A series of the given questions, in order, with kinds taken from the exam's questions.
inline void addSeries(KipsaPrubex& exam, qint16 numero, const QStringList& ids) {
    Serie s;
    s.setNumero(numero);
    s.setKey(QStringLiteral("serie%1").arg(numero));
    qint16 orden = 1;
    for (const QString& id : ids) {
        const QString key = QStringLiteral("pregunta") + id.trimmed();
        s.PreguntasSerie()->Add(id, orden++, exam.Preguntas()->Item(key)->GetTipo(), key);
    }
    exam.Series()->Add(s);
}

} // namespace kp::test
