#include "results/KipsaResult.h"

#include "model/Cp1252.h"
#include "model/Fields.h"
#include "model/KipsaPrubex.h"

#include <QSaveFile>
#include <vector>

namespace kp {

namespace {

void appendNumber(QByteArray& out, qint32 n) {
    out.append(RellenaCeros(n).toLatin1());
}

// A text field: the length of the trimmed text, then its bytes in the file's code page. The
// length is that of the encoded bytes, so it always matches what follows it.
void appendText(QByteArray& out, const QString& text) {
    const QByteArray bytes = Cp1252::encode(TrimBlanks(text));
    appendNumber(out, static_cast<qint32>(bytes.size()));
    out.append(bytes);
}

} // namespace

const std::shared_ptr<kp::RespuestasKipsa>& KipsaResult::RespuestasKipsa() const {
    if (!marks_)
        marks_ = std::make_shared<kp::RespuestasKipsa>();
    return marks_;
}

QByteArray KipsaResult::Contenido(const KipsaPrubex& exam, qint16 totalPreguntas) const {
    QByteArray out;
    out.append("0000000300");
    appendText(out, IdExamen());
    appendNumber(out, Serie());
    for (int i = 1; i <= 5; ++i) {
        appendText(out, exam.DatoAlumno(i));
        appendText(out, DatoAlumno(i));
    }
    appendNumber(out, totalPreguntas);

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
        appendNumber(out, exam.TipoExamen());
        appendNumber(out, i);
        const QByteArray& text = answers[static_cast<size_t>(i)];
        const QByteArray written = text.isEmpty() ? QByteArrayLiteral("0;") : text;
        appendNumber(out, static_cast<qint32>(written.size()));
        out.append(written);
    }
    return out;
}

bool KipsaResult::Guardar(const KipsaPrubex& exam, qint16 totalPreguntas) const {
    try {
        const QByteArray bytes = Contenido(exam, totalPreguntas);
        QSaveFile file(ArchivoSalida());
        // A folder we may not write (no temporary possible) but a file we may: write the file
        // itself, truncated first so no old bytes linger behind shorter content.
        file.setDirectWriteFallback(true);
        // Unbuffered, and flushed before commit: QSaveFile's commit does not see an error that
        // only shows when its buffer is flushed (a full disk), and would install a cut file.
        if (ArchivoSalida().isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        if (file.write(bytes) != bytes.size() || !file.flush() ||
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
