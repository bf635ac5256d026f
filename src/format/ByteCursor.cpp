#include "format/ByteCursor.h"

#include "format/Cp1252.h"
#include "model/KpError.h"
#include "model/Rounding.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace kp {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

qint64 rounded(double v, qint64 low, qint64 high, const char* what) {
    if (const auto r = roundedWithin(v, low, high))
        return *r;
    throw KpError(KpError::Overflow, QStringLiteral("valor fuera de rango en %1: %2")
                                         .arg(QString::fromLatin1(what))
                                         .arg(v, 0, 'f', 0));
}

} // namespace

double ByteCursor::leadingNumber(const QByteArray& field) {
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

bool ByteCursor::wholeNumber(const QByteArray& field, double& value) {
    const QByteArray t = field.trimmed();
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
    value = leadingNumber(t.mid(digitsFrom));
    if (negative)
        value = -value;
    return true;
}

bool ByteCursor::paddedNumber(const QByteArray& field, double& value) {
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
    value = leadingNumber(field.mid(digitsFrom));
    if (negative)
        value = -value;
    return true;
}

QByteArray ByteCursor::take(qsizetype n, const char* what) {
    if (n < 0 || n > remaining())
        throw KpError(KpError::PastEnd, QStringLiteral("el archivo termina antes de %1 "
                                                       "(posición %2, faltan %3 bytes)")
                                            .arg(QString::fromLatin1(what))
                                            .arg(pos_ + 1)
                                            .arg(static_cast<qint64>(n) - remaining()));
    QByteArray out = bytes_.mid(pos_, n);
    pos_ += n;
    return out;
}

double ByteCursor::number(Number rule) {
    const qsizetype at = pos_;
    const QByteArray field = take(kFieldWidth, "un campo numérico");
    if (rule == Number::Leading)
        return leadingNumber(field);
    double value = 0;
    if (!(rule == Number::Whole ? wholeNumber(field, value) : paddedNumber(field, value)))
        throw KpError(KpError::TypeMismatch, QStringLiteral("el campo de la posición %1 no es un "
                                                            "número")
                                                 .arg(at + 1));
    return value;
}

qint16 ByteCursor::int16(Number rule) {
    return static_cast<qint16>(rounded(number(rule), -32768, 32767, "un campo de 16 bits"));
}

qint32 ByteCursor::int32(Number rule) {
    return static_cast<qint32>(
        rounded(number(rule), -2147483647LL - 1, 2147483647LL, "un campo de 32 bits"));
}

bool ByteCursor::flag() {
    return number(Number::Leading) == 1.0;
}

qint64 ByteCursor::length(Number rule, const char* what) {
    const qint64 n = rounded(number(rule), 0, 9999999999LL, what);
    if (n > remaining())
        throw KpError(KpError::PastEnd, QStringLiteral("%1 de %2 bytes en la posición %3 pasa "
                                                       "del final del archivo")
                                            .arg(QString::fromLatin1(what))
                                            .arg(n)
                                            .arg(pos_ - kFieldWidth + 1));
    return n;
}

QString ByteCursor::text(Number lengthRule) {
    const qint64 n = length(lengthRule, "un texto");
    return Cp1252::decode(take(static_cast<qsizetype>(n), "un texto"));
}

QByteArray ByteCursor::blob() {
    const qint64 n = length(Number::Whole, "una imagen");
    return take(static_cast<qsizetype>(n), "una imagen");
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
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw KpError(KpError::FileNotFound, QStringLiteral("no existe el archivo ") + path);
    if (!file.open(QIODevice::ReadOnly))
        throw KpError(KpError::FileAccess,
                      QStringLiteral("no se puede abrir %1: %2").arg(path, file.errorString()));
    if (file.size() > maxSize)
        throw KpError(KpError::BadValue,
                      QStringLiteral("%1 pasa de %2 bytes").arg(path).arg(maxSize));
    // Read the size the file reports straight into place, then go on in chunks: a file that
    // grows while we read, or one that reports no size, still cannot take us past maxSize.
    QByteArray bytes(static_cast<qsizetype>(file.size()), Qt::Uninitialized);
    qint64 total = 0;
    while (total < bytes.size()) {
        const qint64 got = file.read(bytes.data() + total, bytes.size() - total);
        if (got < 0)
            throw KpError(KpError::FileAccess,
                          QStringLiteral("error al leer %1: %2").arg(path, file.errorString()));
        if (got == 0)
            break;
        total += got;
    }
    bytes.truncate(static_cast<qsizetype>(total));
    constexpr qint64 kChunk = 1 << 16;
    char chunk[kChunk];
    for (;;) {
        const qint64 got = file.read(chunk, kChunk);
        if (got < 0)
            throw KpError(KpError::FileAccess,
                          QStringLiteral("error al leer %1: %2").arg(path, file.errorString()));
        if (got == 0)
            break;
        if (bytes.size() + got > maxSize)
            throw KpError(KpError::BadValue,
                          QStringLiteral("%1 pasa de %2 bytes").arg(path).arg(maxSize));
        bytes.append(chunk, static_cast<qsizetype>(got));
    }
    return bytes;
}

} // namespace kp
