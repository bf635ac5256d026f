#include "generation/Genera.h"

#include "generation/genNormas.h"
#include "generation/genTemas.h"
#include "model/Fields.h"
#include "model/RandomSource.h"
#include "model/Serie.h"

#include <QSet>
#include <limits>
#include <vector>

namespace kp {

namespace {

constexpr qint32 kMaxPosition = std::numeric_limits<qint16>::max();

bool fail(QString* error, const QString& message) {
    if (error)
        *error = message;
    return false;
}

// Drawn questions keep the identifier as the topic stores it; fixed rules use ClavePregunta.
QString slotKey(const QString& id) {
    return QStringLiteral("pregunta") + id;
}

// Moves the slot one place up (step -1) or down (step +1) within its block.
void moveSlot(Serie& serie, const QString& key, int step) {
    const auto& placedSlots = *serie.PreguntasSerie();
    const auto moved = placedSlots.find(key);
    if (!moved)
        return;
    const qint32 from = moved->Orden();
    const qint32 to = from + step;
    if (to < std::numeric_limits<qint16>::min() || to > kMaxPosition)
        return;
    for (const auto& other : placedSlots) {
        if (other->Tipo() == moved->Tipo() && other->Orden() == to) {
            other->setOrden(static_cast<qint16>(from));
            moved->setOrden(static_cast<qint16>(to));
            return;
        }
    }
}

} // namespace

bool SorteaPreguntas(Serie& serie, const genNorma& norma, const genTema& tema, qint16& posicion,
                     qint16 bloque, RandomSource& random, QString* error) {
    if (norma.TipoNorma() == genNorma::Fija)
        return fail(error, QStringLiteral("La norma %1 no es de sorteo.").arg(norma.Key()));

    std::vector<QString> candidates;
    for (const auto& candidate : *tema.genPreguntas())
        if (candidate->Tipo() == bloque)
            candidates.push_back(candidate->IdPregunta());
    if (candidates.empty() || bloque < 1 || bloque > 3)
        return fail(error, QStringLiteral("El tema %1 no tiene preguntas del tipo %2.")
                               .arg(tema.Key())
                               .arg(bloque));

    // Refuse beforehand a rule the topic cannot satisfy: otherwise the draw would look for
    // an unused candidate forever.
    const auto& placedSlots = *serie.PreguntasSerie();
    QSet<QString> left;
    for (const QString& id : candidates)
        if (!placedSlots.contains(slotKey(id)))
            left.insert(slotKey(id).toCaseFolded());
    const qint32 wanted = norma.NumPreguntas();
    if (wanted > left.size())
        return fail(error,
                    QStringLiteral("La norma %1 pide %2 preguntas del tema %3 para el bloque "
                                   "%4, pero solo quedan %5 que no están ya en la serie.")
                        .arg(norma.Key())
                        .arg(wanted)
                        .arg(tema.Key())
                        .arg(bloque)
                        .arg(left.size()));
    if (wanted > 0 && posicion + wanted - 1 > kMaxPosition)
        return fail(
            error,
            QStringLiteral("La serie no admite más de %1 preguntas por bloque.").arg(kMaxPosition));

    // Each draw picks, with equal chances, one of the candidates not yet used in this draw
    // ("fuera"); one already in the series is set aside without counting.
    std::vector<qsizetype> unused(candidates.size());
    for (size_t i = 0; i < unused.size(); ++i)
        unused[i] = static_cast<qsizetype>(i);
    qint32 placed = 0;
    while (placed < wanted && !unused.empty()) {
        const auto pick = static_cast<size_t>(random.pick(static_cast<int>(unused.size())) - 1);
        const QString& id = candidates[static_cast<size_t>(unused[pick])];
        unused.erase(unused.begin() + static_cast<long>(pick));
        if (placedSlots.contains(slotKey(id)))
            continue;
        serie.PreguntasSerie()->Add(id, posicion, bloque, slotKey(id));
        ++placed;
        if (posicion < kMaxPosition)
            ++posicion;
    }
    return true;
}

bool Genera(Serie& serie, const genTemas& GenTemasTmp, const genNormas& GenNormasTmp,
            RandomSource& random, QString* error) {
    try {
        for (qint16 bloque = 1; bloque <= 3; ++bloque) {
            qint16 posicion = 1;
            for (const auto& norma : GenNormasTmp) {
                if (norma->Seccion() != bloque || norma->TipoNorma() != genNorma::Fija)
                    continue;
                if (posicion == kMaxPosition)
                    return fail(
                        error, QStringLiteral("Demasiadas preguntas en el bloque %1.").arg(bloque));
                serie.PreguntasSerie()->Add(norma->IdPregunta(), posicion, bloque,
                                            ClavePregunta(norma->IdPregunta()));
                ++posicion;
            }
            for (const auto& norma : GenNormasTmp) {
                if (norma->Seccion() != bloque || norma->TipoNorma() != genNorma::Sorteo)
                    continue;
                const auto tema =
                    GenTemasTmp.find(QStringLiteral("tema") + QString::number(norma->IdTema()));
                if (!tema)
                    return fail(error, QStringLiteral("La norma %1 pide el tema %2, que no existe.")
                                           .arg(norma->Key())
                                           .arg(norma->IdTema()));
                if (!SorteaPreguntas(serie, *norma, *tema, posicion, bloque, random, error))
                    return false;
            }
        }
        return true;
    } catch (const KpError& e) {
        return fail(error, e.message());
    } catch (...) {
        return fail(error, QStringLiteral("Error inesperado al generar la serie."));
    }
}

void SubePregunta(Serie& serie, const QString& PreguntaKey) {
    moveSlot(serie, PreguntaKey, -1);
}

void BajaPregunta(Serie& serie, const QString& PreguntaKey) {
    moveSlot(serie, PreguntaKey, +1);
}

} // namespace kp
