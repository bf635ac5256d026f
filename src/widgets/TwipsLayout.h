#pragma once

#include "widgets/TwipsBox.h"

#include <QHash>
#include <QPointer>

class QWidget;

namespace kp {

// Remembers every control's box in twips and places the widget from it. The stored box is the
// exact value the layout computed, so tests read twips, not rounded pixels.
class TwipsLayout {
public:
    // Stores the box and moves/resizes the widget (relative to its parent).
    void place(QWidget* w, const TwipsBox& box);
    // Change part of the box, keeping the rest.
    void move(QWidget* w, double left, double top) {
        adjust(w, [&](TwipsBox& b) {
            b.left = left;
            b.top = top;
        });
    }
    void resize(QWidget* w, double width, double height) {
        adjust(w, [&](TwipsBox& b) {
            b.width = width;
            b.height = height;
        });
    }
    void setLeft(QWidget* w, double left) {
        adjust(w, [&](TwipsBox& b) { b.left = left; });
    }
    void setTop(QWidget* w, double top) {
        adjust(w, [&](TwipsBox& b) { b.top = top; });
    }
    void setHeight(QWidget* w, double height) {
        adjust(w, [&](TwipsBox& b) { b.height = height; });
    }

    // The box last given; a widget never placed reads as its pixel geometry times 15.
    TwipsBox box(const QWidget* w) const;
    void forget(const QWidget* w) { boxes_.remove(w); }

private:
    template <typename Change> void adjust(QWidget* w, Change change) {
        TwipsBox b = box(w);
        change(b);
        place(w, b);
    }

    QHash<const QWidget*, TwipsBox> boxes_;
};

} // namespace kp
