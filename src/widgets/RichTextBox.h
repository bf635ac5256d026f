#pragma once

#include "widgets/TextBounds.h"

#include <QColor>
#include <QTextEdit>

namespace kp {

// The read-only text box of a question or an answer. The exam's texts go in through
// setPageText only, so the way they are interpreted lives in one place.
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    // A text whose longest stretch without a place to break a line is longer than this wraps
    // anywhere: no line holds that many characters, and Qt lays a text wrapped at word
    // boundaries out in time that grows with the square of such a stretch.
    static constexpr qsizetype MaxUnbrokenRun = 256;

    explicit RichTextBox(QWidget* parent = nullptr);

    // Replaces the whole content with the exam's text (RTF with its formatting, anything else
    // as plain text), gives all of it one colour and size and leaves no selection. The content
    // is built in one edit, so the box lays it out once, at the width it has: place the box
    // before giving it its text. At most maxChars characters and TextBounds::BoxParagraphs
    // paragraphs go in; returns the characters the box holds.
    qsizetype setPageText(const QString& text, const QColor& colour, double pointSize,
                          qsizetype maxChars = TextBounds::BoxChars);
    QString plainText() const { return toPlainText(); }

    // The longest stretch of text without a line-break opportunity.
    static qsizetype longestUnbrokenRun(const QString& text);
};

} // namespace kp
