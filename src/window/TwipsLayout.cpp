#include "window/TwipsLayout.h"

#include <QWidget>

namespace kp {

void TwipsLayout::place(QWidget* w, const TwipsBox& box) {
    if (!w)
        return;
    boxes_.insert(w, box);
    w->setGeometry(box.pixels());
}

void TwipsLayout::move(QWidget* w, double left, double top) {
    TwipsBox b = box(w);
    b.left = left;
    b.top = top;
    place(w, b);
}

void TwipsLayout::resize(QWidget* w, double width, double height) {
    TwipsBox b = box(w);
    b.width = width;
    b.height = height;
    place(w, b);
}

void TwipsLayout::setLeft(QWidget* w, double left) {
    TwipsBox b = box(w);
    b.left = left;
    place(w, b);
}

void TwipsLayout::setTop(QWidget* w, double top) {
    TwipsBox b = box(w);
    b.top = top;
    place(w, b);
}

void TwipsLayout::setWidth(QWidget* w, double width) {
    TwipsBox b = box(w);
    b.width = width;
    place(w, b);
}

void TwipsLayout::setHeight(QWidget* w, double height) {
    TwipsBox b = box(w);
    b.height = height;
    place(w, b);
}

TwipsBox TwipsLayout::box(const QWidget* w) const {
    if (!w)
        return {};
    const auto it = boxes_.constFind(w);
    if (it != boxes_.constEnd())
        return it.value();
    const QRect g = w->geometry();
    return {g.x() * TwipsBox::TwipsPerPixel, g.y() * TwipsBox::TwipsPerPixel,
            g.width() * TwipsBox::TwipsPerPixel, g.height() * TwipsBox::TwipsPerPixel};
}

} // namespace kp
