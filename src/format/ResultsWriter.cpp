// The results file: KipsaResult::Contenido and Guardar.
#include "model/KipsaResult.h"

#include "format/FieldWriter.h"
#include "model/KipsaPrubex.h"

#include <QBuffer>
#include <QSaveFile>
#include <vector>

namespace kp {

const std::shared_ptr<kp::RespuestasKipsa>& KipsaResult::RespuestasKipsa() const {
    if (!marks_)
        marks_ = std::make_shared<kp::RespuestasKipsa>();
    return marks_;
}

QByteArray KipsaResult::Contenido(const KipsaPrubex& exam, qint16 totalPreguntas) const {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    FieldWriter out(buffer, FieldWriter::Unencodable::Replace);
    out.padded(300);
    out.text(IdExamen());
    out.padded(Serie());
    for (int i = 1; i <= 5; ++i) {
        out.text(exam.DatoAlumno(i));
        out.text(DatoAlumno(i));
    }
    out.padded(totalPreguntas);

    // The marks of every position in one pass over the collection, in the order they were made.
    const int n = totalPreguntas > 0 ? totalPreguntas : 0;
    std::vector<QByteArray> answers(static_cast<size_t>(n) + 1);
    for (const auto& entry : *RespuestasKipsa()) {
        const int pos = entry->NumPregunta();
        if (pos >= 1 && pos <= n)
            answers[static_cast<size_t>(pos)]
                .append(QByteArray::number(entry->NumRespuesta()))
                .append(';');
    }
    for (int i = 1; i <= n; ++i) {
        out.padded(exam.TipoExamen());
        out.padded(i);
        const QByteArray& text = answers[static_cast<size_t>(i)];
        out.bytes(text.isEmpty() ? QByteArrayLiteral("0;") : text);
    }
    return buffer.data();
}

bool KipsaResult::Guardar(const KipsaPrubex& exam, qint16 totalPreguntas, QIODevice& device) const {
    try {
        const QByteArray bytes = Contenido(exam, totalPreguntas);
        return device.write(bytes) == bytes.size();
    } catch (...) {
        return false;
    }
}

bool KipsaResult::Guardar(const KipsaPrubex& exam, qint16 totalPreguntas) const {
    try {
        QSaveFile file(ArchivoSalida());
        // A folder we may not write (no temporary possible) but a file we may: write the file
        // itself, truncated first so no old bytes linger behind shorter content.
        file.setDirectWriteFallback(true);
        // Unbuffered, and flushed before commit: QSaveFile's commit does not see an error that
        // only shows when its buffer is flushed (a full disk), and would install a cut file.
        if (ArchivoSalida().isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        if (!Guardar(exam, totalPreguntas, file) || !file.flush() ||
            file.error() != QFileDevice::NoError) {
            file.cancelWriting();
            return false;
        }
        return file.commit();
    } catch (...) {
        return false;
    }
}

} // namespace kp
