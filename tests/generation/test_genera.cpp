#include "FakeRandom.h"
#include "generation/Genera.h"
#include "generation/genNormas.h"
#include "generation/genTemas.h"
#include "model/Serie.h"

#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

// Topic `number` whose candidates are the given ids, all of kind `tipo`.
void addTopic(genTemas& temas, int number, const QStringList& ids, qint16 tipo) {
    auto candidates = std::make_shared<genPreguntas>();
    for (const QString& id : ids)
        candidates->Add(id, u"texto de "_s + id, tipo);
    temas.Add(candidates, u"Tema %1"_s.arg(number), u"tema%1"_s.arg(number));
}

// Rules from text, comma-separated: "1:a" places question a in block 1, "2:#3x4" draws 4 from
// topic 3 into block 2, "1:?" is a rule of an unknown kind.
genNormas rulesOf(const QString& text) {
    genNormas normas;
    for (const QString& r : text.split(u',', Qt::SkipEmptyParts)) {
        genNorma n;
        n.setKey(u"norma%1"_s.arg(normas.GetNewNormaID()));
        n.setSeccion(r.left(1).toShort());
        const QString what = r.mid(2);
        const bool draw = what.startsWith(u'#');
        n.setTipoNorma(what == u"?" ? 7 : draw ? genNorma::Sorteo : genNorma::Fija);
        n.setIdPregunta(draw ? QString() : what);
        n.setIdTema(what.mid(1).section(u'x', 0, 0).toShort());
        n.setNumPreguntas(what.section(u'x', 1).toShort());
        normas.Add(n);
    }
    return normas;
}

// "A@1/1 B@1/2": id, block and position of each slot, in collection order.
std::string slotsOf(const Serie& serie) {
    QStringList out;
    for (const auto& s : *serie.PreguntasSerie())
        out << u"%1@%2/%3"_s.arg(s->IdPreguntaExamen()).arg(s->Tipo()).arg(s->Orden());
    return out.join(u' ').toStdString();
}

} // namespace

TEST(Genera, RulesAndBlocks) {
    // Topic 1: a, b, c of kind 1 and x of kind 2; topic 2: v1 of kind 2; topic 3: t1, t2 of kind 3.
    genTemas temas;
    addTopic(temas, 1, {u"a"_s, u"b"_s, u"c"_s}, 1);
    temas.Item(1)->genPreguntas()->Add(u"x"_s, QString(), qint16(2));
    addTopic(temas, 2, {u"v1"_s}, 2);
    addTopic(temas, 3, {u"t1"_s, u"t2"_s}, 3);
    const struct {
        const char* fault;
        const char16_t* rules;
        std::initializer_list<double> draws;
        bool ok;
        const char* expected;
        const char* says = "";
        bool aAlreadyFifth = false;
    } cases[] = {
        // A fixed question and a draw of two: a, drawn again, is set aside; c and b follow.
        {"a fixed question, then a draw that meets it again", u"1:a,1:#1x2,2:#2x1", {0, .9, 0, 0}, true, "a@1/1 c@1/2 b@1/3 v1@2/1"},
        {"a stuck random source", u"1:#1x3", {.99}, true, "c@1/1 b@1/2 a@1/3"},
        {"block 3 numbers from 1 with kind 3", u"3:#3x2", {}, true, "t1@3/1 t2@3/2"},
        {"a draw of 0 adds nothing", u"1:#1x0", {}, true, ""},
        {"blocks run 1, 2, 3 whatever the rule order", u"3: t2 ,1:a", {}, true, "a@1/1  t2 @3/1"},
        {"slots already there stay", u"1:#1x1", {}, true, "a@1/5 b@1/1", "", true},
        {"more than the topic has of a kind", u"1:#1x4", {}, false, "", "pide 4 preguntas"},
        {"more than left after a fixed one", u"1:b,1:#1x3", {}, false, "b@1/1", "pide 3 preguntas"},
        {"a fixed question placed twice", u"1:a,2:A", {}, false, "a@1/1"},
        {"a missing topic", u"1:#9x1", {}, false, ""},
        {"a topic without candidates of the block", u"2:#3x1", {}, false, ""},
        {"rules of an unknown kind are ignored", u"1:?", {}, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        const genNormas normas = rulesOf(QString::fromUtf16(c.rules));
        Serie serie;
        if (c.aAlreadyFifth)
            serie.PreguntasSerie()->Add(u"a"_s, 5, 1, u"preguntaa"_s);
        FakeRandom random(c.draws);
        QString error;
        EXPECT_EQ(Genera(serie, temas, normas, random, &error), c.ok);
        EXPECT_EQ(slotsOf(serie), c.expected);
        EXPECT_EQ(error.isEmpty(), c.ok);
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.says))) << error.toStdString();
        EXPECT_TRUE(c.ok || random.draws() == 0) << "refused before any draw";
    }
}

TEST(SubeBaja, MovesWithinTheBlockOnly) {
    // Block 1: p1, p2; block 2: q1.
    const char* const unmoved = "p1@1/1 q1@2/1 p2@1/2";
    const char* const swapped = "p1@1/2 q1@2/1 p2@1/1";
    const struct {
        void (*move)(Serie&, const QString&);
        const char16_t* key;
        const char* expected;
    } cases[] = {
        {SubePregunta, u"preguntap2", swapped}, {BajaPregunta, u"PREGUNTAP1", swapped},
        {SubePregunta, u"preguntap1", unmoved}, // first of its block
        {BajaPregunta, u"preguntap2", unmoved}, // last of its block
        {BajaPregunta, u"preguntaq1", unmoved}, // never crosses into another block
        {SubePregunta, u"preguntazz", unmoved},
    };
    for (const auto& c : cases) {
        Serie serie;
        serie.PreguntasSerie()->Add(u"p1"_s, 1, 1, u"preguntap1"_s);
        serie.PreguntasSerie()->Add(u"q1"_s, 1, 2, u"preguntaq1"_s);
        serie.PreguntasSerie()->Add(u"p2"_s, 2, 1, u"preguntap2"_s);
        c.move(serie, QString::fromUtf16(c.key));
        EXPECT_EQ(slotsOf(serie), c.expected) << QString::fromUtf16(c.key).toStdString();
    }
}

TEST(GenCollections, CountsAndKindsGivenAsText) {
    EXPECT_EQ(rulesOf(u"1:a,1:#1x4,2:#1x3"_s).CuantasPreguntas(1), 5);
    genTema tema;
    tema.genPreguntas()->Add(u"a"_s, QString(), u" 1 "_s);
    tema.genPreguntas()->Add(u"b"_s, QString(), u"2"_s);
    EXPECT_EQ(tema.CuantasPreguntas(1), 1);
    for (const char16_t* bad : {u"x", u"40000"})
        EXPECT_THROW(tema.genPreguntas()->Add(u"c"_s, QString(), QString::fromUtf16(bad)), KpError);
}
