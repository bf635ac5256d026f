#include "tools/Commands.h"
#include "tools/GradeReport.h"

#include "format/ResultsFileSize.h"
#include "format/ResultsReader.h"
#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "model/KpError.h"
#include "results/GradingKey.h"
#include "results/TruncaDecimales.h"
#include "tools/OrderedWork.h"

#include <QHash>
#include <memory>
#include <optional>
#include <vector>

namespace kp::tools {

namespace {

const char16_t* const kGradeUsage =
    u"Uso: kxt grade EXAMEN.kxt RESULTADOS.kxa... [--csv | --json]\n";

// Grades results files against one exam. What grading needs of a series is prepared once, the
// first time a file names it, and serves every later file of that series.
class Grader {
public:
    Grader(const KipsaPrubex& exam, qint16 totalPreguntas)
        : exam_(exam), idExamen_(TrimBlanks(exam.IdExamen())), total_(totalPreguntas) {
        const auto& series = *exam.Series();
        for (long i = series.Count(); i >= 1; --i)
            positionOf_.insert(series.Item(i)->Numero(), static_cast<qint16>(i)); // first wins
        keys_.resize(static_cast<size_t>(series.Count()));
    }

    // The largest results file a run of this exam can write: anything larger is refused
    // before it is read.
    qint64 maxSize() const { return maxSize_; }

    // Grades one results file, fetched with maxSize(); row.error says why it could not be.
    GradeRow grade(const QString& path, const ResultsReader::Fetched& file) {
        GradeRow row;
        row.archivo = path;
        if (!reader_.readForGrading(file)) {
            row.error = reader_.fileSize() > maxSize_
                            ? QStringLiteral("ocupa %1 bytes y ningún archivo de resultados de "
                                             "este examen puede pasar de %2 bytes")
                                  .arg(reader_.fileSize())
                                  .arg(maxSize_)
                            : QStringLiteral("archivo dañado: ") + reader_.errorString();
            return row;
        }
        const KipsaResult& result = reader_.result();
        row.idExamen = result.IdExamen();
        row.serie = result.Serie();
        for (int i = 1; i <= 5; ++i)
            row.datos[static_cast<size_t>(i - 1)] = result.DatoAlumno(i);

        // The file stores the identifier trimmed of blanks (spaces) only, so a tab or line break
        // at its end stays and must match.
        if (result.IdExamen() != idExamen_) {
            row.error = QStringLiteral("es del examen \"%1\", no de \"%2\"")
                            .arg(result.IdExamen(), idExamen_);
            return row;
        }
        const qint16 serieElegida = positionOf_.value(result.Serie(), 0);
        if (serieElegida == 0) {
            row.error = QStringLiteral("el examen no tiene la serie %1").arg(result.Serie());
            return row;
        }
        if (reader_.marks().positions() != total_) {
            row.error = QStringLiteral("tiene %1 preguntas y el examen %2")
                            .arg(reader_.marks().positions())
                            .arg(total_);
            return row;
        }
        auto& key = keys_[static_cast<size_t>(serieElegida - 1)];
        if (!key)
            key = std::make_unique<GradingKey>(exam_, serieElegida, total_);
        row.nota = key->nota(reader_.marks(), row.acertadas, row.falladas, row.blancas);
        row.notaTexto = TruncaDecimales(row.nota, QStringLiteral("2"));
        row.graded = true;
        return row;
    }

private:
    const KipsaPrubex& exam_;
    const QString idExamen_;
    const qint16 total_;
    const qint64 maxSize_ = maxResultsFileSize(exam_, total_);
    QHash<qint16, qint16> positionOf_; // series number -> position in Series
    std::vector<std::unique_ptr<GradingKey>> keys_;
    ResultsReader reader_;
};

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
