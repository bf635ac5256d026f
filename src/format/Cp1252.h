#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kp {

// Texts in exam and results files are one byte per character in Windows-1252. The five bytes
// that code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control
// characters of the same value, so every byte sequence round-trips.
namespace Cp1252 {

QString decode(QByteArrayView bytes);
// Characters the code page cannot hold become '?', as Windows' own conversion does.
QByteArray encode(const QString& text);
// True when every character of text has a byte of its own in the code page.
bool canEncode(const QString& text);

} // namespace Cp1252
} // namespace kp
