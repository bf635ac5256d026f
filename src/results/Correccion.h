#pragma once

#include <QString>
#include <QStringList>

namespace kp {

class KipsaPrubex;
class KipsaResult;
struct ExamState;

// Result code of one corrected question.
namespace CodigoPregunta {
constexpr qint16 Blanca = 1;
constexpr qint16 Acertada = 2;
constexpr qint16 Fallada = 3;
} // namespace CodigoPregunta

// Correction reads the exam, the student's marks and two values of the run (the chosen
// series' position SerieElegida and the question count TotalPreguntas) and changes none of
// them. A lookup that fails (no such series, slot or question) is not an error: the question
// is then corrected as one without right answers. The rules themselves are GradingKey's,
// which kxt grade uses too.

// Corrects the question at position NumPregunta of the chosen series as true/false.
qint16 CorrijePreguntaVF(const KipsaPrubex& Examen, const KipsaResult& Resultado,
                         qint16 SerieElegida, qint16 NumPregunta);
// Corrects it as multiple choice, under the exam's UnaRespuestaSuficiente rule.
qint16 CorrijePreguntaTest(const KipsaPrubex& Examen, const KipsaResult& Resultado,
                           qint16 SerieElegida, qint16 NumPregunta);
// True when the text, trimmed of blanks, equals some element of lista trimmed of blanks
// (exact, case-sensitive).
bool EstaEnLista(const QString& texto, const QStringList& lista);

// The grade of positions 1..TotalPreguntas and the three counts, in 32-bit float arithmetic
// question by question in order, each partial sum rounded to float. Never below 0; no upper bound.
float DameNota(const KipsaPrubex& Examen, const KipsaResult& Resultado, qint16 SerieElegida,
               qint16 TotalPreguntas, qint16& Acertadas, qint16& Falladas, qint16& Blancas);
// The same for the run's state; 0 with all counts 0 while no exam is open.
float DameNota(const ExamState& estado, qint16& Acertadas, qint16& Falladas, qint16& Blancas);

} // namespace kp
