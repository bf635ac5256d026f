#include "results/GradingKey.h"

#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "model/MarksByPosition.h"
#include "results/Correccion.h"

#include <algorithm>
#include <cfloat>

// The grade must come out exactly as 32-bit arithmetic gives it (a full score of 17 questions
// of a 10-point exam is 9.999999, not 10): float expressions must not be evaluated in a wider
// type, as x87 code would.
static_assert(FLT_EVAL_METHOD == 0, "float arithmetic must be evaluated in float");

namespace kp {

namespace {

bool holds(std::span<const qint16> list, qint16 n) {
    return std::find(list.begin(), list.end(), n) != list.end();
}

} // namespace

GradingKey::GradingKey(const KipsaPrubex& Examen, qint16 SerieElegida, qint16 TotalPreguntas)
    : GradingKey(Examen, SerieElegida, 1, TotalPreguntas) {
    // Without questions there is nothing to divide by: every question is worth 0.
    valor_ = TotalPreguntas > 0 ? Examen.NotaMaxima() / static_cast<float>(TotalPreguntas) : 0.0f;
    // The fractions are doubles; the product is kept as a float.
    switch (Examen.TipoPenalizacion()) {
    case 1:
        fallo_ = valor_;
        break;
    case 2:
        fallo_ = static_cast<float>(static_cast<double>(valor_) * (2.0 / 3.0));
        break;
    case 3:
        fallo_ = static_cast<float>(static_cast<double>(valor_) * (1.0 / 2.0));
        break;
    case 4:
        fallo_ = static_cast<float>(static_cast<double>(valor_) * (1.0 / 3.0));
        break;
    case 5:
        fallo_ = Examen.Penalizacion();
        break;
    default:
        break;
    }
    blanca_ = Examen.PenalizarBlancas() == 1 ? fallo_ : 0.0f;
}

GradingKey::GradingKey(const KipsaPrubex& Examen, qint16 SerieElegida, qint16 first, qint16 last)
    : first_(first), last_(last), test_(Examen.TipoExamen() == 1),
      oneIsEnough_(Examen.UnaRespuestaSuficiente() == 1) {
    if (last_ < first_)
        return;
    const auto count = static_cast<size_t>(last_ - first_ + 1);
    positions_.resize(count);
    if (SerieElegida < 1 || SerieElegida > Examen.Series()->Count())
        return;
    // The last slot of each position wins.
    std::vector<const PreguntaSerie*> slotAt(count, nullptr);
    for (const auto& slot :
         *Examen.Series()->Item(static_cast<long>(SerieElegida))->PreguntasSerie())
        if (slot->Orden() >= first_ && slot->Orden() <= last_)
            slotAt[static_cast<size_t>(slot->Orden() - first_)] = slot.get();
    for (size_t i = 0; i < count; ++i) {
        if (!slotAt[i])
            continue;
        const auto question =
            Examen.Preguntas()->find(ClavePregunta(slotAt[i]->IdPreguntaExamen()));
        if (!question)
            continue;
        const auto& answers = *question->respuestas();
        Position& p = positions_[i];
        p.statementTrue = answers.Count() > 0 && answers.Item(1L)->Correcta();
        p.rightFrom = static_cast<quint32>(right_.size());
        for (const auto& answer : answers)
            if (answer->Correcta())
                right_.push_back(answer->Numero());
        p.rightCount = static_cast<quint32>(right_.size()) - p.rightFrom;
    }
}

const GradingKey::Position* GradingKey::at(qint16 position) const {
    if (position < first_ || position > last_ || positions_.empty())
        return nullptr;
    return &positions_[static_cast<size_t>(position - first_)];
}

std::span<const qint16> GradingKey::rightAnswers(qint16 position) const {
    const Position* p = at(position);
    if (!p)
        return {};
    return std::span<const qint16>(right_).subspan(p->rightFrom, p->rightCount);
}

qint16 GradingKey::corrigeVF(qint16 position, std::span<const qint16> marks) const {
    if (marks.empty())
        return CodigoPregunta::Blanca;
    const Position* p = at(position);
    const bool statementTrue = p && p->statementTrue;
    const bool answeredTrue = marks.front() == 1;
    return answeredTrue == statementTrue ? CodigoPregunta::Acertada : CodigoPregunta::Fallada;
}

qint16 GradingKey::corrigeTest(qint16 position, std::span<const qint16> marks) const {
    if (marks.empty())
        return CodigoPregunta::Blanca;
    // More marks than right answers is wrong; otherwise every mark must be right (one is
    // enough) or every right answer marked.
    const auto right = rightAnswers(position);
    if (marks.size() > right.size())
        return CodigoPregunta::Fallada;
    bool ok = true;
    if (oneIsEnough_) {
        for (const qint16 g : marks)
            ok = holds(right, g) && ok;
    } else {
        for (const qint16 r : right)
            ok = holds(marks, r) && ok;
    }
    return ok ? CodigoPregunta::Acertada : CodigoPregunta::Fallada;
}

qint16 GradingKey::corrige(qint16 position, std::span<const qint16> marks) const {
    return test_ ? corrigeTest(position, marks) : corrigeVF(position, marks);
}

float GradingKey::nota(const MarksByPosition& marks, qint16& Acertadas, qint16& Falladas,
                       qint16& Blancas) const {
    float Nota = 0;
    Acertadas = 0;
    Falladas = 0;
    Blancas = 0;
    for (qint32 i = first_; i <= last_; ++i) {
        const auto position = static_cast<qint16>(i);
        const qint16 code = corrige(position, marks.at(position));
        // Each partial sum is rounded to float before the next step.
        if (code == CodigoPregunta::Blanca) {
            Nota = Nota - blanca_;
            ++Blancas;
        } else if (code == CodigoPregunta::Acertada) {
            Nota = Nota + valor_;
            ++Acertadas;
        } else {
            Nota = Nota - fallo_;
            ++Falladas;
        }
    }
    if (Nota < 0)
        Nota = 0;
    return Nota;
}

} // namespace kp
