#pragma once

#include <QtGlobal>
#include <cmath>
#include <limits>
#include <optional>

namespace kp {

// A number narrowed to a whole one: nearest, halves to the even neighbour (the default rounding
// mode); none when the result falls outside low..high or is not finite.
inline std::optional<qint64> roundedWithin(double value, qint64 low, qint64 high) {
    const double r = std::nearbyint(value);
    if (!(r >= static_cast<double>(low) && r <= static_cast<double>(high)))
        return std::nullopt;
    return static_cast<qint64>(r);
}

// The 16-bit counts, codes and positions of the exam: rounded as above, none when out of range.
inline std::optional<qint16> toInt16(double value) {
    const auto r = roundedWithin(value, std::numeric_limits<qint16>::min(),
                                 std::numeric_limits<qint16>::max());
    return r ? std::optional<qint16>(static_cast<qint16>(*r)) : std::nullopt;
}

} // namespace kp
