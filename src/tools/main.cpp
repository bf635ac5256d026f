#include "tools/Commands.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

namespace {

const char16_t* const kUsage =
    u"Uso: kxt ORDEN [ARGUMENTOS]\n"
    u"\n"
    u"Órdenes:\n"
    u"  info EXAMEN.kxt                     muestra el examen en JSON\n"
    u"  build ORIGEN.json -o EXAMEN.kxt     construye un examen desde una descripción JSON\n"
    u"  grade EXAMEN.kxt RESULTADOS.kxa...  califica archivos de resultados\n"
    u"        [--csv | --json]\n"
    u"  report EXAMEN.kxt RESULTADOS... -o INFORME\n"
    u"        [--csv | --json] [--orden nombre|nota|ambos]\n"
    u"                                      informe de la clase: resumen, gráficos, análisis\n"
    u"                                      de cada pregunta y notas (RESULTADOS: archivos\n"
    u"                                      .kxa o carpetas)\n"
    u"\n"
    u"Opciones:\n"
    u"  -h, --help                          muestra esta ayuda\n";

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Qt's own messages (JSON syntax errors, file errors) in Spanish, like ours.
    QTranslator qtSpanish;
    if (qtSpanish.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtSpanish);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args[0] == u"-h" || args[0] == u"--help" || args[0] == u"help") {
        (args.isEmpty() ? err : out) << QString::fromUtf16(kUsage);
        return args.isEmpty() ? 2 : 0;
    }
    const QString command = args.takeFirst();
    if (command == u"info")
        return kp::tools::runInfo(args, out, err);
    if (command == u"build")
        return kp::tools::runBuild(args, out, err);
    if (command == u"grade")
        return kp::tools::runGrade(args, out, err);
    if (command == u"report")
        return kp::tools::runReport(args, out, err);
    err << QStringLiteral("kxt: orden desconocida: %1\n").arg(command)
        << QString::fromUtf16(kUsage);
    return 2;
}
