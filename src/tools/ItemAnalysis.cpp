#include "tools/ItemAnalysis.h"

#include "results/Correccion.h"
#include "tools/ExamItems.h"
#include "tools/Statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kp::tools {

std::vector<qint8> ItemAnalysis::extremeGroups(const std::vector<StudentResult>& students,
                                               qsizetype& groupSize) {
    const auto n = static_cast<qsizetype>(students.size());
    groupSize =
        n < 2 ? 0 : std::max<qsizetype>(1, std::llround(kGroupShare * static_cast<double>(n)));
    std::vector<size_t> order(students.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const GradeRow& x = students[a].row;
        const GradeRow& y = students[b].row;
        if (x.nota != y.nota)
            return x.nota > y.nota;
        if (x.acertadas != y.acertadas)
            return x.acertadas > y.acertadas;
        return x.archivo < y.archivo;
    });
    std::vector<qint8> groups(students.size(), 0);
    for (qsizetype k = 0; k < groupSize; ++k) {
        groups[order[static_cast<size_t>(k)]] = 1;
        groups[order[static_cast<size_t>(n - 1 - k)]] = -1;
    }
    return groups;
}

std::vector<ItemFigures> ItemAnalysis::analyse(const ExamItems& items,
                                               const std::vector<StudentResult>& students,
                                               const std::vector<qint8>& groups) {
    std::vector<ItemFigures> figures(items.items().size());
    std::vector<stats::Correlation> correlation(items.items().size());
    for (size_t i = 0; i < figures.size(); ++i)
        figures[i].opciones.resize(items.items()[i].options.size());

    for (size_t s = 0; s < students.size(); ++s) {
        const StudentResult& student = students[s];
        const qint8 group = groups[s];
        for (qsizetype position = 1; position <= student.positions(); ++position) {
            const int item = items.itemAt(student.serieElegida, position);
            if (item < 0)
                continue;
            ItemFigures& f = figures[static_cast<size_t>(item)];
            const qint8 code = student.codes[static_cast<size_t>(position - 1)];
            const int right = code == CodigoPregunta::Acertada ? 1 : 0;
            ++f.veces;
            f.aciertos += right;
            f.blancas += code == CodigoPregunta::Blanca ? 1 : 0;
            f.fallos += code == CodigoPregunta::Fallada ? 1 : 0;
            correlation[static_cast<size_t>(item)].add(right, student.row.acertadas - right);
            if (group > 0) {
                ++f.vecesSuperior;
                f.aciertosSuperior += right;
            } else if (group < 0) {
                ++f.vecesInferior;
                f.aciertosInferior += right;
            }
            // A true/false question counts the first mark only, as correction does.
            const qint16* begin = student.marksBegin(position);
            const qint16* end = student.marksEnd(position);
            if (items.verdaderoFalso() && begin != end)
                end = begin + 1;
            for (const qint16* m = begin; m != end; ++m) {
                const int option = items.optionOf(item, *m);
                if (option < 0) {
                    ++f.otras;
                    continue;
                }
                ItemFigures::Option& o = f.opciones[static_cast<size_t>(option)];
                ++o.marcada;
                o.superior += group > 0 ? 1 : 0;
                o.inferior += group < 0 ? 1 : 0;
            }
        }
    }

    for (size_t i = 0; i < figures.size(); ++i) {
        ItemFigures& f = figures[i];
        if (f.veces > 0)
            f.facilidad = static_cast<double>(f.aciertos) / static_cast<double>(f.veces);
        if (f.vecesSuperior > 0 && f.vecesInferior > 0)
            f.discriminacion =
                static_cast<double>(f.aciertosSuperior) / static_cast<double>(f.vecesSuperior) -
                static_cast<double>(f.aciertosInferior) / static_cast<double>(f.vecesInferior);
        f.biserial = correlation[i].r();
        f.avisos = warnings(items, static_cast<int>(i), f);
    }
    return figures;
}

std::vector<ItemFigures::Aviso> ItemAnalysis::warnings(const ExamItems& items, int item,
                                                       const ItemFigures& f) {
    std::vector<ItemFigures::Aviso> avisos;
    const ExamItems::Item& question = items.items()[static_cast<size_t>(item)];
    if (!question.hasRight)
        avisos.push_back({QStringLiteral("sin-correcta"),
                          QStringLiteral("No tiene ninguna respuesta correcta: nadie puede "
                                         "acertarla.")});
    if (f.facilidad && *f.facilidad > kTooEasy)
        avisos.push_back({QStringLiteral("muy-facil"),
                          QStringLiteral("Muy fácil: la acierta más del 95 % de quienes la "
                                         "tuvieron.")});
    if (f.facilidad && *f.facilidad < kTooHard)
        avisos.push_back({QStringLiteral("muy-dificil"),
                          QStringLiteral("Muy difícil: la acierta menos del 20 % de quienes la "
                                         "tuvieron.")});
    const bool negative =
        (f.discriminacion && *f.discriminacion < 0) || (f.biserial && *f.biserial < 0);
    const bool nearZero = (f.discriminacion && *f.discriminacion < kNearZero) ||
                          (f.biserial && *f.biserial < kNearZero);
    if (negative)
        avisos.push_back({QStringLiteral("discrimina-al-reves"),
                          QStringLiteral("Discrimina al revés: la aciertan más los alumnos de "
                                         "nota baja que los de nota alta.")});
    else if (nearZero)
        avisos.push_back({QStringLiteral("no-discrimina"),
                          QStringLiteral("Apenas distingue a los alumnos de nota alta de los de "
                                         "nota baja.")});

    // A wrong answer that the upper group marks more often than some right answer.
    const ExamItems::Option* weakestRight = nullptr;
    qint64 weakestCount = 0;
    for (size_t o = 0; o < question.options.size(); ++o)
        if (question.options[o].correcta &&
            (!weakestRight || f.opciones[o].superior < weakestCount)) {
            weakestRight = &question.options[o];
            weakestCount = f.opciones[o].superior;
        }
    if (weakestRight)
        for (size_t o = 0; o < question.options.size(); ++o)
            if (!question.options[o].correcta && f.opciones[o].superior > weakestCount)
                avisos.push_back({QStringLiteral("distractor"),
                                  QStringLiteral("La respuesta «%1» atrae al grupo superior más "
                                                 "que la correcta «%2».")
                                      .arg(question.options[o].texto, weakestRight->texto)});
    return avisos;
}

} // namespace kp::tools
