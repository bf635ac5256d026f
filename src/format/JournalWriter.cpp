#include "format/JournalWriter.h"

#include "format/JournalRecords.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

// Every byte at offset, whatever the system takes per call.
bool writeAt(int fd, const QByteArray& bytes, qint64 offset) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done,
                                   static_cast<size_t>(bytes.size() - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QByteArray beginning(const JournalHeader& header) {
    return QByteArray(journal::kMagic, journal::kMagicSize) +
           journal::record(journal::Start, journal::startContents(header));
}

} // namespace

bool JournalWriter::start(const QString& folder, const QString& stem, const JournalHeader& header) {
    close();
    path_.clear();
    header_ = header;
    marks_ = JournalMarks();
    elapsedMs_ = 0;
    complete_ = false;
    if (!QDir().mkpath(folder))
        return false;
    const QByteArray bytes = beginning(header);
    for (int n = 1; n < 1000; ++n) {
        const QString path =
            QDir(folder).filePath(n == 1 ? stem + u".kxr"_s : u"%1_%2.kxr"_s.arg(stem).arg(n));
        const QByteArray native = QFile::encodeName(path);
        FileDescriptor fd(
            ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!fd.isOpen() && errno == EEXIST)
            continue;
        if (!fd.isOpen())
            return false;
        if (!writeAt(fd.get(), bytes, 0) || ::fdatasync(fd.get()) != 0) {
            ::unlink(native.constData());
            return false;
        }
        syncFolder(QFile::encodeName(QDir(folder).absolutePath()).constData());
        file_ = std::move(fd);
        path_ = path;
        size_ = bytes.size();
        records_ = 1;
        complete_ = true;
        return true;
    }
    return false;
}

void JournalWriter::mark(qint16 question, qint16 answer, qint64 elapsedMs) {
    elapsedMs_ = std::max(elapsedMs_, elapsedMs);
    if (marks_.mark(question, answer))
        record(journal::Mark, journal::markContents(elapsedMs, question, answer));
}

void JournalWriter::unmark(qint16 question, qint16 answer, qint64 elapsedMs) {
    elapsedMs_ = std::max(elapsedMs_, elapsedMs);
    if (marks_.unmark(question, answer))
        record(journal::Unmark, journal::markContents(elapsedMs, question, answer));
}

void JournalWriter::time(qint64 elapsedMs) {
    elapsedMs_ = std::max(elapsedMs_, elapsedMs);
    record(journal::Time, journal::timeContents(elapsedMs));
}

void JournalWriter::remove() {
    file_.close();
    if (!path_.isEmpty())
        QFile::remove(path_);
    path_.clear();
    complete_ = false;
}

void JournalWriter::close() {
    file_.close();
}

void JournalWriter::record(char type, const QByteArray& contents) {
    if (!file_.isOpen())
        return;
    const bool long_ = records_ >= compactAfter_ + 2 * marks_.size();
    if (complete_ && !long_ && append(journal::record(type, contents)))
        return;
    complete_ = rewrite();
}

bool JournalWriter::append(const QByteArray& bytes) {
    if (!writeAt(file_.get(), bytes, size_) || ::fdatasync(file_.get()) != 0) {
        // A torn record must not stand in front of the ones that follow.
        static_cast<void>(::ftruncate(file_.get(), size_));
        return false;
    }
    size_ += bytes.size();
    ++records_;
    return true;
}

bool JournalWriter::rewrite() {
    QByteArray bytes = beginning(header_);
    const auto standing = marks_.inOrder();
    for (const auto& [question, answer] : standing)
        bytes +=
            journal::record(journal::Mark, journal::markContents(elapsedMs_, question, answer));
    bytes += journal::record(journal::Time, journal::timeContents(elapsedMs_));
    if (!files_.replace(path_, bytes))
        return false;
    file_ = FileDescriptor(
        ::open(QFile::encodeName(path_).constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
    size_ = bytes.size();
    records_ = 2 + static_cast<qint64>(standing.size());
    return file_.isOpen();
}

} // namespace kp
