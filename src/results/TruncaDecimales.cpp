#include "results/TruncaDecimales.h"

#include <cmath>

namespace kp {

QString formatSingle(double value) {
    if (std::isnan(value) || std::isinf(value))
        return QString::number(value);
    if (value == 0)
        return QStringLiteral("0");
    // Seven significant digits rounded to nearest, then laid out without an exponent.
    // QString::number always uses the C locale: "d.dddddde+XX".
    const QString sci = QString::number(std::fabs(value), 'e', 6);
    const qsizetype e = sci.indexOf(u'e');
    const int exponent = QStringView(sci).mid(e + 1).toInt();
    QString digits = sci.left(1) + sci.mid(2, e - 2);
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);

    QString text;
    if (exponent >= 0) {
        const qsizetype intDigits = exponent + 1;
        if (digits.size() <= intDigits)
            text = digits + QString(intDigits - digits.size(), u'0');
        else
            text = digits.left(intDigits) + u',' + digits.mid(intDigits);
    } else {
        text = QStringLiteral("0,") + QString(-exponent - 1, u'0') + digits;
    }
    return value < 0 ? u'-' + text : text;
}

QString TruncaDecimales(float nota, const QString& decimales) {
    const QString text = formatSingle(static_cast<double>(nota)).trimmed();
    const qsizetype comma = text.indexOf(u',');
    if (comma < 0)
        return text;
    bool ok = false;
    const int d = decimales.trimmed().toInt(&ok);
    if (!ok || d < 0)
        return text;
    // Keep the comma and at most d digits after it.
    return text.left(comma + 1 + d);
}

} // namespace kp
