#include "tools/Commands.h"
#include "tools/GradeReport.h"
#include "tools/Grader.h"
#include "tools/OrderedWork.h"

#include "model/KipsaPrubex.h"
#include "model/KpError.h"

#include <optional>

namespace kp::tools {

namespace {

const char16_t* const kGradeUsage =
    u"Uso: kxt grade EXAMEN.kxt RESULTADOS.kxa... [--csv | --json]\n";

} // namespace

int runGrade(const QStringList& args, QTextStream& out, QTextStream& err) {
    GradeFormat format = GradeFormat::Table;
    QStringList paths;
    for (const QString& a : args) {
        if (a == u"--csv")
            format = GradeFormat::Csv;
        else if (a == u"--json")
            format = GradeFormat::Json;
        else if (a.startsWith(u"--")) {
            err << QStringLiteral("kxt grade: opción desconocida: %1\n").arg(a)
                << QString::fromUtf16(kGradeUsage);
            return 2;
        } else
            paths << a;
    }
    if (paths.size() < 2) {
        err << QString::fromUtf16(kGradeUsage);
        return 2;
    }

    const QString examPath = paths.takeFirst();
    KipsaPrubex exam;
    if (!exam.Cargar(examPath)) {
        err << QStringLiteral("kxt grade: no se puede abrir el examen %1: %2\n")
                   .arg(examPath, exam.errorString());
        return 1;
    }
    // As the runner counts them: the slots of the first series.
    const bool hasSeries = exam.Series()->Count() > 0;
    qint16 total = 0;
    try {
        if (hasSeries)
            total = exam.PreguntasPrimeraSerie();
    } catch (const KpError&) {
        err << QStringLiteral("kxt grade: la primera serie de %1 tiene demasiadas preguntas\n")
                   .arg(examPath);
        return 1;
    }

    GradeReport report(exam, format, out, paths.size());
    bool allGraded = true;
    Grader grader(exam, total);
    // The files are opened and read on other threads, a few dozen ahead of the grading here.
    const qint64 maxSize = grader.maxSize();
    std::optional<OrderedWork<ResultsReader::Fetched>> files;
    if (hasSeries)
        files.emplace(static_cast<size_t>(paths.size()), 64, [&paths, maxSize](size_t i) {
            return ResultsReader::fetchForGrading(paths.at(static_cast<qsizetype>(i)), maxSize);
        });
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString& path = paths.at(i);
        GradeRow row;
        if (hasSeries) {
            row = grader.grade(path, files->take(static_cast<size_t>(i)));
        } else {
            row.archivo = path;
            row.error = QStringLiteral("el examen no tiene series");
        }
        if (!row.graded) {
            allGraded = false;
            err << QStringLiteral("kxt grade: %1: %2\n").arg(path, row.error);
        }
        report.add(row);
    }
    report.finish();
    return allGraded ? 0 : 1;
}

} // namespace kp::tools
