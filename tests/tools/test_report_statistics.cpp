#include "ReportClass.h"

#include "tools/ClassReader.h"
#include "tools/ClassStatistics.h"
#include "tools/ExamItems.h"
#include "tools/ItemAnalysis.h"
#include "tools/Statistics.h"

#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace kp::tools;
using namespace Qt::StringLiterals;

TEST(ReportStatistics, HandWorkedClassOfFiveStudentsAndFourQuestions) {
    // Worked out by hand: see HandClass.
    HandClass c;
    ClassReader reader(*c.exam, 4);
    reader.addPaths({c.dir()});
    reader.read();
    ASSERT_EQ(reader.students().size(), 5u);
    ASSERT_TRUE(reader.skipped().empty());
    const ExamItems items(*c.exam, 4);
    const ReportFigures f = computeFigures(*c.exam, items, reader.students());

    const struct {
        const char* question;
        double facility, discrimination, biserial;
        qint64 blanks;
        qint64 marked[3]; // answers 1, 2, 3
    } rows[] = {
        {"q1", 0.8, 1, 0.375, 0, {4, 1, 0}},
        {"q2", 0.6, 1, 0.6 / std::sqrt(1.2 * 2.8), 0, {3, 1, 1}},
        {"q3", 0.4, 1, 1 / std::sqrt(1.2 * 2), 0, {2, 2, 1}},
        {"q4", 0.6, 0, -1.4 / std::sqrt(1.2 * 6.8), 1, {3, 1, 0}},
    };
    ASSERT_EQ(f.preguntas.size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].question);
        const ItemFigures& q = f.preguntas[i];
        EXPECT_EQ(q.veces, 5);
        EXPECT_DOUBLE_EQ(q.facilidad.value_or(-9), rows[i].facility);
        EXPECT_DOUBLE_EQ(q.discriminacion.value_or(-9), rows[i].discrimination);
        EXPECT_NEAR(q.biserial.value_or(-9), rows[i].biserial, 1e-12);
        EXPECT_EQ(q.blancas, rows[i].blanks);
        for (size_t o = 0; o < 3; ++o)
            EXPECT_EQ(q.opciones[o].marcada, rows[i].marked[o]) << "answer " << o + 1;
    }
    EXPECT_EQ(f.grupo27, 1);
    EXPECT_EQ(f.preguntas[2].opciones[0].superior, 1) << "Zoe marked q3's right answer";
    EXPECT_EQ(f.preguntas[2].opciones[2].inferior, 1) << "Eva marked q3's answer 3";

    ASSERT_EQ(f.grupos.size(), 2u) << "the class and its one series";
    for (const GroupFigures& g : f.grupos) {
        SCOPED_TRACE(g.nombre.toStdString());
        EXPECT_EQ(g.resultados, 5);
        EXPECT_DOUBLE_EQ(g.media, 2.4);
        EXPECT_DOUBLE_EQ(g.mediana, 2);
        EXPECT_DOUBLE_EQ(g.minima, 1);
        EXPECT_DOUBLE_EQ(g.maxima, 4);
        EXPECT_NEAR(g.desviacion.value_or(-9), std::sqrt(1.3), 1e-12);
        EXPECT_NEAR(g.alfa.value_or(-9), 4.0 / 3 * (1 - 0.88 / 1.04), 1e-12);
        EXPECT_NEAR(g.errorTipico.value_or(-9),
                    std::sqrt(1.3) * std::sqrt(1 - 4.0 / 3 * (1 - 0.88 / 1.04)), 1e-12);
        EXPECT_EQ(g.aprobados, 4);
    }
    // Bins of one point from 0 to 4: Eva in [1, 2), Carlos and Álvaro in [2, 3), Bea in
    // [3, 4), Zoe's 4 in the last bin, which includes the top.
    std::vector<qint64> bins;
    for (const auto& b : f.histograma)
        bins.push_back(b.alumnos);
    EXPECT_EQ(bins, (std::vector<qint64>{0, 1, 2, 2}));
}

TEST(ReportStatistics, WarningsNameTheLikelyFaults) {
    // Six students, six questions (answer 1 right). Right answers: Ana 4, Bea, Carlos and Dani
    // 3, Eva and Fede 2; the upper group is Ana and Bea, the lower Eva and Fede. P1: everyone
    // right. P2: the upper group marks the wrong answer 2, the lower group is right. P3: no
    // right answer at all. P4: only Ana is right.
    auto built = TestExamBuilder::simple(6, 3);
    built.exam().setNotaMaxima(6);
    built.exam().setTipoPenalizacion(0);
    built.exam().Preguntas()->Item(3)->respuestas()->Item(1)->setCorrecta(false);
    ReportClass c(built.build());
    c.student(u"a.kxa"_s, u"Ana"_s, 1, {{1}, {2}, {1}, {1}, {1}, {1}});
    c.student(u"b.kxa"_s, u"Bea"_s, 1, {{1}, {2}, {1}, {2}, {1}, {1}});
    c.student(u"c.kxa"_s, u"Carlos"_s, 1, {{1}, {2}, {1}, {2}, {1}, {1}});
    c.student(u"d.kxa"_s, u"Dani"_s, 1, {{1}, {2}, {1}, {2}, {1}, {1}});
    c.student(u"e.kxa"_s, u"Eva"_s, 1, {{1}, {1}, {2}, {3}, {2}, {2}});
    c.student(u"f.kxa"_s, u"Fede"_s, 1, {{1}, {1}, {3}, {3}, {3}, {3}});
    ClassReader reader(*c.exam, 6);
    reader.addPaths({c.dir()});
    reader.read();
    const ExamItems items(*c.exam, 6);
    const ReportFigures f = computeFigures(*c.exam, items, reader.students());
    ASSERT_EQ(f.grupo27, 2);
    const auto codes = [&](size_t i) {
        QStringList list;
        for (const auto& a : f.preguntas[i].avisos)
            list << a.codigo;
        return list.join(u' ');
    };
    EXPECT_EQ(codes(0), u"muy-facil no-discrimina");
    EXPECT_EQ(codes(1), u"discrimina-al-reves distractor");
    EXPECT_TRUE(f.preguntas[1].avisos.back().texto.contains(u"«Respuesta 2 de la pregunta 2»"));
    EXPECT_EQ(codes(2), u"sin-correcta muy-dificil no-discrimina");
    EXPECT_EQ(codes(3), u"muy-dificil");
}

TEST(ReportStatistics, TrueFalseCountsTheFirstMarkAndSeriesOfOtherQuestionsStandApart) {
    // A and B are true statements (first answer right), C and D false. Series 1 asks A, B;
    // series 2 asks C, D, so the class has no common set of questions.
    TestExamBuilder built;
    built.verdaderoFalso();
    for (const QString& id : {u"A"_s, u"B"_s, u"C"_s, u"D"_s})
        built.pregunta(id, 2, id < u"C"_s ? QList<int>{1} : QList<int>{});
    built.serie(1, {u"A"_s, u"B"_s}).serie(2, {u"C"_s, u"D"_s});
    ReportClass c(built.build());
    c.student(u"s1.kxa"_s, u"Uno"_s, 1, {{1}, {2, 1}}); // A right; B "Falso" first: wrong
    c.student(u"s2.kxa"_s, u"Dos"_s, 1, {{2}, {1}});    // A wrong, B right
    c.student(u"s3.kxa"_s, u"Tres"_s, 2, {{2}, {}});    // C right, D blank
    c.student(u"s4.kxa"_s, u"Cuatro"_s, 2, {{1}, {2}}); // C wrong, D right
    ClassReader reader(*c.exam, 2);
    reader.addPaths({c.dir()});
    reader.read();
    const ExamItems items(*c.exam, 2);
    const ReportFigures f = computeFigures(*c.exam, items, reader.students());

    ASSERT_EQ(items.items().size(), 4u);
    const struct {
        const char* id;
        qint64 right, blank, verdadero, falso;
        bool verdaderoRight;
    } rows[] = {
        {"A", 1, 0, 1, 1, true},
        {"B", 1, 0, 1, 1, true}, // B's second mark of s1 is not counted
        {"C", 1, 0, 1, 1, false},
        {"D", 1, 1, 0, 1, false},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].id);
        EXPECT_EQ(items.items()[i].id, QString::fromUtf8(rows[i].id));
        EXPECT_EQ(f.preguntas[i].veces, 2);
        EXPECT_EQ(f.preguntas[i].aciertos, rows[i].right);
        EXPECT_EQ(f.preguntas[i].blancas, rows[i].blank);
        EXPECT_EQ(f.preguntas[i].opciones[0].marcada, rows[i].verdadero);
        EXPECT_EQ(f.preguntas[i].opciones[1].marcada, rows[i].falso);
        EXPECT_EQ(items.items()[i].options[0].correcta, rows[i].verdaderoRight);
    }
    // Everyone has one right: the upper group is s1 (series 1) and the lower s4 (series 2), so
    // no question was asked to both groups.
    for (const ItemFigures& q : f.preguntas)
        EXPECT_FALSE(q.discriminacion.has_value());
    EXPECT_FALSE(f.mismasPreguntas);
    EXPECT_FALSE(f.grupos.front().alfa.has_value()) << "no common questions for the class";
    ASSERT_EQ(f.grupos.size(), 3u);
    EXPECT_EQ(f.grupos[1].nombre, u"Serie 1");
    EXPECT_EQ(f.grupos[2].resultados, 2);
}

TEST(ReportStatistics, GroupsAreRankedByGradeThenQuestionsRightThenFile) {
    // With penalties a grade need not follow the questions right: a has the most right and
    // the lowest grade. c ties b and h on grade with more right; b and h tie on both, as do
    // d, e and f, and the file name decides.
    const struct {
        const char* archivo;
        float nota;
        qint16 acertadas;
        qint8 group;
    } rows[] = {
        {"a.kxa", 0.0f, 6, -1}, {"b.kxa", 5.0f, 2, 1}, {"c.kxa", 5.0f, 3, 1},
        {"d.kxa", 1.0f, 1, 0},  {"e.kxa", 1.0f, 1, 0}, {"f.kxa", 1.0f, 1, -1},
        {"g.kxa", 4.0f, 1, 0},  {"h.kxa", 5.0f, 2, 0},
    };
    std::vector<StudentResult> students;
    for (const auto& row : rows) {
        students.emplace_back();
        students.back().row.archivo = QString::fromUtf8(row.archivo);
        students.back().row.nota = row.nota;
        students.back().row.acertadas = row.acertadas;
    }
    qsizetype size = 0;
    const std::vector<qint8> groups = ItemAnalysis::extremeGroups(students, size);
    EXPECT_EQ(size, 2) << "27 % of 8, rounded";
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(groups[i], rows[i].group) << rows[i].archivo;
}

TEST(ReportStatistics, WarningThresholdsAndTheDistractorInAnyPlace) {
    // One question whose answer 2 is right; the figures are set by hand.
    auto built = TestExamBuilder().pregunta(u"X"_s, 3, {2});
    built.serie(1, {u"X"_s});
    const ExamItems items(built.exam(), 1);
    const struct {
        const char* name;
        std::optional<double> facility, discrimination, biserial;
        qint64 upper[3]; // of the upper group, how many marked answers 1, 2, 3
        const char* codes;
    } rows[] = {
        {"nothing-known", {}, {}, {}, {0, 0, 0}, ""},
        {"facility-0.95-is-not-too-easy", 0.95, 0.5, 0.5, {0, 3, 0}, ""},
        {"facility-above-0.95", 0.951, 0.5, 0.5, {0, 3, 0}, "muy-facil"},
        {"facility-0.2-is-not-too-hard", 0.2, 0.5, 0.5, {0, 3, 0}, ""},
        {"facility-below-0.2", 0.199, 0.5, 0.5, {0, 3, 0}, "muy-dificil"},
        {"discrimination-0.1-is-enough", 0.5, 0.1, 0.1, {0, 3, 0}, ""},
        {"discrimination-below-0.1", 0.5, 0.099, 0.5, {0, 3, 0}, "no-discrimina"},
        {"point-biserial-below-0.1", 0.5, 0.5, 0.099, {0, 3, 0}, "no-discrimina"},
        {"point-biserial-negative", 0.5, 0.3, -0.01, {0, 3, 0}, "discrimina-al-reves"},
        {"distractor-in-first-place", 0.5, 0.5, 0.5, {4, 3, 0}, "distractor"},
        {"wrong-answer-as-often-as-the-right-one", 0.5, 0.5, 0.5, {0, 3, 3}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ItemFigures f;
        f.facilidad = row.facility;
        f.discriminacion = row.discrimination;
        f.biserial = row.biserial;
        f.opciones.resize(3);
        for (size_t o = 0; o < 3; ++o)
            f.opciones[o].superior = row.upper[o];
        QStringList codes;
        for (const auto& aviso : ItemAnalysis::warnings(items, 0, f))
            codes << aviso.codigo;
        EXPECT_EQ(codes.join(u' '), QString::fromUtf8(row.codes));
    }
    ItemFigures hard;
    hard.facilidad = 0.1;
    hard.opciones.resize(3);
    EXPECT_TRUE(ItemAnalysis::warnings(items, 0, hard).front().texto.contains(u"menos del 20 %"));
}

TEST(ReportStatistics, FiguresThatNeedMoreDataAreLeftOut) {
    EXPECT_FALSE(stats::sampleStandardDeviation({3}).has_value());
    EXPECT_FALSE(stats::kr20({0.5}, {1, 0}).has_value()) << "one item";
    EXPECT_FALSE(stats::kr20({0.5, 0.5}, {1, 1}).has_value()) << "totals do not vary";
    stats::Correlation same;
    same.add(1, 2);
    same.add(1, 3);
    EXPECT_FALSE(same.r().has_value()) << "x does not vary";
    stats::Correlation two;
    two.add(0, 1);
    two.add(1, 3);
    EXPECT_DOUBLE_EQ(two.r().value_or(0), 1) << "two pairs suffice";
    EXPECT_DOUBLE_EQ(stats::quantile({1, 2, 3, 4}, 0.25), 1.75);
    EXPECT_DOUBLE_EQ(stats::standardErrorOfMeasurement(2, -0.5), 2) << "negative alpha is 0";
}

TEST(ReportStatistics, HistogramBinsOfOnePointOrAHundredthOfALargeScale) {
    const auto counts = [](double top, const std::vector<double>& grades) {
        std::vector<qint64> n;
        for (const auto& b : histogram(top, grades))
            n.push_back(b.alumnos);
        return n;
    };
    EXPECT_EQ(counts(3, {0, 0.99, 1, 2.5, 3}), (std::vector<qint64>{2, 1, 2}));
    EXPECT_EQ(counts(2.5, {2.5}), (std::vector<qint64>{0, 0, 1}));
    EXPECT_EQ(histogram(1e9, {}).size(), 100u);
    EXPECT_EQ(histogram(0, {}).size(), 1u);
}
