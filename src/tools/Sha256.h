#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace kp::tools {

// The SHA-256 of bytes as 64 lowercase hexadecimal digits. OpenSSL's libcrypto does the work,
// with the processor's SHA instructions where it has them.
QByteArray sha256Hex(QByteArrayView bytes);

} // namespace kp::tools
