#include "widgets/RichTextBox.h"

#include "richtext/RichText.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBoundaryFinder>
#include <QTextCharFormat>
#include <QTextCursor>

namespace kp {

namespace {

// Plain text cut to the box's characters and paragraphs.
QString boundedPlainText(const QString& text, qsizetype maxChars) {
    QString cut = TextBounds::cut(text, maxChars);
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < cut.size(); ++i) {
        if (cut.at(i) == u'\n' && ++breaks >= TextBounds::BoxParagraphs)
            return cut.left(i);
    }
    return cut;
}

} // namespace

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    // Read only: a click still gives the focus (to select text), Tab goes past.
    setFocusPolicy(Qt::ClickFocus);
    // Nothing is edited here: no undo history to record.
    document()->setUndoRedoEnabled(false);
}

qsizetype RichTextBox::longestUnbrokenRun(const QString& text) {
    QTextBoundaryFinder lines(QTextBoundaryFinder::Line, text);
    qsizetype longest = 0;
    qsizetype from = 0;
    // A stretch runs from one break opportunity to the next, less the blanks it ends with
    // (they may hang past the line's end).
    const auto stretch = [&](qsizetype to) {
        qsizetype end = to;
        while (end > from && text.at(end - 1).isSpace())
            --end;
        longest = std::max(longest, end - from);
        from = to;
    };
    for (qsizetype at = lines.toNextBoundary(); at >= 0; at = lines.toNextBoundary())
        stretch(at);
    stretch(text.size());
    return longest;
}

qsizetype RichTextBox::setPageText(const QString& text, const QColor& colour, double pointSize,
                                   qsizetype maxChars) {
    QTextDocument& doc = *document();
    QTextCursor edit(&doc);
    edit.beginEditBlock();
    {
        // Emptying the document reports an empty page at once, edit or not: unheard, or the
        // scroll bar would go and come back and the text would be laid out a second time.
        const QSignalBlocker quiet(doc.documentLayout());
        // RTF goes through our reader; anything else stays plain text. setText/setHtml would
        // guess at markup in the exam's texts.
        if (rtf::isRtf(text)) {
            rtf::RtfLimits limits;
            limits.maxOutputChars = std::min(limits.maxOutputChars, maxChars);
            limits.maxParagraphs = std::min(limits.maxParagraphs, TextBounds::BoxParagraphs);
            rtf::readRtf(text, doc, limits);
        } else {
            doc.setPlainText(boundedPlainText(text, maxChars));
        }
    }
    // Reused boxes keep their options: the wrap is decided for every text.
    QTextOption option = doc.defaultTextOption();
    option.setWrapMode(longestUnbrokenRun(doc.toPlainText()) > MaxUnbrokenRun
                           ? QTextOption::WrapAnywhere
                           : QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc.setDefaultTextOption(option);
    edit.select(QTextCursor::Document);
    QTextCharFormat format;
    format.setForeground(colour);
    format.setFontPointSize(pointSize);
    edit.mergeCharFormat(format);
    edit.endEditBlock();
    // The text shows from its top, with the box's cursor at the start and nothing selected.
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    edit.setPosition(0);
    setTextCursor(edit);
    return doc.characterCount() - 1;
}

} // namespace kp
