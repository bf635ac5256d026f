#include "TestExams.h"
#include "results/Correccion.h"
#include "results/TruncaDecimales.h"
#include "startup/ExamState.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace kp;
using namespace kp::test;

namespace {

// Question i of the series is "q<i>"; each has four answers, `right` of them right.
KipsaPrubex multipleChoice(int n, std::initializer_list<int> right) {
    KipsaPrubex exam;
    exam.setTipoExamen(1);
    exam.setNotaMaxima(10);
    QStringList ids;
    for (int i = 1; i <= n; ++i) {
        ids << QStringLiteral("q%1").arg(i);
        addQuestion(exam, ids.back(), 4, right);
    }
    addSeries(exam, 1, ids);
    return exam;
}

struct Grade {
    float nota;
    qint16 acertadas, falladas, blancas;
};

Grade grade(const KipsaPrubex& exam, const KipsaResult& result, qint16 n, qint16 serie = 1) {
    Grade g{-1, -1, -1, -1};
    g.nota = DameNota(exam, result, serie, n, g.acertadas, g.falladas, g.blancas);
    return g;
}

} // namespace

TEST(Correccion, MultipleChoiceRulesOnRightAnswersOneAndThree) {
    const struct {
        const char* fault;
        std::initializer_list<int> marks;
        qint16 unaSuficiente;
        qint16 expected;
    } cases[] = {
        {"nothing marked is blank", {}, 0, CodigoPregunta::Blanca},
        {"exact set right", {1, 3}, 0, CodigoPregunta::Acertada},
        {"order of marking ignored", {3, 1}, 0, CodigoPregunta::Acertada},
        {"a missing right answer is wrong", {1}, 0, CodigoPregunta::Fallada},
        {"one right answer enough", {1}, 1, CodigoPregunta::Acertada},
        {"all right answers under the lenient rule", {3, 1}, 1, CodigoPregunta::Acertada},
        {"a wrong mark spoils it", {1, 2}, 0, CodigoPregunta::Fallada},
        {"a wrong mark spoils it even when one is enough", {1, 2}, 1, CodigoPregunta::Fallada},
        {"only a wrong mark under the lenient rule", {2}, 1, CodigoPregunta::Fallada},
        {"more marks than right answers", {1, 2, 3}, 0, CodigoPregunta::Fallada},
        {"more marks than right answers, lenient", {1, 2, 3}, 1, CodigoPregunta::Fallada},
    };
    for (const auto& c : cases) {
        KipsaPrubex exam = multipleChoice(1, {1, 3});
        exam.setUnaRespuestaSuficiente(c.unaSuficiente);
        KipsaResult result;
        mark(result, 1, c.marks);
        EXPECT_EQ(CorrijePreguntaTest(exam, result, 1, 1), c.expected) << c.fault;
    }
}

TEST(Correccion, MultipleChoiceWithoutRightAnswerOrQuestionIsNeverRight) {
    for (const qint16 lenient : {qint16(0), qint16(1)}) {
        KipsaPrubex exam = multipleChoice(1, {});
        exam.setUnaRespuestaSuficiente(lenient);
        // Slot 2 names a question the exam does not have.
        exam.Series()->Item(1)->PreguntasSerie()->Add(QStringLiteral("perdida"), 2, 1,
                                                      QStringLiteral("preguntaperdida"));
        KipsaResult result;
        mark(result, 1, {1});
        mark(result, 2, {1});
        EXPECT_EQ(CorrijePreguntaTest(exam, result, 1, 1), CodigoPregunta::Fallada);
        EXPECT_EQ(CorrijePreguntaTest(exam, result, 1, 2), CodigoPregunta::Fallada);
        EXPECT_EQ(CorrijePreguntaTest(exam, result, 1, 3), CodigoPregunta::Blanca);
        // A series position that does not exist finds no question either.
        EXPECT_EQ(CorrijePreguntaTest(exam, result, 7, 1), CodigoPregunta::Fallada);
    }
}

TEST(Correccion, TrueFalseComparesTheFirstMarkWithTheFirstAnswer) {
    enum Statement { True, False, NoAnswers, Missing };
    const struct {
        const char* fault;
        Statement statement;
        std::initializer_list<int> marks;
        qint16 expected;
    } cases[] = {
        {"true answered Verdadero", True, {1}, CodigoPregunta::Acertada},
        {"false answered Falso", False, {2}, CodigoPregunta::Acertada},
        {"true answered Falso", True, {2}, CodigoPregunta::Fallada},
        {"false answered Verdadero", False, {1}, CodigoPregunta::Fallada},
        {"any number other than 1 means Falso", False, {3}, CodigoPregunta::Acertada},
        {"only the first mark counts", True, {2, 1}, CodigoPregunta::Fallada},
        {"no mark is blank", True, {}, CodigoPregunta::Blanca},
        {"no answers reads as a false statement", NoAnswers, {2}, CodigoPregunta::Acertada},
        {"no answers answered Verdadero", NoAnswers, {1}, CodigoPregunta::Fallada},
        {"a missing question reads as false", Missing, {2}, CodigoPregunta::Acertada},
    };
    for (const auto& c : cases) {
        KipsaPrubex exam;
        exam.setTipoExamen(2);
        const QString id = QStringLiteral("vf");
        if (c.statement == True)
            addQuestion(exam, id, 2, {1});
        else if (c.statement == False)
            addQuestion(exam, id, 2, {2});
        else if (c.statement == NoAnswers)
            addQuestion(exam, id, 0, {});
        addSeries(exam, 1, {id});
        KipsaResult result;
        mark(result, 1, c.marks);
        EXPECT_EQ(CorrijePreguntaVF(exam, result, 1, 1), c.expected) << c.fault;
    }
}

TEST(Correccion, EstaEnListaTrimsBlanksOnlyAndIsCaseSensitive) {
    const QStringList list{QStringLiteral(" 1 "), QStringLiteral("a"), QStringLiteral("\t3")};
    EXPECT_TRUE(EstaEnLista(QStringLiteral("1"), list));
    EXPECT_TRUE(EstaEnLista(QStringLiteral("  a"), list));
    EXPECT_FALSE(EstaEnLista(QStringLiteral("A"), list));
    EXPECT_FALSE(EstaEnLista(QStringLiteral("3"), list)); // a tab is not a blank
    EXPECT_FALSE(EstaEnLista(QStringLiteral("1"), {}));
}

TEST(Correccion, WorkedExampleTwoRightOneWrongOneBlank) {
    KipsaPrubex exam = multipleChoice(4, {2});
    exam.setTipoPenalizacion(3);
    exam.setPenalizarBlancas(1);
    KipsaResult result;
    mark(result, 1, {2});
    mark(result, 2, {1});
    mark(result, 4, {2});
    const Grade g = grade(exam, result, 4);
    EXPECT_EQ(g.nota, 2.5f);
    EXPECT_EQ(g.acertadas, 2);
    EXPECT_EQ(g.falladas, 1);
    EXPECT_EQ(g.blancas, 1);
}

TEST(Correccion, PenaltyRulesWithAndWithoutBlankPenalty) {
    // 10 points over 4 questions (2.5 each): two right, one wrong, one blank.
    const struct {
        qint16 rule;
        qint16 penalizarBlancas;
        float expected;
    } cases[] = {
        {1, 0, 2.5f}, {1, 1, 0.0f},       {2, 0, 3.3333333f}, {2, 1, 1.6666667f}, {3, 0, 3.75f},
        {3, 1, 2.5f}, {4, 0, 4.1666667f}, {4, 1, 3.3333333f}, {5, 0, 4.25f},      {5, 1, 3.5f},
        {0, 0, 5.0f}, {0, 1, 5.0f},       {7, 0, 5.0f},       {7, 1, 5.0f},       {1, 2, 2.5f},
    };
    for (const auto& c : cases) {
        KipsaPrubex exam = multipleChoice(4, {2});
        exam.setTipoPenalizacion(c.rule);
        exam.setPenalizarBlancas(c.penalizarBlancas);
        exam.setPenalizacion(0.75f); // read by rule 5 only
        KipsaResult result;
        mark(result, 1, {2});
        mark(result, 2, {2});
        mark(result, 3, {4});
        const Grade g = grade(exam, result, 4);
        EXPECT_FLOAT_EQ(g.nota, c.expected)
            << "rule " << c.rule << " blanks " << c.penalizarBlancas;
        EXPECT_EQ(g.acertadas + g.falladas + g.blancas, 4);
    }
}

TEST(Correccion, GradeNeverBelowZero) {
    const struct {
        const char* fault;
        qint16 rule;
        float penalizacion;
        std::initializer_list<int> firstMarks;
    } cases[] = {
        {"fixed penalty larger than a question", 5, 4.0f, {1}},
        {"wrong answers cancelling more than the right ones", 1, 0, {2}},
    };
    for (const auto& c : cases) {
        KipsaPrubex exam = multipleChoice(4, {2});
        exam.setTipoPenalizacion(c.rule);
        exam.setPenalizacion(c.penalizacion);
        KipsaResult result;
        mark(result, 1, c.firstMarks);
        for (qint16 i = 2; i <= 4; ++i)
            mark(result, i, {3});
        EXPECT_EQ(grade(exam, result, 4).nota, 0.0f) << c.fault;
    }
}

TEST(Correccion, NoQuestionsGivesZeroWithoutDividing) {
    KipsaPrubex exam = multipleChoice(2, {1});
    KipsaResult result;
    mark(result, 1, {1});
    const Grade g = grade(exam, result, 0);
    EXPECT_EQ(g.nota, 0.0f);
    EXPECT_FALSE(std::isnan(g.nota));
    EXPECT_EQ(g.acertadas, 0);
    EXPECT_EQ(g.falladas, 0);
    EXPECT_EQ(g.blancas, 0);
}

TEST(Correccion, FullScoreOfSeventeenStaysBelowTenAndShows999) {
    KipsaPrubex exam = multipleChoice(17, {1});
    KipsaResult result;
    for (qint16 i = 1; i <= 17; ++i)
        mark(result, i, {1});
    const Grade g = grade(exam, result, 17);
    EXPECT_EQ(g.acertadas, 17);
    EXPECT_LT(g.nota, 10.0f);
    EXPECT_EQ(TruncaDecimales(g.nota, QStringLiteral("2")), u"9,99");
}

TEST(Correccion, KindOtherThanOneIsGradedAsTrueFalse) {
    for (const qint16 kind : {qint16(2), qint16(0), qint16(9)}) {
        KipsaPrubex exam;
        exam.setTipoExamen(kind);
        exam.setNotaMaxima(10);
        addQuestion(exam, QStringLiteral("a"), 2, {1}); // true statement
        addSeries(exam, 1, {QStringLiteral("a")});
        KipsaResult result;
        // Marked both boxes: multiple choice would call it wrong, true/false reads the first.
        mark(result, 1, {1, 2});
        EXPECT_EQ(grade(exam, result, 1).acertadas, 1) << "kind " << kind;
    }
}

TEST(Correccion, ChosenSeriesIsAPositionAndTheLastSlotOfAnOrdenWins) {
    KipsaPrubex exam;
    exam.setTipoExamen(1);
    exam.setNotaMaxima(10);
    addQuestion(exam, QStringLiteral("a"), 2, {1});
    addQuestion(exam, QStringLiteral("b"), 2, {2});
    addSeries(exam, 9, {QStringLiteral("a")});
    addSeries(exam, 3, {QStringLiteral("b")});
    KipsaResult result;
    mark(result, 1, {2});
    EXPECT_EQ(CorrijePreguntaTest(exam, result, 2, 1), CodigoPregunta::Acertada);
    EXPECT_EQ(CorrijePreguntaTest(exam, result, 1, 1), CodigoPregunta::Fallada);
    // A second slot with Orden 1 in the first series takes over.
    exam.Series()->Item(1)->PreguntasSerie()->Add(QStringLiteral(" b "), 1, 1,
                                                  QStringLiteral("preguntab"));
    EXPECT_EQ(CorrijePreguntaTest(exam, result, 1, 1), CodigoPregunta::Acertada);
}

TEST(Correccion, StateWithoutExamGradesZero) {
    ExamState state;
    qint16 a = 5, f = 5, b = 5;
    EXPECT_EQ(DameNota(state, a, f, b), 0.0f);
    EXPECT_EQ(a + f + b, 0);

    state.Examen = std::make_shared<KipsaPrubex>(multipleChoice(2, {1}));
    state.Resultado = std::make_shared<KipsaResult>();
    state.SerieElegida = 1;
    state.TotalPreguntas = 2;
    mark(*state.Resultado, 2, {1});
    EXPECT_EQ(DameNota(state, a, f, b), 5.0f);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);
}

TEST(TruncaDecimales, CutsAtTheCommaWithoutRounding) {
    const struct {
        float value;
        const char16_t* expected;
    } cases[] = {
        {7.5f, u"7,5"},
        {20.0f / 3.0f, u"6,66"},
        {10.0f, u"10"},
        {100.0f, u"100"},
        {250.0f, u"250"},
        {0.0f, u"0"},
        {9.999999f, u"9,99"},
        {2.996f, u"2,99"},
        {std::nextafter(2.0f, 0.0f), u"2"}, // seven digits round up to a whole number
        {0.05f, u"0,05"},
        {0.001f, u"0,00"},
        {1234567.0f, u"1234567"},
        {12345678.0f, u"12345680"}, // seven significant digits, no exponent
        {-2.5f, u"-2,5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TruncaDecimales(c.value, QStringLiteral("2")), QString::fromUtf16(c.expected))
            << c.value;
}

TEST(TruncaDecimales, SevenSignificantDigitsWithDecimalComma) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const struct {
        double value;
        const char16_t* expected;
    } cases[] = {
        {7.5, u"7,5"},
        {20.0 / 3.0, u"6,666667"},
        {10.0, u"10"},
        {9.99999951, u"10"},
        {0.1, u"0,1"},
        {0.000012345, u"0,000012345"},
        {123456.75, u"123456,8"},
        {-0.5, u"-0,5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatSingle(c.value), QString::fromUtf16(c.expected)) << c.value;
    QLocale::setDefault(QLocale::c());
}

TEST(TruncaDecimales, DecimalsGivenAsText) {
    const float v = 20.0f / 3.0f;
    EXPECT_EQ(TruncaDecimales(v, QStringLiteral("0")), u"6,");
    EXPECT_EQ(TruncaDecimales(v, QStringLiteral(" 4 ")), u"6,6666");
    EXPECT_EQ(TruncaDecimales(v, QStringLiteral("20")), u"6,666667");
    EXPECT_EQ(TruncaDecimales(v, QStringLiteral("dos")), u"6,666667");
}
