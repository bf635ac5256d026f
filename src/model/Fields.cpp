#include "model/Fields.h"

namespace kp {

QString RellenaCeros(qint32 n) {
    const QString digits = QString::number(n);
    return digits.size() >= 10 ? digits : QString(10 - digits.size(), u'0') + digits;
}

QString DameNombreArchivo(const QString& path) {
    return path.mid(path.lastIndexOf(u'\\') + 1);
}

} // namespace kp
