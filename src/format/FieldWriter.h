#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace kp {

// The 10-character decimal field of exam and results files: the number's text preceded by
// enough "0" to reach 10 characters. Longer texts are not cut; a minus sign stays after the
// zeros.
QString RellenaCeros(qint32 n);

// Writes the fields of the file formats to a device. Values a field cannot hold are refused
// with KpError::BadValue; a failed write raises KpError::FileAccess. A writer without a device
// only checks: running a record through one first refuses it before its first byte is written.
class FieldWriter {
public:
    // The largest value of a 10-character decimal field.
    static constexpr qint64 kMaxDecimal = 9999999999LL;

    // What a text field does with characters Windows-1252 cannot hold. Exam files refuse them
    // (the author can fix the text); results files write '?' for them, so that a student's
    // answers are never lost over a letter of a name.
    enum class Unencodable { Refuse, Replace };

    explicit FieldWriter(Unencodable unencodable = Unencodable::Refuse)
        : unencodable_(unencodable) {}
    explicit FieldWriter(QIODevice& device, Unencodable unencodable = Unencodable::Refuse)
        : device_(&device), unencodable_(unencodable) {}

    void decimal(qint64 value);
    // Any 32-bit number, written as RellenaCeros writes it (results files).
    void padded(qint32 value);
    // A text field: the text is trimmed of blanks unless untrimmed is set (the question Id).
    void text(const QString& value, bool untrimmed = false);
    // A text field whose bytes are already encoded.
    void bytes(const QByteArray& encoded);
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
    Unencodable unencodable_;
};

} // namespace kp
