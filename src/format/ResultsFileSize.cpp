#include "format/ResultsFileSize.h"

#include "format/ByteCursor.h"
#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "model/Preguntas.h"

#include <algorithm>

namespace kp {

namespace {

constexpr qint64 kField = ByteCursor::kFieldWidth;

// "1;2;…;n;": every answer of a question of n answers; "0;" for none.
qint64 allAnswersText(qint64 n) {
    qint64 length = 0;
    for (qint64 first = 1, digits = 1; first <= n; first *= 10, ++digits)
        length += (std::min(n, first * 10 - 1) - first + 1) * (digits + 1);
    return std::max<qint64>(length, 2);
}

} // namespace

qint64 maxResultsFileSize(const KipsaPrubex& exam, qint16 totalPreguntas) {
    qint64 answers = 2; // a true/false question: 1 and 2
    for (const auto& pregunta : *exam.Preguntas())
        answers = std::max<qint64>(answers, pregunta->respuestas()->Count());

    // Version, identifier, series; five labels and values; the count; the records.
    qint64 size = kField + kField + TrimBlanks(exam.IdExamen()).size() + kField;
    for (int i = 1; i <= 5; ++i)
        size += kField + TrimBlanks(exam.DatoAlumno(i)).size() + kField + kMaxDatoAlumnoLength;
    size += kField;
    return size +
           qint64(std::max<qint16>(totalPreguntas, 0)) * (3 * kField + allAnswersText(answers));
}

} // namespace kp
