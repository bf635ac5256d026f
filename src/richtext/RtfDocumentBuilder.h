#pragma once

#include "richtext/RtfFormats.h"
#include "richtext/RtfGroupState.h"

#include <QString>
#include <QTextCursor>
#include <QTextDocument>
#include <vector>

namespace kp::rtf {

// Writes text and paragraphs into a document through one cursor. Consecutive text in the same
// character state is gathered and inserted in one call, so a long text costs one insertion per
// change of format rather than one per character. Stops taking input at the output cap.
class RtfDocumentBuilder {
public:
    RtfDocumentBuilder(QTextDocument& doc, const RtfFormats& formats, qsizetype maxChars,
                       qsizetype maxParagraphs);

    void appendText(QStringView text, const RtfGroupState::Char& chr);
    // Ends the current paragraph with the given properties. The break itself is held back until
    // more text arrives, so the closing \par of a document adds no empty paragraph.
    void endParagraph(const RtfGroupState::Para& para, const std::vector<int>& cellEdges);
    // Writes what is held back; the last paragraph takes para unless a \par already ended it.
    void finish(const RtfGroupState::Para& para, const std::vector<int>& cellEdges);

    bool full() const { return written_ >= maxChars_; }

private:
    void flushRun();
    void flushBreaks();

    QTextCursor cursor_;
    const RtfFormats& formats_;
    qsizetype maxChars_;
    qsizetype maxParagraphs_;
    qsizetype paragraphs_ = 1;
    qsizetype written_ = 0;
    QString run_;
    RtfGroupState::Char runChar_;
    qsizetype pendingBreaks_ = 0;
};

} // namespace kp::rtf
