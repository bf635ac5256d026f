#pragma once

#include <QString>

namespace kp {

// A number as the grade display writes it: plain decimal notation (never an exponent), at
// most 7 significant digits with the seventh rounded to nearest, no trailing zeros, and the
// decimal comma whatever the machine's locale. 7.5 -> "7,5", 20/3 -> "6,666667", 10 -> "10",
// 9.9999995 -> "10".
QString formatSingle(double value);

// The grade text: formatSingle of nota, cut after `decimales` digits behind the comma (never
// rounded up). A text without a comma stays whole. `decimales` is a whole number as text;
// anything else (or a negative number) leaves the text uncut.
QString TruncaDecimales(float nota, const QString& decimales);

} // namespace kp
