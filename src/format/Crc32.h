#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace kp {

// The CRC-32 of zlib and PNG (polynomial 0xEDB88320), for telling a whole record from a torn one.
quint32 crc32(QByteArrayView bytes);

} // namespace kp
