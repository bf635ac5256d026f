#include "tools/Sha256.h"

#include "format/FileWindow.h"
#include "model/KpError.h"

#include <algorithm>
#include <memory>
#include <openssl/evp.h>

namespace kp::tools {

namespace {

[[noreturn]] void failed() {
    throw KpError(KpError::Unknown, QStringLiteral("no se puede calcular el SHA-256"));
}

const EVP_MD* algorithm() {
    // Fetched once: looking the algorithm up on every call costs more than hashing a small
    // picture.
    static EVP_MD* const sha256 = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    if (!sha256)
        failed();
    return sha256;
}

QByteArray hex(const unsigned char* digest, unsigned int length) {
    return QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(length))
        .toHex();
}

QByteArray digestHex(QByteArrayView bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), static_cast<size_t>(bytes.size()), digest, &length, algorithm(),
                   nullptr) != 1)
        failed();
    return hex(digest, length);
}

} // namespace

QByteArray sha256Hex(QByteArrayView bytes) {
    // Most questions have no picture.
    static const QByteArray empty = digestHex({});
    return bytes.isEmpty() ? empty : digestHex(bytes);
}

QByteArray sha256Hex(FileWindow& file, qint64 offset, qint64 size, const std::atomic<bool>& stop) {
    const std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> context(EVP_MD_CTX_new(),
                                                                     EVP_MD_CTX_free);
    if (!context || EVP_DigestInit_ex(context.get(), algorithm(), nullptr) != 1)
        failed();
    constexpr qint64 kPiece = 1 << 20;
    for (qint64 done = 0; done < size && !stop; done += kPiece) {
        const QByteArrayView piece =
            file.bytes(offset + done, static_cast<qsizetype>(std::min(kPiece, size - done)));
        if (EVP_DigestUpdate(context.get(), piece.data(), static_cast<size_t>(piece.size())) != 1)
            failed();
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1)
        failed();
    return hex(digest, length);
}

} // namespace kp::tools
