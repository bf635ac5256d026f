#include "widgets/RichTextBox.h"

#include "richtext/RichText.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QSignalBlocker>
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
    {
        // Emptying the document reports an empty page at once, edit or not: unheard, or the
        // scroll bar would go and come back and the text would be laid out a second time.
        const QSignalBlocker quiet(doc.documentLayout());
        // RTF goes through our reader; anything else stays plain text. setText/setHtml would
        // guess at markup in the exam's texts.
        rtf::setRichContent(doc, text);
    }
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
}

} // namespace kp
