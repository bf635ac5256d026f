#pragma once

#include <QByteArray>
#include <QString>

namespace kp {

// A bounds-checked reader over the bytes of an exam file held in memory. Every read checks the
// bytes remaining first, so a length or count that reaches past the end fails before anything
// is allocated. Failures raise KpError (PastEnd, TypeMismatch, Overflow).
class ByteCursor {
public:
    // Width of every decimal field of the format.
    static constexpr qsizetype kFieldWidth = 10;

    explicit ByteCursor(const QByteArray& bytes, qsizetype position = 0)
        : bytes_(bytes), pos_(position) {}

    // 0-based position of the next byte to read.
    qsizetype position() const { return pos_; }
    qsizetype remaining() const { return bytes_.size() - pos_; }

    // How a decimal field is read: some fields take their leading number, others must hold a
    // number and nothing else; results files hold exactly what RellenaCeros writes (zeros, then
    // the number's text, a minus sign included).
    enum class Number { Leading, Whole, Padded };

    // The next decimal field as a number (not yet narrowed).
    double number(Number rule);
    qint16 int16(Number rule = Number::Leading);
    qint32 int32(Number rule = Number::Leading);
    // A flag field: true exactly when it holds 1.
    bool flag();
    // A text field in Windows-1252; the rule applies to its length field.
    QString text(Number lengthRule = Number::Leading);
    // A blob: a length that must be a whole number, then that many raw bytes.
    QByteArray blob();

    // Fails unless count items of at least itemSize bytes each could still follow.
    void requireRoomFor(qint64 count, qint64 itemSize, const char* what) const;

    // The whole content of a regular file, refusing one larger than maxSize bytes.
    static QByteArray readFile(const QString& path, qint64 maxSize);

    // The leading decimal number of a field: digits with an optional fraction; 0 when the
    // field does not start with a digit.
    static double leadingNumber(const QByteArray& field);
    // The field as a whole number (blanks around it and a sign allowed); false when it is not.
    static bool wholeNumber(const QByteArray& field, double& value);
    // The field as RellenaCeros writes a number; false when it is not shaped so.
    static bool paddedNumber(const QByteArray& field, double& value);

private:
    QByteArray take(qsizetype n, const char* what);
    qint64 length(Number rule, const char* what);

    QByteArray bytes_;
    qsizetype pos_;
};

} // namespace kp
