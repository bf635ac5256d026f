#include "TestExamBuilder.h"
#include "results/Correccion.h"
#include "results/ExamState.h"
#include "results/TruncaDecimales.h"

#include <QLocale>
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
