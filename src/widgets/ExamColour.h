#pragma once

#include <QColor>
#include <QPalette>

namespace kp {

// An exam colour as stored: red in the low byte, then green, then blue. Values with the high bit
// set name a system colour by its index; the common ones map to the palette.
inline QColor examColour(qint32 value, const QPalette& palette = QPalette()) {
    const quint32 v = static_cast<quint32>(value);
    if (v & 0x80000000u) {
        switch (v & 0xFFu) {
        case 5: // window background
            return palette.color(QPalette::Base);
        case 8: // window text
            return palette.color(QPalette::WindowText);
        case 15: // button face
            return palette.color(QPalette::Button);
        default:
            return palette.color(QPalette::Window);
        }
    }
    return QColor(static_cast<int>(v & 0xFFu), static_cast<int>((v >> 8) & 0xFFu),
                  static_cast<int>((v >> 16) & 0xFFu));
}

} // namespace kp
