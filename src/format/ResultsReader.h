#pragma once

#include "model/KipsaResult.h"
#include "model/MarksByPosition.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <functional>

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
    // Reads only what grading needs, for many files in a row: the header values into result()
    // and the marks into marks(); result()'s own collection of marks and the labels stay empty.
    // Accepts and refuses what read does.
    bool readForGrading(const QByteArray& bytes);
    // A results file fetched for grading: one open, one read, one close, on any thread. A file
    // larger than maxSize is refused unread; the bytes are the file as large as it was when
    // opened.
    struct Fetched {
        QByteArray bytes;
        qint64 size = -1; // -1 when the file could not be opened
        bool failed = false;
        QString error; // why it was not read
    };
    static Fetched fetchForGrading(const QString& path, qint64 maxSize = kMaxFileSize);
    // readForGrading of a fetched file; false with the reason when it could not be fetched.
    bool readForGrading(const Fetched& file);
    // The size of the file the last read for grading opened; -1 when it could not open it.
    qint64 fileSize() const { return fileSize_; }
    // Why the last read failed (Spanish, for the examiner).
    const QString& errorString() const { return error_; }

    // IdExamen, Serie, the five values and the marks rebuilt in file order (ArchivoSalida
    // empty). Filled as far as the file could be read.
    const KipsaResult& result() const { return result_; }
    // The marks of the last file by position, 1 to the file's question count: each answer of a
    // question once, in file order.
    const MarksByPosition& marks() const { return marks_; }
    // The labels of the five data fields as the file carries them, 1..5.
    const QString& label(int i) const { return labels_[static_cast<size_t>(i - 1)]; }
    // The number of question records the file declares.
    qint16 questionCount() const { return marks_.positions(); }

private:
    bool run(const std::function<void()>& reading);
    void parse(const QByteArray& bytes, bool withRecord);
    void addMarks(qint16 position, QByteArrayView answers, bool withRecord);

    KipsaResult result_;
    MarksByPosition marks_;
    std::array<QString, 5> labels_;
    QString error_;
    qint64 fileSize_ = -1;
};

} // namespace kp
