#include "FakeClock.h"
#include "FakeRandom.h"
#include "Kxt.h"

#include "model/KipsaPrubex.h"
#include "tools/JsonExamBuilder.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kp;
using namespace kp::test;
using namespace kp::tools;
using namespace Qt::StringLiterals;

namespace {

// Every member that want holds is in got with the same value, member by member.
void expectWithin(const QJsonValue& want, const QJsonValue& got, const QString& path) {
    if (want.isObject()) {
        const QJsonObject w = want.toObject();
        for (auto it = w.begin(); it != w.end(); ++it)
            expectWithin(it.value(), got[it.key()], path + u'.' + it.key());
    } else if (want.isArray()) {
        ASSERT_EQ(got.toArray().size(), want.toArray().size()) << path.toStdString();
        for (qsizetype i = 0; i < want.toArray().size(); ++i)
            expectWithin(want[i], got[i], u"%1[%2]"_s.arg(path).arg(i));
    } else {
        EXPECT_EQ(got, want) << path.toStdString();
    }
}

// Builds the exam that json describes, with the given clock and draws.
KipsaPrubex built(const ToolFiles& files, const QByteArray& json, FakeRandom random = {}) {
    FakeClock clock(QDateTime(QDate(2002, 3, 5), QTime(14, 7, 9)));
    KipsaPrubex e;
    JsonExamBuilder(clock, random).build(files.write(u"e.json"_s, json), e);
    return e;
}

} // namespace

TEST(KxtBuild, SampleBuildThenInfoGivesBackWhatTheDescriptionSaid) {
    ToolFiles files;
    const QString kxtPath = files.path(u"m.kxt"_s);
    ASSERT_EQ(kxt(runBuild, {example(u"muestra.json"_s), u"-o"_s, kxtPath}).status, 0);
    const CommandRun info = kxt(runInfo, {kxtPath});
    ASSERT_EQ(info.status, 0) << info.err.toStdString();
    const QJsonObject got = QJsonDocument::fromJson(info.out.toUtf8()).object();
    EXPECT_EQ(got[u"ArchivoLogoBinary"][u"size"], QFileInfo(example(u"logo.png"_s)).size());

    // What info must show: the description, with each series' identifiers as slots from 1.
    QFile source(example(u"muestra.json"_s));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QJsonObject want = QJsonDocument::fromJson(source.readAll()).object();
    QJsonArray series = want[u"Series"].toArray();
    for (auto s : series) {
        QJsonObject one = s.toObject();
        QJsonArray slotList;
        for (const auto id : one.take(u"Preguntas").toArray())
            slotList.append(
                QJsonObject{{u"IdPreguntaExamen"_s, id}, {u"Orden"_s, slotList.size() + 1}});
        one[u"PreguntasSerie"] = slotList;
        s = one;
    }
    want[u"Series"] = series;
    expectWithin(want, got, u"info"_s);
}

TEST(ExamBuilderTest, RuleBlocksInOrderDefaultSeriesAndIdsDrawnAgainOnAClash) {
    ToolFiles files;
    // A, B, C are multiple choice, V1 true/false (one answer), T1 a text question (none). The
    // block 3 rule comes first; block 1 draws A (already placed: set aside), then C, then B;
    // block 2 draws V1.
    const KipsaPrubex exam = built(files, R"({"Preguntas": [
        {"Id": "A", "TextoPregunta": "a", "respuestas": [{"Texto": "x"}, {"Texto": "y"}]},
        {"Id": "B", "TextoPregunta": "b", "respuestas": [{"Texto": "x"}, {"Texto": "y"}]},
        {"Id": "C", "TextoPregunta": "c", "respuestas": [{"Texto": "x"}, {"Texto": "y"}]},
        {"Id": "V1", "TextoPregunta": "v", "respuestas": [{"Texto": "Verdadero"}]},
        {"Id": "T1", "TextoPregunta": "t"}], "Series": [{"Numero": 3, "Reglas": {
        "Temas": [{"Numero": 1, "Preguntas": ["A", "B", "C", "V1", "T1"]}],
        "Normas": [{"Seccion": 3, "IdPregunta": "T1"}, {"Seccion": 1, "IdPregunta": "A"},
        {"Seccion": 1, "IdTema": 1, "NumPreguntas": 2}, {"Seccion": 2, "IdTema": 1, "NumPreguntas": 1}]}}]})",
                                   {0.0, 0.9, 0.0, 0.0});
    std::vector<std::tuple<QString, int, int>> slotList; // identifier, block, position
    for (const auto& slot : *exam.Series()->Item(1)->PreguntasSerie())
        slotList.emplace_back(slot->IdPreguntaExamen(), slot->Tipo(), slot->Orden());
    EXPECT_EQ(
        slotList,
        (decltype(slotList){
            {u"A"_s, 1, 1}, {u"C"_s, 1, 2}, {u"B"_s, 1, 3}, {u"V1"_s, 2, 4}, {u"T1"_s, 3, 5}}));

    // Without series, one series of the whole exam; the second missing Id first draws the same
    // three digits as the first.
    const KipsaPrubex e = built(files, R"({"Preguntas":[{"LicenciaAutor":"123-567-9012",
        "TextoPregunta":"x"}, {"LicenciaAutor":"123-567-9012","TextoPregunta":"y"}]})",
                                {0, 0, 0, 0, 0, 0, .5, .5, .5});
    EXPECT_EQ(e.Preguntas()->Item(1)->Id(), u"12356790122514259133783925111");
    EXPECT_EQ(e.Preguntas()->Item(2)->Id(), u"12356790122514259133783925555");
    EXPECT_EQ(e.Series()->Item(1)->PreguntasSerie()->Count(), 2);
}

TEST(KxtBuild, ProblemsNameTheirJsonPathAndWriteNoFileAndUsageErrorsExit2) {
    const struct {
        QByteArray json;
        const char* message;
    } cases[] = {
        {R"({"Preguntas":[{"TextoPregunta":"a","respuestas":[{"Texto":"x","Correcta":"si"}]}]})",
         "Preguntas[0].respuestas[0].Correcta: se esperaba true o false"},
        {R"({"Titlo":"x"})", "Titlo: miembro desconocido"},
        {R"({"Preguntas":[{"Id":"a","TextoPregunta":"x"},{"Id":" A ","TextoPregunta":"y"}]})",
         "Preguntas[1].Id: el mismo identificador que Preguntas[0]"},
        {R"({"Series":[{"Preguntas":["b"]}]})", "Series[0].Preguntas[0]: ninguna pregunta tiene"},
        {R"({"Preguntas":[{"TextoPregunta":"x"}] )", "JSON no válido"},
        {"[1]", "e.json: se esperaba un objeto"},
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
    EXPECT_EQ(kxt(runBuild, {u"a.json"_s, u"b.json"_s, u"-o"_s, u"x.kxt"_s}).status, 2)
        << "usage: two sources";
    EXPECT_EQ(kxt(runInfo, {}).status, 2) << "usage: no exam";
    EXPECT_EQ(kxt(runInfo, {u"/nonexistent.kxt"_s}).status, 1) << "an exam that cannot load";
}

TEST(KxtBuild, EmbedsOnlyRegularFilesUpToTheLimitAndNamesWhatElseThePathIs) {
    ToolFiles files;
    QDir().mkpath(files.path(u"carpeta"_s));
    ASSERT_EQ(::mkfifo(QFile::encodeName(files.path(u"tuberia"_s)).constData(), 0600), 0);
    QFile large(files.path(u"enorme.png"_s));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize((64 << 20) + 1)); // sparse
    large.close();
    QFile::link(u"/dev/null"_s, files.path(u"nulo.png"_s));
    const struct {
        const char* name;
        QString picture;
        QString message; // empty: built
    } rows[] = {
        {"a folder", u"carpeta"_s, u"no es un archivo normal: es una carpeta"_s},
        {"a named pipe, not waited on", u"tuberia"_s,
         u"no es un archivo normal: es una tubería con nombre (FIFO)"_s},
        {"a device through a link", u"nulo.png"_s,
         u"no es un archivo normal: es un dispositivo de caracteres"_s},
        {"over the limit", u"enorme.png"_s, u"pasa de 67108864 bytes"_s},
        {"missing", u"falta.png"_s, u"no existe el archivo"_s},
        {"a small picture", u"buena.png"_s, {}},
    };
    files.write(u"buena.png"_s, QByteArray(1000, 'x'));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString target = files.path(u"examen.kxt"_s);
        const QByteArray json = R"({"ArchivoLogo":")" + row.picture.toUtf8() + R"("})";
        const CommandRun r = kxt(runBuild, {files.write(u"e.json"_s, json), u"-o"_s, target});
        EXPECT_EQ(r.status, row.message.isEmpty() ? 0 : 1);
        EXPECT_TRUE(row.message.isEmpty()
                        ? r.err.isEmpty()
                        : r.err.contains(u"ArchivoLogo: no se puede leer la imagen: "_s))
            << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(row.message)) << r.err.toStdString();
        EXPECT_EQ(QFile::exists(target), row.message.isEmpty());
        QFile::remove(target);
    }
}
