#pragma once

#include <QJsonObject>

namespace kp {
class KipsaPrubex;
}

namespace kp::tools {

// The loaded exam as `kxt info` prints it. Other tools read this shape: change it only by
// adding members. Texts are exactly as loaded (untrimmed); images are given by size and
// SHA-256; collections keep their order.
QJsonObject examToJson(const KipsaPrubex& exam);

// A float as JSON in its own shortest decimal form (0.1f prints as 0.1, not 0.100000001).
double shortestFloat(float value);

} // namespace kp::tools
