#include "format/FieldWriter.h"

#include "format/Cp1252.h"
#include "model/Fields.h"
#include "model/KpError.h"

#include <QIODevice>
#include <cmath>

namespace kp {

QString RellenaCeros(qint32 n) {
    const QString digits = QString::number(n);
    return digits.size() >= 10 ? digits : QString(10 - digits.size(), u'0') + digits;
}

void FieldWriter::checkDecimal(qint64 value, const QString& what) {
    if (value < 0 || value > kMaxDecimal)
        throw KpError(KpError::BadValue,
                      QStringLiteral("%1: %2 no cabe en un campo decimal").arg(what).arg(value));
}

void FieldWriter::checkText(const QString& value, const QString& what) {
    if (!Cp1252::canEncode(value))
        throw KpError(
            KpError::BadValue,
            QStringLiteral("%1: hay caracteres que Windows-1252 no puede guardar").arg(what));
}

qint64 FieldWriter::thousandths(float value, const QString& what) {
    const double scaled = std::nearbyint(static_cast<double>(value) * 1000.0);
    if (!(scaled >= 0 && scaled <= 2147483647.0))
        throw KpError(
            KpError::BadValue,
            QStringLiteral("%1: %2 no cabe en un campo de milésimas").arg(what).arg(value));
    return static_cast<qint64>(scaled);
}

void FieldWriter::raw(const QByteArray& bytes) {
    if (device_ && device_->write(bytes) != bytes.size())
        throw KpError(KpError::FileAccess,
                      QStringLiteral("error al escribir: ") + device_->errorString());
}

void FieldWriter::decimal(qint64 value) {
    checkDecimal(value, QStringLiteral("campo"));
    const QByteArray digits = QByteArray::number(value);
    raw(QByteArray(10 - digits.size(), '0') + digits);
}

void FieldWriter::padded(qint32 value) {
    raw(RellenaCeros(value).toLatin1());
}

void FieldWriter::text(const QString& value, bool untrimmed) {
    const QString stored = untrimmed ? value : TrimBlanks(value);
    if (unencodable_ == Unencodable::Refuse)
        checkText(stored, QStringLiteral("texto"));
    bytes(Cp1252::encode(stored));
}

void FieldWriter::bytes(const QByteArray& encoded) {
    decimal(encoded.size());
    raw(encoded);
}

void FieldWriter::blob(const QByteArray& bytes) {
    decimal(bytes.size());
    raw(bytes);
}

} // namespace kp
