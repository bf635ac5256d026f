#pragma once

#include <QtGlobal>
#include <span>
#include <vector>

namespace kp {

class KipsaPrubex;
class MarksByPosition;

// What correcting one series needs of the exam, found once: for each position, whether its
// true/false statement is true and the numbers of its right answers, and the grading settings
// (kind of exam, rule for multiple choice, value of a question and penalties). DameNota grades
// through one; kxt grade keeps one per series for all the files it grades.
//
// The question at a position is that of the last slot of the series whose Orden is the
// position; a position without a slot, or whose question the exam lacks, has no right answers
// and a false statement.
class GradingKey {
public:
    // Positions 1..TotalPreguntas of the series at 1-based position SerieElegida of the exam.
    GradingKey(const KipsaPrubex& Examen, qint16 SerieElegida, qint16 TotalPreguntas);
    // Positions first..last only, for correcting single questions.
    GradingKey(const KipsaPrubex& Examen, qint16 SerieElegida, qint16 first, qint16 last);

    // Result code (CodigoPregunta) of the question at position for its marks, in marking
    // order: as true/false, as multiple choice, or as the exam's kind says.
    qint16 corrigeVF(qint16 position, std::span<const qint16> marks) const;
    qint16 corrigeTest(qint16 position, std::span<const qint16> marks) const;
    qint16 corrige(qint16 position, std::span<const qint16> marks) const;

    // The grade of positions 1..TotalPreguntas and the three counts, exactly as DameNota
    // gives them.
    float nota(const MarksByPosition& marks, qint16& Acertadas, qint16& Falladas,
               qint16& Blancas) const;

private:
    struct Position {
        bool statementTrue = false;
        quint32 rightFrom = 0; // into right_
        quint32 rightCount = 0;
    };

    std::span<const qint16> rightAnswers(qint16 position) const;
    const Position* at(qint16 position) const;

    qint16 first_;
    qint16 last_;
    bool test_;
    bool oneIsEnough_;
    float valor_ = 0;
    float fallo_ = 0;
    float blanca_ = 0;
    std::vector<Position> positions_;
    std::vector<qint16> right_;
};

} // namespace kp
