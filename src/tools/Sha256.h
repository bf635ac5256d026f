#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <atomic>

namespace kp {
class FileWindow;
}

namespace kp::tools {

// The SHA-256 of bytes as 64 lowercase hexadecimal digits. OpenSSL's libcrypto does the work,
// with the processor's SHA instructions where it has them.
QByteArray sha256Hex(QByteArrayView bytes);
// The same of size bytes of a file from offset, read in pieces of 1 MiB. stop, when it turns
// true, ends the work early (the result is then meaningless).
QByteArray sha256Hex(FileWindow& file, qint64 offset, qint64 size, const std::atomic<bool>& stop);

} // namespace kp::tools
