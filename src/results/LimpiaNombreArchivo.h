#pragma once

#include <QString>

namespace kp {

// Makes a student's text safe as part of a file name: each of \ / : ? " < > | becomes '_';
// nothing else changes. Shared by the start (results path) and the fallback results path.
QString LimpiaNombreArchivo(const QString& texto);

} // namespace kp
