#include "Seeds.h"

#include "ExamComparison.h"
#include "FakeClock.h"
#include "SeededRandom.h"
#include "TestExamBuilder.h"

#include "format/Cp1252.h"
#include "format/FieldWriter.h"
#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "model/KipsaResult.h"
#include "tools/JsonExamBuilder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kp::fuzz {
namespace {

using kp::test::TestExamBuilder;

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Variants of the sample's description that reach what the sample does not use.
std::vector<std::pair<QString, QByteArray>> descriptions(const QByteArray& sample) {
    const QJsonObject base = QJsonDocument::fromJson(sample).object();
    std::vector<std::pair<QString, QByteArray>> out = {{QStringLiteral("muestra"), sample}};
    const auto add = [&out](const char* name, const QJsonObject& o) {
        out.emplace_back(QString::fromLatin1(name), QJsonDocument(o).toJson());
    };

    QJsonObject vf;
    vf[QStringLiteral("IdExamen")] = QStringLiteral("VF-1");
    vf[QStringLiteral("TipoExamen")] = 2;
    vf[QStringLiteral("shuffle")] = true;
    QJsonArray questions;
    for (int i = 1; i <= 3; ++i)
        questions.append(QJsonObject{
            {QStringLiteral("TextoPregunta"), QStringLiteral("Afirmación %1").arg(i)},
            {QStringLiteral("respuestas"),
             QJsonArray{QJsonObject{{QStringLiteral("Texto"), QStringLiteral("Verdadero")},
                                    {QStringLiteral("Correcta"), i != 2}}}}});
    vf[QStringLiteral("Preguntas")] = questions;
    add("verdadero-falso", vf);

    // Series drawn from topics and rules over the sample's questions.
    QJsonObject rules = base;
    QJsonArray ids;
    for (const auto q : base[QStringLiteral("Preguntas")].toArray())
        ids.append(q[QStringLiteral("Id")]);
    const QJsonObject reglas{
        {QStringLiteral("Temas"),
         QJsonArray{QJsonObject{{QStringLiteral("Numero"), 1},
                                {QStringLiteral("Nombre"), QStringLiteral("Todo")},
                                {QStringLiteral("Preguntas"), ids}}}},
        {QStringLiteral("Normas"),
         QJsonArray{QJsonObject{{QStringLiteral("Seccion"), 1},
                                {QStringLiteral("IdPregunta"), ids.first()}},
                    QJsonObject{{QStringLiteral("Seccion"), 1},
                                {QStringLiteral("IdTema"), 1},
                                {QStringLiteral("NumPreguntas"), 3}}}}};
    rules[QStringLiteral("Series")] =
        QJsonArray{QJsonObject{{QStringLiteral("Numero"), 7}, {QStringLiteral("Reglas"), reglas}}};
    add("reglas", rules);
    add("vacio", QJsonObject{});
    return out;
}

// Exams our writer makes that the sample is not: true/false, a question whose picture has a
// name, no series at all, and nothing whatever.
std::vector<std::pair<QString, std::shared_ptr<KipsaPrubex>>> builtExams() {
    TestExamBuilder vf;
    vf.verdaderoFalso()
        .pregunta(QStringLiteral("V1"), 1, {1})
        .pregunta(QStringLiteral("V2"), 1, {})
        .serie(1, {QStringLiteral("V1"), QStringLiteral("V2")})
        .serie(2, {QStringLiteral("V2"), QStringLiteral("V1")});
    vf.exam().setMinutosLimite(30);
    vf.exam().setDatoAlumno(1, QStringLiteral("Nombre"));
    TestExamBuilder picture;
    picture
        .pregunta(QStringLiteral("I"), QStringLiteral("¿Qué figura es?"),
                  {{QStringLiteral("Triángulo"), true}, {QStringLiteral("Círculo"), false}},
                  QStringLiteral("figura.png"), QByteArrayLiteral("\x89PNG\r\n\x1a\n"))
        .serie(1, {QStringLiteral("I")});
    picture.exam().setNotaMaxima(7.5f);
    picture.exam().setPenalizacion(0.333f);
    picture.exam().setTipoPenalizacion(5);
    TestExamBuilder noSeries = TestExamBuilder::simple(2, 3);
    noSeries.exam().setSeries(nullptr);
    return {{QStringLiteral("verdadero-falso"), vf.build()},
            {QStringLiteral("imagen"), picture.build()},
            {QStringLiteral("sin-series"), noSeries.build()},
            {QStringLiteral("nada"), std::make_shared<KipsaPrubex>()}};
}

// A run on the exam: the sample's data labels filled in, some questions marked (two marks on
// one, marks made out of order), the rest blank.
QByteArray resultsOf(const KipsaPrubex& exam, const QString& serieKey) {
    KipsaResult result;
    result.setIdExamen(exam.IdExamen());
    if (const auto serie = exam.Series()->find(serieKey))
        result.setSerie(serie->Numero());
    for (int i = 1; i <= 5; ++i)
        if (!exam.DatoAlumno(i).isEmpty())
            result.setDatoAlumno(i, QStringLiteral("Dato %1 del alumno").arg(i));
    TestExamBuilder::mark(result, 3, {2});
    TestExamBuilder::mark(result, 1, {1, 3});
    const qint16 total = exam.Series()->isEmpty() ? 0 : exam.PreguntasPrimeraSerie();
    return result.Contenido(exam, total);
}

} // namespace

std::vector<Seed> makeSeeds(const QString& examplesDir) {
    std::vector<Seed> seeds;
    std::vector<std::pair<QString, std::shared_ptr<KipsaPrubex>>> exams;
    std::vector<QByteArray> logos;
    for (const auto& [name, json] :
         descriptions(fileBytes(examplesDir + QStringLiteral("/muestra.json")))) {
        seeds.push_back({QStringLiteral("json"), name + QStringLiteral(".json"), json});
        // Built as kxt build does, with the sample's own pictures.
        kp::test::FakeClock clock;
        SeededRandom random;
        auto exam = std::make_shared<KipsaPrubex>();
        tools::JsonExamBuilder(clock, random).build(json, name, QDir(examplesDir), *exam);
        const QString logo = exam->ArchivoLogo();
        exam->setArchivoLogoBinary(TrimBlanks(logo).isEmpty() ? QByteArray() : fileBytes(logo));
        exams.emplace_back(name, exam);
    }
    for (auto& built : builtExams())
        exams.push_back(std::move(built));

    for (const auto& [name, exam] : exams) {
        seeds.push_back({QStringLiteral("exam"), name + QStringLiteral(".kxt"),
                         writtenExam(*exam, exam->ArchivoLogoBinary())});
        seeds.push_back({QStringLiteral("results"), name + QStringLiteral(".kxa"),
                         resultsOf(*exam, QStringLiteral("serie1"))});
        long number = 0;
        for (const auto& p : *exam->Preguntas()) {
            const QString question = QStringLiteral("%1-%2").arg(name).arg(++number);
            seeds.push_back({QStringLiteral("question"), question + QStringLiteral(".kxq"),
                             writtenQuestion(*p)});
            QStringList texts{p->TextoPregunta()};
            for (const auto& r : *p->respuestas())
                texts << r->Texto();
            for (qsizetype k = 0; k < texts.size(); ++k)
                if (texts[k].startsWith(QStringLiteral("{\\rtf")))
                    seeds.push_back({QStringLiteral("rtf"),
                                     QStringLiteral("%1-%2.rtf").arg(question).arg(k),
                                     Cp1252::encode(texts[k])});
        }
    }
    return seeds;
}

} // namespace kp::fuzz
