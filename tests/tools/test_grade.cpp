#include "Kxt.h"
#include "TestExamBuilder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

TEST(KxtGrade, TableCsvAndJsonShowEveryFileOrWhyItCannotBeGradedWithTheirExitStatus) {
    // An exam of four multiple-choice questions (answer 2 right) in series 1 and 5, and the
    // results files of a class: two good ones and two that cannot be graded.
    ToolFiles f;
    KipsaPrubex exam;
    exam.setIdExamen(u"EXA-7"_s);
    exam.setTipoExamen(1);
    exam.setNotaMaxima(10);
    exam.setDatoAlumno(1, u"Nombre"_s);
    exam.setDatoAlumno(2, u"Grupo"_s);
    const QStringList ids{u"q1"_s, u"q2"_s, u"q3"_s, u"q4"_s};
    for (const QString& id : ids)
        TestExamBuilder::on(exam).pregunta(id, 3, {2});
    TestExamBuilder::on(exam).serie(1, ids);
    TestExamBuilder::on(exam).serie(5, {ids[3], ids[2], ids[1], ids[0]});
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
                TestExamBuilder::mark(r, question, {answer});
        return r.Contenido(exam, 4);
    };
    const QByteArray anaBytes = results(u"Ana"_s, 1, {2, 2, 1}); // 2 right, 1 wrong
    const QString ana = f.write(u"ana.kxa"_s, anaBytes);
    const QString luis = f.write(u"luis.kxa"_s, // series 5 is the second one
                                 results(u"Luis; \"el alto\""_s, 5, {2, 2, 2, 2}));
    const QString rota = f.write(u"rota.kxa"_s, anaBytes.chopped(3));
    const QString otro = f.write(u"otro.kxa"_s, results(u"Eva"_s, 1, {}, u"OTRO"_s));
    const QStringList files{ana, luis, otro};
    const QString examPath = exam.ArchivoSalida();
    EXPECT_EQ(kxt(tools::runGrade, {examPath, ana, luis}).status, 0) << "every file graded";
    EXPECT_EQ(kxt(tools::runGrade, {examPath, ana, u"--xml"_s}).status, 2) << "unknown option";
    EXPECT_EQ(kxt(tools::runGrade, {ana, ana}).status, 1) << "the exam cannot be opened";

    const CommandRun table = kxt(tools::runGrade, {examPath, ana, rota});
    EXPECT_EQ(table.status, 1);
    QStringList lines = table.out.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(0), u"Archivo"_s + QString(rota.size() - 7, u' ') +
                                  u"  Nombre  Grupo  Serie  Nota  Acertadas  Falladas  Blancas"_s);
    EXPECT_EQ(lines.value(1), ana + QString(rota.size() - ana.size(), u' ') +
                                  u"  Ana     2ºA        1     5          2         "
                                  u"1        1"_s);
    EXPECT_TRUE(lines.value(2).startsWith(rota + u"  error: archivo dañado: "_s))
        << lines.value(2).toStdString();

    const CommandRun csv = kxt(tools::runGrade, QStringList{examPath, u"--csv"_s} + files);
    lines = csv.out.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(2), luis + u";EXA-7;5;\"Luis; \"\"el alto\"\"\";2ºA;;;;10;4;0;0;"_s);
    EXPECT_EQ(lines.value(3), otro + u";OTRO;1;Eva;2ºA;;;;;;;;\"es del examen "
                                     u"\"\"OTRO\"\", no de \"\"EXA-7\"\"\""_s);

    const CommandRun json = kxt(tools::runGrade, QStringList{examPath, u"--json"_s} + files);
    const QJsonArray rows = QJsonDocument::fromJson(json.out.toUtf8()).array();
    EXPECT_EQ(rows[0][u"archivo"], ana);
    EXPECT_EQ(rows[0][u"NotaTexto"], u"5"_s);
    EXPECT_TRUE(rows[2][u"error"].toString().contains(u"es del examen")) << json.out.toStdString();
    EXPECT_FALSE(rows[2].toObject().contains(u"Nota"));

    // Many files, read on other threads and far ahead: every row still in the order given.
    QStringList many;
    for (int i = 0; i < 150; ++i)
        many << f.write(u"alumno%1.kxa"_s.arg(i), i % 3 == 0   ? anaBytes
                                                  : i % 3 == 1 ? anaBytes.chopped(3)
                                                               : results(u"Eva"_s, 5, {2}));
    lines = kxt(tools::runGrade, QStringList{examPath, u"--csv"_s} + many)
                .out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 151);
    for (int i = 0; i < 150; ++i) {
        const QString expected = i % 3 == 0   ? u";EXA-7;1;Ana;2ºA;;;;5;2;1;1;"_s
                                 : i % 3 == 1 ? u";;;;;;;;;;;;archivo dañado: "_s
                                              : u";EXA-7;5;Eva;2ºA;;;;2,5;1;0;3;"_s;
        EXPECT_TRUE(lines[i + 1].startsWith(many[i] + expected)) << lines[i + 1].toStdString();
    }
}

TEST(KxtGrade, ExamIdentifiersCompareTrimmedOfBlanksOnlyAsTheResultsFileStoresThem) {
    const struct {
        const char* name;
        QString examId; // as the exam file holds it
        QString fileId; // as the runner gave it to the results record
        int status;
    } rows[] = {
        {"tab-at-the-end", u"EXA\t"_s, u"EXA\t"_s, 0},
        {"line-break-at-the-end", u"EXA\r\n"_s, u"EXA\r\n"_s, 0},
        {"spaces-around", u"  EXA "_s, u"  EXA "_s, 0},
        {"tab-is-not-a-blank", u"EXA\t"_s, u"EXA"_s, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ToolFiles f;
        const auto built = TestExamBuilder::simple(2, 3).build();
        KipsaPrubex& exam = *built;
        exam.setIdExamen(row.examId);
        exam.setArchivoSalida(f.path(u"e.kxt"_s));
        ASSERT_TRUE(exam.Export());
        KipsaResult r;
        r.setIdExamen(row.fileId);
        r.setSerie(1);
        const QString kxa = f.write(u"r.kxa"_s, r.Contenido(exam, 2));
        EXPECT_EQ(kxt(tools::runGrade, {exam.ArchivoSalida(), kxa}).status, row.status);
    }
}

// Results files that our program could not have written for the exam: refused with the reason,
// up to the largest file the exam allows.
TEST(KxtGrade, RefusesFilesNoRunOfTheExamCouldHaveWritten) {
    ToolFiles f;
    const auto built = TestExamBuilder::simple(4, 3).build();
    KipsaPrubex& exam = *built;
    exam.setIdExamen(u"EXA-9"_s);
    exam.setDatoAlumno(1, u"Nombre"_s);
    exam.setDatoAlumno(2, u" Grupo "_s);
    exam.setArchivoSalida(f.path(u"e.kxt"_s));
    ASSERT_TRUE(exam.Export());
    // Every value at the longest a data box takes, every answer marked: the largest file.
    const auto results = [&](int valueLength, qint16 count, bool allMarked) {
        KipsaResult r;
        r.setIdExamen(u"EXA-9"_s);
        r.setSerie(1);
        for (int i = 1; i <= 5; ++i)
            r.setDatoAlumno(i, QString(valueLength, u'a'));
        for (qint16 q = 1; allMarked && q <= count; ++q)
            TestExamBuilder::mark(r, q, {3, 1, 2});
        return r.Contenido(exam, count);
    };
    const QByteArray largest = results(32767, 4, true);
    QByteArray repeated = results(0, 4, false);
    // Record 2 (kind 1, position 2, "0;") names position 1 again.
    repeated.replace("0;0000000001000000000200000000020;", "0;0000000001000000000100000000020;");
    const struct {
        const char* name;
        QByteArray bytes;
        QString error; // empty: graded
    } rows[] = {
        {"the largest file the exam allows", largest, {}},
        {"one byte more", largest + ' ',
         u"ocupa %1 bytes y ningún archivo de resultados de este examen puede pasar de %2 bytes"_s
             .arg(largest.size() + 1)
             .arg(largest.size())},
        {"the largest size, damaged", QByteArray(largest).replace(0, 10, "0000000299"),
         u"archivo dañado: versión de formato desconocida: 299"_s},
        {"longer values than a data box takes", results(33000, 4, false), u"ocupa "_s},
        {"fewer questions", results(0, 3, false), u"tiene 3 preguntas y el examen 4"_s},
        {"more questions", results(0, 5, true), u"tiene 5 preguntas y el examen 4"_s},
        {"a repeated position", repeated, u"el registro 2 repite la pregunta 1"_s},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const CommandRun run =
            kxt(tools::runGrade, {exam.ArchivoSalida(), f.write(u"r.kxa"_s, row.bytes)});
        EXPECT_EQ(run.status, row.error.isEmpty() ? 0 : 1);
        EXPECT_TRUE(row.error.isEmpty() ? run.err.isEmpty() : run.err.contains(row.error))
            << run.err.toStdString();
    }
}
