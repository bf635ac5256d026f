#pragma once

#include "format/ResultsReader.h"
#include "tools/GradeReport.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace kp {
class GradingKey;
class KipsaPrubex;
class KipsaResult;
class MarksByPosition;
} // namespace kp

namespace kp::tools {

// Grades results files against one exam. What grading needs of a series is prepared once, the
// first time a file names it, and serves every later file of that series.
class Grader {
public:
    Grader(const KipsaPrubex& exam, qint16 totalPreguntas);
    ~Grader();
    Grader(const Grader&) = delete;
    Grader& operator=(const Grader&) = delete;

    // The largest results file a run of this exam can write: anything larger is refused
    // before it is read.
    qint64 maxSize() const { return maxSize_; }

    // Grades one results file, fetched with maxSize(); row.error says why it could not be.
    GradeRow grade(const QString& path, const ResultsReader::Fetched& file);

    // The steps of grade for a record read otherwise (kxt report). identify fills row with
    // what the record says of its student and gives the position in the exam's Series of the
    // record's series; 0, with row.error, when the record is of another exam or of a series
    // the exam lacks.
    qint16 identify(const KipsaResult& result, GradeRow& row) const;
    // Grades the marks of a record of the series at position serieElegida (as identify gives
    // it) into row, and gives the key that graded them, which corrects single positions alike.
    const GradingKey& grade(qint16 serieElegida, const MarksByPosition& marks, GradeRow& row);

private:
    const KipsaPrubex& exam_;
    const QString idExamen_;
    const qint16 total_;
    const qint64 maxSize_;
    QHash<qint16, qint16> positionOf_; // series number -> position in Series
    std::vector<std::unique_ptr<GradingKey>> keys_;
    ResultsReader reader_;
};

} // namespace kp::tools
