#include "richtext/RtfReader.h"

#include <algorithm>
#include <limits>

namespace kp::rtf {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr qsizetype kMaxFontName = 256;
constexpr qsizetype kMaxBytesRun = 4096;
const std::vector<int> kNoTabs;

// Characters below the space carry no meaning in a text except the tab.
bool isDropped(char16_t c) {
    return c < 0x20 && c != u'\t';
}

} // namespace

RtfReader::RtfReader(QTextDocument& doc, const RtfLimits& limits)
    : limits_(limits), formats_(limits.maxTableEntries),
      builder_(doc, formats_, limits.maxOutputChars, limits.maxParagraphs) {}

void RtfReader::read(QStringView text) {
    RtfLexer lexer(text, limits_);
    lexer_ = &lexer;
    using K = RtfToken::Kind;
    while (!done_ && !builder_.full()) {
        const RtfToken t = lexer.next();
        if (t.kind == K::End)
            break;
        if (skipDepth_ > 0) {
            skipToken(t);
            continue;
        }
        if (t.kind != K::HexByte && !bytes_.isEmpty())
            flushBytes();
        const bool opened = groupJustOpened_;
        groupJustOpened_ = false;
        if (stack_.empty()) {
            // Nothing shows outside the document's group.
            if (t.kind == K::GroupStart)
                openGroup();
            continue;
        }
        if (t.kind == K::GroupStart || t.kind == K::GroupEnd) {
            // A group boundary ends the fallback text of \uN.
            fallbackLeft_ = 0;
            if (t.kind == K::GroupStart)
                openGroup();
            else
                closeGroup();
            continue;
        }
        if (fallbackLeft_ > 0) {
            if (t.kind == K::Text) {
                const qsizetype n = std::min<qsizetype>(fallbackLeft_, t.text.size());
                fallbackLeft_ -= static_cast<int>(n);
                if (n < t.text.size())
                    this->text(t.text.sliced(n));
            } else {
                --fallbackLeft_;
                skipBinary(t);
            }
            continue;
        }
        switch (t.kind) {
        case K::ControlWord:
            controlWord(t);
            break;
        case K::ControlSymbol:
            if (t.symbol == u'*' && opened)
                startSkipping();
            else
                controlSymbol(t);
            break;
        case K::HexByte:
            hexByte(t.byte);
            break;
        case K::Text:
            this->text(t.text);
            break;
        default:
            break;
        }
    }
    lexer_ = nullptr;
    if (!stack_.empty()) {
        flushBytes();
        lastPara_ = top().para;
    }
    builder_.finish(lastPara_, lastPara_.inTable ? rowCells_ : kNoTabs);
}

void RtfReader::openGroup() {
    if (stack_.empty()) {
        stack_.emplace_back();
    } else if (stack_.size() >= static_cast<size_t>(limits_.maxDepth)) {
        skipDepth_ = 1;
        return;
    } else {
        const State copy = top();
        stack_.push_back(copy);
    }
    groupJustOpened_ = true;
}

void RtfReader::closeGroup() {
    const State::Destination dest = top().destination;
    // An entry may leave out its ';'. A nameless group inside an entry ends nothing.
    if (dest == State::Destination::FontTable && !fontEntry_.name.isEmpty())
        commitFont();
    else if (dest == State::Destination::ColorTable && (red_ >= 0 || green_ >= 0 || blue_ >= 0))
        commitColor();
    if (stack_.size() == 1) {
        // The document's own group has ended; anything after it is not part of the text.
        lastPara_ = top().para;
        done_ = true;
    }
    stack_.pop_back();
}

void RtfReader::startSkipping() {
    // The group's state is dropped at once; only its braces are counted from here on.
    stack_.pop_back();
    skipDepth_ = 1;
    fallbackLeft_ = 0;
}

void RtfReader::skipToken(const RtfToken& t) {
    if (t.kind == RtfToken::Kind::GroupStart)
        ++skipDepth_;
    else if (t.kind == RtfToken::Kind::GroupEnd)
        --skipDepth_;
    else
        skipBinary(t);
}

void RtfReader::skipBinary(const RtfToken& t) {
    if (t.kind != RtfToken::Kind::ControlWord || !t.hasParameter || t.text != u"bin")
        return;
    // A length too long to read means the data runs to the end of the text.
    lexer_->skip(t.valid ? t.parameter : std::numeric_limits<qint64>::max());
}

void RtfReader::text(QStringView run) {
    if (top().destination != State::Destination::Text) {
        tableText(run);
        return;
    }
    if (!formats_.isSymbolFont(top().chr.font)) {
        output(run);
        return;
    }
    // Text in the Symbol font names its glyphs by their position in that font.
    QString mapped;
    mapped.reserve(run.size());
    for (const QChar ch : run) {
        char16_t c = ch.unicode();
        if (c >= 0xF020 && c <= 0xF0FF)
            c -= 0xF000;
        if (c <= 0xFF && CodePageDecoder::symbolChar(static_cast<unsigned char>(c)) != 0)
            c = CodePageDecoder::symbolChar(static_cast<unsigned char>(c));
        mapped.append(QChar(c));
    }
    output(mapped);
}

void RtfReader::hexByte(unsigned char byte) {
    if (top().destination == State::Destination::ColorTable)
        return;
    if (bytes_.isEmpty())
        bytesCodePage_ = formats_.codePage(top().chr.font);
    bytes_.append(static_cast<char>(byte));
    if (bytes_.size() >= kMaxBytesRun)
        flushBytes();
}

void RtfReader::flushBytes() {
    if (bytes_.isEmpty())
        return;
    const QString s = decoder_.decode(bytes_, bytesCodePage_);
    bytes_.clear();
    output(s);
}

void RtfReader::unicode(int value) {
    if (value < 0)
        value += 65536;
    const char16_t c = (value < 0 || value > 0xFFFF) ? kReplacement : static_cast<char16_t>(value);
    if (QChar::isHighSurrogate(c)) {
        output({}); // an earlier high half still waiting becomes a replacement character
        pendingHigh_ = c;
        return;
    }
    if (QChar::isLowSurrogate(c)) {
        if (pendingHigh_ == 0) {
            outputChar(kReplacement);
            return;
        }
        const char16_t pair[2] = {pendingHigh_, c};
        pendingHigh_ = 0;
        output(QStringView(pair, 2));
        return;
    }
    if (c >= 0xF020 && c <= 0xF0FF && formats_.isSymbolFont(top().chr.font)) {
        if (const char16_t s =
                CodePageDecoder::symbolChar(static_cast<unsigned char>(c - 0xF000))) {
            outputChar(s);
            return;
        }
    }
    outputChar(c);
}

void RtfReader::outputChar(char16_t c) {
    output(QStringView(&c, 1));
}

void RtfReader::output(QStringView s) {
    if (pendingHigh_ != 0) {
        // A high surrogate without its low half.
        pendingHigh_ = 0;
        outputChar(kReplacement);
    }
    const State& st = top();
    if (st.destination != State::Destination::Text) {
        tableText(s);
        return;
    }
    if (st.chr.hidden || s.isEmpty())
        return;
    if (pendingTabs_ > 0) {
        const QString tabs(pendingTabs_, u'\t');
        pendingTabs_ = 0;
        builder_.appendText(tabs, st.chr);
    }
    qsizetype bad = 0;
    for (const QChar c : s)
        bad += isDropped(c.unicode()) ? 1 : 0;
    if (bad == 0) {
        builder_.appendText(s, st.chr);
        return;
    }
    QString clean;
    clean.reserve(s.size() - bad);
    for (const QChar c : s)
        if (!isDropped(c.unicode()))
            clean.append(c);
    builder_.appendText(clean, st.chr);
}

void RtfReader::paragraph() {
    // A hidden paragraph mark joins its paragraph to the next, as the text around it shows.
    if (top().destination != State::Destination::Text || top().chr.hidden)
        return;
    pendingTabs_ = 0;
    pendingHigh_ = 0;
    const State::Para& para = top().para;
    builder_.endParagraph(para, para.inTable ? rowCells_ : kNoTabs);
}

void RtfReader::tableText(QStringView run) {
    const State::Destination dest = top().destination;
    for (const QChar c : run) {
        if (c == u';') {
            if (dest == State::Destination::FontTable)
                commitFont();
            else
                commitColor();
        } else if (dest == State::Destination::FontTable && fontEntry_.name.size() < kMaxFontName &&
                   !isDropped(c.unicode())) {
            fontEntry_.name.append(c);
        }
    }
}

void RtfReader::commitFont() {
    if (fontEntryIndex_ >= 0) {
        fontEntry_.name = fontEntry_.name.trimmed();
        fontEntry_.codePage = CodePageDecoder::codePageForCharset(fontCharset_);
        if (fontEntry_.codePage == CodePageDecoder::Symbol) {
            // Other fonts of the symbol charset (Wingdings and the like) have no Unicode
            // layout to map to; their bytes are kept as they are.
            fontEntry_.symbol = fontEntry_.name.compare(u"Symbol", Qt::CaseInsensitive) == 0;
            fontEntry_.codePage =
                fontEntry_.symbol ? CodePageDecoder::Symbol : CodePageDecoder::Windows1252;
        }
        if (fontCodePage_ > 0 && !fontEntry_.symbol)
            fontEntry_.codePage = fontCodePage_;
        formats_.addFont(fontEntryIndex_, fontEntry_);
    }
    fontEntry_ = {};
    fontEntryIndex_ = -1;
    fontCharset_ = -1;
    fontCodePage_ = 0;
}

void RtfReader::commitColor() {
    if (red_ < 0 && green_ < 0 && blue_ < 0)
        formats_.addColor(QColor());
    else
        formats_.addColor(QColor(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0)));
    red_ = green_ = blue_ = -1;
}

} // namespace kp::rtf
