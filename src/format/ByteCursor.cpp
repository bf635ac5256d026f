#include "format/ByteCursor.h"

#include "format/Cp1252.h"
#include "format/FileWindow.h"
#include "model/KpError.h"
#include "model/Rounding.h"

#include <cstring>

namespace kp {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

qint64 rounded(double v, qint64 low, qint64 high, const char* what) {
    if (const auto r = roundedWithin(v, low, high))
        return *r;
    throw KpError(KpError::Overflow, QStringLiteral("valor fuera de rango en %1: %2")
                                         .arg(QString::fromUtf8(what))
                                         .arg(v, 0, 'f', 0));
}

// Eight ASCII digits, first the most significant: true and their value, or false. Eight bytes
// at a time: each must lie in '0'..'9', then pairs, fours and eights are combined.
bool eightDigits(const char* p, quint64& value) {
    quint64 x;
    std::memcpy(&x, p, 8);
    if ((((x & 0xF0F0F0F0F0F0F0F0ULL) |
          (((x + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL) >> 4)) != 0x3333333333333333ULL))
        return false;
    x -= 0x3030303030303030ULL;
    x = (x * 10 + (x >> 8)) & 0x00FF00FF00FF00FFULL;
    x = (x * 100 + (x >> 16)) & 0x0000FFFF0000FFFFULL;
    x = (x * 10000 + (x >> 32)) & 0x00000000FFFFFFFFULL;
    value = x;
    return true;
}

// A 10-character field of digits only.
bool tenDigits(const char* p, qint64& value) {
    quint64 high = 0;
    if (!eightDigits(p, high) || !isDigit(p[8]) || !isDigit(p[9]))
        return false;
    value = static_cast<qint64>(high * 100 + static_cast<quint64>(p[8] - '0') * 10 +
                                static_cast<quint64>(p[9] - '0'));
    return true;
}

} // namespace

ByteCursor::ByteCursor(FileWindow& file, bool keepBlobs)
    : size_(file.size()), pos_(0), file_(&file), keepBlobs_(keepBlobs) {}

double ByteCursor::leadingNumber(QByteArrayView field) {
    double value = 0;
    qsizetype i = 0;
    for (; i < field.size() && isDigit(field[i]); ++i)
        value = value * 10 + (field[i] - '0');
    if (i > 0 && i < field.size() && field[i] == '.') {
        double scale = 0.1;
        for (++i; i < field.size() && isDigit(field[i]); ++i, scale /= 10)
            value += (field[i] - '0') * scale;
    }
    return value;
}

bool ByteCursor::wholeNumber(QByteArrayView field, double& value) {
    const QByteArrayView t = field.trimmed();
    qsizetype i = 0;
    const bool negative = i < t.size() && t[i] == '-';
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        ++i;
    const qsizetype digitsFrom = i;
    while (i < t.size() && isDigit(t[i]))
        ++i;
    if (i == digitsFrom)
        return false;
    if (i < t.size() && t[i] == '.')
        for (++i; i < t.size() && isDigit(t[i]);)
            ++i;
    if (i != t.size())
        return false;
    value = leadingNumber(t.sliced(digitsFrom));
    if (negative)
        value = -value;
    return true;
}

bool ByteCursor::paddedNumber(QByteArrayView field, double& value) {
    qsizetype i = 0;
    while (i < field.size() - 1 && field[i] == '0')
        ++i;
    const bool negative = i < field.size() && field[i] == '-';
    if (negative)
        ++i;
    const qsizetype digitsFrom = i;
    while (i < field.size() && isDigit(field[i]))
        ++i;
    if (i == digitsFrom || i != field.size())
        return false;
    value = leadingNumber(field.sliced(digitsFrom));
    if (negative)
        value = -value;
    return true;
}

void ByteCursor::endsBefore(qsizetype n, const char* what) const {
    throw KpError(KpError::PastEnd, QStringLiteral("el archivo termina antes de %1 "
                                                   "(posición %2, faltan %3 bytes)")
                                        .arg(QString::fromUtf8(what))
                                        .arg(pos_ + 1)
                                        .arg(static_cast<qint64>(n) - remaining()));
}

QByteArrayView ByteCursor::take(qsizetype n, const char* what) {
    require(n, what);
    const QByteArrayView out = file_ ? file_->bytes(pos_, n) : QByteArrayView(data_ + pos_, n);
    pos_ += n;
    return out;
}

double ByteCursor::number(Number rule) {
    const qsizetype at = pos_;
    return valueOf(take(kFieldWidth, "un campo numérico"), rule, at);
}

double ByteCursor::valueOf(QByteArrayView field, Number rule, qsizetype at) {
    if (rule == Number::Leading)
        return leadingNumber(field);
    double value = 0;
    if (!(rule == Number::Whole ? wholeNumber(field, value) : paddedNumber(field, value)))
        throw KpError(KpError::TypeMismatch, QStringLiteral("el campo de la posición %1 no es un "
                                                            "número")
                                                 .arg(at + 1));
    return value;
}

qint64 ByteCursor::integer(Number rule, qint64 low, qint64 high, const char* what) {
    const qsizetype at = pos_;
    const QByteArrayView field = take(kFieldWidth, "un campo numérico");
    // Ten digits, as the writers write every field, read the same under every rule: as a whole
    // number, without going through a double.
    qint64 value = 0;
    if (tenDigits(field.data(), value) && value >= low && value <= high)
        return value;
    return rounded(valueOf(field, rule, at), low, high, what);
}

qint16 ByteCursor::int16(Number rule) {
    return static_cast<qint16>(integer(rule, -32768, 32767, "un campo de 16 bits"));
}

qint32 ByteCursor::int32(Number rule) {
    return static_cast<qint32>(
        integer(rule, -2147483647LL - 1, 2147483647LL, "un campo de 32 bits"));
}

bool ByteCursor::flag() {
    const qsizetype at = pos_;
    const QByteArrayView field = take(kFieldWidth, "un campo numérico");
    return field == "0000000001" || valueOf(field, Number::Leading, at) == 1.0;
}

qint64 ByteCursor::length(Number rule, const char* what) {
    const qint64 n = integer(rule, 0, 9999999999LL, what);
    if (n > remaining())
        throw KpError(KpError::PastEnd, QStringLiteral("%1 de %2 bytes en la posición %3 pasa "
                                                       "del final del archivo")
                                            .arg(QString::fromUtf8(what))
                                            .arg(n)
                                            .arg(pos_ - kFieldWidth + 1));
    return n;
}

QString ByteCursor::text(Number lengthRule) {
    return Cp1252::decode(rawText(lengthRule));
}

QByteArrayView ByteCursor::rawText(Number lengthRule) {
    const qint64 n = length(lengthRule, "un texto");
    return take(static_cast<qsizetype>(n), "un texto");
}

QByteArray ByteCursor::blob() {
    const auto n = static_cast<qsizetype>(length(Number::Whole, "una imagen"));
    if (file_) {
        require(n, "una imagen");
        if (!keepBlobs_)
            skipped_.push_back({pos_, n});
        QByteArray bytes = keepBlobs_ ? file_->copy(pos_, n) : QByteArray();
        pos_ += n;
        return bytes;
    }
    return share(take(n, "una imagen"));
}

QByteArray ByteCursor::encodedText(Number lengthRule) {
    const QByteArrayView bytes = rawText(lengthRule);
    return file_ ? bytes.toByteArray() : share(bytes);
}

QByteArray ByteCursor::share(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return QByteArray();
    // A second reference to the buffer's block, narrowed to the bytes. Bytes that no block
    // owns (QByteArray::fromRawData) are copied instead, since nothing would keep them alive.
    QByteArray::DataPointer shared = bytes_.data_ptr();
    if (!shared.d_ptr())
        return bytes.toByteArray();
    shared.setBegin(const_cast<char*>(bytes.data()));
    shared.size = bytes.size();
    return QByteArray(std::move(shared));
}

void ByteCursor::requireRoomFor(qint64 count, qint64 itemSize, const char* what) const {
    if (count < 0 || count * itemSize > remaining())
        throw KpError(KpError::PastEnd, QStringLiteral("%1 %2 no caben en los %3 bytes que "
                                                       "quedan")
                                            .arg(count)
                                            .arg(QString::fromUtf8(what))
                                            .arg(remaining()));
}

QByteArray ByteCursor::readFile(const QString& path, qint64 maxSize) {
    return FileWindow(path, maxSize).readAll();
}

} // namespace kp
