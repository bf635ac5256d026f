#pragma once

#include "model/KipsaResult.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <array>
#include <functional>
#include <utility>

namespace kp {

// Reads a results file (.kxa) back into a results record, for grading on the examiner's side.
// Every length and count is checked against the bytes that remain before anything is taken;
// a damaged file gives false and a reason, never a partial record that looks whole.
class ResultsReader {
public:
    // Results files are small; anything larger is not one.
    static constexpr qint64 kMaxFileSize = 64LL * 1024 * 1024;

    bool read(const QByteArray& bytes);
    bool readFile(const QString& path);
    // Why the last read failed (Spanish, for the examiner).
    const QString& errorString() const { return error_; }

    // IdExamen, Serie, the five values and the marks rebuilt in file order (ArchivoSalida
    // empty). Filled as far as the file could be read.
    const KipsaResult& result() const { return result_; }
    // The labels of the five data fields as the file carries them, 1..5.
    const QString& label(int i) const { return labels_[static_cast<size_t>(i - 1)]; }
    // The number of question records the file declares.
    qint16 questionCount() const { return questionCount_; }

private:
    bool run(const std::function<void()>& reading);
    void parse(const QByteArray& bytes);
    // Adds the marks of one record; marked holds every (position, answer) pair added so far.
    void addMarks(qint16 position, const QString& answers, QSet<std::pair<qint16, qint16>>& marked);

    KipsaResult result_;
    std::array<QString, 5> labels_;
    qint16 questionCount_ = 0;
    QString error_;
};

} // namespace kp
