#include "tools/Sha256.h"

#include "model/KpError.h"

#include <openssl/evp.h>

namespace kp::tools {

namespace {

QByteArray digestHex(QByteArrayView bytes) {
    // Fetched once: looking the algorithm up on every call costs more than hashing a small
    // picture.
    static EVP_MD* const sha256 = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!sha256 || EVP_Digest(bytes.data(), static_cast<size_t>(bytes.size()), digest, &length,
                              sha256, nullptr) != 1)
        throw KpError(KpError::Unknown, QStringLiteral("no se puede calcular el SHA-256"));
    return QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(length))
        .toHex();
}

} // namespace

QByteArray sha256Hex(QByteArrayView bytes) {
    // Most questions have no picture.
    static const QByteArray empty = digestHex({});
    return bytes.isEmpty() ? empty : digestHex(bytes);
}

} // namespace kp::tools
