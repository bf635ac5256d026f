#include "tools/ReportNumbers.h"

#include <cmath>

namespace kp::tools::numbers {

QString decimal(double value, int decimals) {
    if (!std::isfinite(value))
        return kNone;
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith(u'-') && text.count(u'0') == text.size() - (decimals > 0 ? 2 : 1))
        text.remove(0, 1);
    text.replace(u'.', u',');
    return text;
}

QString decimal(const std::optional<double>& value, int decimals) {
    return value ? decimal(*value, decimals) : kNone;
}

QString percent(double share) {
    return decimal(share * 100, 1) + QChar(0xA0) + u'%';
}

} // namespace kp::tools::numbers
