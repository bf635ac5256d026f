#include "window/SeriesIndex.h"

#include "model/Fields.h"
#include "model/KipsaPrubex.h"

#include <limits>

namespace kp {

namespace {

std::shared_ptr<PreguntasSerie> slotsOf(const KipsaPrubex& exam, qint16 serie) {
    if (serie < 1 || serie > exam.Series()->Count())
        return nullptr;
    return exam.Series()->Item(serie)->PreguntasSerie();
}

} // namespace

bool SeriesIndex::current(const std::shared_ptr<KipsaPrubex>& exam, qint16 serie) const {
    if (exam_.lock() != exam || serie_ != serie)
        return false;
    const auto serieSlots = slotsOf(*exam, serie);
    const long slotCount = serieSlots ? serieSlots->Count() : -1;
    return slots_.lock() == serieSlots && slotCount_ == slotCount &&
           questions_.lock() == exam->Preguntas() && questionCount_ == exam->Preguntas()->Count();
}

void SeriesIndex::build(const std::shared_ptr<KipsaPrubex>& exam, qint16 serie) {
    byOrden_.clear();
    exam_ = exam;
    serie_ = serie;
    const auto serieSlots = slotsOf(*exam, serie);
    slots_ = serieSlots;
    slotCount_ = serieSlots ? serieSlots->Count() : -1;
    questions_ = exam->Preguntas();
    questionCount_ = exam->Preguntas()->Count();
    if (!serieSlots)
        return;
    for (const auto& slot : *serieSlots)
        if (auto p = exam->Preguntas()->find(ClavePregunta(slot->IdPreguntaExamen())))
            byOrden_[slot->Orden()].push_back(std::move(p));
}

const SeriesIndex::Questions& SeriesIndex::at(const std::shared_ptr<KipsaPrubex>& exam,
                                              qint16 serie, double orden) {
    static const Questions none;
    if (!exam)
        return none;
    if (!current(exam, serie))
        build(exam, serie);
    // Orden is a 16-bit whole number: nothing else can equal it.
    if (!(orden >= std::numeric_limits<qint16>::min() &&
          orden <= std::numeric_limits<qint16>::max()))
        return none;
    const auto n = static_cast<qint16>(orden);
    if (n != orden)
        return none;
    const auto it = byOrden_.constFind(n);
    return it == byOrden_.constEnd() ? none : it.value();
}

} // namespace kp
