#pragma once

#include "tools/GradeReport.h"

#include <vector>

namespace kp::tools {

// One graded results file, reduced to what the class report needs: the row kxt grade shows,
// the result code of every position and the answers marked there.
struct StudentResult {
    GradeRow row;
    qint16 serieElegida = 0; // position of the student's series in the exam's Series
    // Result code (CodigoPregunta) of positions 1..N, at index position - 1.
    std::vector<qint8> codes;
    // The answers marked at every position, in the order the file gives them: those of
    // position p are marks[markStart[p - 1]] up to marks[markStart[p]].
    std::vector<qint16> marks;
    std::vector<qint32> markStart;

    qsizetype positions() const { return static_cast<qsizetype>(codes.size()); }
    const qint16* marksBegin(qsizetype position) const {
        return marks.data() + markStart[static_cast<size_t>(position - 1)];
    }
    const qint16* marksEnd(qsizetype position) const {
        return marks.data() + markStart[static_cast<size_t>(position)];
    }
};

} // namespace kp::tools
