#include "tools/Commands.h"

#include "model/Clock.h"
#include "model/KipsaPrubex.h"
#include "model/RandomSource.h"
#include "tools/BuildError.h"
#include "tools/JsonExamBuilder.h"

namespace kp::tools {

int runBuild(const QStringList& args, QTextStream&, QTextStream& err) {
    QString source;
    QString output;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"-o" && i + 1 < args.size())
            output = args[++i];
        else if (source.isEmpty() && !args[i].startsWith(u'-'))
            source = args[i];
        else {
            source.clear(); // anything else is a usage error
            break;
        }
    }
    if (source.isEmpty() || output.isEmpty()) {
        err << QStringLiteral("Uso: kxt build ORIGEN.json -o EXAMEN.kxt\n");
        return 2;
    }
    KipsaPrubex exam;
    try {
        SystemClock clock;
        SystemRandom random;
        JsonExamBuilder(clock, random).build(source, exam);
    } catch (const BuildError& e) {
        err << QStringLiteral("kxt: %1\n").arg(e.message());
        return 1;
    } catch (const std::exception& e) {
        err << QStringLiteral("kxt: %1: %2\n").arg(source, QString::fromUtf8(e.what()));
        return 1;
    }
    exam.setArchivoSalida(output);
    if (!exam.Export()) {
        err << QStringLiteral("kxt: no se puede escribir %1: %2\n").arg(output, exam.errorString());
        return 1;
    }
    return 0;
}

} // namespace kp::tools
