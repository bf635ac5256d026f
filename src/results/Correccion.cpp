#include "results/Correccion.h"

#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "model/KipsaResult.h"
#include "results/ExamState.h"

#include <QHash>
#include <cfloat>
#include <vector>

// The grade must come out exactly as 32-bit arithmetic gives it (a full score of 17 questions
// of a 10-point exam is 9.999999, not 10): float expressions must not be evaluated in a wider
// type, as x87 code would.
static_assert(FLT_EVAL_METHOD == 0, "float arithmetic must be evaluated in float");

namespace kp {

namespace {

// The question and the marks of each position, found once for all the positions of a grade.
class Lookup {
public:
    Lookup(const KipsaPrubex& exam, const KipsaResult& result, qint16 serieElegida) : exam_(exam) {
        for (const auto& entry : *result.RespuestasKipsa())
            marks_[entry->NumPregunta()].push_back(entry->NumRespuesta());
        std::shared_ptr<Serie> serie;
        if (serieElegida >= 1 && serieElegida <= exam.Series()->Count())
            serie = exam.Series()->Item(static_cast<long>(serieElegida));
        if (serie)
            for (const auto& slot : *serie->PreguntasSerie())
                ids_.insert(slot->Orden(), slot->IdPreguntaExamen()); // the last one wins
    }

    const std::vector<qint16>& marks(qint16 position) const {
        static const std::vector<qint16> none;
        const auto it = marks_.constFind(position);
        return it == marks_.constEnd() ? none : it.value();
    }

    // Null when the series has no slot at the position or the exam no such question.
    std::shared_ptr<Pregunta> question(qint16 position) const {
        const auto it = ids_.constFind(position);
        if (it == ids_.constEnd())
            return nullptr;
        return exam_.Preguntas()->find(ClavePregunta(it.value()));
    }

private:
    const KipsaPrubex& exam_;
    QHash<qint16, std::vector<qint16>> marks_;
    QHash<qint16, QString> ids_;
};

// "1;3;" -> {"1", "3"}: one leading and one trailing ";" dropped, then split.
QStringList splitList(QString list) {
    if (list.startsWith(u';'))
        list.remove(0, 1);
    if (list.endsWith(u';'))
        list.chop(1);
    return list.isEmpty() ? QStringList() : list.split(u';');
}

qint16 correctVF(const Lookup& lookup, qint16 position) {
    const auto& marks = lookup.marks(position);
    if (marks.empty())
        return CodigoPregunta::Blanca;
    // The first answer's Correcta is the truth of the statement; a question that cannot be
    // found, or has no answers, counts as a false statement.
    bool statementTrue = false;
    if (const auto question = lookup.question(position))
        if (question->respuestas()->Count() > 0)
            statementTrue = question->respuestas()->Item(1)->Correcta();
    const bool answeredTrue = marks.front() == 1;
    return answeredTrue == statementTrue ? CodigoPregunta::Acertada : CodigoPregunta::Fallada;
}

qint16 correctTest(const Lookup& lookup, bool oneIsEnough, qint16 position) {
    const auto& marks = lookup.marks(position);
    if (marks.empty())
        return CodigoPregunta::Blanca;
    QString rightList;
    if (const auto question = lookup.question(position))
        for (const auto& answer : *question->respuestas())
            if (answer->Correcta())
                rightList += QString::number(answer->Numero()) + u';';
    QString givenList;
    for (const qint16 n : marks)
        givenList += QString::number(n) + u';';

    const QStringList right = splitList(rightList);
    const QStringList given = splitList(givenList);
    if (given.size() > right.size())
        return CodigoPregunta::Fallada;
    bool ok = true;
    if (oneIsEnough) {
        for (const QString& g : given)
            if (!EstaEnLista(g, right))
                ok = false;
    } else {
        for (const QString& r : right)
            if (!EstaEnLista(r, given))
                ok = false;
    }
    return ok ? CodigoPregunta::Acertada : CodigoPregunta::Fallada;
}

} // namespace

qint16 CorrijePreguntaVF(const KipsaPrubex& Examen, const KipsaResult& Resultado,
                         qint16 SerieElegida, qint16 NumPregunta) {
    return correctVF(Lookup(Examen, Resultado, SerieElegida), NumPregunta);
}

qint16 CorrijePreguntaTest(const KipsaPrubex& Examen, const KipsaResult& Resultado,
                           qint16 SerieElegida, qint16 NumPregunta) {
    return correctTest(Lookup(Examen, Resultado, SerieElegida),
                       Examen.UnaRespuestaSuficiente() == 1, NumPregunta);
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
    float Nota = 0;
    // Without questions there is nothing to divide by: every question is worth 0.
    const float valor =
        TotalPreguntas > 0 ? Examen.NotaMaxima() / static_cast<float>(TotalPreguntas) : 0.0f;
    // The fractions are doubles; the product is kept as a float.
    float fallo = 0;
    switch (Examen.TipoPenalizacion()) {
    case 1:
        fallo = valor;
        break;
    case 2:
        fallo = static_cast<float>(static_cast<double>(valor) * (2.0 / 3.0));
        break;
    case 3:
        fallo = static_cast<float>(static_cast<double>(valor) * (1.0 / 2.0));
        break;
    case 4:
        fallo = static_cast<float>(static_cast<double>(valor) * (1.0 / 3.0));
        break;
    case 5:
        fallo = Examen.Penalizacion();
        break;
    default:
        break;
    }
    const float blanca = Examen.PenalizarBlancas() == 1 ? fallo : 0.0f;

    Acertadas = 0;
    Falladas = 0;
    Blancas = 0;
    const Lookup lookup(Examen, Resultado, SerieElegida);
    for (qint32 i = 1; i <= TotalPreguntas; ++i) {
        const auto position = static_cast<qint16>(i);
        const qint16 code =
            Examen.TipoExamen() == 1
                ? correctTest(lookup, Examen.UnaRespuestaSuficiente() == 1, position)
                : correctVF(lookup, position);
        // Each partial sum is rounded to float before the next step.
        if (code == CodigoPregunta::Blanca) {
            Nota = Nota - blanca;
            ++Blancas;
        } else if (code == CodigoPregunta::Acertada) {
            Nota = Nota + valor;
            ++Acertadas;
        } else {
            Nota = Nota - fallo;
            ++Falladas;
        }
    }
    if (Nota < 0)
        Nota = 0;
    return Nota;
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
