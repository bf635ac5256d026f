#include "tools/ClassReader.h"

#include "format/ByteCursor.h"
#include "format/ResultsReader.h"
#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "model/KpError.h"
#include "results/Correccion.h"
#include "results/TruncaDecimales.h"
#include "tools/Progress.h"

#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>

namespace kp::tools {

ClassReader::ClassReader(const KipsaPrubex& exam, qint16 totalPreguntas)
    : exam_(exam), total_(totalPreguntas), corrector_(exam) {}

void ClassReader::addPaths(const QStringList& paths) {
    for (const QString& path : paths) {
        if (!QFileInfo(path).isDir()) {
            files_ << path;
            continue;
        }
        QStringList found;
        QDirIterator it(path, {QStringLiteral("*.kxa")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        std::sort(found.begin(), found.end());
        if (found.isEmpty()) {
            GradeRow row;
            row.archivo = path;
            skip(row, QStringLiteral("la carpeta no tiene archivos .kxa"));
        }
        files_ << found;
    }
}

void ClassReader::read(Progress* progress) {
    students_.reserve(static_cast<size_t>(files_.size()));
    for (qsizetype i = 0; i < files_.size(); ++i) {
        readFile(files_[i]);
        if (progress)
            progress->step(QStringLiteral("leídos"), i + 1, files_.size());
    }
}

void ClassReader::skip(GradeRow row, const QString& error) {
    row.graded = false;
    row.error = error;
    skipped_.push_back(std::move(row));
}

QString ClassReader::copyOf(const QByteArray& bytes) const {
    // Only the hashes of the files are kept; a file with the same hash is read again and
    // compared byte for byte.
    for (const QString& earlier : seen_.values(qHash(bytes, kSeed))) {
        try {
            if (ByteCursor::readFile(earlier, ResultsReader::kMaxFileSize) == bytes)
                return earlier;
        } catch (const KpError&) {
            // Gone since it was counted: not a copy of this one.
        }
    }
    return {};
}

void ClassReader::readFile(const QString& path) {
    GradeRow row;
    row.archivo = path;
    QByteArray bytes;
    try {
        bytes = ByteCursor::readFile(path, ResultsReader::kMaxFileSize);
    } catch (const KpError& e) {
        return skip(row, QStringLiteral("no se puede leer: ") + e.message());
    }
    ResultsReader reader;
    if (!reader.read(bytes))
        return skip(row, QStringLiteral("archivo dañado: ") + reader.errorString());
    const KipsaResult& result = reader.result();
    row.idExamen = result.IdExamen();
    row.serie = result.Serie();
    for (int i = 1; i <= 5; ++i)
        row.datos[static_cast<size_t>(i - 1)] = result.DatoAlumno(i);

    // The file stores the identifier trimmed of blanks only, as the exam's is compared here.
    const QString examId = TrimBlanks(exam_.IdExamen());
    if (result.IdExamen() != examId)
        return skip(
            row,
            QStringLiteral("es del examen \"%1\", no de \"%2\"").arg(result.IdExamen(), examId));
    qint16 serieElegida = 0;
    const auto& series = *exam_.Series();
    for (long i = 1; i <= series.Count() && i <= 32767; ++i)
        if (series.Item(i)->Numero() == result.Serie()) {
            serieElegida = static_cast<qint16>(i);
            break;
        }
    if (serieElegida == 0)
        return skip(row, QStringLiteral("el examen no tiene la serie %1").arg(result.Serie()));
    if (const QString first = copyOf(bytes); !first.isNull())
        return skip(row, QFileInfo(first).canonicalFilePath() == QFileInfo(path).canonicalFilePath()
                             ? QStringLiteral("repetido: ya se ha contado")
                             : QStringLiteral("copia idéntica de %1").arg(first));
    seen_.insert(qHash(bytes, kSeed), path);

    StudentResult student;
    row.nota =
        DameNota(exam_, result, serieElegida, total_, row.acertadas, row.falladas, row.blancas);
    row.notaTexto = TruncaDecimales(row.nota, QStringLiteral("2"));
    row.graded = true;
    student.row = std::move(row);
    student.serieElegida = serieElegida;

    // Marks grouped by position, each position's in file order.
    std::vector<qint32> count(static_cast<size_t>(total_) + 1, 0);
    const auto& entries = *result.RespuestasKipsa();
    for (const auto& entry : entries)
        if (entry->NumPregunta() >= 1 && entry->NumPregunta() <= total_)
            ++count[static_cast<size_t>(entry->NumPregunta())];
    student.markStart.assign(static_cast<size_t>(total_) + 1, 0);
    for (qint32 p = 1; p <= total_; ++p)
        student.markStart[static_cast<size_t>(p)] =
            student.markStart[static_cast<size_t>(p - 1)] + count[static_cast<size_t>(p)];
    student.marks.resize(static_cast<size_t>(student.markStart.back()));
    std::vector<qint32> next(student.markStart.begin(), student.markStart.end() - 1);
    for (const auto& entry : entries)
        if (entry->NumPregunta() >= 1 && entry->NumPregunta() <= total_)
            student
                .marks[static_cast<size_t>(next[static_cast<size_t>(entry->NumPregunta() - 1)]++)] =
                entry->NumRespuesta();

    student.codes.resize(static_cast<size_t>(total_));
    qint16 counted[4] = {};
    for (qint32 p = 1; p <= total_; ++p) {
        const auto position = static_cast<qint16>(p);
        const qint8 code = corrector_.code(serieElegida, position, student.marksBegin(p),
                                           student.marksEnd(p) - student.marksBegin(p));
        student.codes[static_cast<size_t>(p - 1)] = code;
        ++counted[std::clamp<int>(code, 0, 3)];
    }
    // The codes must add up to the counts of the grade; should correction ever read more than
    // a position's own marks, the student's positions are corrected on the whole record.
    if (counted[CodigoPregunta::Acertada] != student.row.acertadas ||
        counted[CodigoPregunta::Fallada] != student.row.falladas ||
        counted[CodigoPregunta::Blanca] != student.row.blancas)
        for (qint32 p = 1; p <= total_; ++p)
            student.codes[static_cast<size_t>(p - 1)] =
                corrector_.direct(result, serieElegida, static_cast<qint16>(p));
    students_.push_back(std::move(student));
}

} // namespace kp::tools
