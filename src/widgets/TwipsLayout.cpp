#include "widgets/TwipsLayout.h"

#include <QWidget>

namespace kp {

void TwipsLayout::place(QWidget* w, const TwipsBox& box) {
    if (!w)
        return;
    boxes_.insert(w, box);
    w->setGeometry(box.pixels());
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
