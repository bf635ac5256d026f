#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <utility>

namespace kp {

// A text as the model keeps it: given as a QString, or left as the bytes an exam file holds and
// decoded each time it is asked for. A loaded exam keeps its long texts the second way, as
// slices of the file's buffer: no second copy in UTF-16, and a load that touches no fresh memory
// for them.
class StoredText {
public:
    using Decoder = QString (*)(QByteArrayView);

    StoredText() = default;
    StoredText(const QString& text) : text_(text) {} // NOLINT: a QString is a stored text
    StoredText(QByteArray encoded, Decoder decode)
        : encoded_(std::move(encoded)), decode_(decode) {}

    QString toString() const { return decode_ ? decode_(encoded_) : text_; }

private:
    QString text_;
    QByteArray encoded_;
    Decoder decode_ = nullptr;
};

} // namespace kp
