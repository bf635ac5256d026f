// kxt build: series made from topics and rules.
//
//   "Reglas": {
//     "Temas":  [{"Numero": 1, "Nombre": "Historia", "Preguntas": ["h1", "h2", "h3"]}],
//     "Normas": [{"Seccion": 1, "IdPregunta": "h1"},
//                {"Seccion": 1, "IdTema": 1, "NumPreguntas": 2}]
//   }
//
// A topic's candidates are questions of the exam; each can be drawn into the block of its own
// kind (1 multiple choice, 2 true/false, 3 text question, from its number of answers). A rule
// with IdPregunta places that question (TipoNorma 1); one with IdTema draws NumPreguntas
// questions from that topic (TipoNorma 2). Genera fills the blocks in order 1, 2, 3; the
// slots are then numbered 1..N over the whole series, since the runner shows a series as
// questions 1..N.

#include "tools/JsonExamBuilder.h"

#include "generation/Genera.h"
#include "generation/genNormas.h"
#include "generation/genTemas.h"
#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "tools/JsonSource.h"

#include <algorithm>
#include <vector>

namespace kp::tools {

namespace {

constexpr qint64 kMax16 = 32767;

std::shared_ptr<Pregunta> examQuestion(const JsonSource& ref, const KipsaPrubex& exam) {
    const auto question = exam.Preguntas()->find(ClavePregunta(ref.string()));
    if (!question)
        ref.fail(
            QStringLiteral("ninguna pregunta tiene el identificador \"%1\"").arg(ref.string()));
    return question;
}

void readTopics(const JsonSource& list, const KipsaPrubex& exam, genTemas& temas) {
    const qsizetype count = list.arraySize();
    for (qsizetype i = 0; i < count; ++i) {
        const JsonSource t = list.at(i);
        t.requireObject(
            {QStringLiteral("Numero"), QStringLiteral("Nombre"), QStringLiteral("Preguntas")});
        const JsonSource numero = t.member(QStringLiteral("Numero"));
        const qint64 n = numero.isMissing() ? i + 1 : numero.integer(0, kMax16);
        const QString key = QStringLiteral("tema%1").arg(n);
        if (temas.contains(key))
            numero.fail(QStringLiteral("otro tema tiene el número %1").arg(n));
        auto candidates = std::make_shared<genPreguntas>();
        const JsonSource ids = t.member(QStringLiteral("Preguntas"));
        if (ids.isMissing())
            ids.fail(QStringLiteral("se esperaba una lista de identificadores de pregunta"));
        const qsizetype m = ids.arraySize();
        for (qsizetype k = 0; k < m; ++k) {
            const auto question = examQuestion(ids.at(k), exam);
            candidates->Add(TrimBlanks(question->Id()), question->TextoPregunta(),
                            question->GetTipo());
        }
        const JsonSource nombre = t.member(QStringLiteral("Nombre"));
        temas.Add(candidates, nombre.isMissing() ? QString() : nombre.string(), key);
    }
}

void readRules(const JsonSource& list, const KipsaPrubex& exam, const genTemas& temas,
               genNormas& normas) {
    const qsizetype count = list.arraySize();
    for (qsizetype i = 0; i < count; ++i) {
        const JsonSource r = list.at(i);
        r.requireObject({QStringLiteral("Seccion"), QStringLiteral("IdPregunta"),
                         QStringLiteral("IdTema"), QStringLiteral("NumPreguntas")});
        genNorma norma;
        norma.setKey(QStringLiteral("norma%1").arg(normas.GetNewNormaID()));
        const JsonSource seccion = r.member(QStringLiteral("Seccion"));
        if (seccion.isMissing())
            seccion.fail(QStringLiteral("se esperaba el bloque: 1, 2 o 3"));
        norma.setSeccion(static_cast<qint16>(seccion.integer(1, 3)));
        const JsonSource id = r.member(QStringLiteral("IdPregunta"));
        const JsonSource tema = r.member(QStringLiteral("IdTema"));
        if (id.isMissing() == tema.isMissing())
            r.fail(QStringLiteral("indique IdPregunta (una pregunta fija) o IdTema y "
                                  "NumPreguntas (un sorteo)"));
        if (!id.isMissing()) {
            if (r.has(QStringLiteral("NumPreguntas")))
                r.fail(QStringLiteral("NumPreguntas es de un sorteo, no de IdPregunta"));
            norma.setTipoNorma(genNorma::Fija);
            norma.setIdPregunta(examQuestion(id, exam)->Id());
        } else {
            norma.setTipoNorma(genNorma::Sorteo);
            norma.setIdTema(static_cast<qint16>(tema.integer(0, kMax16)));
            if (!temas.contains(QStringLiteral("tema%1").arg(norma.IdTema())))
                tema.fail(QStringLiteral("ningún tema tiene el número %1").arg(norma.IdTema()));
            const JsonSource n = r.member(QStringLiteral("NumPreguntas"));
            if (n.isMissing())
                n.fail(QStringLiteral("se esperaba cuántas preguntas sortear"));
            norma.setNumPreguntas(static_cast<qint16>(n.integer(0, kMax16)));
        }
        normas.Add(norma);
    }
}

// Positions restart at 1 in every block; the runner numbers the series 1..N.
void numberWholeSeries(const JsonSource& rules, Serie& serie) {
    std::vector<std::shared_ptr<PreguntaSerie>> placed;
    for (const auto& slot : *serie.PreguntasSerie())
        placed.push_back(slot);
    if (static_cast<qint64>(placed.size()) > kMax16)
        rules.fail(QStringLiteral("las normas colocan más de %1 preguntas").arg(kMax16));
    std::stable_sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) {
        return a->Tipo() != b->Tipo() ? a->Tipo() < b->Tipo() : a->Orden() < b->Orden();
    });
    qint16 orden = 1;
    for (const auto& slot : placed)
        slot->setOrden(orden++);
}

} // namespace

void JsonExamBuilder::addRuleSeries(const JsonSource& rules, Serie& serie,
                                    KipsaPrubex& exam) const {
    rules.requireObject({QStringLiteral("Temas"), QStringLiteral("Normas")});
    genTemas temas;
    const JsonSource topics = rules.member(QStringLiteral("Temas"));
    if (!topics.isMissing())
        readTopics(topics, exam, temas);
    genNormas normas;
    const JsonSource list = rules.member(QStringLiteral("Normas"));
    if (list.isMissing())
        rules.fail(QStringLiteral("se esperaba Normas, las normas de la serie"));
    readRules(list, exam, temas, normas);

    QString error;
    if (!Genera(serie, temas, normas, random_, &error))
        rules.fail(error);
    numberWholeSeries(rules, serie);
}

} // namespace kp::tools
