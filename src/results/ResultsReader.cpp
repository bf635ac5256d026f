#include "results/ResultsReader.h"

#include "model/ByteCursor.h"
#include "model/Cp1252.h"
#include "model/KpError.h"

namespace kp {

namespace {

constexpr qsizetype kFieldWidth = 10;
// The smallest question record: kind, position and an empty answers text.
constexpr qsizetype kMinRecordSize = 3 * kFieldWidth;

// A bounds-checked walk over the fields of a results file. Number fields are read as the
// writer writes them: zeros, then the number's text, a minus sign included ("00000000-4").
class FieldCursor {
public:
    explicit FieldCursor(const QByteArray& bytes) : bytes_(bytes) {}

    qsizetype remaining() const { return bytes_.size() - pos_; }

    qint64 number(const char* what) {
        const qsizetype at = pos_;
        QByteArray field = take(kFieldWidth, what);
        qsizetype i = 0;
        while (i < field.size() - 1 && field[i] == '0')
            ++i;
        field = field.mid(i);
        bool ok = !field.isEmpty() && field != "-";
        for (qsizetype k = 0; k < field.size() && ok; ++k)
            ok = (field[k] >= '0' && field[k] <= '9') || (k == 0 && field[k] == '-');
        const qint64 value = ok ? field.toLongLong(&ok) : 0;
        if (!ok)
            throw KpError(KpError::TypeMismatch,
                          QStringLiteral("%1 en la posición %2 no es un número")
                              .arg(QString::fromUtf8(what))
                              .arg(at + 1));
        return value;
    }

    qint16 int16(const char* what) {
        const qint64 v = number(what);
        if (v < -32768 || v > 32767)
            throw KpError(
                KpError::Overflow,
                QStringLiteral("%1 fuera de rango: %2").arg(QString::fromUtf8(what)).arg(v));
        return static_cast<qint16>(v);
    }

    QString text(const char* what) {
        const qsizetype at = pos_;
        const qint64 n = number(what);
        if (n < 0 || n > remaining())
            throw KpError(KpError::PastEnd,
                          QStringLiteral("%1 de %2 bytes en la posición %3 pasa del final del "
                                         "archivo")
                              .arg(QString::fromUtf8(what))
                              .arg(n)
                              .arg(at + 1));
        return Cp1252::decode(take(static_cast<qsizetype>(n), what));
    }

private:
    QByteArray take(qsizetype n, const char* what) {
        if (n > remaining())
            throw KpError(KpError::PastEnd, QStringLiteral("el archivo termina antes de %1 "
                                                           "(posición %2)")
                                                .arg(QString::fromUtf8(what))
                                                .arg(pos_ + 1));
        const QByteArray out = bytes_.mid(pos_, n);
        pos_ += n;
        return out;
    }

    const QByteArray& bytes_;
    qsizetype pos_ = 0;
};

} // namespace

bool ResultsReader::read(const QByteArray& bytes) {
    result_ = KipsaResult();
    labels_ = {};
    count_ = 0;
    error_.clear();
    try {
        parse(bytes);
        return true;
    } catch (const KpError& e) {
        error_ = e.message();
    } catch (const std::exception& e) {
        error_ = QString::fromLocal8Bit(e.what());
    } catch (...) {
        error_ = QStringLiteral("error desconocido");
    }
    return false;
}

bool ResultsReader::readFile(const QString& path) {
    QByteArray bytes;
    try {
        bytes = ByteCursor::readFile(path, kMaxFileSize);
    } catch (const KpError& e) {
        result_ = KipsaResult();
        error_ = e.message();
        return false;
    }
    return read(bytes);
}

void ResultsReader::parse(const QByteArray& bytes) {
    FieldCursor cursor(bytes);
    const qint64 version = cursor.number("la versión");
    if (version != 300)
        throw KpError(KpError::BadValue,
                      QStringLiteral("versión de formato desconocida: %1").arg(version));
    result_.setIdExamen(cursor.text("el identificador del examen"));
    result_.setSerie(cursor.int16("la serie"));
    for (int i = 1; i <= 5; ++i) {
        labels_[static_cast<size_t>(i - 1)] = cursor.text("una etiqueta");
        result_.setDatoAlumno(i, cursor.text("un dato del alumno"));
    }
    count_ = cursor.int16("el número de preguntas");
    if (count_ < 0)
        throw KpError(KpError::BadValue,
                      QStringLiteral("número de preguntas negativo: %1").arg(count_));
    if (static_cast<qint64>(count_) * kMinRecordSize > cursor.remaining())
        throw KpError(KpError::PastEnd,
                      QStringLiteral("%1 registros de pregunta no caben en los %2 bytes que "
                                     "quedan")
                          .arg(count_)
                          .arg(cursor.remaining()));
    for (qint32 i = 1; i <= count_; ++i) {
        cursor.int16("el tipo de examen"); // grading takes the kind from the exam
        const qint16 position = cursor.int16("la posición de una pregunta");
        if (position < 1 || position > count_)
            throw KpError(KpError::BadValue,
                          QStringLiteral("el registro %1 es de la pregunta %2, fuera de 1..%3")
                              .arg(i)
                              .arg(position)
                              .arg(count_));
        addMarks(position, cursor.text("las respuestas"));
    }
}

// "2;4;" -> answers 2 and 4 of the question, in that order; "0;" is a blank question.
void ResultsReader::addMarks(qint16 position, const QString& answers) {
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
        const QString key = QStringLiteral("respuesta%1_%2").arg(position).arg(n);
        // One answer of one question counts once, as when it was marked.
        if (!result_.RespuestasKipsa()->contains(key))
            result_.RespuestasKipsa()->Add(position, static_cast<qint16>(n), key);
    }
}

} // namespace kp
