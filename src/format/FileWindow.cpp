#include "format/FileWindow.h"

#include "format/SystemError.h"
#include "model/KpError.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kp {

namespace {

// Read ahead by this much when walking a file.
constexpr qsizetype kReadAhead = 256 * 1024;

QString systemError() {
    return systemErrorText(errno);
}

[[noreturn]] void tooLarge(const QString& path, qint64 maxSize) {
    throw KpError(KpError::BadValue, QStringLiteral("%1 pasa de %2 bytes").arg(path).arg(maxSize));
}

// Asks for transparent huge pages under a large buffer about to be filled: far fewer page
// faults where each one is dear (in virtual machines above all). A hint only.
void preferHugePages(char* data, qsizetype size) {
    constexpr std::uintptr_t kHuge = 2 * 1024 * 1024;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kHuge - 1) & ~(kHuge - 1);
    const auto end =
        (reinterpret_cast<std::uintptr_t>(data) + static_cast<std::uintptr_t>(size)) & ~(kHuge - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

} // namespace

FileWindow::FileWindow(const QString& path, qint64 maxSize) : path_(path), maxSize_(maxSize) {
    // Not blocking: a named pipe must be refused below, not waited on.
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw KpError(KpError::FileNotFound, QStringLiteral("no existe el archivo ") + path);
        throw KpError(KpError::FileAccess,
                      QStringLiteral("no se puede abrir %1: %2").arg(path, systemError()));
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        const QString why = systemError();
        ::close(fd_);
        throw KpError(KpError::FileAccess,
                      QStringLiteral("no se puede leer %1: %2").arg(path, why));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd_);
        throw KpError(KpError::FileAccess, QStringLiteral("%1 no es un archivo normal: es %2")
                                               .arg(path, fileKindText(info.st_mode)));
    }
    size_ = info.st_size;
    if (size_ > maxSize) {
        ::close(fd_);
        tooLarge(path, maxSize);
    }
}

FileWindow::~FileWindow() {
    ::close(fd_);
}

qsizetype FileWindow::readOnce(qint64 offset, char* dest, qsizetype n) {
    for (;;) {
        const ssize_t got = ::pread(fd_, dest, static_cast<size_t>(n), static_cast<off_t>(offset));
        if (got >= 0)
            return got;
        if (errno != EINTR)
            throw KpError(KpError::FileAccess,
                          QStringLiteral("error al leer %1: %2").arg(path_, systemError()));
    }
}

qsizetype FileWindow::readAt(qint64 offset, char* dest, qsizetype n) {
    qsizetype total = 0;
    while (total < n) {
        const qsizetype got = readOnce(offset + total, dest + total, n - total);
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

QByteArray FileWindow::readAll() {
    // One byte more than the file held when opened: getting exactly its size means its end.
    QByteArray bytes(static_cast<qsizetype>(size_ + 1), Qt::Uninitialized);
    if (size_ >= 4 * 1024 * 1024)
        preferHugePages(bytes.data(), bytes.size());
    qsizetype total = 0;
    for (;;) {
        const qsizetype got = readOnce(total, bytes.data() + total, size_ + 1 - total);
        if (got == 0)
            break; // the end, before the size it had when it shrank
        total += got;
        if (total >= size_)
            break; // its size, or one byte more when it grew
    }
    bytes.truncate(total);
    if (total <= size_)
        return bytes;
    // It grew while we read it: read on in chunks, still never past maxSize.
    for (;;) {
        char chunk[64 * 1024];
        const qsizetype got = readAt(total, chunk, sizeof chunk);
        if (got == 0)
            return bytes;
        if (total + got > maxSize_)
            tooLarge(path_, maxSize_);
        bytes.append(chunk, got);
        total += got;
    }
}

QByteArrayView FileWindow::bytes(qint64 from, qsizetype n) {
    const qint64 windowEnd = windowStart_ + window_.size();
    if (from >= windowStart_ && from + n <= windowEnd)
        return QByteArrayView(window_.constData() + (from - windowStart_), n);
    // Keep what the window already holds from `from` on, then read ahead.
    qsizetype kept = 0;
    if (from >= windowStart_ && from < windowEnd) {
        kept = static_cast<qsizetype>(windowEnd - from);
        std::memmove(window_.data(), window_.constData() + (from - windowStart_),
                     static_cast<size_t>(kept));
    }
    const qsizetype capacity = std::max(n, kReadAhead);
    window_.resize(capacity);
    const qsizetype got = readAt(from + kept, window_.data() + kept, capacity - kept);
    window_.truncate(kept + got);
    windowStart_ = from;
    if (window_.size() < n)
        endsBefore(from, n);
    return QByteArrayView(window_.constData(), n);
}

QByteArray FileWindow::copy(qint64 from, qsizetype n) {
    QByteArray out(n, Qt::Uninitialized);
    qsizetype done = 0;
    const qint64 windowEnd = windowStart_ + window_.size();
    if (from >= windowStart_ && from < windowEnd) {
        done = static_cast<qsizetype>(std::min<qint64>(n, windowEnd - from));
        std::memcpy(out.data(), window_.constData() + (from - windowStart_),
                    static_cast<size_t>(done));
    }
    if (done + readAt(from + done, out.data() + done, n - done) < n)
        endsBefore(from, n);
    return out;
}

void FileWindow::endsBefore(qint64 at, qsizetype n) const {
    throw KpError(KpError::PastEnd, QStringLiteral("%1 terminó antes de lo esperado (posición %2, "
                                                   "%3 bytes): cambió mientras se leía")
                                        .arg(path_)
                                        .arg(at + 1)
                                        .arg(n));
}

} // namespace kp
