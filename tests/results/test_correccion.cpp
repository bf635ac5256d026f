#include "Rows.h"
#include "TestExamBuilder.h"
#include "results/Correccion.h"
#include "results/ExamState.h"
#include "results/TruncaDecimales.h"

#include <QLocale>
#include <cmath>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

constexpr qint16 Right = CodigoPregunta::Acertada, Wrong = CodigoPregunta::Fallada,
                 Blank = CodigoPregunta::Blanca;

struct Grade {
    float nota;
    qint16 acertadas, falladas, blancas;
    bool operator==(const Grade&) const = default;
    friend void PrintTo(const Grade& g, std::ostream* os) {
        *os << g.nota << " (" << g.acertadas << ", " << g.falladas << ", " << g.blancas << ")";
    }
};

Grade gradeOf(const KipsaPrubex& exam, const KipsaResult& result, qint16 n) {
    Grade g{-1, -1, -1, -1};
    g.nota = DameNota(exam, result, 1, n, g.acertadas, g.falladas, g.blancas);
    return g;
}

struct QuestionRow {
    const char* name;
    qint16 tipo;            // 1 multiple choice, any other true/false
    int answers;            // of the question, numbered 1..; -1: the exam lacks the question
    QList<int> right;       // true/false: answer 1 right means a true statement
    std::vector<int> marks; // in the order made; true/false: 1 Verdadero, any other Falso
    qint16 oneIsEnough;
    qint16 expected;
};

const QuestionRow kQuestionRows[] = {
    {"NothingMarkedIsBlank", 1, 4, {1, 3}, {}, 0, Blank},
    {"ExactSetInAnyOrder", 1, 4, {1, 3}, {3, 1}, 0, Right},
    {"OneOfTwoRightIsWrong", 1, 4, {1, 3}, {1}, 0, Wrong},
    {"OneOfTwoRightIsEnoughWhenAllowed", 1, 4, {1, 3}, {1}, 1, Right},
    {"AllRightIsRightWhenOneIsEnough", 1, 4, {1, 3}, {1, 3}, 1, Right},
    {"AWrongMarkSpoilsIt", 1, 4, {1, 3}, {1, 2}, 0, Wrong},
    {"AWrongMarkSpoilsItWhenOneIsEnough", 1, 4, {1, 3}, {3, 2}, 1, Wrong},
    {"MoreMarksThanRightAnswers", 1, 4, {1, 3}, {1, 2, 3}, 1, Wrong},
    {"NoRightAnswerIsNeverRight", 1, 4, {}, {1}, 1, Wrong},
    {"AMissingQuestionIsNeverRight", 1, -1, {}, {1}, 1, Wrong},
    {"NothingMarkedIsBlankInTrueFalse", 2, 2, {1}, {}, 0, Blank},
    {"TrueAnsweredVerdadero", 2, 2, {1}, {1}, 0, Right},
    {"TrueAnsweredFalso", 2, 2, {1}, {2}, 0, Wrong},
    {"FalseAnsweredFalso", 2, 2, {2}, {2}, 0, Right},
    {"FalseAnsweredVerdadero", 2, 2, {2}, {1}, 0, Wrong},
    {"AnyNumberOtherThanOneIsFalso", 2, 2, {2}, {3}, 0, Right},
    {"TwoMarksGradedOnTheFirstFalso", 2, 2, {1}, {2, 1}, 0, Wrong},
    {"TwoMarksGradedOnTheFirstVerdadero", 2, 2, {1}, {1, 2}, 0, Right},
    {"NoAnswersReadsAsAFalseStatement", 2, 0, {}, {2}, 0, Right},
    {"OneRightAnswerIsATrueStatement", 2, 1, {1}, {1}, 0, Right},
    {"AMissingQuestionReadsAsFalse", 2, -1, {}, {1}, 0, Wrong},
    {"AnyKindOtherThanOneIsTrueFalse", 7, 2, {1, 2}, {1}, 0, Right},
};

class QuestionVerdict : public testing::TestWithParam<QuestionRow> {};

TEST_P(QuestionVerdict, IsRightWrongOrBlank) {
    const QuestionRow& r = GetParam();
    KipsaPrubex exam;
    exam.setTipoExamen(r.tipo);
    exam.setUnaRespuestaSuficiente(r.oneIsEnough);
    if (r.answers >= 0)
        TestExamBuilder::on(exam).pregunta(u"q"_s, r.answers, r.right);
    TestExamBuilder::on(exam).serie(1, {u"q"_s});
    KipsaResult result;
    for (const int m : r.marks)
        result.RespuestasKipsa()->Marcar(1, static_cast<qint16>(m));
    const qint16 direct = r.tipo == 1 ? CorrijePreguntaTest(exam, result, 1, 1)
                                      : CorrijePreguntaVF(exam, result, 1, 1);
    EXPECT_EQ(direct, r.expected);
    const Grade counted = gradeOf(exam, result, 1);
    EXPECT_EQ((std::tuple{counted.acertadas, counted.falladas, counted.blancas}),
              (std::tuple<qint16, qint16, qint16>{r.expected == Right, r.expected == Wrong,
                                                  r.expected == Blank}));
}
INSTANTIATE_TEST_SUITE_P(Correccion, QuestionVerdict, testing::ValuesIn(kQuestionRows), RowName());

struct GradeRow {
    const char* name;
    qint16 tipoPenalizacion, penalizarBlancas;
    qint16 right, wrong, blank; // questions in this order, each answered as said
    float nota;                 // exactly, as 32-bit arithmetic gives it
    float notaMaxima = 10;
};

// 10 points over the questions of the row (four: 2.5 each); a fixed penalty of 0.75 (rule 5).
// A full score of 17 is a float sum just below 10.
const GradeRow kGradeRows[] = {
    {"Rule1CancelsARight", 1, 2, 2, 1, 1, 2.5f},
    {"Rule1BlanksCostAsMuch", 1, 1, 2, 1, 1, 0.0f},
    {"Rule2TwoThirds", 2, 2, 2, 1, 1, 3.33333349f},
    {"Rule2BlanksCostAsMuch", 2, 1, 2, 1, 1, 1.66666687f},
    // The fraction in double and the product rounded to float: any other order is a bit off.
    {"Rule2ToTheLastBit", 2, 2, 2, 1, 0, 4.44444466f},
    {"Rule3Half", 3, 2, 2, 1, 1, 3.75f},
    {"Rule3WorkedExample", 3, 1, 2, 1, 1, 2.5f},
    {"Rule4Third", 4, 2, 2, 1, 1, 4.16666651f},
    {"Rule4BlanksCostAsMuch", 4, 1, 2, 1, 1, 3.33333325f},
    {"Rule5FixedPenalty", 5, 2, 2, 1, 1, 4.25f},
    {"Rule5BlanksCostAsMuch", 5, 1, 2, 1, 1, 3.5f},
    {"NoRuleNoPenalty", 0, 1, 2, 1, 1, 5.0f},
    {"UnknownRuleNoPenalty", 6, 1, 2, 1, 1, 5.0f},
    {"BlankPenaltyZeroIsFree", 3, 0, 2, 1, 1, 3.75f},
    {"BlankPenaltyThreeIsFree", 3, 3, 2, 1, 1, 3.75f},
    {"BlankPenaltyNegativeIsFree", 3, -1, 2, 1, 1, 3.75f},
    {"NeverBelowZero", 1, 2, 1, 3, 0, 0.0f},
    {"AllBlankPenalisedIsZero", 1, 1, 0, 0, 4, 0.0f},
    {"NoUpperBound", 0, 2, 4, 0, 0, 200.0f, 200},
    {"SeventeenRightStayBelowTen", 0, 2, 17, 0, 0, 9.99999905f},
};

class GradeRules : public testing::TestWithParam<GradeRow> {};

TEST_P(GradeRules, SumPenaltiesInFloatWithAFloorOfZero) {
    const GradeRow& r = GetParam();
    const int n = r.right + r.wrong + r.blank;
    KipsaPrubex exam;
    exam.setTipoExamen(1);
    exam.setNotaMaxima(r.notaMaxima);
    exam.setTipoPenalizacion(r.tipoPenalizacion);
    exam.setPenalizarBlancas(r.penalizarBlancas);
    exam.setPenalizacion(0.75f);
    QStringList ids;
    for (int i = 1; i <= n; ++i)
        TestExamBuilder::on(exam).pregunta(ids.emplace_back(u"q%1"_s.arg(i)), 3, {2});
    TestExamBuilder::on(exam).serie(1, ids);
    KipsaResult result;
    for (qint16 q = 1; q <= r.right + r.wrong; ++q)
        result.RespuestasKipsa()->Marcar(q, q <= r.right ? 2 : 3);
    EXPECT_EQ(gradeOf(exam, result, static_cast<qint16>(n)),
              (Grade{r.nota, r.right, r.wrong, r.blank}));
}
INSTANTIATE_TEST_SUITE_P(Correccion, GradeRules, testing::ValuesIn(kGradeRows), RowName());

// Lookups that fail are no errors: the question counts as one without right answers.
TEST(Correccion, NoQuestionsNoSeriesOrNoExamGiveZero) {
    KipsaPrubex exam;
    exam.setTipoExamen(1);
    exam.setNotaMaxima(10);
    TestExamBuilder::on(exam).pregunta(u"q"_s, 2, {1}).serie(1, {u"q"_s, u"q2"_s});
    KipsaResult result;
    result.RespuestasKipsa()->Marcar(1, 1);
    EXPECT_EQ(gradeOf(exam, result, 0), (Grade{0, 0, 0, 0})) << "no division by zero";
    EXPECT_EQ(CorrijePreguntaTest(exam, result, 2, 1), Wrong) << "no series at that position";
    EXPECT_EQ(CorrijePreguntaTest(exam, result, 0, 1), Wrong);
    EXPECT_EQ(CorrijePreguntaTest(exam, result, 1, 1), Right);
    for (const bool withExam : {false, true}) {
        ExamState state; // no exam, or an exam without its results record
        if (withExam)
            state.Examen = std::make_shared<KipsaPrubex>(exam);
        Grade none{-1, -1, -1, -1};
        none.nota = DameNota(state, none.acertadas, none.falladas, none.blancas);
        EXPECT_EQ(none, (Grade{0, 0, 0, 0})) << withExam;
    }
}

// When two slots share a position, the last one names the question.
TEST(Correccion, TheLastSlotOfAPositionNamesTheQuestion) {
    KipsaPrubex exam;
    exam.setTipoExamen(1);
    TestExamBuilder::on(exam).pregunta(u"a"_s, 2, {1}).pregunta(u"b"_s, 2, {2});
    Serie s;
    s.setKey(u"serie1"_s);
    s.PreguntasSerie()->Add(u"a"_s, 1, 1, u"preguntaa"_s);
    s.PreguntasSerie()->Add(u"b"_s, 1, 1, u"preguntab"_s);
    exam.Series()->Add(s);
    KipsaResult result;
    result.RespuestasKipsa()->Marcar(1, 2);
    EXPECT_EQ(CorrijePreguntaTest(exam, result, 1, 1), Right);
}

// Question 1 answer 12 and question 11 answer 2 spell the same plain key: both are recorded,
// written and counted.
TEST(Correccion, MarksWithClashingKeysAreAllCounted) {
    KipsaPrubex exam;
    exam.setTipoExamen(1);
    exam.setNotaMaxima(11);
    QStringList ids;
    for (int i = 1; i <= 11; ++i)
        TestExamBuilder::on(exam).pregunta(ids.emplace_back(u"q%1"_s.arg(i)), 12,
                                           {i == 1 ? 12 : 2});
    TestExamBuilder::on(exam).serie(1, ids);
    KipsaResult result;
    EXPECT_TRUE(result.RespuestasKipsa()->Marcar(1, 12));
    EXPECT_TRUE(result.RespuestasKipsa()->Marcar(11, 2));
    EXPECT_FALSE(result.RespuestasKipsa()->Marcar(11, 2)) << "the same mark twice counts once";
    EXPECT_EQ(gradeOf(exam, result, 11), (Grade{2, 2, 0, 9}));
    const QByteArray file = result.Contenido(exam, 11);
    EXPECT_TRUE(file.contains("00000000010000000001000000000312;")) << file.toStdString();
    EXPECT_TRUE(file.endsWith("0000000001000000001100000000022;")) << file.toStdString();
}

TEST(TruncaDecimales, CutsAtTheCommaWithoutRounding) {
    // Seven significant digits with a decimal comma whatever the locale (just below 2 shows 2,
    // no exponent); the decimals are given as text, and what is no number leaves them all.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // clang-format off
    const std::pair<float, const char16_t*> cases[] = {
        {20.0f / 3.0f, u"6,66"}, {9.99999905f, u"9,99"}, {std::nextafter(2.0f, 0.0f), u"2"},
        {12345678.0f, u"12345680"}, {7.5f, u"7,5"}, {0.0f, u"0"}, {100.0f, u"100"},
        {0.001234567f, u"0,00"}, {-2.5f, u"-2,5"}, {1234567.0f, u"1234567"}};
    // clang-format on
    for (const auto& [nota, shown] : cases)
        EXPECT_EQ(TruncaDecimales(nota, u"2"_s), QString::fromUtf16(shown)) << nota;
    EXPECT_EQ(TruncaDecimales(20.0f / 3.0f, u"dos"_s), u"6,666667");
    EXPECT_EQ(TruncaDecimales(20.0f / 3.0f, u" 0 "_s), u"6,");
    EXPECT_EQ(formatSingle(0.001234567), u"0,001234567");
    QLocale::setDefault(QLocale::c());
}

// An entry of a list matches when both are equal once trimmed of spaces (only spaces).
TEST(EstaEnLista, ComparesEntriesTrimmedOfSpaces) {
    const QStringList list{u" 3 "_s, u"12"_s, u"\t4"_s};
    EXPECT_TRUE(EstaEnLista(u"3"_s, list));
    EXPECT_TRUE(EstaEnLista(u"  12"_s, list));
    EXPECT_FALSE(EstaEnLista(u"1"_s, list));
    EXPECT_FALSE(EstaEnLista(u"4"_s, list)) << "a tab is no space";
    EXPECT_FALSE(EstaEnLista(u"3"_s, {}));
}
} // namespace
