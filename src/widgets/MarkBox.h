#pragma once

#include "widgets/ImageBox.h"

namespace kp {

// The box in front of an answer: an image control that the keyboard reaches too. It takes the
// focus from Tab only (a click leaves the focus where it was, so a mouse user sees nothing new),
// shows a frame while it has it, and turns Space into the same clicked() a click gives. The
// arrow keys ask for the neighbouring row; the page decides which box that is.
//
// Screen readers see it as a check box, checked when it is the ticked box of its row (marked).
class MarkBox : public ImageBox {
    Q_OBJECT
public:
    explicit MarkBox(QWidget* parent = nullptr);

    // The ticked box of a row is marked; the empty one is not. Fixed for the box's life.
    void setMarked(bool on) { marked_ = on; }
    bool isMarked() const { return marked_; }

    // What a click does, from the keyboard or an accessibility client.
    void activate() { emit clicked(); }

signals:
    // The previous (-1) or the next (+1) row.
    void stepRequested(int step);
    void focusEntered();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool marked_ = false;
};

} // namespace kp
