#include "format/Cp1252.h"

#include <array>

namespace kp::Cp1252 {
namespace {

// 0x80..0x9F; the undefined bytes keep their own value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int byteFor(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[static_cast<size_t>(i)] == c)
            return 0x80 + i;
    return -1;
}

} // namespace

QString decode(QByteArrayView bytes) {
    // One table lookup per byte, straight into the string's own storage.
    static constexpr auto kTable = [] {
        std::array<char16_t, 256> table{};
        for (int b = 0; b < 256; ++b)
            table[static_cast<size_t>(b)] = b >= 0x80 && b < 0xA0
                                                ? kHigh[static_cast<size_t>(b - 0x80)]
                                                : static_cast<char16_t>(b);
        return table;
    }();
    if (bytes.isEmpty())
        return QString();
    QString out(bytes.size(), Qt::Uninitialized);
    auto* d = reinterpret_cast<char16_t*>(out.data());
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = kTable[s[i]];
    return out;
}

QByteArray encode(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const int b = byteFor(c.unicode());
        out.append(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

bool canEncode(const QString& text) {
    for (const QChar c : text)
        if (byteFor(c.unicode()) < 0)
            return false;
    return true;
}

} // namespace kp::Cp1252
