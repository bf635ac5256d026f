#pragma once

#include <QColor>
#include <QTextEdit>

namespace kp {

// The read-only text box of a question or an answer. The exam's texts go in through
// setPageText only, so the way they are interpreted lives in one place.
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);

    // Replaces the whole content with the exam's text (RTF with its formatting, anything else
    // as plain text), gives all of it one colour and size and leaves no selection. The content
    // is built in one edit, so the box lays it out once, at the width it has: place the box
    // before giving it its text.
    void setPageText(const QString& text, const QColor& colour, double pointSize);
    QString plainText() const { return toPlainText(); }
};

} // namespace kp
