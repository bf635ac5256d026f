#include "FakeClock.h"
#include "FakeRandom.h"
#include "model/KipsaPrubex.h"
#include "tools/BuildError.h"
#include "tools/Commands.h"
#include "tools/ExamBuilder.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;

namespace {

// Questions A, B, C (multiple choice), V1 (one answer: true/false) and T1 (no answers: text).
const char* const kQuestions = R"("Preguntas": [
    {"Id": "A", "TextoPregunta": "a", "respuestas": [{"Texto": "x", "Correcta": true}, {"Texto": "y"}]},
    {"Id": "B", "TextoPregunta": "b", "respuestas": [{"Texto": "x", "Correcta": true}, {"Texto": "y"}]},
    {"Id": "C", "TextoPregunta": "c", "respuestas": [{"Texto": "x", "Correcta": true}, {"Texto": "y"}]},
    {"Id": "V1", "TextoPregunta": "v", "respuestas": [{"Texto": "Verdadero", "Correcta": true}]},
    {"Id": "T1", "TextoPregunta": "t"}
])";

const char* const kTopic =
    R"({"Numero": 1, "Nombre": "Todo", "Preguntas": ["A", "B", "C", "V1", "T1"]})";

// Block 3 rule first, to show that blocks are filled in order 1, 2, 3 whatever the rule order.
const char* const kRules = R"([
    {"Seccion": 3, "IdPregunta": "T1"},
    {"Seccion": 1, "IdPregunta": "A"},
    {"Seccion": 1, "IdTema": 1, "NumPreguntas": 2},
    {"Seccion": 2, "IdTema": 1, "NumPreguntas": 1}
])";

QByteArray source(const QByteArray& series) {
    return QByteArrayLiteral("{\"IdExamen\": \"R-1\", ") + kQuestions + ", \"Series\": " + series +
           "}";
}

QByteArray ruleSeries(const QByteArray& topics, const QByteArray& rules) {
    return "[{\"Numero\": 3, \"Reglas\": {\"Temas\": [" + topics + "], \"Normas\": " + rules +
           "}}]";
}

// "A@1/1": id, kind and position of each slot in collection order.
QStringList slotsOf(const Serie& serie) {
    QStringList out;
    for (const auto& s : *serie.PreguntasSerie())
        out << QStringLiteral("%1@%2/%3").arg(s->IdPreguntaExamen()).arg(s->Tipo()).arg(s->Orden());
    return out;
}

class BuildFiles {
public:
    QString write(const QByteArray& json) {
        const QString path = dir_.filePath(QStringLiteral("examen.json"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(json);
        return path;
    }
    QString path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

} // namespace

TEST(BuildRules, BlocksInOrderThenNumberedOneToN) {
    BuildFiles files;
    const QString json = files.write(source(ruleSeries(kTopic, kRules)));
    FakeClock clock;
    // Block 1 draws A (already placed: set aside), then C, then B; block 2 draws V1.
    FakeRandom random{0.0, 0.9, 0.0, 0.0};
    KipsaPrubex exam;
    tools::ExamBuilder(clock, random).build(json, exam);
    ASSERT_EQ(exam.Series()->Count(), 1);
    EXPECT_EQ(
        slotsOf(*exam.Series()->Item(1)),
        (QStringList{QStringLiteral("A@1/1"), QStringLiteral("C@1/2"), QStringLiteral("B@1/3"),
                     QStringLiteral("V1@2/4"), QStringLiteral("T1@3/5")}));
}

TEST(BuildRules, BuiltExamLoadsWithTheSeriesNumberedForTheRunner) {
    BuildFiles files;
    const QByteArray series =
        "[{\"Numero\": 1, \"Preguntas\": [\"B\", \"A\"]}, " + ruleSeries(kTopic, kRules).mid(1);
    const QString json = files.write(source(series));
    const QString kxt = files.path(QStringLiteral("examen.kxt"));
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(tools::runBuild({json, QStringLiteral("-o"), kxt}, o, e), 0)
        << (e.flush(), err.toStdString());

    KipsaPrubex exam;
    ASSERT_TRUE(exam.Cargar(kxt)) << exam.errorString().toStdString();
    ASSERT_EQ(exam.Series()->Count(), 2);
    const auto& generated = *exam.Series()->Item(QStringLiteral("serie3"))->PreguntasSerie();
    ASSERT_EQ(generated.Count(), 5);
    QSet<QString> ids;
    for (long i = 1; i <= generated.Count(); ++i) {
        EXPECT_EQ(generated.Item(i)->Orden(), i); // 1..N over the whole series
        ids.insert(generated.Item(i)->IdPreguntaExamen());
    }
    EXPECT_EQ(ids, (QSet<QString>{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                  QStringLiteral("V1"), QStringLiteral("T1")}));
    EXPECT_EQ(generated.Item(1)->IdPreguntaExamen(), u"A"); // the fixed rule comes first
}

TEST(BuildRules, BadRulesAreRefusedWithTheirPlace) {
    const struct {
        const char* fault;
        QByteArray topics;
        QByteArray rules;
        const char* says;
    } cases[] = {
        {"a draw asking more than the topic has left", kTopic,
         R"([{"Seccion": 1, "IdPregunta": "B"}, {"Seccion": 1, "IdTema": 1, "NumPreguntas": 3}])",
         "pide 3 preguntas"},
        {"a topic that does not exist", kTopic,
         R"([{"Seccion": 1, "IdTema": 7, "NumPreguntas": 1}])", "Normas[0].IdTema"},
        {"a candidate that is not a question of the exam",
         R"({"Numero": 1, "Preguntas": ["A", "Z"]})", "[]", "Temas[0].Preguntas[1]"},
        {"a fixed question that does not exist", kTopic, R"([{"Seccion": 1, "IdPregunta": "Q"}])",
         "Normas[0].IdPregunta"},
        {"both a question and a topic", kTopic,
         R"([{"Seccion": 1, "IdPregunta": "A", "IdTema": 1, "NumPreguntas": 1}])",
         "either IdPregunta"},
        {"a block other than 1, 2 or 3", kTopic, R"([{"Seccion": 4, "IdPregunta": "A"}])",
         "Normas[0].Seccion"},
        {"the same fixed question twice", kTopic,
         R"([{"Seccion": 1, "IdPregunta": "A"}, {"Seccion": 2, "IdPregunta": "a"}])",
         "Series[0].Reglas"},
        {"two topics with one number", QByteArray(kTopic) + ", " + kTopic, "[]", "Temas[1].Numero"},
    };
    for (const auto& c : cases) {
        BuildFiles files;
        const QString json = files.write(source(ruleSeries(c.topics, c.rules)));
        QString out, err;
        QTextStream o(&out), e(&err);
        EXPECT_EQ(tools::runBuild({json, QStringLiteral("-o"), files.path(QStringLiteral("x.kxt"))},
                                  o, e),
                  1)
            << c.fault;
        e.flush();
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.says)))
            << c.fault << ": " << err.toStdString();
        EXPECT_FALSE(QFile::exists(files.path(QStringLiteral("x.kxt")))) << c.fault;
    }
}
