#pragma once

#include <QHash>
#include <vector>

namespace kp {
class KipsaPrubex;
class KipsaResult;
} // namespace kp

namespace kp::tools {

// Corrects one position of a student's series with CorrijePreguntaTest (multiple choice) or
// CorrijePreguntaVF (true/false), as the runner does. The code of a position depends only on
// the exam, the series, the position and the marks made there in their order, so each such
// case is corrected once and its code kept: a class of thousands of students repeats the same
// few cases at every position.
class PositionCorrector {
public:
    explicit PositionCorrector(const KipsaPrubex& exam) : exam_(exam) {}

    // The code of a position whose marks are marks[0..count).
    qint8 code(qint16 serieElegida, qint16 position, const qint16* marks, qsizetype count);
    // The code read straight from a whole results record, without the kept cases.
    qint8 direct(const KipsaResult& result, qint16 serieElegida, qint16 position) const;

    // Cases kept per position; beyond them (a hostile class) positions are corrected afresh.
    static constexpr size_t kMaxCases = 64;

private:
    struct Case {
        std::vector<qint16> marks;
        qint8 code;
    };

    const KipsaPrubex& exam_;
    QHash<quint32, std::vector<Case>> cases_;
};

} // namespace kp::tools
