#pragma once

#include <QHash>
#include <memory>
#include <vector>

namespace kp {

class KipsaPrubex;
class Pregunta;
class Preguntas;
class PreguntasSerie;

// The questions of one series by their number on the page, found without walking the series:
// number n holds the question of every slot whose Orden is n, in slot order (a slot whose
// question the exam lacks adds none).
// Built on first use and again only when the exam, the series, or the number of its slots or
// of the exam's questions has changed.
class SeriesIndex {
public:
    using Questions = std::vector<std::shared_ptr<Pregunta>>;

    // The questions shown as number orden of the series at 1-based position serie; none for a
    // number no slot carries (a fraction included) or a series the exam lacks.
    const Questions& at(const std::shared_ptr<KipsaPrubex>& exam, qint16 serie, double orden);

private:
    bool current(const std::shared_ptr<KipsaPrubex>& exam, qint16 serie) const;
    void build(const std::shared_ptr<KipsaPrubex>& exam, qint16 serie);

    std::weak_ptr<KipsaPrubex> exam_;
    qint16 serie_ = 0;
    std::weak_ptr<PreguntasSerie> slots_;
    long slotCount_ = -1;
    std::weak_ptr<Preguntas> questions_;
    long questionCount_ = -1;
    QHash<qint16, Questions> byOrden_;
};

} // namespace kp
