#pragma once

#include <QString>
#include <optional>

// Numbers as the report shows them: decimal comma, no thousands separator, "—" for a figure
// that cannot be computed.
namespace kp::tools::numbers {

// value rounded to `decimals` places: 0.855 -> "0,86" (2), -0.001 -> "0,00" (never "-0,00").
QString decimal(double value, int decimals);
QString decimal(const std::optional<double>& value, int decimals);
// A share 0..1 as a percentage with one decimal and a non-breaking space: "85,0 %".
QString percent(double share);

inline const QString kNone = QStringLiteral("—");

} // namespace kp::tools::numbers
