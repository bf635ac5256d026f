#include "FakeRandom.h"
#include "generation/Genera.h"
#include "generation/genNormas.h"
#include "generation/genTemas.h"
#include "model/Serie.h"

#include <QSet>
#include <functional>
#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;

namespace {

// Topic `number` whose candidates are the given ids, all of kind `tipo`.
void addTopic(genTemas& temas, int number, const QStringList& ids, qint16 tipo) {
    auto candidates = std::make_shared<genPreguntas>();
    for (const QString& id : ids)
        candidates->Add(id, QStringLiteral("texto de ") + id, tipo);
    temas.Add(candidates, QStringLiteral("Tema %1").arg(number),
              QStringLiteral("tema%1").arg(number));
}

void addFixed(genNormas& normas, qint16 bloque, const QString& id) {
    genNorma n;
    n.setKey(QStringLiteral("norma%1").arg(normas.GetNewNormaID()));
    n.setTipoNorma(genNorma::Fija);
    n.setSeccion(bloque);
    n.setIdPregunta(id);
    normas.Add(n);
}

void addDraw(genNormas& normas, qint16 bloque, qint16 tema, qint16 count) {
    genNorma n;
    n.setKey(QStringLiteral("norma%1").arg(normas.GetNewNormaID()));
    n.setTipoNorma(genNorma::Sorteo);
    n.setSeccion(bloque);
    n.setIdTema(tema);
    n.setNumPreguntas(count);
    normas.Add(n);
}

// "A@1/1" for each slot: id, block and position, in collection order.
QStringList slotsOf(const Serie& serie) {
    QStringList out;
    for (const auto& s : *serie.PreguntasSerie())
        out << QStringLiteral("%1@%2/%3").arg(s->IdPreguntaExamen()).arg(s->Tipo()).arg(s->Orden());
    return out;
}

} // namespace

TEST(Genera, WorkedExampleSkipsTheFixedQuestionWhenDrawn) {
    genTemas temas;
    addTopic(temas, 1, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, 1);
    addTopic(temas, 2, {QStringLiteral("V1")}, 2);
    genNormas normas;
    addFixed(normas, 1, QStringLiteral("A"));
    addDraw(normas, 1, 1, 2);
    addDraw(normas, 2, 2, 1);
    // First draw picks A (already placed: set aside), then C, then B.
    FakeRandom random{0.0, 0.9, 0.0, 0.0};
    Serie serie;
    QString error;
    ASSERT_TRUE(Genera(serie, temas, normas, random, &error)) << error.toStdString();
    EXPECT_EQ(slotsOf(serie), (QStringList{QStringLiteral("A@1/1"), QStringLiteral("C@1/2"),
                                           QStringLiteral("B@1/3"), QStringLiteral("V1@2/1")}));
}

TEST(Genera, OverAskingRuleIsRefusedBeforeAnyDraw) {
    const struct {
        const char* fault;
        qint16 wanted;
        bool fixedFirst;
    } cases[] = {
        {"more than the topic has of the kind", 4, false},
        {"more than are left once the fixed question is placed", 3, true},
    };
    for (const auto& c : cases) {
        genTemas temas;
        addTopic(temas, 1, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, 1);
        temas.Item(1)->genPreguntas()->Add(QStringLiteral("T"), QString(), qint16(2));
        genNormas normas;
        if (c.fixedFirst)
            addFixed(normas, 1, QStringLiteral("B"));
        addDraw(normas, 1, 1, c.wanted);
        FakeRandom random;
        Serie serie;
        QString error;
        EXPECT_FALSE(Genera(serie, temas, normas, random, &error)) << c.fault;
        EXPECT_EQ(random.draws(), 0) << c.fault;
        EXPECT_TRUE(error.contains(QStringLiteral("pide %1 preguntas").arg(c.wanted)))
            << error.toStdString();
        EXPECT_EQ(serie.PreguntasSerie()->Count(), c.fixedFirst ? 1 : 0) << c.fault;
    }
}

TEST(Genera, DrawOfEveryCandidatePlacesEachOnceEvenWithAStuckRandomSource) {
    genTemas temas;
    const QStringList ids{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                          QStringLiteral("d")};
    addTopic(temas, 3, ids, 3);
    genNormas normas;
    addDraw(normas, 3, 3, 4);
    FakeRandom random{0.99}; // always the last unused candidate
    Serie serie;
    ASSERT_TRUE(Genera(serie, temas, normas, random));
    EXPECT_EQ(slotsOf(serie), (QStringList{QStringLiteral("d@3/1"), QStringLiteral("c@3/2"),
                                           QStringLiteral("b@3/3"), QStringLiteral("a@3/4")}));
}

TEST(Genera, DrawsCoverEveryCandidateAcrossOrders) {
    genTemas temas;
    addTopic(temas, 1, {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}, 1);
    genNormas normas;
    addDraw(normas, 1, 1, 3);
    QSet<QString> firsts;
    for (const double r : {0.0, 0.4, 0.8}) {
        FakeRandom random{r};
        Serie serie;
        ASSERT_TRUE(Genera(serie, temas, normas, random));
        const QStringList placed = slotsOf(serie);
        EXPECT_EQ(QSet<QString>(placed.begin(), placed.end()).size(), 3);
        firsts.insert(placed.front());
    }
    EXPECT_EQ(firsts.size(), 3); // each candidate can come first
}

TEST(Genera, EdgeCasesOfRulesAndBlocks) {
    genTemas temas;
    addTopic(temas, 1, {QStringLiteral("a"), QStringLiteral("b")}, 1);
    addTopic(temas, 2, {QStringLiteral("t1"), QStringLiteral("t2")}, 3);
    const struct {
        const char* fault;
        std::function<void(genNormas&)> rules;
        bool ok;
        QStringList expected;
    } cases[] = {
        {"block 3 only numbers from 1 with kind 3",
         [](genNormas& n) { addDraw(n, 3, 2, 2); },
         true,
         {QStringLiteral("t1@3/1"), QStringLiteral("t2@3/2")}},
        {"a draw of 0 adds nothing", [](genNormas& n) { addDraw(n, 1, 1, 0); }, true, {}},
        {"blocks run 1, 2, 3 whatever the rule order",
         [](genNormas& n) {
             addFixed(n, 3, QStringLiteral(" t2 "));
             addFixed(n, 1, QStringLiteral("a"));
         },
         true,
         {QStringLiteral("a@1/1"), QStringLiteral(" t2 @3/1")}},
        {"a fixed question placed twice is refused",
         [](genNormas& n) {
             addFixed(n, 1, QStringLiteral("a"));
             addFixed(n, 2, QStringLiteral("A"));
         },
         false,
         {QStringLiteral("a@1/1")}},
        {"a missing topic is refused", [](genNormas& n) { addDraw(n, 1, 9, 1); }, false, {}},
        {"a topic without candidates of the block is refused",
         [](genNormas& n) { addDraw(n, 2, 1, 1); },
         false,
         {}},
        {"rules of an unknown kind are ignored",
         [](genNormas& n) {
             genNorma r;
             r.setKey(QStringLiteral("rara"));
             r.setTipoNorma(7);
             r.setSeccion(1);
             n.Add(r);
         },
         true,
         {}},
    };
    for (const auto& c : cases) {
        genNormas normas;
        c.rules(normas);
        FakeRandom random;
        Serie serie;
        QString error;
        EXPECT_EQ(Genera(serie, temas, normas, random, &error), c.ok) << c.fault;
        EXPECT_EQ(error.isEmpty(), c.ok) << c.fault;
        EXPECT_EQ(slotsOf(serie), c.expected) << c.fault;
    }
}

TEST(Genera, SorteaPreguntasRefusesAFixedRule) {
    genTemas temas;
    addTopic(temas, 1, {QStringLiteral("a")}, 1);
    genNorma fixed;
    fixed.setTipoNorma(genNorma::Fija);
    fixed.setNumPreguntas(1);
    Serie serie;
    FakeRandom random;
    qint16 position = 1;
    QString error;
    EXPECT_FALSE(SorteaPreguntas(serie, fixed, *temas.Item(1), position, 1, random, &error));
    EXPECT_EQ(position, 1);
    EXPECT_FALSE(error.isEmpty());
}

TEST(Genera, SlotsAlreadyInTheSeriesStay) {
    genTemas temas;
    addTopic(temas, 1, {QStringLiteral("a"), QStringLiteral("b")}, 1);
    genNormas normas;
    addDraw(normas, 1, 1, 1);
    Serie serie;
    serie.PreguntasSerie()->Add(QStringLiteral("a"), 5, 1, QStringLiteral("preguntaa"));
    FakeRandom random;
    ASSERT_TRUE(Genera(serie, temas, normas, random));
    EXPECT_EQ(slotsOf(serie), (QStringList{QStringLiteral("a@1/5"), QStringLiteral("b@1/1")}));
}

TEST(SubeBaja, MovesWithinTheBlockOnly) {
    // Block 1: p1, p2; block 2: q1.
    const auto make = [] {
        auto s = std::make_unique<Serie>();
        s->PreguntasSerie()->Add(QStringLiteral("p1"), 1, 1, QStringLiteral("preguntap1"));
        s->PreguntasSerie()->Add(QStringLiteral("q1"), 1, 2, QStringLiteral("preguntaq1"));
        s->PreguntasSerie()->Add(QStringLiteral("p2"), 2, 1, QStringLiteral("preguntap2"));
        return s;
    };
    const struct {
        const char* fault;
        bool up;
        const char16_t* key;
        QStringList expected;
    } cases[] = {
        {"up swaps with the one above",
         true,
         u"preguntap2",
         {QStringLiteral("p1@1/2"), QStringLiteral("q1@2/1"), QStringLiteral("p2@1/1")}},
        {"down swaps with the one below",
         false,
         u"PREGUNTAP1",
         {QStringLiteral("p1@1/2"), QStringLiteral("q1@2/1"), QStringLiteral("p2@1/1")}},
        {"first of its block stays",
         true,
         u"preguntap1",
         {QStringLiteral("p1@1/1"), QStringLiteral("q1@2/1"), QStringLiteral("p2@1/2")}},
        {"last of its block stays",
         false,
         u"preguntap2",
         {QStringLiteral("p1@1/1"), QStringLiteral("q1@2/1"), QStringLiteral("p2@1/2")}},
        {"never crosses into another block",
         false,
         u"preguntaq1",
         {QStringLiteral("p1@1/1"), QStringLiteral("q1@2/1"), QStringLiteral("p2@1/2")}},
        {"unknown key changes nothing",
         true,
         u"preguntazz",
         {QStringLiteral("p1@1/1"), QStringLiteral("q1@2/1"), QStringLiteral("p2@1/2")}},
    };
    for (const auto& c : cases) {
        auto serie = make();
        const QString key = QString::fromUtf16(c.key);
        if (c.up)
            SubePregunta(*serie, key);
        else
            BajaPregunta(*serie, key);
        EXPECT_EQ(slotsOf(*serie), c.expected) << c.fault;
    }
}

TEST(GenCollections, CountsAndRuleNumbers) {
    genNormas normas;
    EXPECT_EQ(normas.GetNewNormaID(), 1);
    EXPECT_EQ(normas.GetNewNormaID(), 2);
    EXPECT_EQ(normas.GetNewNormaID(), 3);
    addFixed(normas, 1, QStringLiteral("a"));
    addDraw(normas, 1, 1, 4);
    addDraw(normas, 2, 1, 3);
    EXPECT_EQ(normas.CuantasPreguntas(1), 5);
    EXPECT_EQ(normas.CuantasPreguntas(2), 3);
    EXPECT_EQ(normas.CuantasPreguntas(3), 0);

    genTema tema;
    tema.genPreguntas()->Add(QStringLiteral("a"), QString(), QStringLiteral(" 1 "));
    tema.genPreguntas()->Add(QStringLiteral("b"), QString(), QStringLiteral("2"),
                             QStringLiteral("k"));
    tema.genPreguntas()->Add(QStringLiteral("c"), QString(), QStringLiteral("1"));
    EXPECT_EQ(tema.CuantasPreguntas(1), 2);
    EXPECT_EQ(tema.CuantasPreguntas(2), 1);
    EXPECT_EQ(tema.CuantasPreguntas(0), 0);
    EXPECT_EQ(tema.genPreguntas()->Item(QStringLiteral("K"))->IdPregunta(), u"b");
    EXPECT_THROW(tema.genPreguntas()->Add(QStringLiteral("d"), QString(), QStringLiteral("x")),
                 KpError);
    EXPECT_THROW(tema.genPreguntas()->Add(QStringLiteral("d"), QString(), QStringLiteral("40000")),
                 KpError);

    // A topic shares the candidate collection it was given.
    genTemas temas;
    auto shared = std::make_shared<genPreguntas>();
    temas.Add(shared, QStringLiteral("T"), QStringLiteral("tema1"));
    shared->Add(QStringLiteral("z"), QString(), qint16(1));
    EXPECT_EQ(temas.Item(QStringLiteral("tema1"))->CuantasPreguntas(1), 1);
}
