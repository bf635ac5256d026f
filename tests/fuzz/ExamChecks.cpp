// The exam file and the question record: what must hold of whatever they read.
#include "ExamComparison.h"
#include "FuzzChecks.h"

#include "model/KipsaPrubex.h"
#include "model/KipsaResult.h"
#include "model/KpError.h"
#include "results/Correccion.h"

#include <cmath>

namespace kp::fuzz {
namespace {

// Bytes put before a record to read it at another offset than 0.
const QByteArray kElsewhere = QByteArrayLiteral("0000000300abc");

QString failure(const KpError& e) {
    return QStringLiteral("%1 (%2)").arg(e.message()).arg(e.code());
}

// The exam as the runner takes it after opening: its question count, and a grade without
// marks, in which every question of the first series is blank.
void gradeWithoutMarks(const KipsaPrubex& exam) {
    if (exam.Series()->Count() == 0)
        return;
    qint16 total = 0;
    try {
        total = exam.PreguntasPrimeraSerie();
    } catch (const KpError& e) {
        require(e.code() == KpError::Overflow, QStringLiteral("question count: ") + failure(e));
        return;
    }
    qint16 right = -1, wrong = -1, blank = -1;
    const float nota = DameNota(exam, KipsaResult(), 1, total, right, wrong, blank);
    require(right == 0 && wrong == 0 && blank == total,
            QStringLiteral("a grade without marks counts %1 right, %2 wrong, %3 blank of %4")
                .arg(right)
                .arg(wrong)
                .arg(blank)
                .arg(total));
    require(nota >= 0 && std::isfinite(nota), QStringLiteral("grade %1").arg(nota));
}

} // namespace

void checkExamFile(const QByteArray& bytes) {
    KipsaPrubex first;
    if (!first.Cargar(bytes)) {
        require(!first.errorString().isEmpty(), QStringLiteral("a failed load gives no reason"));
        return;
    }
    gradeWithoutMarks(first);

    QByteArray written;
    try {
        written = writtenExam(first, first.ArchivoLogoBinary());
    } catch (const KpError& e) {
        // The reader takes values the writer cannot store (a negative TipoExamen, a grade
        // beyond the thousandths field); refusing them is the writer's documented answer.
        require(e.code() == KpError::BadValue,
                QStringLiteral("an exam that loads cannot be written: ") + failure(e));
        return;
    }
    KipsaPrubex second;
    require(second.Cargar(written),
            QStringLiteral("what we wrote does not load: ") + second.errorString());
    const QString difference = examDifference(first, first.ArchivoLogoBinary(), second);
    require(difference.isEmpty(),
            QStringLiteral("written and read back, ") + difference + QStringLiteral(" changed"));
}

void checkQuestionRecord(const QByteArray& bytes) {
    Pregunta first;
    qsizetype end = 0;
    Pregunta shifted;
    qsizetype shiftedEnd = kElsewhere.size();
    bool read = true;
    bool shiftedRead = true;
    try {
        first.Cargar(bytes, end);
    } catch (const KpError& e) {
        require(e.code() == KpError::ReadQuestion && end == 0,
                QStringLiteral("a failed record: ") + failure(e));
        read = false;
    }
    try {
        shifted.Cargar(kElsewhere + bytes, shiftedEnd);
    } catch (const KpError&) {
        shiftedRead = false;
    }
    require(read == shiftedRead, QStringLiteral("the record reads differently at another offset"));
    if (!read)
        return;
    require(end > 0 && end <= bytes.size() && shiftedEnd == end + kElsewhere.size(),
            QStringLiteral("the record ends at %1 of %2 bytes, at %3 behind other bytes")
                .arg(end)
                .arg(bytes.size())
                .arg(shiftedEnd));
    const QByteArray written = writtenQuestion(first);
    require(writtenQuestion(shifted) == written,
            QStringLiteral("the record reads differently at another offset"));

    Pregunta second;
    qsizetype secondEnd = 0;
    try {
        second.Cargar(written, secondEnd);
    } catch (const KpError& e) {
        throw CheckFailed(QStringLiteral("the record we wrote does not read: ") + failure(e));
    }
    require(secondEnd == written.size(), QStringLiteral("the record we wrote reads short"));
    const QString difference = questionDifference(first, second);
    require(difference.isEmpty(),
            QStringLiteral("written and read back, ") + difference + QStringLiteral(" changed"));
}

} // namespace kp::fuzz
