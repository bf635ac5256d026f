#include "tools/ClassStatistics.h"

#include "model/KipsaPrubex.h"
#include "results/Correccion.h"
#include "tools/ExamItems.h"
#include "tools/ItemAnalysis.h"
#include "tools/Statistics.h"

#include <algorithm>
#include <cmath>

namespace kp::tools {

namespace {

constexpr qsizetype kMaxBins = 100;

// The summary of the students whose index is listed. Alpha here is over the positions
// 1..N of one series (the same questions for every student of the group).
GroupFigures summarise(const std::vector<StudentResult>& students,
                       const std::vector<size_t>& members, float notaMaxima, bool withAlpha) {
    GroupFigures g;
    g.resultados = static_cast<qsizetype>(members.size());
    if (members.empty())
        return g;
    std::vector<double> totals;
    totals.reserve(members.size());
    for (const size_t s : members) {
        g.notas.push_back(students[s].row.nota);
        totals.push_back(students[s].row.acertadas);
        // Passing is judged on the grade as DameNota gives it, against half the scale.
        g.aprobados += students[s].row.nota >= notaMaxima / 2.0f ? 1 : 0;
    }
    std::sort(g.notas.begin(), g.notas.end());
    g.media = stats::mean(g.notas);
    g.mediana = stats::quantile(g.notas, 0.5);
    g.q1 = stats::quantile(g.notas, 0.25);
    g.q3 = stats::quantile(g.notas, 0.75);
    g.minima = g.notas.front();
    g.maxima = g.notas.back();
    g.desviacion = stats::sampleStandardDeviation(g.notas);
    g.tasaAprobados = static_cast<double>(g.aprobados) / static_cast<double>(members.size());
    if (withAlpha) {
        const StudentResult& first = students[members.front()];
        std::vector<double> facility(static_cast<size_t>(first.positions()), 0.0);
        for (const size_t s : members)
            for (size_t p = 0; p < facility.size() && p < students[s].codes.size(); ++p)
                facility[p] += students[s].codes[p] == CodigoPregunta::Acertada ? 1 : 0;
        for (double& p : facility)
            p /= static_cast<double>(members.size());
        g.alfa = stats::kr20(facility, totals);
    }
    if (g.alfa && g.desviacion)
        g.errorTipico = stats::standardErrorOfMeasurement(*g.desviacion, *g.alfa);
    return g;
}

// True when every student's positions hold every item exactly once.
bool sameItemsForAll(const ExamItems& items, const std::vector<StudentResult>& students) {
    const auto itemCount = static_cast<qsizetype>(items.items().size());
    std::vector<qsizetype> seenBy(items.items().size(), -1);
    for (size_t s = 0; s < students.size(); ++s) {
        if (students[s].positions() != itemCount)
            return false;
        for (qsizetype p = 1; p <= itemCount; ++p) {
            const int item = items.itemAt(students[s].serieElegida, p);
            if (item < 0 || seenBy[static_cast<size_t>(item)] == static_cast<qsizetype>(s))
                return false;
            seenBy[static_cast<size_t>(item)] = static_cast<qsizetype>(s);
        }
    }
    return true;
}

} // namespace

std::vector<ReportFigures::Bin> histogram(double notaMaxima, const std::vector<double>& grades) {
    double top = std::isfinite(notaMaxima) ? std::max(notaMaxima, 0.0) : 0.0;
    for (const double g : grades)
        top = std::max(top, g);
    const double width = top > kMaxBins ? top / kMaxBins : 1.0;
    const auto count =
        std::clamp<qsizetype>(static_cast<qsizetype>(std::ceil(top / width)), 1, kMaxBins);
    std::vector<ReportFigures::Bin> bins(static_cast<size_t>(count));
    for (qsizetype b = 0; b < count; ++b) {
        bins[static_cast<size_t>(b)].desde = static_cast<double>(b) * width;
        bins[static_cast<size_t>(b)].hasta = static_cast<double>(b + 1) * width;
    }
    for (const double g : grades) {
        const auto b =
            std::clamp<qsizetype>(static_cast<qsizetype>(std::floor(g / width)), 0, count - 1);
        ++bins[static_cast<size_t>(b)].alumnos;
    }
    return bins;
}

ReportFigures computeFigures(const KipsaPrubex& exam, const ExamItems& items,
                             const std::vector<StudentResult>& students) {
    ReportFigures figures;
    figures.notaMaxima = exam.NotaMaxima();

    // The whole class, then every series sat, in the exam's order of series.
    std::vector<size_t> all(students.size());
    std::vector<std::vector<size_t>> bySerie(static_cast<size_t>(exam.Series()->Count()) + 1);
    for (size_t s = 0; s < students.size(); ++s) {
        all[s] = s;
        bySerie[static_cast<size_t>(students[s].serieElegida)].push_back(s);
    }
    figures.mismasPreguntas = sameItemsForAll(items, students);
    figures.grupos.push_back(summarise(students, all, exam.NotaMaxima(), false));
    figures.grupos.front().nombre = QStringLiteral("Todas");
    for (size_t e = 1; e < bySerie.size(); ++e) {
        if (bySerie[e].empty())
            continue;
        GroupFigures g = summarise(students, bySerie[e], exam.NotaMaxima(), true);
        g.serie = exam.Series()->Item(static_cast<long>(e))->Numero();
        g.nombre = QStringLiteral("Serie %1").arg(g.serie);
        figures.grupos.push_back(std::move(g));
    }

    std::vector<qint8> groups = ItemAnalysis::extremeGroups(students, figures.grupo27);
    figures.preguntas = ItemAnalysis::analyse(items, students, groups);

    // The class's alpha, over questions by Id, when every student had the same ones.
    GroupFigures& whole = figures.grupos.front();
    if (figures.mismasPreguntas && !students.empty()) {
        std::vector<double> facility;
        for (const ItemFigures& f : figures.preguntas)
            facility.push_back(f.facilidad.value_or(0));
        std::vector<double> totals;
        for (const StudentResult& s : students)
            totals.push_back(s.row.acertadas);
        whole.alfa = stats::kr20(facility, totals);
        if (whole.alfa && whole.desviacion)
            whole.errorTipico = stats::standardErrorOfMeasurement(*whole.desviacion, *whole.alfa);
    }
    figures.histograma = histogram(exam.NotaMaxima(), whole.notas);
    return figures;
}

} // namespace kp::tools
