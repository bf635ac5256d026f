#include "tools/JsonSource.h"

#include "format/Cp1252.h"
#include "tools/BuildError.h"

#include <QJsonArray>
#include <QJsonObject>
#include <cmath>

namespace kp::tools {

void JsonSource::fail(const QString& message) const {
    throw BuildError(path_ + QStringLiteral(": ") + message);
}

JsonSource JsonSource::member(const QString& name) const {
    const QString path = path_.isEmpty() ? name : path_ + u'.' + name;
    return JsonSource(value_.toObject().value(name), path);
}

JsonSource JsonSource::at(qsizetype index) const {
    return JsonSource(value_.toArray().at(index), QStringLiteral("%1[%2]").arg(path_).arg(index));
}

void JsonSource::requireObject(const QStringList& allowed) const {
    if (!value_.isObject())
        fail(QStringLiteral("se esperaba un objeto"));
    for (const QString& key : value_.toObject().keys())
        if (!allowed.contains(key))
            member(key).fail(QStringLiteral("miembro desconocido"));
}

qsizetype JsonSource::arraySize() const {
    if (!value_.isArray())
        fail(QStringLiteral("se esperaba una lista"));
    return value_.toArray().size();
}

QString JsonSource::string() const {
    if (!value_.isString())
        fail(QStringLiteral("se esperaba un texto"));
    const QString s = value_.toString();
    for (const QChar c : s)
        if (!Cp1252::canEncode(QString(c)))
            fail(QStringLiteral("el carácter «%1» (U+%2) no cabe en Windows-1252")
                     .arg(c)
                     .arg(c.unicode(), 4, 16, QLatin1Char('0')));
    return s;
}

bool JsonSource::boolean() const {
    if (!value_.isBool())
        fail(QStringLiteral("se esperaba true o false"));
    return value_.toBool();
}

qint64 JsonSource::integer(qint64 min, qint64 max) const {
    const double d = value_.toDouble(std::nan(""));
    if (!value_.isDouble() || d != std::floor(d) || d < static_cast<double>(min) ||
        d > static_cast<double>(max))
        fail(QStringLiteral("se esperaba un número entero de %1 a %2").arg(min).arg(max));
    return static_cast<qint64>(d);
}

double JsonSource::number(double min, double max) const {
    const double d = value_.toDouble(std::nan(""));
    if (!value_.isDouble() || !(d >= min && d <= max))
        fail(QStringLiteral("se esperaba un número de %1 a %2").arg(min).arg(max));
    return d;
}

} // namespace kp::tools
