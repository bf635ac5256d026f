#pragma once

#include "format/ResultsReader.h"
#include "tools/GradeReport.h"
#include "tools/Grader.h"
#include "tools/StudentResult.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <vector>

namespace kp {
class GradingKey;
class KipsaPrubex;
} // namespace kp

namespace kp::tools {

class Progress;

// Reads and grades the results files of a class against their exam. Each file is graded as
// kxt grade grades it (Grader: what grading needs of a series prepared once), and each of its
// positions corrected by the same key. Files that cannot be counted (unreadable, damaged, of
// another exam or series, a copy of a file already read) are kept apart with the reason.
class ClassReader {
public:
    ClassReader(const KipsaPrubex& exam, qint16 totalPreguntas);

    // Files are taken as named; a folder is searched with its subfolders for *.kxa files (in
    // path order), and one that holds none is reported as skipped.
    void addPaths(const QStringList& paths);
    qsizetype fileCount() const { return files_.size(); }

    // Reads every file added, reporting each one done to progress when given.
    void read(Progress* progress = nullptr);

    const std::vector<StudentResult>& students() const { return students_; }
    // Rows with archivo and error (and what could be read), in the order the files came.
    const std::vector<GradeRow>& skipped() const { return skipped_; }

private:
    void readFile(const QString& path);
    // The student of a graded row: the codes of every position and the marks made there.
    StudentResult student(GradeRow row, qint16 serieElegida, const GradingKey& key) const;
    void skip(GradeRow row, const QString& error);
    // The file already counted whose bytes these are; a null text when none.
    QString copyOf(const QByteArray& bytes) const;

    const qint16 total_;
    Grader grader_;
    ResultsReader reader_;
    QStringList files_;
    std::vector<StudentResult> students_;
    std::vector<GradeRow> skipped_;
    // The hash of the bytes of every file counted, with its path: a copy counts once.
    QMultiHash<size_t, QString> seen_;
    static constexpr size_t kSeed = 0x6b787421;
};

} // namespace kp::tools
