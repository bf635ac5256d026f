#pragma once

#include "format/JournalHeader.h"
#include "format/JournalMarks.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace kp {

// Reads a journal of the marks (a recovery file, JournalRecords.h) back, as far as it stands
// whole: a record cut short by a crash, or anything damaged after the start, ends the reading
// there and is counted in ignoredBytes(). Only a journal without a whole start record fails.
class JournalReader {
public:
    // Journals stay near the size of their header and marks; anything larger is not one.
    static constexpr qint64 kMaxFileSize = 64LL * 1024 * 1024;

    bool read(const QByteArray& bytes);
    bool readFile(const QString& path);
    // Why the last read failed (Spanish, for the examiner).
    const QString& errorString() const { return error_; }

    const JournalHeader& header() const { return header_; }
    // The marks standing after the last whole record, in the order they were made.
    const std::vector<JournalMarks::Mark>& marks() const { return marks_; }
    // The latest exam time the journal recorded, in milliseconds.
    qint64 elapsedMs() const { return elapsedMs_; }
    // Whole records read, the start included.
    qint64 records() const { return records_; }
    // Bytes after the last whole record, left unread.
    qint64 ignoredBytes() const { return ignoredBytes_; }

    // The results file the program would have written with what was read: the same bytes as
    // KipsaResult::Contenido of the run at the moment of the last whole record.
    QByteArray resultsFile() const;

private:
    void parse(const QByteArray& bytes);

    JournalHeader header_;
    std::vector<JournalMarks::Mark> marks_;
    qint64 elapsedMs_ = 0;
    qint64 records_ = 0;
    qint64 ignoredBytes_ = 0;
    QString error_;
};

} // namespace kp
