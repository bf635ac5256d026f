#pragma once

#include <QByteArray>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace kp {

// An open file descriptor of the system, closed when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
    // Closes now and says whether the system took it without error: some file systems (network
    // shares) report a failed write only here.
    bool close() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

// A path split into its folder and its last component, as the system's *at calls take them.
struct PathParts {
    QByteArray folder; // "." for a bare name
    QByteArray name;   // empty when the path ends in "/"
};

inline PathParts splitPath(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return {QByteArrayLiteral("."), path};
    return {slash == 0 ? QByteArrayLiteral("/") : path.left(slash), path.mid(slash + 1)};
}

// Puts a folder's changed entries (a new or renamed file) on disk.
inline void syncFolder(const char* folder) {
    const FileDescriptor fd(::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.isOpen())
        ::fsync(fd.get());
}

} // namespace kp
