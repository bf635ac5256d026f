#include "widgets/MarkBox.h"

#include "widgets/MarkBoxAccessible.h"

#include <QKeyEvent>
#include <QPainter>

namespace kp {

MarkBox::MarkBox(QWidget* parent) : ImageBox(parent) {
    installMarkBoxAccessibility();
    setFocusPolicy(Qt::TabFocus);
}

void MarkBox::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & ~Qt::KeypadModifier) {
        ImageBox::keyPressEvent(event);
        return;
    }
    // Keys move the focus here, so the focus frame shows, as Tab makes it show.
    if (QWidget* w = window())
        w->setAttribute(Qt::WA_KeyboardFocusChange);
    switch (event->key()) {
    case Qt::Key_Space:
        // One toggle per press: a held key does not mark and unmark in turn.
        if (!event->isAutoRepeat())
            activate();
        break;
    case Qt::Key_Up:
    case Qt::Key_Left:
        emit stepRequested(-1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        emit stepRequested(1);
        break;
    default:
        ImageBox::keyPressEvent(event); // Page Up and Down go on to the page
        return;
    }
    event->accept();
}

void MarkBox::focusInEvent(QFocusEvent* event) {
    ImageBox::focusInEvent(event);
    update();
    emit focusEntered();
}

void MarkBox::focusOutEvent(QFocusEvent* event) {
    ImageBox::focusOutEvent(event);
    update();
}

void MarkBox::paintEvent(QPaintEvent* event) {
    ImageBox::paintEvent(event);
    // Only for a keyboard user, like the focus frames of the style's own controls.
    if (!hasFocus() || !window()->testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    // A frame two pixels wide in the highlight colour, inside the box's own edges.
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

} // namespace kp
