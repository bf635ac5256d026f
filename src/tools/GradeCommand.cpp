#include "tools/Commands.h"
#include "tools/GradeReport.h"

#include "format/ResultsReader.h"
#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "model/KpError.h"
#include "results/Correccion.h"
#include "results/TruncaDecimales.h"

namespace kp::tools {

namespace {

const char16_t* const kGradeUsage =
    u"Uso: kxt grade EXAMEN.kxt RESULTADOS.kxa... [--csv | --json]\n";

// Grades one results file against the exam; row.error says why it could not be.
GradeRow gradeFile(const KipsaPrubex& exam, qint16 totalPreguntas, const QString& path) {
    GradeRow row;
    row.archivo = path;
    ResultsReader reader;
    if (!reader.readFile(path)) {
        row.error = QStringLiteral("archivo dañado: ") + reader.errorString();
        return row;
    }
    const KipsaResult& result = reader.result();
    row.idExamen = result.IdExamen();
    row.serie = result.Serie();
    for (int i = 1; i <= 5; ++i)
        row.datos[static_cast<size_t>(i - 1)] = result.DatoAlumno(i);

    // The file stores the identifier trimmed of blanks (spaces) only, so a tab or line break
    // at its end stays and must match.
    if (result.IdExamen() != TrimBlanks(exam.IdExamen())) {
        row.error = QStringLiteral("es del examen \"%1\", no de \"%2\"")
                        .arg(result.IdExamen(), TrimBlanks(exam.IdExamen()));
        return row;
    }
    qint16 serieElegida = 0;
    const auto& series = *exam.Series();
    for (long i = 1; i <= series.Count(); ++i)
        if (series.Item(i)->Numero() == result.Serie()) {
            serieElegida = static_cast<qint16>(i);
            break;
        }
    if (serieElegida == 0) {
        row.error = QStringLiteral("el examen no tiene la serie %1").arg(result.Serie());
        return row;
    }
    row.nota = DameNota(exam, result, serieElegida, totalPreguntas, row.acertadas, row.falladas,
                        row.blancas);
    row.notaTexto = TruncaDecimales(row.nota, QStringLiteral("2"));
    row.graded = true;
    return row;
}

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

    std::vector<GradeRow> rows;
    rows.reserve(static_cast<size_t>(paths.size()));
    bool allGraded = true;
    for (const QString& path : paths) {
        if (hasSeries) {
            rows.push_back(gradeFile(exam, total, path));
        } else {
            rows.push_back(GradeRow{});
            rows.back().archivo = path;
            rows.back().error = QStringLiteral("el examen no tiene series");
        }
        if (!rows.back().graded) {
            allGraded = false;
            err << QStringLiteral("kxt grade: %1: %2\n").arg(path, rows.back().error);
        }
    }
    writeGradeReport(rows, exam, format, out);
    return allGraded ? 0 : 1;
}

} // namespace kp::tools
