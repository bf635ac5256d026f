#include "TestExams.h"
#include "results/Correccion.h"
#include "results/TruncaDecimales.h"
#include "startup/ExamState.h"

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
    for (int i = 1; i <= n; ++i) {
        ids << u"q%1"_s.arg(i);
        addQuestion(exam, ids.back(), 4, right);
    }
    addSeries(exam, 1, ids);
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
        {"exact set right", 1, 4, {1, 3}, {1, 3}, A, A},
        {"order of marking ignored", 1, 4, {1, 3}, {3, 1}, A, A},
        {"one of two right answers", 1, 4, {1, 3}, {1}, F, A},
        {"a wrong mark spoils it", 1, 4, {1, 3}, {1, 2}, F, F},
        {"no right answer is never right", 1, 4, {}, {1}, F, F},
        {"a missing question is never right", 1, -1, {}, {1}, F, F},
        {"false answered Falso", 2, 2, {2}, {2}, A, A},
        {"true answered Falso", 2, 2, {1}, {2}, F, F},
        {"any number other than 1 means Falso", 2, 2, {2}, {3}, A, A},
        {"only the first mark counts", 2, 2, {1}, {2, 1}, F, F},
        {"no answers reads as a false statement", 2, 0, {}, {2}, A, A},
        {"no answers answered Verdadero", 2, 0, {}, {1}, F, F},
        {"a missing question reads as false", 2, -1, {}, {2}, A, A},
        {"kind 0 is true/false too", 0, 2, {1}, {1, 2}, A, A},
    };
    for (const auto& c : cases)
        for (const qint16 oneEnough : {0, 1}) {
            SCOPED_TRACE(testing::Message() << c.fault << (oneEnough ? ", one right enough" : ""));
            KipsaPrubex exam;
            exam.setTipoExamen(c.tipo);
            exam.setUnaRespuestaSuficiente(oneEnough);
            if (c.answers >= 0)
                addQuestion(exam, u"q"_s, c.answers, c.right);
            addSeries(exam, 1, {u"q"_s});
            KipsaResult result;
            mark(result, 1, c.marks);
            EXPECT_EQ(verdict(exam, result), oneEnough ? c.oneEnough : c.strict);
        }
}

TEST(Correccion, PenaltyRulesWithAndWithoutBlankPenaltyAndTheFloorOfZero) {
    // 10 points over 4 questions (2.5 each), answer 2 right; 0 leaves a question blank.
    const std::initializer_list<int> twoRightOneWrongOneBlank = {2, 2, 4, 0};
    const std::initializer_list<int> oneRightThreeWrong = {2, 3, 3, 3};
    const struct {
        qint16 rule;
        float penalizacion; // read by rule 5 only
        std::initializer_list<int> marks;
        float blanksFree, blanksPenalized;
    } cases[] = {
        {1, 0.75f, twoRightOneWrongOneBlank, 2.5f, 0.0f},
        {2, 0.75f, twoRightOneWrongOneBlank, 3.3333333f, 1.6666667f},
        {3, 0.75f, twoRightOneWrongOneBlank, 3.75f, 2.5f}, // the worked example penalizes blanks
        {4, 0.75f, twoRightOneWrongOneBlank, 4.1666667f, 3.3333333f},
        {5, 0.75f, twoRightOneWrongOneBlank, 4.25f, 3.5f},
        {0, 0.75f, twoRightOneWrongOneBlank, 5.0f, 5.0f},
        {7, 0.75f, twoRightOneWrongOneBlank, 5.0f, 5.0f},
        {5, 4.0f, oneRightThreeWrong, 0.0f, 0.0f}, // a penalty larger than a question
        {1, 0.0f, oneRightThreeWrong, 0.0f, 0.0f}, // wrong answers cancel more than the right
    };
    for (const auto& c : cases)
        for (const qint16 penalizarBlancas : {0, 1, 2}) { // only 1 penalizes blanks
            SCOPED_TRACE(testing::Message() << "rule " << c.rule << " penalty " << c.penalizacion
                                            << " blanks " << penalizarBlancas);
            KipsaPrubex exam = multipleChoice(4, {2});
            exam.setTipoPenalizacion(c.rule);
            exam.setPenalizarBlancas(penalizarBlancas);
            exam.setPenalizacion(c.penalizacion);
            KipsaResult result;
            for (qint16 q = 1; q <= 4; ++q)
                if (const int answer = c.marks.begin()[q - 1])
                    mark(result, q, {answer});
            EXPECT_FLOAT_EQ(notaOf(exam, result, 4),
                            penalizarBlancas == 1 ? c.blanksPenalized : c.blanksFree);
        }
}

TEST(Correccion, SeventeenRightStayBelowTenAndNoQuestionsOrNoExamGiveZero) {
    const KipsaPrubex exam = multipleChoice(17, {1});
    KipsaResult result;
    for (qint16 i = 1; i <= 17; ++i)
        mark(result, i, {1});
    EXPECT_EQ(TruncaDecimales(notaOf(exam, result, 17), u"2"_s), u"9,99");
    EXPECT_EQ(notaOf(exam, result, 0), 0.0f) << "no questions: no division by zero";
    qint16 acertadas = -1, falladas = -1, blancas = -1;
    EXPECT_EQ(DameNota(ExamState(), acertadas, falladas, blancas), 0.0f) << "no exam";
}

TEST(Correccion, ChosenSeriesIsAPositionAndTheLastSlotOfAnOrdenWins) {
    KipsaPrubex exam;
    addQuestion(exam, u"a"_s, 2, {1});
    addQuestion(exam, u"b"_s, 2, {2});
    addSeries(exam, 9, {u"a"_s});
    addSeries(exam, 3, {u"b"_s});
    KipsaResult result;
    mark(result, 1, {2});
    EXPECT_EQ(CorrijePreguntaTest(exam, result, 2, 1), A);
    EXPECT_EQ(CorrijePreguntaTest(exam, result, 7, 1), F) << "no series at that position";
    exam.Series()->Item(1)->PreguntasSerie()->Add(u" b "_s, 1, 1, u"preguntab"_s);
    EXPECT_EQ(CorrijePreguntaTest(exam, result, 1, 1), A);
}

TEST(TruncaDecimales, CutsAtTheCommaWithoutRounding) {
    // Seven significant digits with a decimal comma whatever the locale (just below 2 shows 2,
    // no exponent); the decimals are given as text, and what is no number leaves them all.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const struct {
        float value;
        const char16_t* decimales;
        const char16_t* expected;
    } cases[] = {
        {20.0f / 3.0f, u"2", u"6,66"},
        {0.001f, u"2", u"0,00"},
        {std::nextafter(2.0f, 0.0f), u"2", u"2"},
        {12345678.0f, u"2", u"12345680"},
        {-2.5f, u"2", u"-2,5"},
        {20.0f / 3.0f, u"0", u"6,"},
        {20.0f / 3.0f, u" 4 ", u"6,6666"},
        {20.0f / 3.0f, u"dos", u"6,666667"},
        {123456.75f, u"2", u"123456,8"},
        {0.000012345f, u"20", u"0,000012345"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TruncaDecimales(c.value, QString::fromUtf16(c.decimales)),
                  QString::fromUtf16(c.expected))
            << c.value << " to " << QString::fromUtf16(c.decimales).toStdString();
    QLocale::setDefault(QLocale::c());
}
