#include "TestExamBuilder.h"
#include "results/Correccion.h"
#include "results/ExamState.h"
#include "results/TruncaDecimales.h"

#include <QLocale>
#include <bit>
#include <cmath>
#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

// Question i of series 1 is "q<i>"; each has four answers, `right` of them right.
KipsaPrubex multipleChoice(int n, std::initializer_list<int> right) {
    KipsaPrubex exam;
    exam.setTipoExamen(1);
    exam.setNotaMaxima(10);
    QStringList ids;
    for (int i = 1; i <= n; ++i)
        TestExamBuilder::on(exam).pregunta(ids.emplace_back(u"q%1"_s.arg(i)), 4, right);
    TestExamBuilder::on(exam).serie(1, ids);
    return exam;
}

constexpr qint16 A = CodigoPregunta::Acertada, F = CodigoPregunta::Fallada,
                 B = CodigoPregunta::Blanca;

float notaOf(const KipsaPrubex& exam, const KipsaResult& result, qint16 n) {
    qint16 acertadas = -1, falladas = -1, blancas = -1;
    return DameNota(exam, result, 1, n, acertadas, falladas, blancas);
}

// How the grade counts the only question: right, wrong or blank.
qint16 verdict(const KipsaPrubex& exam, const KipsaResult& result) {
    qint16 acertadas = -1, falladas = -1, blancas = -1;
    DameNota(exam, result, 1, 1, acertadas, falladas, blancas);
    return acertadas == 1 ? A : falladas == 1 ? F : blancas == 1 ? B : -1;
}

} // namespace

TEST(Correccion, EachQuestionIsRightWrongOrBlank) {
    // Kind 1 is multiple choice, any other true/false (answer 1 Verdadero, any other Falso).
    // answers -1: the series names a question the exam does not have.
    const struct {
        const char* fault;
        qint16 tipo;
        int answers;
        std::initializer_list<int> right, marks;
        qint16 strict, oneEnough;
    } cases[] = {
        {"nothing marked is blank", 1, 4, {1, 3}, {}, B, B},
        {"exact set right, in any order", 1, 4, {1, 3}, {3, 1}, A, A},
        {"one of two right answers", 1, 4, {1, 3}, {1}, F, A},
        {"a wrong mark spoils it", 1, 4, {1, 3}, {1, 2}, F, F},
        {"a missing question is never right", 1, -1, {}, {1}, F, F},
        {"true answered Falso", 2, 2, {1}, {2}, F, F},
        {"any number other than 1 means Falso", 2, 2, {2}, {3}, A, A},
        {"no answers reads as a false statement", 2, 0, {}, {2}, A, A},
    };
    for (const auto& c : cases)
        for (const qint16 oneEnough : {0, 1}) {
            SCOPED_TRACE(testing::Message() << c.fault << (oneEnough ? ", one right enough" : ""));
            KipsaPrubex exam;
            exam.setTipoExamen(c.tipo);
            exam.setUnaRespuestaSuficiente(oneEnough);
            if (c.answers >= 0)
                TestExamBuilder::on(exam).pregunta(u"q"_s, c.answers, c.right);
            TestExamBuilder::on(exam).serie(1, {u"q"_s});
            KipsaResult result;
            TestExamBuilder::mark(result, 1, c.marks);
            EXPECT_EQ(verdict(exam, result), oneEnough ? c.oneEnough : c.strict);
        }
}

TEST(Correccion, PenaltyRulesWithAndWithoutBlankPenaltyAndTheFloorOfZero) {
    // 10 points over 4 questions (2.5 each), answer 2 right; 0 leaves a question blank.
    const struct {
        qint16 rule;
        std::initializer_list<int> marks;
        float blanksFree, blanksPenalized;
    } cases[] = {
        {1, {2, 2, 4, 0}, 2.5f, 0.0f},
        {2, {2, 2, 4, 0}, 3.3333333f, 1.6666667f},
        {3, {2, 2, 4, 0}, 3.75f, 2.5f}, // blanks penalised like wrong answers
        {4, {2, 2, 4, 0}, 4.1666667f, 3.3333333f},
        {5, {2, 2, 4, 0}, 4.25f, 3.5f},
        {0, {2, 2, 4, 0}, 5.0f, 5.0f}, // no rule: no penalty
        {1, {2, 3, 3, 3}, 0.0f, 0.0f}, // wrong answers cancel more than the right
    };
    for (const auto& c : cases)
        for (const qint16 penalizarBlancas : {1, 2}) { // only 1 penalizes blanks
            SCOPED_TRACE(testing::Message()
                         << "rule " << c.rule << ", blanks " << penalizarBlancas);
            KipsaPrubex exam = multipleChoice(4, {2});
            exam.setTipoPenalizacion(c.rule);
            exam.setPenalizarBlancas(penalizarBlancas);
            exam.setPenalizacion(0.75f); // read by rule 5 only
            KipsaResult result;
            for (qint16 q = 1; q <= 4; ++q)
                if (const int answer = c.marks.begin()[q - 1])
                    TestExamBuilder::mark(result, q, {answer});
            EXPECT_FLOAT_EQ(notaOf(exam, result, 4),
                            penalizarBlancas == 1 ? c.blanksPenalized : c.blanksFree);
        }
}

TEST(Correccion, SeventeenRightStayBelowTenAndNoQuestionsOrNoExamGiveZero) {
    const KipsaPrubex exam = multipleChoice(17, {1});
    KipsaResult result;
    for (qint16 i = 1; i <= 17; ++i)
        TestExamBuilder::mark(result, i, {1});
    EXPECT_EQ(TruncaDecimales(notaOf(exam, result, 17), u"2"_s), u"9,99");
    EXPECT_EQ(notaOf(exam, result, 0), 0.0f) << "no questions: no division by zero";
    qint16 acertadas = -1, falladas = -1, blancas = -1;
    EXPECT_EQ(DameNota(ExamState(), acertadas, falladas, blancas), 0.0f) << "no exam";
    EXPECT_EQ(CorrijePreguntaTest(exam, result, 7, 1), F) << "no series at that position";
}

TEST(TruncaDecimales, CutsAtTheCommaWithoutRounding) {
    // Seven significant digits with a decimal comma whatever the locale (just below 2 shows 2,
    // no exponent); the decimals are given as text, and what is no number leaves them all.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(TruncaDecimales(20.0f / 3.0f, u"2"_s), u"6,66");
    EXPECT_EQ(TruncaDecimales(std::nextafter(2.0f, 0.0f), u"2"_s), u"2");
    EXPECT_EQ(TruncaDecimales(12345678.0f, u"2"_s), u"12345680");
    EXPECT_EQ(TruncaDecimales(20.0f / 3.0f, u"dos"_s), u"6,666667");
    QLocale::setDefault(QLocale::c());
}

namespace {

// The correction rules as first written, step by step: lists of "n;" texts split on ";" and
// compared with EstaEnLista, the last slot of a position found by walking the series. The
// prepared correction must give the same codes and the same float grade, bit for bit.
class Reference {
public:
    Reference(const KipsaPrubex& exam, const KipsaResult& result, qint16 serie)
        : exam_(exam), result_(result), serie_(serie) {}

    // As multiple choice (test) or as true/false.
    qint16 code(qint16 position, bool test) const {
        QList<qint16> marks;
        for (const auto& entry : *result_.RespuestasKipsa())
            if (entry->NumPregunta() == position)
                marks << entry->NumRespuesta();
        if (marks.isEmpty())
            return B;
        const auto question = find(position);
        if (!test) {
            const bool truth = question && question->respuestas()->Count() > 0 &&
                               question->respuestas()->Item(1)->Correcta();
            return (marks.first() == 1) == truth ? A : F;
        }
        QString rightList, givenList;
        if (question)
            for (const auto& answer : *question->respuestas())
                if (answer->Correcta())
                    rightList += QString::number(answer->Numero()) + u';';
        for (const qint16 n : marks)
            givenList += QString::number(n) + u';';
        const QStringList right = split(rightList), given = split(givenList);
        if (given.size() > right.size())
            return F;
        bool ok = true;
        for (const QString& t : exam_.UnaRespuestaSuficiente() == 1 ? given : right)
            ok = EstaEnLista(t, exam_.UnaRespuestaSuficiente() == 1 ? right : given) && ok;
        return ok ? A : F;
    }

    float nota(qint16 n, qint16& a, qint16& f, qint16& b) const {
        const float valor = n > 0 ? exam_.NotaMaxima() / static_cast<float>(n) : 0.0f;
        const double fractions[] = {0, 1, 2.0 / 3.0, 1.0 / 2.0, 1.0 / 3.0};
        const qint16 rule = exam_.TipoPenalizacion();
        const float fallo = rule == 1                ? valor
                            : rule >= 2 && rule <= 4 ? static_cast<float>(valor * fractions[rule])
                            : rule == 5              ? exam_.Penalizacion()
                                                     : 0.0f;
        const float blanca = exam_.PenalizarBlancas() == 1 ? fallo : 0.0f;
        float nota = 0;
        a = f = b = 0;
        for (qint16 i = 1; i <= n; ++i) {
            const qint16 c = code(i, exam_.TipoExamen() == 1);
            if (c == B) {
                ++b;
                nota -= blanca;
            } else if (c == A) {
                ++a;
                nota += valor;
            } else {
                ++f;
                nota -= fallo;
            }
        }
        return nota < 0 ? 0 : nota;
    }

private:
    std::shared_ptr<Pregunta> find(qint16 position) const {
        if (serie_ < 1 || serie_ > exam_.Series()->Count())
            return nullptr;
        QString id;
        bool found = false;
        for (const auto& slot : *exam_.Series()->Item(static_cast<long>(serie_))->PreguntasSerie())
            if (slot->Orden() == position) {
                id = slot->IdPreguntaExamen();
                found = true;
            }
        return found ? exam_.Preguntas()->find(u"pregunta"_s + id.trimmed()) : nullptr;
    }

    static QStringList split(QString list) {
        if (list.startsWith(u';'))
            list.remove(0, 1);
        if (list.endsWith(u';'))
            list.chop(1);
        return list.isEmpty() ? QStringList() : list.split(u';');
    }

    const KipsaPrubex& exam_;
    const KipsaResult& result_;
    qint16 serie_;
};

} // namespace

TEST(Correccion, PreparedCorrectionAgreesWithTheRulesAsWrittenOnManyExams) {
    // Drawn exams: either kind and rule, questions with 0..5 answers (any of them right, some
    // numbers negative or repeated in the series), positions without a slot or twice in it, a
    // slot of a missing question; marks in any order, on any position, 0 included.
    quint32 state = 12345;
    const auto draw = [&state](int n) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % static_cast<quint32>(n));
    };
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE(round);
        KipsaPrubex exam;
        exam.setTipoExamen(static_cast<qint16>(draw(3)));
        exam.setUnaRespuestaSuficiente(static_cast<qint16>(draw(2)));
        exam.setTipoPenalizacion(static_cast<qint16>(draw(7)));
        exam.setPenalizarBlancas(static_cast<qint16>(1 + draw(2)));
        exam.setPenalizacion(0.1f * static_cast<float>(draw(20)));
        exam.setNotaMaxima(static_cast<float>(1 + draw(20)) / 3.0f);
        const int n = 1 + draw(12);
        Serie serie;
        serie.setNumero(1);
        for (int q = 1; q <= n + 2; ++q) {
            Pregunta p;
            p.setId(u"q%1"_s.arg(q));
            p.setKey(u"preguntaq%1"_s.arg(q));
            for (int k = 1, answers = draw(6); k <= answers; ++k) {
                Respuesta r;
                r.setNumero(static_cast<qint16>(draw(8) == 0 ? -k : k));
                r.setKey(u"respuesta%1"_s.arg(r.Numero()));
                r.setCorrecta(draw(2) == 1);
                p.respuestas()->Add(r);
            }
            exam.Preguntas()->Add(p);
            if (draw(10) > 0) // the last two or a few others name missing or no questions
                serie.PreguntasSerie()->Add(q > n ? u"nadie%1"_s.arg(q) : p.Id(),
                                            static_cast<qint16>(1 + draw(n + 1)), 1,
                                            u"s%1"_s.arg(q));
        }
        exam.Series()->Add(serie);
        KipsaResult result;
        for (int m = 0, marks = draw(3 * n); m < marks; ++m)
            result.RespuestasKipsa()->Marcar(static_cast<qint16>(draw(n + 2)),
                                             static_cast<qint16>(draw(8) - 1));
        const Reference reference(exam, result, 1);
        for (qint16 position = 0; position <= n + 1; ++position) {
            EXPECT_EQ(CorrijePreguntaTest(exam, result, 1, position),
                      reference.code(position, true));
            EXPECT_EQ(CorrijePreguntaVF(exam, result, 1, position),
                      reference.code(position, false));
        }
        qint16 a, f, b, ra, rf, rb;
        const float nota = DameNota(exam, result, 1, static_cast<qint16>(n), a, f, b);
        const float want = reference.nota(static_cast<qint16>(n), ra, rf, rb);
        EXPECT_EQ(std::bit_cast<quint32>(nota), std::bit_cast<quint32>(want))
            << nota << " " << want;
        EXPECT_EQ((QList<qint16>{a, f, b}), (QList<qint16>{ra, rf, rb}));
    }
}
