#include "FakeClock.h"
#include "FakeRandom.h"
#include "Kxt.h"

#include "model/KipsaPrubex.h"
#include "model/Serie.h"
#include "tools/ExamBuilder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace kp::tools;
using namespace Qt::StringLiterals;

namespace {

QByteArray readExample(const QString& name) {
    QFile f(QDir(qEnvironmentVariable("KP_TEST_DATA")).filePath(u"../../examples/"_s + name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// How kxt info shows a blob.
QJsonObject blob(const QByteArray& b) {
    return {{u"size"_s, b.size()},
            {u"sha256"_s,
             QString::fromLatin1(QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex())}};
}

// Every member that want holds is in got with the same value, member by member.
void expectWithin(const QJsonValue& want, const QJsonValue& got, const QString& path) {
    if (want.isObject()) {
        const QJsonObject w = want.toObject();
        for (auto it = w.begin(); it != w.end(); ++it)
            expectWithin(it.value(), got[it.key()], path + u'.' + it.key());
    } else if (want.isArray()) {
        const QJsonArray w = want.toArray(), g = got.toArray();
        ASSERT_EQ(g.size(), w.size()) << path.toStdString();
        for (qsizetype i = 0; i < w.size(); ++i)
            expectWithin(w[i], g[i], u"%1[%2]"_s.arg(path).arg(i));
    } else {
        EXPECT_EQ(got, want) << path.toStdString();
    }
}

// Builds the exam that json describes, with the given clock and draws.
KipsaPrubex built(const ToolFiles& files, const QByteArray& json, FakeRandom random = {}) {
    FakeClock clock(QDateTime(QDate(2002, 3, 5), QTime(14, 7, 9)));
    KipsaPrubex e;
    ExamBuilder(clock, random).build(files.write(u"e.json"_s, json), e);
    return e;
}

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

// An exam of kQuestions whose only series, number 3, is made from the given topics and rules.
QByteArray withRules(const QByteArray& topics, const QByteArray& rules) {
    return QByteArray("{") + kQuestions + R"(, "Series": [{"Numero": 3, "Reglas": {"Temas": [)" +
           topics + R"(], "Normas": )" + rules + "}}]}";
}

} // namespace

TEST(KxtBuild, SampleBuildThenInfoGivesBackWhatTheDescriptionSaid) {
    ToolFiles files;
    const QString source =
        QDir(qEnvironmentVariable("KP_TEST_DATA")).filePath(u"../../examples/muestra.json"_s);
    ASSERT_EQ(kxt(runBuild, {source, u"-o"_s, files.path(u"m.kxt"_s)}).status, 0);
    const CommandRun info = kxt(runInfo, {files.path(u"m.kxt"_s)});
    ASSERT_EQ(info.status, 0) << info.err.toStdString();

    // What info must show: the description, each file it names as a blob, and each series'
    // identifiers as slots numbered from 1.
    QJsonObject want = QJsonDocument::fromJson(readExample(u"muestra.json"_s)).object();
    want[u"ArchivoLogoBinary"] = blob(readExample(want.value(u"ArchivoLogo").toString()));
    QJsonArray questions = want[u"Preguntas"].toArray(), series = want[u"Series"].toArray();
    for (qsizetype i = 0; i < questions.size(); ++i) {
        QJsonObject q = questions[i].toObject();
        q[u"ImagenBinary"] = blob(readExample(q.value(u"Imagen").toString()));
        questions[i] = q;
    }
    for (qsizetype i = 0; i < series.size(); ++i) {
        QJsonObject s = series[i].toObject();
        QJsonArray slotList;
        for (const auto id : s.take(u"Preguntas").toArray())
            slotList.append(
                QJsonObject{{u"IdPreguntaExamen"_s, id}, {u"Orden"_s, slotList.size() + 1}});
        s[u"PreguntasSerie"] = slotList;
        series[i] = s;
    }
    want[u"Preguntas"] = questions;
    want[u"Series"] = series;
    expectWithin(want, QJsonDocument::fromJson(info.out.toUtf8()).object(), u"info"_s);
}

TEST(ExamBuilderTest, RuleBlocksInOrderThenNumberedOneToN) {
    ToolFiles files;
    // The block 3 rule comes first; block 1 draws A (already placed: set aside), then C, then B;
    // block 2 draws V1.
    const KipsaPrubex exam = built(files, withRules(kTopic, R"([
        {"Seccion": 3, "IdPregunta": "T1"}, {"Seccion": 1, "IdPregunta": "A"},
        {"Seccion": 1, "IdTema": 1, "NumPreguntas": 2},
        {"Seccion": 2, "IdTema": 1, "NumPreguntas": 1}])"),
                                   {0.0, 0.9, 0.0, 0.0});
    ASSERT_EQ(exam.Series()->Count(), 1);
    QStringList slotList;
    for (const auto& slot : *exam.Series()->Item(1)->PreguntasSerie())
        slotList
            << u"%1@%2/%3"_s.arg(slot->IdPreguntaExamen()).arg(slot->Tipo()).arg(slot->Orden());
    EXPECT_EQ(slotList.join(u' '), u"A@1/1 C@1/2 B@1/3 V1@2/4 T1@3/5");
}

TEST(KxtBuild, ProblemsNameTheirJsonPathAndWriteNoFileAndUsageErrorsExit2) {
    const struct {
        QByteArray json;
        const char* message;
    } cases[] = {
        {R"({"Preguntas":[{"TextoPregunta":"a","respuestas":[{"Texto":"x","Correcta":"si"}]}]})",
         "Preguntas[0].respuestas[0].Correcta: expected true or false"},
        {R"({"Titlo":"x"})", "Titlo: unknown member"},
        {R"({"MinutosLimite":40000})", "MinutosLimite: expected a whole number from 0 to 32767"},
        {R"({"Preguntas":[{"TextoPregunta":"a","respuestas":[{"Texto":"\u2192"}]}]})",
         "Preguntas[0].respuestas[0].Texto: the character"},
        {R"({"Preguntas":[{"Id":"a"}]})", "Preguntas[0].TextoPregunta: missing"},
        {R"({"Preguntas":[{"Id":"a","TextoPregunta":"x"},{"Id":" A ","TextoPregunta":"y"}]})",
         "Preguntas[1].Id: the same identifier as Preguntas[0]"},
        {R"({"Preguntas":[{"TextoPregunta":"x","Imagen":"no-existe.png"}]})",
         "Preguntas[0].Imagen: cannot read"},
        {R"({"Series":[{"Preguntas":["b"]}]})", "Series[0].Preguntas[0]: no question has"},
        {R"({"Series":[{"Numero":3,"Preguntas":[]},{"Numero":3,"Preguntas":[]}]})",
         "Series[1].Numero: another series has the number 3"},
        {R"({"Series":[]})", "Series: an exam needs at least one series"},
        {R"({"Preguntas":[{"TextoPregunta":"x"}] )", "invalid JSON"},
        // More than the topic has left once B is placed.
        {withRules(kTopic,
                   R"([{"Seccion":1,"IdPregunta":"B"},{"Seccion":1,"IdTema":1,"NumPreguntas":3}])"),
         "pide 3 preguntas"},
        {withRules(kTopic, R"([{"Seccion":1,"IdTema":7,"NumPreguntas":1}])"), "Normas[0].IdTema"},
        {withRules(R"({"Numero":1,"Preguntas":["A","Z"]})", "[]"), "Temas[0].Preguntas[1]"},
        {withRules(kTopic, R"([{"Seccion":1,"IdPregunta":"A","IdTema":1,"NumPreguntas":1}])"),
         "either IdPregunta"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json.constData());
        ToolFiles files;
        const QString target = files.path(u"examen.kxt"_s);
        const CommandRun r = kxt(runBuild, {files.write(u"e.json"_s, c.json), u"-o"_s, target});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(target));
    }
    EXPECT_EQ(kxt(runBuild, {u"a.json"_s}).status, 2) << "usage: no -o";
    EXPECT_EQ(kxt(runInfo, {}).status, 2) << "usage: no exam";
}

TEST(ExamBuilderTest, DefaultsWholeExamSeriesAndMissingIdsDrawnAgainOnAClash) {
    ToolFiles files;
    // The second question first draws the same three digits as the first.
    const KipsaPrubex e = built(files, R"({"Preguntas":[{"LicenciaAutor":"123-567-9012",
        "TextoPregunta":"x", "respuestas":[{"Texto":"Verdadero","Correcta":true}]},
        {"LicenciaAutor":"123-567-9012","TextoPregunta":"y"}]})",
                                {0, 0, 0, 0, 0, 0, .5, .5, .5});
    EXPECT_FLOAT_EQ(e.NotaMaxima(), 10.0f);
    EXPECT_EQ(e.PenalizarBlancas(), 2);
    EXPECT_EQ(e.Preguntas()->Item(1)->Id(), u"12356790122514259133783925111");
    EXPECT_EQ(e.Preguntas()->Item(2)->Id(), u"12356790122514259133783925555");
    ASSERT_EQ(e.Series()->Count(), 1);
    const auto& slotList = *e.Series()->Item(1)->PreguntasSerie();
    ASSERT_EQ(slotList.Count(), 2);
    EXPECT_EQ(slotList.Item(1)->Tipo(), 2) << "one answer: true/false";
    EXPECT_EQ(slotList.Item(2)->Tipo(), 3) << "no answers: text question";
}

TEST(KxtInfo, UnloadableExamSaysWhyAndFloatsPrintInTheirShortestForm) {
    ToolFiles files;
    const QString broken = files.write(u"roto.kxt"_s, "0000000299");
    const CommandRun r = kxt(runInfo, {broken});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith(u"kxt: cannot load %1\n"_s.arg(broken))) << r.err.toStdString();
    EXPECT_GT(r.err.count(u'\n'), 1) << "the reason follows";

    KipsaPrubex e;
    e.setNotaMaxima(0.1f);
    e.setPenalizacion(7.123f);
    e.setArchivoSalida(files.path(u"f.kxt"_s));
    ASSERT_TRUE(e.Export());
    const QString out = kxt(runInfo, {e.ArchivoSalida()}).out;
    EXPECT_TRUE(out.contains(u"\"NotaMaxima\": 0.1,")) << out.toStdString();
    EXPECT_TRUE(out.contains(u"\"Penalizacion\": 7.123")) << out.toStdString();
}
