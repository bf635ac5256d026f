#include "model/Fields.h"

#include <algorithm>

namespace kp {

QString DameNombreArchivo(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.mid(cut + 1);
}

QString ClavePregunta(const QString& id) {
    return QStringLiteral("pregunta") + TrimBlanks(id);
}

QString TrimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace kp
