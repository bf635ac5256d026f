#include "../results/TestExams.h"
#include "Kxt.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

TEST(KxtGrade, TableCsvAndJsonShowEveryFileOrWhyItCannotBeGradedWithTheirExitStatus) {
    // An exam of four multiple-choice questions (answer 2 right) in series 1 and 5, and the
    // results files of a class: two good ones and four that cannot be graded.
    ToolFiles f;
    KipsaPrubex exam;
    exam.setIdExamen(u"EXA-7"_s);
    exam.setTipoExamen(1);
    exam.setNotaMaxima(10);
    exam.setTipoPenalizacion(3);
    exam.setPenalizarBlancas(1);
    exam.setDatoAlumno(1, u"Nombre"_s);
    exam.setDatoAlumno(2, u"Grupo"_s);
    const QStringList ids{u"q1"_s, u"q2"_s, u"q3"_s, u"q4"_s};
    for (const QString& id : ids)
        addQuestion(exam, id, 3, {2});
    addSeries(exam, 1, ids);
    addSeries(exam, 5, {ids[3], ids[2], ids[1], ids[0]});
    exam.setArchivoSalida(f.path(u"examen.kxt"_s));
    ASSERT_TRUE(exam.Export()) << exam.errorString().toStdString();
    // A student's results file: the answer marked in each question in turn, 0 for none.
    const auto results = [&](const QString& name, qint16 serie, std::initializer_list<int> answers,
                             const QString& idExamen = u"EXA-7"_s) {
        KipsaResult r;
        r.setIdExamen(idExamen);
        r.setSerie(serie);
        r.setDatoAlumno(1, name);
        r.setDatoAlumno(2, u"2ºA"_s);
        qint16 question = 0;
        for (const int answer : answers)
            if (++question; answer != 0)
                mark(r, question, {answer});
        return r.Contenido(exam, 4);
    };
    const QByteArray anaBytes = results(u"Ana"_s, 1, {2, 2, 1}); // 2 right, 1 wrong
    const QString ana = f.write(u"ana.kxa"_s, anaBytes);
    const QString luis = f.write(u"luis.kxa"_s, // series 5 is the second one
                                 results(u"Luis; \"el alto\""_s, 5, {2, 2, 2, 2}));
    const QString rota = f.write(u"rota.kxa"_s, anaBytes.chopped(3));
    const QString otro = f.write(u"otro.kxa"_s, results(u"Eva"_s, 1, {}, u"OTRO"_s));
    const QStringList files = QStringList{ana, luis, rota, otro}
                              << f.write(u"serie9.kxa"_s, results(u"Pio"_s, 9, {}))
                              << f.path(u"falta.kxa"_s);
    const QString examPath = exam.ArchivoSalida();
    const struct {
        const char* fault;
        QStringList args;
        int status;
    } statuses[] = {
        {"every file graded", {examPath, ana, luis}, 0},
        {"no results file", {examPath}, 2},
        {"unknown option", {examPath, ana, u"--xml"_s}, 2},
        {"exam that cannot be opened", {ana, ana}, 1},
    };
    for (const auto& c : statuses)
        EXPECT_EQ(kxt(tools::runGrade, c.args).status, c.status) << c.fault;

    const CommandRun table = kxt(tools::runGrade, {examPath, ana, rota});
    EXPECT_EQ(table.status, 1);
    QStringList lines = table.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << table.out.toStdString();
    EXPECT_EQ(lines[0], u"Archivo"_s + QString(rota.size() - 7, u' ') +
                            u"  Nombre  Grupo  Serie  Nota  Acertadas  Falladas  Blancas"_s);
    EXPECT_EQ(lines[1], ana + QString(rota.size() - ana.size(), u' ') +
                            u"  Ana     2ºA        1   2,5          2         "
                            u"1        1"_s);
    EXPECT_TRUE(lines[2].startsWith(rota + u"  error: archivo dañado: "_s))
        << lines[2].toStdString();
    EXPECT_TRUE(table.err.contains(rota)) << table.err.toStdString();

    const CommandRun csv = kxt(tools::runGrade, QStringList{examPath, u"--csv"_s} + files);
    lines = csv.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7) << csv.out.toStdString();
    EXPECT_EQ(lines[0], u"archivo;IdExamen;Serie;DatoAlumno1;DatoAlumno2;DatoAlumno3;"
                        u"DatoAlumno4;DatoAlumno5;Nota;Acertadas;Falladas;Blancas;error");
    EXPECT_EQ(lines[2], luis + u";EXA-7;5;\"Luis; \"\"el alto\"\"\";2ºA;;;;10;4;0;0;"_s);
    EXPECT_EQ(lines[4], otro + u";OTRO;1;Eva;2ºA;;;;;;;;\"es del examen "
                               u"\"\"OTRO\"\", no de \"\"EXA-7\"\"\""_s);

    const CommandRun json = kxt(tools::runGrade, QStringList{examPath, u"--json"_s} + files);
    const QJsonArray rows = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 6) << json.out.toStdString();
    QJsonObject anaRow = QJsonDocument::fromJson(R"({"IdExamen": "EXA-7", "Serie": 1,
        "DatoAlumno1": "Ana", "DatoAlumno2": "2ºA", "DatoAlumno3": "", "DatoAlumno4": "",
        "DatoAlumno5": "", "Nota": 2.5, "NotaTexto": "2,5", "Acertadas": 2, "Falladas": 1,
        "Blancas": 1})")
                             .object();
    anaRow[u"archivo"] = ana;
    EXPECT_EQ(rows[0].toObject(), anaRow);
    for (const auto& [row, says] :
         {std::pair{2, u"archivo dañado"}, {4, u"no tiene la serie 9"}, {5, u"no existe"}}) {
        const QJsonObject r = rows[row].toObject();
        EXPECT_TRUE(r[u"error"].toString().contains(QString::fromUtf16(says)))
            << r[u"error"].toString().toStdString();
        EXPECT_FALSE(r.contains(u"Nota"));
    }
}
