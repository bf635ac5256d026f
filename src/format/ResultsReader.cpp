#include "format/ResultsReader.h"

#include "format/ByteCursor.h"
#include "model/KpError.h"

#include <QSet>

namespace kp {

namespace {

// The smallest question record: kind, position and an empty answers text.
constexpr qint64 kMinRecordSize = 3 * ByteCursor::kFieldWidth;
constexpr auto Padded = ByteCursor::Number::Padded;

} // namespace

bool ResultsReader::read(const QByteArray& bytes) {
    return run([&] { parse(bytes); });
}

bool ResultsReader::readFile(const QString& path) {
    return run([&] { parse(ByteCursor::readFile(path, kMaxFileSize)); });
}

bool ResultsReader::run(const std::function<void()>& reading) {
    result_ = KipsaResult();
    labels_ = {};
    questionCount_ = 0;
    KpError failure(0, QString());
    const bool ok = KpError::catchAll(reading, &failure);
    error_ = failure.message();
    return ok;
}

void ResultsReader::parse(const QByteArray& bytes) {
    ByteCursor cursor(bytes);
    const double version = cursor.number(Padded);
    if (version != 300)
        throw KpError(KpError::BadValue,
                      QStringLiteral("versión de formato desconocida: %1").arg(version));
    result_.setIdExamen(cursor.text(Padded));
    result_.setSerie(cursor.int16(Padded));
    for (int i = 1; i <= 5; ++i) {
        labels_[static_cast<size_t>(i - 1)] = cursor.text(Padded);
        result_.setDatoAlumno(i, cursor.text(Padded));
    }
    const qint16 count = cursor.int16(Padded);
    if (count < 0)
        throw KpError(KpError::BadValue,
                      QStringLiteral("número de preguntas negativo: %1").arg(count));
    cursor.requireRoomFor(count, kMinRecordSize, "registros de pregunta");
    questionCount_ = count;
    QSet<std::pair<qint16, qint16>> marked;
    for (qint32 i = 1; i <= count; ++i) {
        cursor.int16(Padded); // grading takes the kind from the exam
        const qint16 position = cursor.int16(Padded);
        if (position < 1 || position > count)
            throw KpError(KpError::BadValue,
                          QStringLiteral("el registro %1 es de la pregunta %2, fuera de 1..%3")
                              .arg(i)
                              .arg(position)
                              .arg(count));
        addMarks(position, cursor.text(Padded), marked);
    }
}

// "2;4;" -> answers 2 and 4 of the question, in that order; "0;" is a blank question.
void ResultsReader::addMarks(qint16 position, const QString& answers,
                             QSet<std::pair<qint16, qint16>>& marked) {
    RespuestasKipsa& marks = *result_.RespuestasKipsa();
    const QStringList parts = answers.split(u';');
    for (qsizetype k = 0; k < parts.size(); ++k) {
        if (parts[k].isEmpty() && k == parts.size() - 1)
            break; // after the last ";"
        bool ok = false;
        const int n = parts[k].toInt(&ok);
        if (!ok || n < -32768 || n > 32767)
            throw KpError(KpError::TypeMismatch,
                          QStringLiteral("respuestas ilegibles en la pregunta %1: \"%2\"")
                              .arg(position)
                              .arg(answers));
        if (n == 0)
            continue;
        // One answer of one question counts once, as when it was marked. A file may hold
        // hundreds of thousands of marks, so repeats are found in a set rather than by
        // Marcar's walk over every mark so far.
        const auto answer = static_cast<qint16>(n);
        const std::pair pair(position, answer);
        if (marked.contains(pair))
            continue;
        marked.insert(pair);
        marks.Add(position, answer, marks.freeKey(position, answer));
    }
}

} // namespace kp
