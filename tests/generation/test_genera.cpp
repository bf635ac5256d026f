#include "FakeRandom.h"
#include "generation/Genera.h"
#include "generation/genNormas.h"
#include "generation/genTemas.h"
#include "model/Serie.h"

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

// "A@1/1 B@1/2": id, block and position of each slot, in collection order.
std::string slotsOf(const Serie& serie) {
    QStringList out;
    for (const auto& s : *serie.PreguntasSerie())
        out << QStringLiteral("%1@%2/%3").arg(s->IdPreguntaExamen()).arg(s->Tipo()).arg(s->Orden());
    return out.join(u' ').toStdString();
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
    EXPECT_EQ(slotsOf(serie), "A@1/1 C@1/2 B@1/3 V1@2/1");
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
    EXPECT_EQ(slotsOf(serie), "d@3/1 c@3/2 b@3/3 a@3/4");
}

TEST(Genera, EdgeCasesOfRulesAndBlocks) {
    genTemas temas;
    addTopic(temas, 1, {QStringLiteral("a"), QStringLiteral("b")}, 1);
    addTopic(temas, 2, {QStringLiteral("t1"), QStringLiteral("t2")}, 3);
    const struct {
        const char* fault;
        std::function<void(genNormas&)> rules;
        bool ok;
        const char* expected;
    } cases[] = {
        {"block 3 only numbers from 1 with kind 3", [](genNormas& n) { addDraw(n, 3, 2, 2); }, true,
         "t1@3/1 t2@3/2"},
        {"a draw of 0 adds nothing", [](genNormas& n) { addDraw(n, 1, 1, 0); }, true, ""},
        {"blocks run 1, 2, 3 whatever the rule order",
         [](genNormas& n) {
             addFixed(n, 3, QStringLiteral(" t2 "));
             addFixed(n, 1, QStringLiteral("a"));
         },
         true, "a@1/1  t2 @3/1"},
        {"a fixed question placed twice is refused",
         [](genNormas& n) {
             addFixed(n, 1, QStringLiteral("a"));
             addFixed(n, 2, QStringLiteral("A"));
         },
         false, "a@1/1"},
        {"a missing topic is refused", [](genNormas& n) { addDraw(n, 1, 9, 1); }, false, ""},
        {"a topic without candidates of the block is refused",
         [](genNormas& n) { addDraw(n, 2, 1, 1); }, false, ""},
        {"rules of an unknown kind are ignored",
         [](genNormas& n) {
             genNorma r;
             r.setKey(QStringLiteral("rara"));
             r.setTipoNorma(7);
             r.setSeccion(1);
             n.Add(r);
         },
         true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        genNormas normas;
        c.rules(normas);
        FakeRandom random;
        Serie serie;
        QString error;
        EXPECT_EQ(Genera(serie, temas, normas, random, &error), c.ok);
        EXPECT_EQ(error.isEmpty(), c.ok);
        EXPECT_EQ(slotsOf(serie), c.expected);
    }
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
    EXPECT_EQ(slotsOf(serie), "a@1/5 b@1/1");
}

TEST(SubeBaja, MovesWithinTheBlockOnly) {
    // Block 1: p1, p2; block 2: q1.
    const char* const unmoved = "p1@1/1 q1@2/1 p2@1/2";
    const char* const swapped = "p1@1/2 q1@2/1 p2@1/1";
    const struct {
        const char* fault;
        void (*move)(Serie&, const QString&);
        const char16_t* key;
        const char* expected;
    } cases[] = {
        {"up swaps with the one above", SubePregunta, u"preguntap2", swapped},
        {"down swaps with the one below", BajaPregunta, u"PREGUNTAP1", swapped},
        {"first of its block stays", SubePregunta, u"preguntap1", unmoved},
        {"last of its block stays", BajaPregunta, u"preguntap2", unmoved},
        {"never crosses into another block", BajaPregunta, u"preguntaq1", unmoved},
        {"unknown key changes nothing", SubePregunta, u"preguntazz", unmoved},
    };
    for (const auto& c : cases) {
        Serie serie;
        serie.PreguntasSerie()->Add(QStringLiteral("p1"), 1, 1, QStringLiteral("preguntap1"));
        serie.PreguntasSerie()->Add(QStringLiteral("q1"), 1, 2, QStringLiteral("preguntaq1"));
        serie.PreguntasSerie()->Add(QStringLiteral("p2"), 2, 1, QStringLiteral("preguntap2"));
        c.move(serie, QString::fromUtf16(c.key));
        EXPECT_EQ(slotsOf(serie), c.expected) << c.fault;
    }
}

TEST(GenCollections, CountsAndKindsGivenAsText) {
    genNormas normas;
    addFixed(normas, 1, QStringLiteral("a"));
    addDraw(normas, 1, 1, 4);
    addDraw(normas, 2, 1, 3);
    EXPECT_EQ(normas.CuantasPreguntas(1), 5);
    EXPECT_EQ(normas.CuantasPreguntas(2), 3);

    genTema tema;
    tema.genPreguntas()->Add(QStringLiteral("a"), QString(), QStringLiteral(" 1 "));
    tema.genPreguntas()->Add(QStringLiteral("b"), QString(), QStringLiteral("2"));
    tema.genPreguntas()->Add(QStringLiteral("c"), QString(), QStringLiteral("1"));
    EXPECT_EQ(tema.CuantasPreguntas(1), 2);
    EXPECT_EQ(tema.CuantasPreguntas(2), 1);
    for (const char16_t* bad : {u"x", u"40000"})
        EXPECT_THROW(
            tema.genPreguntas()->Add(QStringLiteral("d"), QString(), QString::fromUtf16(bad)),
            KpError);
}
