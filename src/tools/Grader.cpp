#include "tools/Grader.h"

#include "format/ResultsFileSize.h"
#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "results/GradingKey.h"
#include "results/TruncaDecimales.h"

namespace kp::tools {

Grader::Grader(const KipsaPrubex& exam, qint16 totalPreguntas)
    : exam_(exam), idExamen_(TrimBlanks(exam.IdExamen())), total_(totalPreguntas),
      maxSize_(maxResultsFileSize(exam_, total_)) {
    const auto& series = *exam.Series();
    for (long i = series.Count(); i >= 1; --i)
        positionOf_.insert(series.Item(i)->Numero(), static_cast<qint16>(i)); // first wins
    keys_.resize(static_cast<size_t>(series.Count()));
}

Grader::~Grader() = default;

GradeRow Grader::grade(const QString& path, const ResultsReader::Fetched& file) {
    GradeRow row;
    row.archivo = path;
    if (!reader_.readForGrading(file)) {
        row.error = reader_.fileSize() > maxSize_
                        ? QStringLiteral("ocupa %1 bytes y ningún archivo de resultados de este "
                                         "examen puede pasar de %2 bytes")
                              .arg(reader_.fileSize())
                              .arg(maxSize_)
                        : QStringLiteral("archivo dañado: ") + reader_.errorString();
        return row;
    }
    const qint16 serieElegida = identify(reader_.result(), row);
    if (serieElegida == 0)
        return row;
    if (reader_.marks().positions() != total_) {
        row.error = QStringLiteral("tiene %1 preguntas y el examen %2")
                        .arg(reader_.marks().positions())
                        .arg(total_);
        return row;
    }
    grade(serieElegida, reader_.marks(), row);
    return row;
}

qint16 Grader::identify(const KipsaResult& result, GradeRow& row) const {
    row.idExamen = result.IdExamen();
    row.serie = result.Serie();
    for (int i = 1; i <= 5; ++i)
        row.datos[static_cast<size_t>(i - 1)] = result.DatoAlumno(i);

    // The file stores the identifier trimmed of blanks (spaces) only, so a tab or line break
    // at its end stays and must match.
    if (result.IdExamen() != idExamen_) {
        row.error =
            QStringLiteral("es del examen \"%1\", no de \"%2\"").arg(result.IdExamen(), idExamen_);
        return 0;
    }
    const qint16 serieElegida = positionOf_.value(result.Serie(), 0);
    if (serieElegida == 0)
        row.error = QStringLiteral("el examen no tiene la serie %1").arg(result.Serie());
    return serieElegida;
}

const GradingKey& Grader::grade(qint16 serieElegida, const MarksByPosition& marks, GradeRow& row) {
    auto& key = keys_[static_cast<size_t>(serieElegida - 1)];
    if (!key)
        key = std::make_unique<GradingKey>(exam_, serieElegida, total_);
    row.nota = key->nota(marks, row.acertadas, row.falladas, row.blancas);
    row.notaTexto = TruncaDecimales(row.nota, QStringLiteral("2"));
    row.graded = true;
    return *key;
}

} // namespace kp::tools
