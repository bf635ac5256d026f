#include "widgets/RichTextBox.h"

#include "richtext/RichText.h"

#include <QTextCharFormat>
#include <QTextCursor>

namespace kp {

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    // Nothing is edited here: no undo history to record.
    document()->setUndoRedoEnabled(false);
}

void RichTextBox::setPageText(const QString& text, const QColor& colour, double pointSize) {
    QTextDocument& doc = *document();
    QTextCursor edit(&doc);
    edit.beginEditBlock();
    // RTF goes through our reader; anything else stays plain text. setText/setHtml would guess
    // at markup in the exam's texts.
    rtf::setRichContent(doc, text);
    edit.select(QTextCursor::Document);
    QTextCharFormat format;
    format.setForeground(colour);
    format.setFontPointSize(pointSize);
    edit.mergeCharFormat(format);
    edit.endEditBlock();
    edit.setPosition(0);
    setTextCursor(edit);
}

} // namespace kp
