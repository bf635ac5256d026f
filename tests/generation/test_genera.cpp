#include "FakeRandom.h"
#include "Rows.h"
#include "generation/Genera.h"
#include "generation/genNormas.h"
#include "generation/genTemas.h"
#include "model/Serie.h"

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

genNorma fija(qint16 seccion, const char* id) {
    genNorma n;
    n.setSeccion(seccion);
    n.setTipoNorma(genNorma::Fija);
    n.setIdPregunta(QString::fromUtf8(id));
    return n;
}
genNorma sorteo(qint16 seccion, qint16 tema, qint16 cuantas, qint16 tipo = genNorma::Sorteo) {
    genNorma n;
    n.setSeccion(seccion);
    n.setTipoNorma(tipo);
    n.setIdTema(tema);
    n.setNumPreguntas(cuantas);
    return n;
}
genNormas normasOf(std::vector<genNorma> list) {
    genNormas normas;
    for (genNorma& n : list) {
        n.setKey(u"norma%1"_s.arg(normas.GetNewNormaID()));
        normas.Add(n);
    }
    return normas;
}

struct Slot {
    std::string id;
    qint16 tipo, orden;
    bool operator==(const Slot&) const = default;
    friend void PrintTo(const Slot& s, std::ostream* os) {
        *os << s.id << " block " << s.tipo << " #" << s.orden;
    }
};
using Slots = std::vector<Slot>;

Slots slotsOf(const Serie& serie) {
    Slots out;
    for (const auto& s : *serie.PreguntasSerie())
        out.push_back({s->IdPreguntaExamen().toStdString(), s->Tipo(), s->Orden()});
    return out;
}

// Topic 1: a, b, c of kind 1 and x of kind 2; topic 2: v1 of kind 2; topic 3: t1, t2 of kind 3.
genTemas bank() {
    genTemas temas;
    const auto add = [&](int number, const QStringList& ids, qint16 tipo) {
        auto candidates = std::make_shared<genPreguntas>();
        for (const QString& id : ids)
            candidates->Add(id, u"texto de "_s + id, tipo);
        return temas.Add(candidates, u"Tema %1"_s.arg(number), u"tema%1"_s.arg(number));
    };
    add(1, {u"a"_s, u"b"_s, u"c"_s}, 1)->genPreguntas()->Add(u"x"_s, QString(), qint16(2));
    add(2, {u"v1"_s}, 2);
    add(3, {u"t1"_s, u"t2"_s}, 3);
    return temas;
}

struct GeneraRow {
    const char* name;
    std::vector<genNorma> rules;
    std::vector<double> draws; // what the random source returns, in order (then the last again)
    bool ok;
    Slots placed;
    const char* says = ""; // in the reason of a refusal
    Slots before = {};     // what the series holds already
};

// A fixed question met again by a draw is set aside; a stuck random source still ends.
// clang-format off
const GeneraRow kGeneraRows[] = {
    {"FixedThenDraws", {fija(1, "a"), sorteo(1, 1, 2), sorteo(2, 2, 1)}, {0, .9, 0, 0}, true,
     {{"a", 1, 1}, {"c", 1, 2}, {"b", 1, 3}, {"v1", 2, 1}}},
    {"StuckRandomSource", {sorteo(1, 1, 3)}, {.99}, true, {{"c", 1, 1}, {"b", 1, 2}, {"a", 1, 3}}},
    {"Block3NumbersFromOne", {sorteo(3, 3, 2)}, {}, true, {{"t1", 3, 1}, {"t2", 3, 2}}},
    {"DrawOfNoneAddsNothing", {sorteo(1, 1, 0)}, {}, true, {}},
    {"BlocksInOrderWhateverTheRules", {fija(3, " t2 "), fija(1, "a")}, {}, true,
     {{"a", 1, 1}, {" t2 ", 3, 1}}},
    {"SlotsAlreadyThereStay", {sorteo(1, 1, 1)}, {}, true, {{"a", 1, 5}, {"b", 1, 1}}, "",
     {{"a", 1, 5}}},
    {"MoreThanTheTopicHas", {sorteo(1, 1, 4)}, {}, false, {}, "pide 4 preguntas"},
    {"MoreThanLeftAfterAFixedOne", {fija(1, "b"), sorteo(1, 1, 3)}, {}, false, {{"b", 1, 1}},
     "solo quedan 2"},
    {"AFixedQuestionTwice", {fija(1, "a"), fija(2, "A")}, {}, false, {{"a", 1, 1}}, "clave"},
    {"AMissingTopic", {sorteo(1, 9, 1)}, {}, false, {}, "tema 9"},
    {"NoCandidateOfTheBlock", {sorteo(2, 3, 1)}, {}, false, {}, "no tiene preguntas del tipo 2"},
    {"RulesOfAnUnknownKindIgnored", {sorteo(1, 1, 1, 7)}, {}, true, {}},
    {"RulesOutsideBlocksOneToThreeIgnored", {fija(0, "a"), fija(4, "b")}, {}, true, {}},
};
// clang-format on

class GeneraRules : public testing::TestWithParam<GeneraRow> {};

TEST_P(GeneraRules, FillBlocksInOrderOrRefuseBeforeDrawing) {
    const GeneraRow& r = GetParam();
    Serie serie;
    for (const Slot& s : r.before)
        serie.PreguntasSerie()->Add(QString::fromStdString(s.id), s.orden, s.tipo,
                                    QString::fromStdString("pregunta" + s.id));
    FakeRandom random;
    for (const double d : r.draws)
        random.push(d);
    QString error;
    EXPECT_EQ(Genera(serie, bank(), normasOf(r.rules), random, &error), r.ok);
    EXPECT_EQ(slotsOf(serie), r.placed);
    EXPECT_EQ(error.isEmpty(), r.ok);
    EXPECT_TRUE(error.contains(QString::fromUtf8(r.says))) << error.toStdString();
    EXPECT_TRUE(r.ok || random.draws() == 0) << "refused before any draw";
}
INSTANTIATE_TEST_SUITE_P(Genera, GeneraRules, testing::ValuesIn(kGeneraRows), RowName());

struct MoveRow {
    const char* name;
    void (*move)(Serie&, const QString&);
    const char16_t* key;
    bool swaps; // p1 and p2, the two slots of block 1
};

const MoveRow kMoveRows[] = {
    {"UpSwapsWithTheOneAbove", SubePregunta, u"preguntap2", true},
    {"DownSwapsWithTheOneBelowKeysIgnoringCase", BajaPregunta, u"PREGUNTAP1", true},
    {"UpStopsAtTheFirstOfItsBlock", SubePregunta, u"preguntap1", false},
    {"DownStopsAtTheLastOfItsBlock", BajaPregunta, u"preguntap2", false},
    {"NeverIntoAnotherBlock", BajaPregunta, u"preguntaq1", false},
    {"UnknownKeyChangesNothing", SubePregunta, u"preguntazz", false},
};

class MoveSlot : public testing::TestWithParam<MoveRow> {};

TEST_P(MoveSlot, WithinItsBlockOnly) {
    Serie serie;
    serie.PreguntasSerie()->Add(u"p1"_s, 1, 1, u"preguntap1"_s);
    serie.PreguntasSerie()->Add(u"q1"_s, 1, 2, u"preguntaq1"_s);
    serie.PreguntasSerie()->Add(u"p2"_s, 2, 1, u"preguntap2"_s);
    GetParam().move(serie, QString::fromUtf16(GetParam().key));
    const qint16 p1 = GetParam().swaps ? 2 : 1;
    EXPECT_EQ(slotsOf(serie), (Slots{{"p1", 1, p1}, {"q1", 2, 1}, {"p2", 1, qint16(3 - p1)}}));
}
INSTANTIATE_TEST_SUITE_P(SubeBaja, MoveSlot, testing::ValuesIn(kMoveRows), RowName());

// Called on its own, a draw refuses a fixed rule, a block outside 1..3 and positions past 32,767.
TEST(SorteaPreguntas, RefusesWhatGeneraNeverAsksFor) {
    const genTemas temas = bank();
    FakeRandom random;
    Serie serie;
    qint16 posicion = 32767;
    EXPECT_FALSE(SorteaPreguntas(serie, fija(1, "a"), *temas.Item(1), posicion, 1, random));
    EXPECT_FALSE(SorteaPreguntas(serie, sorteo(1, 1, 2), *temas.Item(1), posicion, 1, random));
    EXPECT_TRUE(SorteaPreguntas(serie, sorteo(1, 1, 1), *temas.Item(1), posicion, 1, random));
    EXPECT_EQ(slotsOf(serie), (Slots{{"a", 1, 32767}}));
    genTema block4;
    block4.genPreguntas()->Add(u"z"_s, QString(), qint16(4));
    EXPECT_FALSE(SorteaPreguntas(serie, sorteo(4, 1, 1), block4, posicion, 4, random));
}

TEST(GenCollections, CountsNumbersAndKindsGivenAsText) {
    genNormas normas = normasOf({fija(1, "a"), sorteo(1, 1, 4), sorteo(2, 1, 3)});
    EXPECT_EQ(normas.CuantasPreguntas(1), 5);
    EXPECT_EQ(normas.CuantasPreguntas(3), 0);
    EXPECT_EQ(normas.GetNewNormaID(), 4) << "after the three rules numbered 1, 2, 3";
    genTema tema;
    tema.genPreguntas()->Add(u"a"_s, QString(), u" 1 "_s);
    tema.genPreguntas()->Add(u"b"_s, QString(), u"2"_s);
    tema.genPreguntas()->Add(u"c"_s, QString(), u"1"_s);
    tema.genPreguntas()->Add(u"t"_s, QString(), u"3"_s);
    tema.genPreguntas()->Add(u"z"_s, QString(), u"0"_s); // kinds outside 1..3 are never counted
    tema.genPreguntas()->Add(u"f"_s, QString(), u"4"_s);
    EXPECT_EQ(tema.CuantasPreguntas(1), 2);
    EXPECT_EQ(tema.CuantasPreguntas(3), 1);
    EXPECT_EQ(tema.CuantasPreguntas(4), 0);
    EXPECT_EQ(tema.CuantasPreguntas(0), 0);
    for (const char16_t* bad : {u"x", u"40000"})
        EXPECT_THROW(tema.genPreguntas()->Add(u"d"_s, QString(), QString::fromUtf16(bad)), KpError);
}

} // namespace
