#pragma once

#include "richtext/RtfLimits.h"
#include "richtext/RtfToken.h"

#include <QStringView>

namespace kp::rtf {

// Splits an RTF text into tokens in one forward pass. Raw line breaks carry no meaning in RTF
// and are dropped here; everything else is left to the reader.
class RtfLexer {
public:
    RtfLexer(QStringView text, const RtfLimits& limits) : text_(text), limits_(limits) {}

    RtfToken next();
    // Steps over the data of \binN without looking at it; never goes past the end.
    void skip(qint64 count);
    bool atEnd() const { return pos_ >= text_.size(); }

private:
    RtfToken readEscape();
    RtfToken readControlWord();

    QStringView text_;
    const RtfLimits& limits_;
    qsizetype pos_ = 0;
};

} // namespace kp::rtf
