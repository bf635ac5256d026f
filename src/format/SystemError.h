#pragma once

#include <QString>

namespace kp {

// The system's error number errnum as a short Spanish text ("no queda espacio en el disco").
QString systemErrorText(int errnum);

} // namespace kp
