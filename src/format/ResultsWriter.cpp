// The results file: KipsaResult::Contenido and Guardar.
#include "model/KipsaResult.h"

#include "format/FieldWriter.h"
#include "format/SafeFile.h"
#include "model/KipsaPrubex.h"

#include <QBuffer>
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

bool KipsaResult::Guardar(const KipsaPrubex& exam, qint16 totalPreguntas, SafeFile& files) const {
    try {
        return files.write(ArchivoSalida(), Contenido(exam, totalPreguntas));
    } catch (...) {
        return false;
    }
}

bool KipsaResult::Guardar(const KipsaPrubex& exam, qint16 totalPreguntas) const {
    SafeFile files;
    return Guardar(exam, totalPreguntas, files);
}

} // namespace kp
