#pragma once

#include "format/ByteCursor.h"
#include "tools/OrderedWork.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace kp::tools {

// The SHA-256 of an exam file's pictures, hashed on a thread per core from where an earlier
// walk of the file found them, in their order, while the caller writes out the rest. Each
// picture is read through a window of its own: at most 1 MiB of it is held at a time.
class PictureDigests {
public:
    PictureDigests(const QString& path, std::vector<ByteCursor::Span> pictures);

    const std::vector<ByteCursor::Span>& pictures() const { return pictures_; }
    // The digest of picture i (taken in order), as 64 hexadecimal digits. Raises the KpError
    // that reading the picture raised.
    QByteArray hex(size_t i);

private:
    struct Digest {
        QByteArray hex;
        QString error;
    };
    Digest make(size_t i) const;

    const QString path_;
    const std::vector<ByteCursor::Span> pictures_;
    OrderedWork<Digest> work_;
};

} // namespace kp::tools
