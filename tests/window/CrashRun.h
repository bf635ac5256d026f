#pragma once

#include "TestExamBuilder.h"

#include <QString>
#include <random>
#include <utility>
#include <vector>

namespace kp::test {

// The run that tests/window/crash_child.cpp plays on the real exam window until it is killed,
// and what the results file must hold after any number of its steps.
namespace crash {

constexpr qint16 kQuestions = 5;
constexpr qint16 kAnswers = 4;
constexpr qint64 kStepMs = 1000; // exam time each step takes

// Five questions of four answers, a "Nombre" field, results to folder/res_<name>.kxa.
inline std::shared_ptr<KipsaPrubex> exam(const QString& folder, bool soloUna) {
    TestExamBuilder b = TestExamBuilder::simple(kQuestions, kAnswers);
    KipsaPrubex& e = b.exam();
    e.setIdExamen(QStringLiteral("CRASH-1"));
    e.setDatoAlumno(1, QStringLiteral("Nombre"));
    e.setDatoAlumno(3, QStringLiteral("Grupo"));
    e.setGuardarArchivoResultados(true);
    e.setRutaArchivoResultados(folder + QStringLiteral("/res"));
    e.setSoloUnaRespuesta(soloUna);
    e.setMinutosLimite(30);
    return b.build();
}

// Step k clicks the box of answer .second of question .first: a mark, or an unmark when it is
// marked already.
using Step = std::pair<qint16, qint16>;
inline std::vector<Step> steps(quint32 seed, int count) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> question(1, kQuestions), answer(1, kAnswers);
    std::vector<Step> out;
    for (int k = 0; k < count; ++k)
        out.emplace_back(static_cast<qint16>(question(random)),
                         static_cast<qint16>(answer(random)));
    return out;
}

// The results file after the first `done` steps; with `half`, also the removals that step
// done + 1 makes before its mark (single-answer marking replaces a mark in two moves).
inline QByteArray resultsAfter(const KipsaPrubex& e, const std::vector<Step>& all, size_t done,
                               bool half = false) {
    KipsaResult r;
    r.setIdExamen(e.IdExamen());
    r.setSerie(1);
    r.setDatoAlumno(1, QStringLiteral("Ana"));
    r.setDatoAlumno(3, QStringLiteral("3ºB"));
    auto& marks = *r.RespuestasKipsa();
    const auto remove = [&](qint16 q, qint16 a) {
        for (const auto& m : marks)
            if (m->NumPregunta() == q && m->NumRespuesta() == a)
                return marks.Remove(m->Key());
    };
    const auto marked = [&](qint16 q, qint16 a) {
        for (const auto& m : marks)
            if (m->NumPregunta() == q && m->NumRespuesta() == a)
                return true;
        return false;
    };
    for (size_t k = 0; k < done + (half ? 1 : 0) && k < all.size(); ++k) {
        const auto [q, a] = all[k];
        if (marked(q, a)) {
            if (k < done)
                remove(q, a);
            continue;
        }
        if (e.SoloUnaRespuesta())
            for (qint16 other = 1; other <= kAnswers; ++other)
                if (other != a && marked(q, other))
                    remove(q, other);
        if (k < done)
            marks.Marcar(q, a);
    }
    return r.Contenido(e, kQuestions);
}

} // namespace crash
} // namespace kp::test
