#include "results/LimpiaNombreArchivo.h"

namespace kp {

QString LimpiaNombreArchivo(const QString& texto) {
    static constexpr QStringView forbidden = u"\\/:?\"<>|";
    QString limpio = texto;
    for (QChar& c : limpio)
        if (forbidden.contains(c))
            c = u'_';
    return limpio;
}

} // namespace kp
