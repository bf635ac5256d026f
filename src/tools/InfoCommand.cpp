#include "tools/Commands.h"

namespace kp::tools {

int runInfo(const QStringList&, QTextStream&, QTextStream& err) {
    err << QStringLiteral("kxt: todavía no disponible\n");
    return 1;
}

} // namespace kp::tools
