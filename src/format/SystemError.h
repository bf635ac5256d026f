#pragma once

#include <QString>

namespace kp {

// The system's error number errnum as a short Spanish text ("no queda espacio en el disco").
QString systemErrorText(int errnum);

// What a path that is not a regular file is, from its st_mode ("una carpeta").
QString fileKindText(unsigned mode);

} // namespace kp
