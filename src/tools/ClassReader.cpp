#include "tools/ClassReader.h"

#include "format/ByteCursor.h"
#include "model/KpError.h"
#include "results/GradingKey.h"
#include "tools/Progress.h"

#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>

namespace kp::tools {

ClassReader::ClassReader(const KipsaPrubex& exam, qint16 totalPreguntas)
    : total_(totalPreguntas), grader_(exam, totalPreguntas) {}

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
    if (!reader_.readForGrading(bytes))
        return skip(row, QStringLiteral("archivo dañado: ") + reader_.errorString());
    const qint16 serieElegida = grader_.identify(reader_.result(), row);
    if (serieElegida == 0)
        return skip(row, row.error);
    if (const QString first = copyOf(bytes); !first.isNull())
        return skip(row, QFileInfo(first).canonicalFilePath() == QFileInfo(path).canonicalFilePath()
                             ? QStringLiteral("repetido: ya se ha contado")
                             : QStringLiteral("copia idéntica de %1").arg(first));
    seen_.insert(qHash(bytes, kSeed), path);

    const GradingKey& key = grader_.grade(serieElegida, reader_.marks(), row);
    students_.push_back(student(std::move(row), serieElegida, key));
}

StudentResult ClassReader::student(GradeRow row, qint16 serieElegida, const GradingKey& key) const {
    StudentResult s;
    s.row = std::move(row);
    s.serieElegida = serieElegida;
    s.codes.reserve(static_cast<size_t>(total_));
    s.markStart.reserve(static_cast<size_t>(total_) + 1);
    s.markStart.push_back(0);
    for (qint32 p = 1; p <= total_; ++p) {
        const auto position = static_cast<qint16>(p);
        const auto marks = reader_.marks().at(position);
        s.codes.push_back(static_cast<qint8>(key.corrige(position, marks)));
        s.marks.insert(s.marks.end(), marks.begin(), marks.end());
        s.markStart.push_back(static_cast<qint32>(s.marks.size()));
    }
    return s;
}

} // namespace kp::tools
