#include "widgets/RichTextBox.h"

#include "richtext/RichText.h"

#include <QTextCharFormat>
#include <QTextCursor>

namespace kp {

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
}

void RichTextBox::setRichText(const QString& text) {
    // RTF goes through our reader; anything else stays plain text. setText/setHtml would guess
    // at markup in the exam's texts.
    rtf::setRichContent(*document(), text);
}

void RichTextBox::formatAll(const QColor& colour, double pointSize) {
    QTextCursor cursor(document());
    cursor.setPosition(0);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setForeground(colour);
    format.setFontPointSize(pointSize);
    cursor.mergeCharFormat(format);
    cursor.setPosition(0);
    setTextCursor(cursor);
}

} // namespace kp
