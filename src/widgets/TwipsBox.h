#pragma once

#include <QRect>
#include <cmath>

namespace kp {

// A control's box in twips (1/1440 inch), the unit every layout rule of the windows is written
// in. Fractions are kept; only placing a widget rounds to whole pixels.
struct TwipsBox {
    static constexpr double TwipsPerPixel = 15.0;

    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }

    static int toPixels(double twips) {
        return static_cast<int>(std::lround(twips / TwipsPerPixel));
    }

    // The pixel rectangle the widget is given: edges rounded, so neighbours still touch.
    QRect pixels() const {
        const int x = toPixels(left);
        const int y = toPixels(top);
        return QRect(x, y, toPixels(right()) - x, toPixels(bottom()) - y);
    }

    friend bool operator==(const TwipsBox&, const TwipsBox&) = default;
};

} // namespace kp
