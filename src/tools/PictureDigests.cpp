#include "tools/PictureDigests.h"

#include "format/FileWindow.h"
#include "model/KipsaPrubex.h"
#include "model/KpError.h"
#include "tools/Sha256.h"

#include <algorithm>

namespace kp::tools {

PictureDigests::PictureDigests(const QString& path, std::vector<ByteCursor::Span> pictures)
    : path_(path), pictures_(std::move(pictures)), digests_(pictures_.size()),
      errors_(pictures_.size()), ready_(pictures_.size(), 0) {
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t count = std::min({cores, pictures_.size(), size_t{4}});
    for (size_t i = 0; i < count; ++i)
        threads_.emplace_back([this] { work(); });
}

PictureDigests::~PictureDigests() {
    stop_ = true;
    for (std::thread& t : threads_)
        t.join();
}

void PictureDigests::work() {
    std::unique_ptr<FileWindow> file;
    // Pictures are taken in order, so the one the writer waits for is always among the first.
    for (size_t i = next_++; i < pictures_.size() && !stop_; i = next_++) {
        QByteArray digest;
        KpError failure(0, QString());
        KpError::catchAll(
            [&] {
                if (!file)
                    file = std::make_unique<FileWindow>(path_, KipsaPrubex::kMaxFileSize);
                digest = sha256Hex(*file, pictures_[i].offset, pictures_[i].size, stop_);
            },
            &failure);
        const std::lock_guard lock(mutex_);
        digests_[i] = digest;
        errors_[i] = digest.isEmpty() ? failure.message() : QString();
        ready_[i] = 1;
        readyChanged_.notify_all();
    }
}

QByteArray PictureDigests::hex(size_t i) {
    std::unique_lock lock(mutex_);
    readyChanged_.wait(lock, [&] { return ready_[i] != 0; });
    if (digests_[i].isEmpty())
        throw KpError(KpError::FileAccess, errors_[i]);
    return digests_[i];
}

} // namespace kp::tools
