#include "tools/PictureDigests.h"

#include "format/FileWindow.h"
#include "model/KipsaPrubex.h"
#include "model/KpError.h"
#include "tools/Sha256.h"

namespace kp::tools {

PictureDigests::PictureDigests(const QString& path, std::vector<ByteCursor::Span> pictures)
    : path_(path), pictures_(std::move(pictures)),
      work_(pictures_.size(), pictures_.size(), [this](size_t i) { return make(i); }) {}

PictureDigests::Digest PictureDigests::make(size_t i) const {
    Digest digest;
    KpError failure(0, QString());
    KpError::catchAll(
        [&] {
            FileWindow file(path_, KipsaPrubex::kMaxFileSize);
            digest.hex = sha256Hex(file, pictures_[i].offset, pictures_[i].size, work_.stopping());
        },
        &failure);
    if (digest.hex.isEmpty())
        digest.error = failure.message();
    return digest;
}

QByteArray PictureDigests::hex(size_t i) {
    Digest digest = work_.take(i);
    if (digest.hex.isEmpty())
        throw KpError(KpError::FileAccess, digest.error);
    return digest.hex;
}

} // namespace kp::tools
