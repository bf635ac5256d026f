#include "tools/Commands.h"

#include "model/Clock.h"
#include "model/KipsaPrubex.h"
#include "model/KpError.h"
#include "tools/ClassReader.h"
#include "tools/ClassReport.h"
#include "tools/ClassStatistics.h"
#include "tools/ExamItems.h"
#include "tools/HtmlReport.h"
#include "tools/Progress.h"
#include "tools/ReportTables.h"

#include <QSaveFile>

namespace kp::tools {

namespace {

const char16_t* const kReportUsage =
    u"Uso: kxt report EXAMEN.kxt RESULTADOS... -o INFORME [--csv | --json]\n"
    u"                [--orden nombre|nota|ambos]\n"
    u"  RESULTADOS son archivos .kxa o carpetas, donde se buscan (también en subcarpetas).\n"
    u"  Sin --csv ni --json, INFORME es una página HTML; con --csv, una carpeta de tablas;\n"
    u"  con --json, un archivo JSON. --orden elige la tabla de alumnos (por defecto, ambas).\n";

enum class Format { Html, Csv, Json };

struct Options {
    Format format = Format::Html;
    StudentOrder order = StudentOrder::Both;
    QString output;
    QStringList paths;
};

// Fills options from the arguments; an empty text when they make sense, else why not.
QString parse(const QStringList& args, Options& o) {
    bool formatGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"-o" || a == u"--orden") {
            if (i + 1 >= args.size())
                return QStringLiteral("falta el valor de %1").arg(a);
            const QString value = args[++i];
            if (a == u"-o") {
                o.output = value;
            } else if (value == u"nombre") {
                o.order = StudentOrder::Name;
            } else if (value == u"nota") {
                o.order = StudentOrder::Grade;
            } else if (value == u"ambos") {
                o.order = StudentOrder::Both;
            } else {
                return QStringLiteral("orden desconocido: %1").arg(value);
            }
        } else if (a == u"--csv" || a == u"--json") {
            if (formatGiven)
                return QStringLiteral("elija --csv o --json, no ambos");
            formatGiven = true;
            o.format = a == u"--csv" ? Format::Csv : Format::Json;
        } else if (a.startsWith(u'-') && a.size() > 1) {
            return QStringLiteral("opción desconocida: %1").arg(a);
        } else {
            o.paths << a;
        }
    }
    if (o.paths.size() < 2)
        return QStringLiteral("faltan el examen y los resultados");
    if (o.output.isEmpty())
        return QStringLiteral("falta -o INFORME");
    return {};
}

bool writeFile(const QString& path, const std::function<void(QIODevice&)>& write, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    write(file);
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

int runReport(const QStringList& args, QTextStream& out, QTextStream& err) {
    (void)out;
    Options options;
    if (const QString problem = parse(args, options); !problem.isEmpty()) {
        err << QStringLiteral("kxt report: %1\n").arg(problem) << QString::fromUtf16(kReportUsage);
        return 2;
    }
    const QString examPath = options.paths.takeFirst();
    KipsaPrubex exam;
    if (!exam.Cargar(examPath)) {
        err << QStringLiteral("kxt report: no se puede abrir el examen %1: %2\n")
                   .arg(examPath, exam.errorString());
        return 1;
    }
    if (exam.Series()->Count() == 0) {
        err << QStringLiteral("kxt report: el examen %1 no tiene series\n").arg(examPath);
        return 1;
    }
    qint16 total = 0;
    try {
        total = exam.PreguntasPrimeraSerie();
    } catch (const KpError&) {
        err << QStringLiteral("kxt report: la primera serie de %1 tiene demasiadas preguntas\n")
                   .arg(examPath);
        return 1;
    }

    SystemClock clock;
    Progress progress(err, Progress::isTerminal(err), clock);
    ClassReader reader(exam, total);
    reader.addPaths(options.paths);
    reader.read(&progress);
    progress.finish();
    const ExamItems items(exam, total);
    const ReportFigures figures = computeFigures(exam, items, reader.students());
    const ClassReport report{exam, items, figures, reader.students(), reader.skipped()};

    for (const GradeRow& row : reader.skipped())
        err << QStringLiteral("kxt report: %1: %2\n").arg(row.archivo, row.error);
    QString error;
    bool written = false;
    switch (options.format) {
    case Format::Html:
        written = writeFile(
            options.output,
            [&](QIODevice& device) { HtmlReport(report, options.order).write(device); }, error);
        break;
    case Format::Json:
        written = writeFile(
            options.output, [&](QIODevice& device) { device.write(ReportTables::json(report)); },
            error);
        break;
    case Format::Csv:
        written = ReportTables::writeCsv(report, options.output, error);
        break;
    }
    if (!written) {
        err << QStringLiteral("kxt report: no se puede escribir %1: %2\n")
                   .arg(options.output, error);
        return 1;
    }
    return reader.skipped().empty() ? 0 : 1;
}

} // namespace kp::tools
