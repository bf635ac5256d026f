#pragma once

#include "richtext/CodePageDecoder.h"
#include "richtext/RtfDocumentBuilder.h"
#include "richtext/RtfFormats.h"
#include "richtext/RtfGroupState.h"
#include "richtext/RtfLexer.h"
#include "richtext/RtfLimits.h"

#include <QByteArray>
#include <QString>
#include <QTextDocument>
#include <vector>

namespace kp::rtf {

// Reads the RTF that rich-text controls write into a QTextDocument, in one pass over the text.
// Groups live on an explicit stack; destinations it does not show (pictures, objects, document
// information, field instructions and every {\* ...} group) are stepped over without keeping
// state for them.
class RtfReader {
public:
    RtfReader(QTextDocument& doc, const RtfLimits& limits);

    // Writes what the text shows into the document, which is expected to be empty (readRtf
    // clears it). Bad input never makes it throw; only running out of memory can.
    void read(QStringView text);

private:
    using State = RtfGroupState;

    void openGroup();
    void closeGroup();
    void startSkipping();
    void skipToken(const RtfToken& t);
    void controlWord(const RtfToken& t);
    void controlSymbol(const RtfToken& t);
    // Table-destination control words (\fN, \fcharsetN, \redN, ...); true when handled.
    bool tableWord(QStringView word, const RtfToken& t);
    void text(QStringView run);
    void hexByte(unsigned char byte);
    void flushBytes();
    void unicode(int value);
    void output(QStringView s);
    void outputChar(char16_t c);
    void paragraph();
    void tableText(QStringView run);
    void commitFont();
    void commitColor();
    void skipBinary(const RtfToken& t);

    State& top() { return stack_.back(); }

    RtfLimits limits_;
    RtfFormats formats_;
    RtfDocumentBuilder builder_;
    CodePageDecoder decoder_;
    std::vector<State> stack_;
    // Depth inside a group whose content is not shown; 0 when reading normally.
    qsizetype skipDepth_ = 0;
    RtfLexer* lexer_ = nullptr;
    bool groupJustOpened_ = false;
    bool done_ = false;
    // Characters of \uN's fallback still to skip.
    int fallbackLeft_ = 0;
    // The high half of a surrogate pair, waiting for its low half.
    char16_t pendingHigh_ = 0;
    // Consecutive \'xx bytes, decoded together so double-byte code pages work.
    QByteArray bytes_;
    int bytesCodePage_ = 0;
    // Cell ends not yet written as tabs: the last cell of a row writes none.
    qsizetype pendingTabs_ = 0;
    std::vector<int> rowCells_;
    // The kind \tqr, \tqc or \tqdec gives the next \tx.
    State::TabKind nextTabKind_ = State::TabKind::Left;
    State::Para lastPara_;
    RtfFormats::Font fontEntry_;
    int fontEntryIndex_ = -1;
    int fontCharset_ = -1;
    int fontCodePage_ = 0;
    int red_ = -1;
    int green_ = -1;
    int blue_ = -1;
};

} // namespace kp::rtf
