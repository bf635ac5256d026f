#pragma once

#include "format/FileDescriptor.h"
#include "format/JournalHeader.h"
#include "format/JournalMarks.h"
#include "format/SafeFile.h"

#include <QString>

namespace kp {

// Keeps the journal of the marks of one exam (its recovery file, JournalRecords.h): each mark
// and unmark is appended and flushed to disk before the call returns, so that a crash, a power
// cut or a killed program leaves every mark made on disk. A failed append is cut off again and
// the whole journal rewritten from what it must hold; so is a journal that has grown long, so
// it stays near the size of its header and the marks standing. Nothing here is ever shown to
// the student: when the journal cannot be kept the exam goes on without it.
class JournalWriter {
public:
    JournalWriter() = default;
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // Begins a new journal in folder (created when missing) named stem + ".kxr" (or
    // stem_2.kxr, ... when taken), holding the header and no marks. Any journal kept until now
    // is closed and left on disk. False when no journal could be made.
    bool start(const QString& folder, const QString& stem, const JournalHeader& header);
    // One answer marked or unmarked at elapsedMs into the exam.
    void mark(qint16 question, qint16 answer, qint64 elapsedMs);
    void unmark(qint16 question, qint16 answer, qint64 elapsedMs);
    // How long the exam has run, recorded now and then.
    void time(qint64 elapsedMs);
    // The results are safe elsewhere: the journal goes.
    void remove();
    // Stops recording and leaves the journal on disk.
    void close();

    // The journal being kept, or the last one left on disk; empty when there is none.
    const QString& path() const { return path_; }
    // True while the journal on disk holds everything recorded since its start.
    bool complete() const { return file_.isOpen() && complete_; }
    // Rewrite the journal once it holds this many records more than twice the marks standing.
    void setCompactAfter(qint64 records) { compactAfter_ = records; }

private:
    void record(char type, const QByteArray& contents);
    bool append(const QByteArray& bytes);
    bool rewrite();

    FileDescriptor file_;
    QString path_;
    JournalHeader header_;
    JournalMarks marks_;
    qint64 elapsedMs_ = 0;
    qint64 size_ = 0;    // bytes known whole on disk
    qint64 records_ = 0; // records in the file
    qint64 compactAfter_ = 4096;
    bool complete_ = false;
    SafeFile files_;
};

} // namespace kp
