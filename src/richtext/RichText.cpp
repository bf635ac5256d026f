#include "richtext/RichText.h"

#include "richtext/RtfReader.h"

#include <QTextCursor>

namespace kp::rtf {

bool isRtf(QStringView text) {
    return text.startsWith(u"{\\rtf");
}

void readRtf(QStringView text, QTextDocument& doc, const RtfLimits& limits) {
    doc.clear();
    try {
        RtfReader reader(doc, limits);
        reader.read(text);
    } catch (...) {
        // Only an allocation failure can get here; what was read so far stays.
    }
}

void setRichContent(QTextDocument& doc, const QString& text, const RtfLimits& limits) {
    if (isRtf(text))
        readRtf(text, doc, limits);
    else
        doc.setPlainText(text);
}

void applyPageFormat(QTextDocument& doc, const QColor& color) {
    QTextCursor cursor(&doc);
    cursor.select(QTextCursor::Document);
    QTextCharFormat f;
    f.setForeground(color);
    f.setFontPointSize(10);
    cursor.mergeCharFormat(f);
}

} // namespace kp::rtf
