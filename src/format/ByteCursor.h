#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

namespace kp {

class FileWindow;

// A bounds-checked reader over the bytes of an exam file held in memory. Every read checks the
// bytes remaining first, so a length or count that reaches past the end fails before anything
// is allocated. Numbers and texts are read where they lie; a blob is handed out as a slice
// that shares the buffer (see blob()). Failures raise KpError (PastEnd, TypeMismatch,
// Overflow).
class ByteCursor {
public:
    // Width of every decimal field of the format.
    static constexpr qsizetype kFieldWidth = 10;

    explicit ByteCursor(const QByteArray& bytes, qsizetype position = 0)
        : bytes_(bytes), data_(bytes_.constData()), size_(bytes_.size()), pos_(position) {}
    // Walks a file through its window instead, never holding more of it than the largest
    // field. Blobs are then read into arrays of their own, or skipped and given back empty
    // when keepBlobs is false (for a pass that only checks the file).
    ByteCursor(FileWindow& file, bool keepBlobs);

    // 0-based position of the next byte to read.
    qsizetype position() const { return pos_; }
    qsizetype remaining() const { return size_ - pos_; }

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
    // A text field's bytes as they lie in the buffer, not decoded; valid while the buffer is.
    QByteArrayView rawText(Number lengthRule = Number::Leading);
    // A text field's bytes, not decoded, sharing the buffer as a blob does.
    QByteArray encodedText(Number lengthRule = Number::Leading);
    // A blob: a length that must be a whole number, then that many raw bytes. From a buffer the
    // bytes are not copied: the result shares the buffer, which lives as long as any blob taken
    // from it.
    QByteArray blob();

    // Where a blob lay that a cursor over a file skipped (keepBlobs false).
    struct Span {
        qint64 offset;
        qsizetype size;
        bool operator==(const Span&) const = default;
    };
    // Every blob skipped so far, in reading order.
    const std::vector<Span>& skippedBlobs() const { return skipped_; }

    // Fails unless count items of at least itemSize bytes each could still follow.
    void requireRoomFor(qint64 count, qint64 itemSize, const char* what) const;

    // The whole content of a regular file, refusing one larger than maxSize bytes. Normally one
    // open, one read and one close; a file that grows while it is read is read on, up to
    // maxSize.
    static QByteArray readFile(const QString& path, qint64 maxSize);

    // The leading decimal number of a field: digits with an optional fraction; 0 when the
    // field does not start with a digit.
    static double leadingNumber(QByteArrayView field);
    // The field as a whole number (blanks around it and a sign allowed); false when it is not.
    static bool wholeNumber(QByteArrayView field, double& value);
    // The field as RellenaCeros writes a number; false when it is not shaped so.
    static bool paddedNumber(QByteArrayView field, double& value);

private:
    void require(qsizetype n, const char* what) const {
        if (n < 0 || n > remaining())
            endsBefore(n, what);
    }
    [[noreturn]] void endsBefore(qsizetype n, const char* what) const;
    static double valueOf(QByteArrayView field, Number rule, qsizetype at);
    qint64 integer(Number rule, qint64 low, qint64 high, const char* what);
    QByteArrayView take(qsizetype n, const char* what);
    QByteArray share(QByteArrayView bytes);
    qint64 length(Number rule, const char* what);

    QByteArray bytes_; // a shared copy: keeps the buffer alive for the blobs
    const char* data_ = nullptr;
    qint64 size_;
    qint64 pos_;
    FileWindow* file_ = nullptr;
    bool keepBlobs_ = true;
    std::vector<Span> skipped_;
};

} // namespace kp
