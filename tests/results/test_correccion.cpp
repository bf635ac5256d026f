#include "Rows.h"
#include "TestExamBuilder.h"
#include "results/Correccion.h"
#include "results/ExamState.h"
#include "results/TruncaDecimales.h"

#include <QLocale>
#include <bit>
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
    Grade none{-1, -1, -1, -1};
    none.nota = DameNota(ExamState(), none.acertadas, none.falladas, none.blancas);
    EXPECT_EQ(none, (Grade{0, 0, 0, 0})) << "no exam";
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
            return Blank;
        const auto question = find(position);
        if (!test) {
            const bool truth = question && question->respuestas()->Count() > 0 &&
                               question->respuestas()->Item(1)->Correcta();
            return (marks.first() == 1) == truth ? Right : Wrong;
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
            return Wrong;
        bool ok = true;
        for (const QString& t : exam_.UnaRespuestaSuficiente() == 1 ? given : right)
            ok = EstaEnLista(t, exam_.UnaRespuestaSuficiente() == 1 ? right : given) && ok;
        return ok ? Right : Wrong;
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
            if (c == Blank) {
                ++b;
                nota -= blanca;
            } else if (c == Right) {
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
} // namespace
