#include "results/Correccion.h"

#include "model/Fields.h"
#include "model/KipsaResult.h"
#include "model/MarksByPosition.h"
#include "results/ExamState.h"
#include "results/GradingKey.h"

#include <vector>

namespace kp {

namespace {

// The marks recorded for one position, in the order they were made.
std::vector<qint16> marksOf(const KipsaResult& result, qint16 position) {
    std::vector<qint16> marks;
    for (const auto& entry : *result.RespuestasKipsa())
        if (entry->NumPregunta() == position)
            marks.push_back(entry->NumRespuesta());
    return marks;
}

} // namespace

qint16 CorrijePreguntaVF(const KipsaPrubex& Examen, const KipsaResult& Resultado,
                         qint16 SerieElegida, qint16 NumPregunta) {
    return GradingKey(Examen, SerieElegida, NumPregunta, NumPregunta)
        .corrigeVF(NumPregunta, marksOf(Resultado, NumPregunta));
}

qint16 CorrijePreguntaTest(const KipsaPrubex& Examen, const KipsaResult& Resultado,
                           qint16 SerieElegida, qint16 NumPregunta) {
    return GradingKey(Examen, SerieElegida, NumPregunta, NumPregunta)
        .corrigeTest(NumPregunta, marksOf(Resultado, NumPregunta));
}

bool EstaEnLista(const QString& texto, const QStringList& lista) {
    const QString wanted = TrimBlanks(texto);
    for (const QString& element : lista)
        if (TrimBlanks(element) == wanted)
            return true;
    return false;
}

float DameNota(const KipsaPrubex& Examen, const KipsaResult& Resultado, qint16 SerieElegida,
               qint16 TotalPreguntas, qint16& Acertadas, qint16& Falladas, qint16& Blancas) {
    return GradingKey(Examen, SerieElegida, TotalPreguntas)
        .nota(MarksByPosition(Resultado, TotalPreguntas), Acertadas, Falladas, Blancas);
}

float DameNota(const ExamState& estado, qint16& Acertadas, qint16& Falladas, qint16& Blancas) {
    if (!estado.Examen || !estado.Resultado) {
        Acertadas = Falladas = Blancas = 0;
        return 0;
    }
    return DameNota(*estado.Examen, *estado.Resultado, estado.SerieElegida, estado.TotalPreguntas,
                    Acertadas, Falladas, Blancas);
}

} // namespace kp
