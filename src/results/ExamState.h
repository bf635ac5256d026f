#pragma once

#include "model/KipsaPrubex.h"
#include "model/KipsaResult.h"

#include <QDateTime>
#include <memory>

namespace kp {

// The variables of one run: the exam on the desk, its results record and where the student is.
// One instance is owned by the program and handed to the windows and to correction; nothing
// reaches it through a global.
struct ExamState {
    std::shared_ptr<KipsaPrubex> Examen; // null until an exam has been opened
    std::shared_ptr<KipsaResult> Resultado;
    bool ExamenEnCurso = false;
    qint16 TotalPreguntas = 0; // slots of the first series
    qint32 SegundosLimite = 0; // MinutosLimite * 60; 0 = no limit
    QDateTime HoraInicio;      // start of a limited exam
    qint16 SerieElegida = 0;   // 1-based position in Examen->Series()
    qint16 NumeroSerie = 0;    // Numero of that series

    // The first half of opening an exam: the previous exam and every answer recorded for it
    // go, the given (still empty) exam and a new results record take their place, and no exam
    // is in progress.
    void replaceExam(std::shared_ptr<KipsaPrubex> exam) {
        Examen.reset();
        Resultado.reset();
        ExamenEnCurso = false;
        Examen = std::move(exam);
        Resultado = std::make_shared<KipsaResult>();
    }

    // The second half, once the exam is read: its identifier goes into the results record and
    // the questions are counted. Raises KpError when the exam cannot be sat (no series, too
    // many slots).
    void examLoaded() {
        Resultado->setIdExamen(Examen->IdExamen());
        TotalPreguntas = Examen->PreguntasPrimeraSerie();
    }
};

} // namespace kp
