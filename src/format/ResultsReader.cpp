#include "format/ResultsReader.h"

#include "format/ByteCursor.h"
#include "format/Cp1252.h"
#include "format/FileWindow.h"
#include "model/KpError.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace kp {

namespace {

// The smallest question record: kind, position and an empty answers text.
constexpr qint64 kMinRecordSize = 3 * ByteCursor::kFieldWidth;
constexpr auto Padded = ByteCursor::Number::Padded;

// One answer number of a marks text, as QString::toInt reads it. Plain digits (with a minus
// sign) are read here; anything else goes through toInt itself, so both accept the same texts.
bool answerNumber(QByteArrayView part, int& n) {
    const bool negative = !part.isEmpty() && part.front() == '-';
    const QByteArrayView digits = negative ? part.sliced(1) : part;
    bool plain = !digits.isEmpty() && digits.size() <= 9;
    int value = 0;
    for (qsizetype i = 0; plain && i < digits.size(); ++i) {
        plain = digits[i] >= '0' && digits[i] <= '9';
        value = value * 10 + (digits[i] - '0');
    }
    if (plain) {
        n = negative ? -value : value;
        return true;
    }
    bool ok = false;
    n = Cp1252::decode(part).toInt(&ok);
    return ok;
}

} // namespace

bool ResultsReader::read(const QByteArray& bytes) {
    return run([&] { parse(bytes, true); });
}

bool ResultsReader::readFile(const QString& path) {
    return run([&] { parse(ByteCursor::readFile(path, kMaxFileSize), true); });
}

bool ResultsReader::readForGrading(const QByteArray& bytes) {
    fileSize_ = bytes.size();
    return run([&] { parse(bytes, false); });
}

ResultsReader::Fetched ResultsReader::fetchForGrading(const QString& path, qint64 maxSize) {
    Fetched fetched;
    KpError failure(0, QString());
    if (!KpError::catchAll(
            [&] {
                // Any size opens, so that the caller learns it; only a file within the limit
                // is read.
                FileWindow file(path, std::numeric_limits<qint64>::max());
                fetched.size = file.size();
                const qint64 limit = std::min(maxSize, kMaxFileSize);
                if (fetched.size > limit)
                    throw KpError(KpError::BadValue,
                                  QStringLiteral("%1 pasa de %2 bytes").arg(path).arg(limit));
                fetched.bytes = file.copy(0, static_cast<qsizetype>(fetched.size));
            },
            &failure)) {
        fetched.failed = true;
        fetched.error = failure.message();
    }
    return fetched;
}

bool ResultsReader::readForGrading(const Fetched& file) {
    fileSize_ = file.size;
    return run([&] {
        if (file.failed)
            throw KpError(KpError::FileAccess, file.error);
        parse(file.bytes, false);
    });
}

bool ResultsReader::run(const std::function<void()>& reading) {
    result_ = KipsaResult();
    marks_.reset(0);
    labels_ = {};
    KpError failure(0, QString());
    const bool ok = KpError::catchAll(reading, &failure);
    error_ = failure.message();
    return ok;
}

void ResultsReader::parse(const QByteArray& bytes, bool withRecord) {
    ByteCursor cursor(bytes);
    const double version = cursor.number(Padded);
    if (version != 300)
        throw KpError(KpError::BadValue,
                      QStringLiteral("versión de formato desconocida: %1").arg(version));
    result_.setIdExamen(cursor.text(Padded));
    result_.setSerie(cursor.int16(Padded));
    for (int i = 1; i <= 5; ++i) {
        if (withRecord)
            labels_[static_cast<size_t>(i - 1)] = cursor.text(Padded);
        else
            cursor.rawText(Padded); // grading takes the labels from the exam
        result_.setDatoAlumno(i, cursor.text(Padded));
    }
    const qint16 count = cursor.int16(Padded);
    if (count < 0)
        throw KpError(KpError::BadValue,
                      QStringLiteral("número de preguntas negativo: %1").arg(count));
    cursor.requireRoomFor(count, kMinRecordSize, "registros de pregunta");
    marks_.reset(count);
    std::vector<bool> seen(static_cast<size_t>(count) + 1);
    for (qint32 i = 1; i <= count; ++i) {
        cursor.int16(Padded); // grading takes the kind from the exam
        const qint16 position = cursor.int16(Padded);
        if (position < 1 || position > count)
            throw KpError(KpError::BadValue,
                          QStringLiteral("el registro %1 es de la pregunta %2, fuera de 1..%3")
                              .arg(i)
                              .arg(position)
                              .arg(count));
        // Our writer gives each position one record; a second one would say something else.
        if (seen[static_cast<size_t>(position)])
            throw KpError(
                KpError::BadValue,
                QStringLiteral("el registro %1 repite la pregunta %2").arg(i).arg(position));
        seen[static_cast<size_t>(position)] = true;
        addMarks(position, cursor.rawText(Padded), withRecord);
    }
}

// "2;4;" -> answers 2 and 4 of the question, in that order; "0;" is a blank question. The
// text is read where it lies: only ';' and digits matter, and no other byte of Windows-1252
// stands for either.
void ResultsReader::addMarks(qint16 position, QByteArrayView answers, bool withRecord) {
    qsizetype from = 0;
    for (;;) {
        const qsizetype end = answers.indexOf(';', from);
        const bool last = end < 0;
        const QByteArrayView part = answers.sliced(from, (last ? answers.size() : end) - from);
        if (part.isEmpty() && last)
            break; // after the last ";"
        int n = 0;
        if (!answerNumber(part, n) || n < -32768 || n > 32767)
            throw KpError(KpError::TypeMismatch,
                          QStringLiteral("respuestas ilegibles en la pregunta %1: \"%2\"")
                              .arg(position)
                              .arg(Cp1252::decode(answers)));
        // Marking records an answer once; a file that lists one twice was not written by us.
        if (n != 0) {
            const auto answer = static_cast<qint16>(n);
            if (!marks_.addOnce(position, answer))
                throw KpError(KpError::BadValue,
                              QStringLiteral("la respuesta %1 de la pregunta %2 está repetida")
                                  .arg(n)
                                  .arg(position));
            // marks_ has found any repeat, so the record need not walk every mark so far as
            // Marcar does: a file may hold hundreds of thousands of marks.
            if (withRecord) {
                RespuestasKipsa& record = *result_.RespuestasKipsa();
                record.Add(position, answer, record.freeKey(position, answer));
            }
        }
        if (last)
            break;
        from = end + 1;
    }
}

} // namespace kp
