#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace kp {

// Writes the fields of the exam file format to a device. Values a field cannot hold are refused
// with KpError::BadValue; a failed write raises KpError::FileAccess. A writer without a device
// only checks: running a record through one first refuses it before its first byte is written.
class FieldWriter {
public:
    // The largest value of a 10-character decimal field.
    static constexpr qint64 kMaxDecimal = 9999999999LL;

    FieldWriter() = default;
    explicit FieldWriter(QIODevice& device) : device_(&device) {}

    void decimal(qint64 value);
    // A text field: the text is trimmed of blanks unless untrimmed is set (the question Id).
    void text(const QString& value, bool untrimmed = false);
    void blob(const QByteArray& bytes);

    // Fails unless value fits a decimal field (not negative, at most 10 digits).
    static void checkDecimal(qint64 value, const QString& what);
    // Fails unless every character of value has a byte in Windows-1252.
    static void checkText(const QString& value, const QString& what);
    // A value × 1000 rounded half to even, for the thousandths fields; fails when it is not a
    // finite, non-negative 32-bit number.
    static qint64 thousandths(float value, const QString& what);

private:
    void raw(const QByteArray& bytes);

    QIODevice* device_ = nullptr;
};

} // namespace kp
