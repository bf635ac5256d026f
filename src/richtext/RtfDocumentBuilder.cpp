#include "richtext/RtfDocumentBuilder.h"

namespace kp::rtf {

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument& doc, const RtfFormats& formats,
                                       qsizetype maxChars, qsizetype maxParagraphs)
    : cursor_(&doc), formats_(formats), maxChars_(maxChars), maxParagraphs_(maxParagraphs) {}

void RtfDocumentBuilder::appendText(QStringView text, const RtfGroupState::Char& chr) {
    if (text.isEmpty() || full())
        return;
    if (!(chr == runChar_))
        flushRun();
    if (pendingBreaks_ > 0) {
        flushRun();
        flushBreaks();
    }
    runChar_ = chr;
    const qsizetype room = maxChars_ - written_;
    if (text.size() > room)
        text = text.first(room);
    run_.append(text);
    written_ += text.size();
}

void RtfDocumentBuilder::endParagraph(const RtfGroupState::Para& para,
                                      const std::vector<int>& cellEdges) {
    if (full() || paragraphs_ >= maxParagraphs_)
        return;
    flushRun();
    flushBreaks();
    cursor_.setBlockFormat(formats_.blockFormat(para, cellEdges));
    ++pendingBreaks_;
    ++paragraphs_;
    ++written_;
}

void RtfDocumentBuilder::finish(const RtfGroupState::Para& para,
                                const std::vector<int>& cellEdges) {
    flushRun();
    if (pendingBreaks_ == 0) {
        cursor_.setBlockFormat(formats_.blockFormat(para, cellEdges));
        return;
    }
    // The final paragraph mark is the document's own and opens no new line.
    --pendingBreaks_;
    flushBreaks();
}

void RtfDocumentBuilder::flushRun() {
    if (run_.isEmpty())
        return;
    cursor_.insertText(run_, formats_.charFormat(runChar_));
    run_.clear();
}

void RtfDocumentBuilder::flushBreaks() {
    for (; pendingBreaks_ > 0; --pendingBreaks_)
        cursor_.insertBlock();
}

} // namespace kp::rtf
