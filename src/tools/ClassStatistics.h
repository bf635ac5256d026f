#pragma once

#include "tools/ReportFigures.h"
#include "tools/StudentResult.h"

#include <vector>

namespace kp {
class KipsaPrubex;
}

namespace kp::tools {

class ExamItems;

// The figures of a class report, from the students graded by ClassReader: the summary of the
// class and of each series, the histogram and every question's analysis (ItemAnalysis).
ReportFigures computeFigures(const KipsaPrubex& exam, const ExamItems& items,
                             const std::vector<StudentResult>& students);

// Bins of one grade point from 0 to NotaMaxima (or the highest grade, if above it); wider bins
// of NotaMaxima / 100 when the scale has more than 100 points.
std::vector<ReportFigures::Bin> histogram(double notaMaxima, const std::vector<double>& grades);

} // namespace kp::tools
