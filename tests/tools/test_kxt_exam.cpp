#include "FakeClock.h"
#include "FakeRandom.h"

#include "model/KipsaPrubex.h"
#include "tools/BuildError.h"
#include "tools/Commands.h"
#include "tools/ExamBuilder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace kp::tools;

namespace {

QString examplesDir() {
    return QDir(qEnvironmentVariable("KP_TEST_DATA"))
        .absoluteFilePath(QStringLiteral("../../examples"));
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString sha256(const QByteArray& b) {
    return QString::fromLatin1(QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex());
}

struct CommandRun {
    int status;
    QString out;
    QString err;
};

CommandRun kxt(int (*command)(const QStringList&, QTextStream&, QTextStream&),
               const QStringList& args) {
    CommandRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.status = command(args, out, err);
    out.flush();
    err.flush();
    return r;
}

// Writes a build source into dir and builds it with kxt build.
CommandRun build(const QTemporaryDir& dir, const QByteArray& json, QString* output = nullptr) {
    const QString source = dir.filePath(QStringLiteral("origen.json"));
    QFile f(source);
    if (!f.open(QIODevice::WriteOnly) || f.write(json) != json.size())
        return {-1, {}, {}};
    f.close();
    const QString target = dir.filePath(QStringLiteral("examen.kxt"));
    if (output)
        *output = target;
    return kxt(runBuild, {source, QStringLiteral("-o"), target});
}

} // namespace

TEST(KxtBuild, SampleBuildThenInfoGivesBackWhatTheDescriptionSaid) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("muestra.kxt"));
    const QString source = QDir(examplesDir()).filePath(QStringLiteral("muestra.json"));
    const CommandRun built = kxt(runBuild, {source, QStringLiteral("-o"), target});
    ASSERT_EQ(built.status, 0) << built.err.toStdString();
    const CommandRun info = kxt(runInfo, {target});
    ASSERT_EQ(info.status, 0) << info.err.toStdString();

    const QJsonObject want = QJsonDocument::fromJson(readAll(source)).object();
    const QJsonObject got = QJsonDocument::fromJson(info.out.toUtf8()).object();
    ASSERT_FALSE(got.isEmpty());
    for (auto it = want.begin(); it != want.end(); ++it) {
        if (it.key() == u"Preguntas" || it.key() == u"Series" || it.key() == u"ArchivoLogo")
            continue;
        EXPECT_EQ(got.value(it.key()), it.value()) << it.key().toStdString();
    }
    const QByteArray logo = readAll(QDir(examplesDir()).filePath(want[u"ArchivoLogo"].toString()));
    EXPECT_EQ(got[u"ArchivoLogo"].toString(), want[u"ArchivoLogo"].toString());
    EXPECT_EQ(got[u"ArchivoLogoBinary"][u"size"].toInteger(), logo.size());
    EXPECT_EQ(got[u"ArchivoLogoBinary"][u"sha256"].toString(), sha256(logo));

    const QJsonArray wantQ = want[u"Preguntas"].toArray();
    const QJsonArray gotQ = got[u"Preguntas"].toArray();
    ASSERT_EQ(gotQ.size(), wantQ.size());
    int withImages = 0;
    for (qsizetype i = 0; i < wantQ.size(); ++i) {
        const QJsonObject w = wantQ[i].toObject();
        const QJsonObject g = gotQ[i].toObject();
        const std::string where = "Preguntas[" + std::to_string(i) + "]";
        EXPECT_EQ(g[u"Id"], w[u"Id"]) << where;
        EXPECT_EQ(g[u"Key"].toString(), QStringLiteral("pregunta") + w[u"Id"].toString()) << where;
        EXPECT_EQ(g[u"TextoPregunta"], w[u"TextoPregunta"]) << where;
        EXPECT_EQ(g[u"NombreAutor"].toString(), w[u"NombreAutor"].toString()) << where;
        if (w.contains(u"Imagen")) {
            ++withImages;
            const QByteArray image = readAll(QDir(examplesDir()).filePath(w[u"Imagen"].toString()));
            EXPECT_EQ(g[u"Imagen"], w[u"Imagen"]) << where;
            EXPECT_EQ(g[u"ImagenBinary"][u"sha256"].toString(), sha256(image)) << where;
        } else {
            EXPECT_EQ(g[u"Imagen"].toString(), u"") << where;
            EXPECT_EQ(g[u"ImagenBinary"][u"size"].toInteger(), 0) << where;
        }
        const QJsonArray wa = w[u"respuestas"].toArray();
        const QJsonArray ga = g[u"respuestas"].toArray();
        ASSERT_EQ(ga.size(), wa.size()) << where;
        for (qsizetype k = 0; k < wa.size(); ++k) {
            EXPECT_EQ(ga[k][u"Texto"], wa[k][u"Texto"]) << where;
            EXPECT_EQ(ga[k][u"Correcta"], wa[k][u"Correcta"]) << where;
            EXPECT_EQ(ga[k][u"Numero"].toInt(), k + 1) << where;
        }
    }
    EXPECT_GE(withImages, 2);

    const QJsonArray wantS = want[u"Series"].toArray();
    const QJsonArray gotS = got[u"Series"].toArray();
    ASSERT_EQ(gotS.size(), wantS.size());
    for (qsizetype i = 0; i < wantS.size(); ++i) {
        EXPECT_EQ(gotS[i][u"Numero"], wantS[i][u"Numero"]);
        const QJsonArray ids = wantS[i][u"Preguntas"].toArray();
        const QJsonArray slots_ = gotS[i][u"PreguntasSerie"].toArray();
        ASSERT_EQ(slots_.size(), ids.size());
        for (qsizetype k = 0; k < ids.size(); ++k) {
            EXPECT_EQ(slots_[k][u"IdPreguntaExamen"], ids[k]);
            EXPECT_EQ(slots_[k][u"Orden"].toInt(), k + 1);
            EXPECT_EQ(slots_[k][u"Tipo"].toInt(), 1) << "four answers make a multiple choice";
        }
    }
}

TEST(KxtBuild, ProblemsNameTheirJsonPathAndWriteNoFile) {
    const struct {
        const char* json;
        const char* message;
    } cases[] = {
        {R"({"Preguntas":[{"TextoPregunta":"a","respuestas":[{"Texto":"x","Correcta":"si"}]}]})",
         "Preguntas[0].respuestas[0].Correcta: expected true or false"},
        {R"({"Titlo":"x"})", "Titlo: unknown member"},
        {R"({"MinutosLimite":40000})", "MinutosLimite: expected a whole number from 0 to 32767"},
        {R"({"MinutosLimite":2.5})", "MinutosLimite: expected a whole number"},
        {R"({"ColorFondo":-1})", "ColorFondo: expected a whole number from 0 to 16777215"},
        {R"({"NotaMaxima":"diez"})", "NotaMaxima: expected a number"},
        {"{\"Titulo\":\"Examen \xe6\xbc\xa2\"}", "Titulo: the character"},
        {R"({"Preguntas":[{"TextoPregunta":"a","respuestas":[{"Texto":"\u2192"}]}]})",
         "Preguntas[0].respuestas[0].Texto: the character"},
        {R"({"Preguntas":[{"Id":"a"}]})", "Preguntas[0].TextoPregunta: missing"},
        {R"({"Preguntas":[{"Id":"a","TextoPregunta":"x"},{"Id":" A ","TextoPregunta":"y"}]})",
         "Preguntas[1].Id: the same identifier as Preguntas[0]"},
        {R"({"Preguntas":[{"Id":"  ","TextoPregunta":"x"}]})", "Preguntas[0].Id: must not be"},
        {R"({"Preguntas":[{"TextoPregunta":"x","Imagen":"no-existe.png"}]})",
         "Preguntas[0].Imagen: cannot read"},
        {R"({"ArchivoLogo":"no-existe.png"})", "ArchivoLogo: cannot read"},
        {R"({"Preguntas":[{"Id":"a","TextoPregunta":"x"}],"Series":[{"Preguntas":["b"]}]})",
         "Series[0].Preguntas[0]: no question has the identifier \"b\""},
        {R"({"Preguntas":[{"Id":"a","TextoPregunta":"x"}],"Series":[{"Preguntas":["a","A"]}]})",
         "Series[0].Preguntas[1]: the question is already in this series"},
        {R"({"Series":[{"Numero":3,"Preguntas":[]},{"Numero":3,"Preguntas":[]}]})",
         "Series[1].Numero: another series has the number 3"},
        {R"({"Series":[]})", "Series: an exam needs at least one series"},
        {R"({"Series":[{"Reglas":{}}]})", "Series[0].Reglas: "},
        {R"({"Preguntas":{}})", "Preguntas: expected an array"},
        {R"({"Preguntas":[{"TextoPregunta":"x"}] )", "invalid JSON"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        QString target;
        const CommandRun r = build(dir, c.json, &target);
        EXPECT_EQ(r.status, 1) << c.json;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message)))
            << c.json << "\n  said: " << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(target)) << c.json;
    }
}

TEST(KxtBuild, UsageErrorsExitWith2) {
    EXPECT_EQ(kxt(runBuild, {QStringLiteral("a.json")}).status, 2);
    EXPECT_EQ(kxt(runBuild, {}).status, 2);
    EXPECT_EQ(kxt(runInfo, {}).status, 2);
}

TEST(KxtBuild, DefaultsAndAWholeExamSeriesWhenNoneIsGiven) {
    QTemporaryDir dir;
    const QByteArray json = R"({"Preguntas":[{"Id":"a","TextoPregunta":"x","respuestas":[
        {"Texto":"Verdadero","Correcta":true}]},{"Id":"b","TextoPregunta":"y"}]})";
    QString target;
    ASSERT_EQ(build(dir, json, &target).status, 0);
    KipsaPrubex e;
    ASSERT_TRUE(e.Cargar(target));
    EXPECT_EQ(e.TipoExamen(), 1);
    EXPECT_FLOAT_EQ(e.NotaMaxima(), 10.0f);
    EXPECT_EQ(e.ColorFondo(), 0xFFFFFF);
    EXPECT_EQ(e.PenalizarBlancas(), 2);
    ASSERT_EQ(e.Series()->Count(), 1);
    const auto& slots_ = *e.Series()->Item(1)->PreguntasSerie();
    ASSERT_EQ(slots_.Count(), 2);
    EXPECT_EQ(slots_.Item(1)->Tipo(), 2) << "one answer: true/false";
    EXPECT_EQ(slots_.Item(2)->Tipo(), 3) << "no answers: text question";
    EXPECT_EQ(slots_.Item(2)->Orden(), 2);
}

TEST(ExamBuilderTest, MissingIdsAreMadeAndDrawnAgainOnAClash) {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("e.json")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"({"Preguntas":[{"LicenciaAutor":"123-567-9012","TextoPregunta":"x"},
                             {"LicenciaAutor":"123-567-9012","TextoPregunta":"y"}],
               "Series":[{"Preguntas":[]}]})");
    f.close();
    FakeClock clock(QDateTime(QDate(2002, 3, 5), QTime(14, 7, 9)));
    // The second question first draws the same three digits as the first.
    FakeRandom random{0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.5, 0.5, 0.5};
    KipsaPrubex e;
    ExamBuilder(clock, random).build(f.fileName(), e);
    ASSERT_EQ(e.Preguntas()->Count(), 2);
    EXPECT_EQ(e.Preguntas()->Item(1)->Id(), u"12356790122514259133783925111");
    EXPECT_EQ(e.Preguntas()->Item(2)->Id(), u"12356790122514259133783925555");
}

TEST(ExamBuilderTest, ShuffleReordersAndRenumbersEveryQuestionsAnswers) {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("e.json")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"({"shuffle":true,"Preguntas":[{"Id":"q","TextoPregunta":"x","respuestas":[
        {"Texto":"a","Correcta":true},{"Texto":"b"},{"Texto":"c"}]}]})");
    f.close();
    FakeClock clock;
    FakeRandom random{0.9, 0.1, 0.0}; // picks c, then a, then b
    KipsaPrubex e;
    ExamBuilder(clock, random).build(f.fileName(), e);
    const auto& answers = *e.Preguntas()->Item(1)->respuestas();
    EXPECT_EQ(answers.Item(1)->Texto(), u"c");
    EXPECT_EQ(answers.Item(2)->Texto(), u"a");
    EXPECT_TRUE(answers.Item(2)->Correcta());
    EXPECT_EQ(answers.Item(2)->Numero(), 2);
    EXPECT_EQ(answers.Item(3)->Texto(), u"b");
}

TEST(KxtInfo, UnloadableExamSaysSoOnStderrAndExits1) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("roto.kxt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("0000000299");
    f.close();
    const CommandRun r = kxt(runInfo, {path});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("kxt: cannot load %1\n").arg(path)))
        << r.err.toStdString();
    EXPECT_GT(r.err.count(u'\n'), 1) << "the reason follows";
}

TEST(KxtInfo, FloatsPrintInTheirShortestForm) {
    QTemporaryDir dir;
    KipsaPrubex e;
    e.setNotaMaxima(0.1f);
    e.setPenalizacion(7.123f);
    e.setArchivoSalida(dir.filePath(QStringLiteral("f.kxt")));
    ASSERT_TRUE(e.Export());
    const CommandRun r = kxt(runInfo, {e.ArchivoSalida()});
    EXPECT_TRUE(r.out.contains(u"\"NotaMaxima\": 0.1,")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"\"Penalizacion\": 7.123")) << r.out.toStdString();
}
