#pragma once

#include "tools/ExamItems.h"
#include "tools/GradeReport.h"
#include "tools/ReportFigures.h"
#include "tools/StudentResult.h"

#include <vector>

namespace kp {
class KipsaPrubex;
}

namespace kp::tools {

// The students' table of a report: in order of name, of grade, or both one after the other.
enum class StudentOrder { Name, Grade, Both };

// What the report writers read: the exam, its items, the figures and the files.
struct ClassReport {
    const KipsaPrubex& exam;
    const ExamItems& items;
    const ReportFigures& figures;
    const std::vector<StudentResult>& students;
    const std::vector<GradeRow>& skipped;

    // The students' indices by name (the data fields 1..5 in turn, without regard to case or
    // accents, then the file) or by grade (highest first, then by name).
    std::vector<size_t> studentsBy(StudentOrder order) const;
    // The data fields shown: those the exam asks for, and any a file carries a value for
    // (1..5).
    std::vector<int> dataColumns() const;
    // The label of data field i (1..5), or "Dato i" when the exam gives none.
    QString dataLabel(int i) const;
};

} // namespace kp::tools
