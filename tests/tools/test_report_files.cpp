#include "FakeClock.h"
#include "ReportClass.h"

#include "tools/PlainText.h"
#include "tools/Progress.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace kp::tools;
using namespace Qt::StringLiterals;

TEST(KxtReport, AHostileResultsFolderIsReportedFileByFileAndTheRestCounted) {
    ReportClass c(TestExamBuilder::simple(3, 3).build());
    const QString ana = c.student(u"clase/ana.kxa"_s, u"Ana"_s, 1, {{1}, {2}, {}});
    QFile::copy(ana, c.path(u"clase/copia.kxa"_s));
    c.student(u"clase/sub/luis.kxa"_s, u"Luis"_s, 1, {{1}, {1}, {1}});
    c.write(u"clase/rota.kxa"_s, ReportClass::bytes(ana).chopped(5));
    c.write(u"clase/foto.kxa"_s, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    c.student(u"clase/otro.kxa"_s, u"Eva"_s, 1, {{1}, {1}, {1}}, u"OTRO"_s);
    c.student(u"clase/serie9.kxa"_s, u"Pía"_s, 9, {{1}, {1}, {1}});
    c.write(u"clase/notas.txt"_s, "no es un resultado");
    QDir().mkpath(c.path(u"vacia"_s));

    const QString out = c.path(u"informe.json"_s);
    const CommandRun run = kxt(runReport, {c.examPath, c.path(u"clase"_s), ana, c.path(u"vacia"_s),
                                           c.path(u"nada.kxa"_s), u"--json"_s, u"-o"_s, out});
    EXPECT_EQ(run.status, 1) << "some files were left out";
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << run.err.toStdString();
    const QJsonObject report = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_EQ(report[u"alumnos"].toArray().size(), 2) << "Ana and Luis";
    QHash<QString, QString> reasons;
    for (const auto row : report[u"omitidos"].toArray())
        reasons.insert(QFileInfo(row[u"archivo"].toString()).fileName(), row[u"error"].toString());

    const struct {
        const char* file;
        const char* reason;
    } rows[] = {
        {"vacia", "la carpeta no tiene archivos .kxa"},
        {"copia.kxa", "copia idéntica de "},
        {"foto.kxa", "archivo dañado: "},
        {"otro.kxa", "es del examen \"OTRO\""},
        {"rota.kxa", "archivo dañado: "},
        {"serie9.kxa", "el examen no tiene la serie 9"},
        {"ana.kxa", "repetido"},
        {"nada.kxa", "no se puede leer: no existe el archivo"},
    };
    EXPECT_EQ(reasons.size(), static_cast<qsizetype>(std::size(rows)));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        const QString name = QString::fromUtf8(row.file);
        EXPECT_TRUE(reasons.value(name).startsWith(QString::fromUtf8(row.reason)))
            << reasons.value(name).toStdString();
        EXPECT_TRUE(run.err.contains(name + u": "_s + QString::fromUtf8(row.reason)))
            << "named on standard error";
    }
}

TEST(KxtReport, CsvTablesUseTheDecimalCommaAndTheStudentsTableIsKxtGrades) {
    HandClass c;
    const QString folder = c.path(u"tablas"_s);
    ASSERT_EQ(kxt(runReport, {c.examPath, c.dir(), u"--csv"_s, u"-o"_s, folder}).status, 0);
    const auto lines = [&](const QString& name) {
        QFile f(QDir(folder).filePath(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split(u'\n')
                                           : QStringList();
    };
    EXPECT_EQ(lines(u"resumen.csv"_s).value(1),
              u"Todas;;5;2,4000;2,0000;1,1402;1,0000;4,0000;2,0000;3,0000;4;0,8000;0,2051;1,0165");
    EXPECT_EQ(lines(u"preguntas.csv"_s).value(4).section(u';', 0, 9),
              u"4;P4;Texto de la pregunta 4;5;3;1;1;0,6000;0,0000;-0,4901");
    EXPECT_EQ(lines(u"respuestas.csv"_s).value(1), u"1;P1;1;Respuesta 1 de la pregunta 1;sí;4;1;0");

    QStringList files;
    for (const QString& name : {u"alvaro"_s, u"bea"_s, u"carlos"_s, u"eva"_s, u"zoe"_s})
        files << c.path(name + u".kxa"_s);
    const CommandRun grade = kxt(runGrade, QStringList{c.examPath, u"--csv"_s} + files);
    EXPECT_EQ(lines(u"alumnos.csv"_s).join(u'\n'), grade.out) << "sorted by name, as given";
}

TEST(KxtReport, WrongArgumentsExitWithStatus2AndAFailedWriteWith1) {
    HandClass c;
    const QString exam = c.examPath, dir = c.dir();
    const struct {
        const char* name;
        QStringList args;
        int status;
    } rows[] = {
        {"no-output", {exam, dir}, 2},
        {"no-results", {exam, u"-o"_s, c.path(u"i.html"_s)}, 2},
        {"csv-and-json", {exam, dir, u"--csv"_s, u"--json"_s, u"-o"_s, c.path(u"x"_s)}, 2},
        {"unknown-order", {exam, dir, u"--orden"_s, u"edad"_s, u"-o"_s, c.path(u"i.html"_s)}, 2},
        {"unknown-option", {exam, dir, u"--pdf"_s, u"-o"_s, c.path(u"i.html"_s)}, 2},
        {"exam-unreadable", {dir, dir, u"-o"_s, c.path(u"i.html"_s)}, 1},
        {"output-is-a-folder", {exam, dir, u"-o"_s, dir}, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const CommandRun run = kxt(runReport, row.args);
        EXPECT_EQ(run.status, row.status);
        EXPECT_TRUE(run.err.startsWith(u"kxt report: "_s)) << run.err.toStdString();
    }
}

TEST(ReportProgress, QuietForASecondThenOneLineRewrittenAtMostFiveTimesASecond) {
    QString text;
    QTextStream err(&text);
    FakeClock clock;
    Progress progress(err, true, clock);
    progress.step(u"leídos"_s, 1, 4);
    EXPECT_EQ(text, QString()) << "the first second is quiet";
    clock.advanceMs(1000);
    progress.step(u"leídos"_s, 2, 4);
    clock.advanceMs(100);
    progress.step(u"leídos"_s, 3, 4); // too soon after the last
    progress.step(u"leídos"_s, 4, 4); // the last step is always shown
    progress.finish();
    EXPECT_EQ(text, u"\rkxt report: leídos 2 de 4\rkxt report: leídos 4 de 4\n"_s);

    QString silent;
    QTextStream quiet(&silent);
    Progress off(quiet, false, clock);
    clock.advanceMs(5000);
    off.step(u"leídos"_s, 1, 1);
    off.finish();
    EXPECT_EQ(silent, QString()) << "not a terminal";
    EXPECT_FALSE(Progress::isTerminal(quiet));
}

TEST(ReportText, QuestionTextsBecomeOneShortPlainLine) {
    const struct {
        const char* name;
        QString text;
        qsizetype max;
        QString expected;
    } rows[] = {
        {"plain-with-line-breaks", u"¿Capital\r\nde   Francia?"_s, 40, u"¿Capital de Francia?"_s},
        {"cut-with-an-ellipsis", u"uno dos tres cuatro"_s, 9, u"uno dos…"_s},
        {"rtf-tables-and-escapes",
         uR"({\rtf1\ansi{\fonttbl{\f0 Arial;}}{\colortbl ;\red255\green0\blue0;}\pard \'bfCu\'e1l es un \b\cf1 verbo\cf0\b0 ?\par})"_s,
         80, u"¿Cuál es un verbo?"_s},
        {"rtf-unicode-and-hidden-groups",
         uR"({\rtf1\uc1 {\*\generator Riched20;}5 \u8364? y \{llaves\}\line fin})"_s, 80,
         u"5 € y {llaves} fin"_s},
        {"rtf-unclosed", uR"({\rtf1 {{{{ hola \'e)"_s, 80, u"hola"_s},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(shortText(row.text, row.max), row.expected);
    }
}
