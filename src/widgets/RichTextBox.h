#pragma once

#include <QColor>
#include <QTextEdit>

namespace kp {

// The read-only text box of a question or an answer. The exam's texts go in through
// setRichText only, so the way they are interpreted lives in one place.
class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);

    // Replaces the whole content with the exam's text.
    void setRichText(const QString& text);
    QString plainText() const { return toPlainText(); }
    // Gives the whole text one colour and size, then leaves no selection.
    void formatAll(const QColor& colour, double pointSize);
};

} // namespace kp
