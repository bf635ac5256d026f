#include "tools/Commands.h"

#include "model/KipsaPrubex.h"
#include "tools/ExamJson.h"

#include <QJsonDocument>

namespace kp::tools {

int runInfo(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 1 || args[0].startsWith(u'-')) {
        err << QStringLiteral("Uso: kxt info EXAMEN.kxt\n");
        return 2;
    }
    KipsaPrubex exam;
    if (!exam.Cargar(args[0])) {
        err << QStringLiteral("kxt: no se puede abrir el examen %1\n").arg(args[0]);
        if (!exam.errorString().isEmpty())
            err << QStringLiteral("kxt: %1\n").arg(exam.errorString());
        return 1;
    }
    out << QString::fromUtf8(QJsonDocument(examToJson(exam)).toJson(QJsonDocument::Indented));
    return 0;
}

} // namespace kp::tools
