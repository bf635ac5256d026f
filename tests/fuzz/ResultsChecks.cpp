// The results file: what must hold of whatever the reader takes.
#include "FuzzChecks.h"
#include "TestExamBuilder.h"

#include "format/ResultsReader.h"
#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "results/Correccion.h"

#include <QMap>
#include <cmath>

namespace kp::fuzz {
namespace {

using kp::test::TestExamBuilder;
using Marks = QMap<qint16, QList<qint16>>;

// Two small exams of ours to grade against: multiple choice with penalties (blanks too) and
// "one right answer is enough", and true/false. Both have series 1 and 2.
const std::vector<std::shared_ptr<KipsaPrubex>>& gradingExams() {
    static const std::vector<std::shared_ptr<KipsaPrubex>> exams = [] {
        TestExamBuilder test;
        test.pregunta(QStringLiteral("A"), 4, {1, 3})
            .pregunta(QStringLiteral("B"), 2, {2})
            .pregunta(QStringLiteral("C"), 0, {})
            .serie(1, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})
            .serie(2, {QStringLiteral("C"), QStringLiteral("A")});
        test.exam().setNotaMaxima(10);
        test.exam().setTipoPenalizacion(3);
        test.exam().setPenalizarBlancas(1);
        test.exam().setUnaRespuestaSuficiente(1);
        TestExamBuilder vf;
        vf.verdaderoFalso()
            .pregunta(QStringLiteral("V"), 2, {1})
            .pregunta(QStringLiteral("F"), 2, {})
            .serie(1, {QStringLiteral("V"), QStringLiteral("F")})
            .serie(2, {QStringLiteral("F")});
        vf.exam().setNotaMaxima(7.5f);
        vf.exam().setTipoPenalizacion(1);
        return std::vector{test.build(), vf.build()};
    }();
    return exams;
}

Marks marksOf(const KipsaResult& result) {
    Marks marks;
    for (const auto& entry : *result.RespuestasKipsa())
        marks[entry->NumPregunta()].append(entry->NumRespuesta());
    return marks;
}

// Graded as kxt grade does (the series of the number the file names, or the first when the
// exam has none such): the counts add up, blanks are the positions without marks, and the grade
// stays within 0..NotaMaxima.
void grade(const KipsaPrubex& exam, const KipsaResult& result) {
    qint16 serie = 1;
    for (long i = 1; i <= exam.Series()->Count(); ++i)
        if (exam.Series()->Item(i)->Numero() == result.Serie())
            serie = static_cast<qint16>(i);
    const qint16 total = exam.PreguntasPrimeraSerie();
    qint16 right = 0, wrong = 0, blank = 0;
    const float nota = DameNota(exam, result, serie, total, right, wrong, blank);
    const Marks marks = marksOf(result);
    qint16 unmarked = 0;
    for (qint16 position = 1; position <= total; ++position)
        unmarked += marks.contains(position) ? 0 : 1;
    require(right + wrong + blank == total && blank == unmarked,
            QStringLiteral("%1 right, %2 wrong and %3 blank of %4 questions, %5 unmarked")
                .arg(right)
                .arg(wrong)
                .arg(blank)
                .arg(total)
                .arg(unmarked));
    require(std::isfinite(nota) && nota >= 0 && nota <= exam.NotaMaxima() * 1.00001f,
            QStringLiteral("grade %1 out of %2").arg(nota).arg(exam.NotaMaxima()));
}

// The file our writer makes of what was read, with the labels the file carried.
QByteArray rewritten(const ResultsReader& reader) {
    KipsaPrubex labels;
    labels.setTipoExamen(1);
    for (int i = 1; i <= 5; ++i)
        labels.setDatoAlumno(i, reader.label(i));
    return reader.result().Contenido(labels, reader.questionCount());
}

// The texts are stored trimmed; marks keep their order within each question.
QString difference(const ResultsReader& was, const ResultsReader& now) {
    const KipsaResult& a = was.result();
    const KipsaResult& b = now.result();
    if (TrimBlanks(a.IdExamen()) != b.IdExamen())
        return QStringLiteral("IdExamen");
    if (a.Serie() != b.Serie())
        return QStringLiteral("Serie");
    for (int i = 1; i <= 5; ++i)
        if (TrimBlanks(was.label(i)) != now.label(i) ||
            TrimBlanks(a.DatoAlumno(i)) != b.DatoAlumno(i))
            return QStringLiteral("DatoAlumno%1").arg(i);
    if (was.questionCount() != now.questionCount())
        return QStringLiteral("the question count");
    if (marksOf(a) != marksOf(b))
        return QStringLiteral("the marks");
    return {};
}

} // namespace

void checkResultsFile(const QByteArray& bytes) {
    ResultsReader first;
    if (!first.read(bytes)) {
        require(!first.errorString().isEmpty(), QStringLiteral("a failed read gives no reason"));
        return;
    }
    for (const auto& exam : gradingExams())
        grade(*exam, first.result());

    const QByteArray once = rewritten(first);
    ResultsReader second;
    require(second.read(once),
            QStringLiteral("what we wrote does not read: ") + second.errorString());
    const QString changed = difference(first, second);
    require(changed.isEmpty(),
            QStringLiteral("written and read back, ") + changed + QStringLiteral(" changed"));
    require(rewritten(second) == once,
            QStringLiteral("the file read back does not write the same bytes"));
}

} // namespace kp::fuzz
