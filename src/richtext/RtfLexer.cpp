#include "richtext/RtfLexer.h"

#include <limits>

namespace kp::rtf {
namespace {

bool isLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

RtfToken RtfLexer::next() {
    RtfToken t;
    while (pos_ < text_.size()) {
        const char16_t c = text_[pos_].unicode();
        switch (c) {
        case u'{':
            ++pos_;
            t.kind = RtfToken::Kind::GroupStart;
            return t;
        case u'}':
            ++pos_;
            t.kind = RtfToken::Kind::GroupEnd;
            return t;
        case u'\\':
            return readEscape();
        case u'\r':
        case u'\n':
            ++pos_;
            continue;
        default:
            break;
        }
        const qsizetype start = pos_;
        while (pos_ < text_.size()) {
            const char16_t d = text_[pos_].unicode();
            if (d == u'{' || d == u'}' || d == u'\\' || d == u'\r' || d == u'\n')
                break;
            ++pos_;
        }
        t.kind = RtfToken::Kind::Text;
        t.text = text_.sliced(start, pos_ - start);
        return t;
    }
    return t;
}

void RtfLexer::skip(qint64 count) {
    if (count <= 0)
        return;
    const qint64 left = text_.size() - pos_;
    pos_ += static_cast<qsizetype>(count < left ? count : left);
}

RtfToken RtfLexer::readEscape() {
    RtfToken t;
    ++pos_; // the backslash
    if (pos_ >= text_.size()) {
        t.kind = RtfToken::Kind::ControlSymbol;
        t.valid = false;
        return t;
    }
    const char16_t c = text_[pos_].unicode();
    if (isLetter(c))
        return readControlWord();
    ++pos_;
    if (c == u'\'') {
        // A byte needs both hex digits; otherwise the escape is dropped and what follows is
        // read as ordinary text.
        if (pos_ + 1 < text_.size()) {
            const int hi = hexValue(text_[pos_].unicode());
            const int lo = hexValue(text_[pos_ + 1].unicode());
            if (hi >= 0 && lo >= 0) {
                pos_ += 2;
                t.kind = RtfToken::Kind::HexByte;
                t.byte = static_cast<unsigned char>(hi * 16 + lo);
                return t;
            }
        }
        t.kind = RtfToken::Kind::ControlSymbol;
        t.valid = false;
        return t;
    }
    t.kind = RtfToken::Kind::ControlSymbol;
    t.symbol = c;
    return t;
}

RtfToken RtfLexer::readControlWord() {
    RtfToken t;
    t.kind = RtfToken::Kind::ControlWord;
    const qsizetype start = pos_;
    while (pos_ < text_.size() && isLetter(text_[pos_].unicode()))
        ++pos_;
    t.text = text_.sliced(start, pos_ - start);
    if (t.text.size() > limits_.maxControlWordLength)
        t.valid = false;

    bool negative = false;
    if (pos_ + 1 < text_.size() && text_[pos_] == u'-' && isDigit(text_[pos_ + 1].unicode())) {
        negative = true;
        ++pos_;
    }
    qint64 value = 0;
    int digits = 0;
    while (pos_ < text_.size() && isDigit(text_[pos_].unicode())) {
        // Digits past the limit are still consumed so they do not turn into text.
        if (digits < limits_.maxParameterDigits && digits < 18)
            value = value * 10 + (text_[pos_].unicode() - u'0');
        ++digits;
        ++pos_;
    }
    if (digits > 0) {
        t.hasParameter = true;
        if (digits > limits_.maxParameterDigits)
            t.valid = false;
        if (negative)
            value = -value;
        constexpr qint64 lo = std::numeric_limits<int>::min();
        constexpr qint64 hi = std::numeric_limits<int>::max();
        t.parameter = static_cast<int>(value < lo ? lo : (value > hi ? hi : value));
    }
    // A single space ends a control word and belongs to it.
    if (pos_ < text_.size() && text_[pos_] == u' ')
        ++pos_;
    return t;
}

} // namespace kp::rtf
