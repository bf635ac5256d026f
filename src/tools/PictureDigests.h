#pragma once

#include "format/ByteCursor.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace kp::tools {

// The SHA-256 of an exam file's pictures, hashed on a thread per core from where an earlier
// walk of the file found them, in their order, while the caller writes out the rest. Each
// thread reads through a window of its own: at most 1 MiB of a picture is held at a time.
class PictureDigests {
public:
    PictureDigests(const QString& path, std::vector<ByteCursor::Span> pictures);
    // Stops the threads (after the piece each is hashing) and waits for them.
    ~PictureDigests();
    PictureDigests(const PictureDigests&) = delete;
    PictureDigests& operator=(const PictureDigests&) = delete;

    const std::vector<ByteCursor::Span>& pictures() const { return pictures_; }
    // The digest of picture i, as 64 hexadecimal digits, once it is ready. Raises the KpError
    // that reading the picture raised.
    QByteArray hex(size_t i);

private:
    void work();

    const QString path_;
    const std::vector<ByteCursor::Span> pictures_;
    std::vector<QByteArray> digests_;
    std::vector<QString> errors_;
    std::vector<char> ready_;
    std::atomic<size_t> next_{0};
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable readyChanged_;
    std::vector<std::thread> threads_;
};

} // namespace kp::tools
