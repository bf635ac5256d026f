#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kp {

// A regular file opened for reading, read either whole (readAll) or as it is walked, holding
// only a window of it (bytes, copy). Opening refuses what is not a regular file (without
// waiting on a named pipe) and a file larger than maxSize. Failures raise KpError
// (FileNotFound, FileAccess, BadValue, PastEnd).
class FileWindow {
public:
    FileWindow(const QString& path, qint64 maxSize);
    ~FileWindow();
    FileWindow(const FileWindow&) = delete;
    FileWindow& operator=(const FileWindow&) = delete;

    // The size the file had when it was opened.
    qint64 size() const { return size_; }

    // The whole content: normally one read. A file that grew since it was opened is read on,
    // still never past maxSize; one that shrank gives what it holds.
    QByteArray readAll();

    // Bytes [from, from + n) of the file, contiguous; valid until the next call. The window
    // grows to the largest n asked for. Raises PastEnd when the file ends before them.
    QByteArrayView bytes(qint64 from, qsizetype n);
    // The same bytes in an array of their own.
    QByteArray copy(qint64 from, qsizetype n);

private:
    // One read of up to n bytes at offset into dest, retried when a signal cuts it; 0 at the end.
    qsizetype readOnce(qint64 offset, char* dest, qsizetype n);
    // Reads up to n bytes at offset into dest; fewer only at the end of the file.
    qsizetype readAt(qint64 offset, char* dest, qsizetype n);
    [[noreturn]] void endsBefore(qint64 at, qsizetype n) const;

    QString path_;
    qint64 maxSize_;
    int fd_ = -1;
    qint64 size_ = 0;
    QByteArray window_;
    qint64 windowStart_ = 0; // file offset of window_'s first byte
};

} // namespace kp
