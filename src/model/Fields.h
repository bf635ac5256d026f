#pragma once

#include <QString>

namespace kp {

// The 10-character decimal field: the number's text preceded by enough "0" to reach 10
// characters. Longer texts are not cut; a minus sign stays after the zeros.
QString RellenaCeros(qint32 n);

// The part of a path after its last backslash; the whole text when there is none.
QString DameNombreArchivo(const QString& path);

} // namespace kp
