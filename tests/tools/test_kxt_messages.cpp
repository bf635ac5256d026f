#include "Kxt.h"
#include "TestExamBuilder.h"

#include <QDir>
#include <QProcess>
#include <QStringDecoder>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

// Every message kxt prints, through the real program: well-formed UTF-8 and no text that was
// decoded from UTF-8 as Latin-1 on its way ("campo numÃ©rico").
TEST(KxtMessages, EveryMessageIsSpanishWithoutMojibake) {
    ToolFiles f;
    const QString exam = f.path(u"e.kxt"_s);
    const QString json = f.write(u"e.json"_s, R"({"IdExamen": "E-1", "DatoAlumno1": "Nombre",
        "Preguntas": [{"TextoPregunta": "¿Sí o no?", "respuestas": [
            {"Texto": "Sí", "Correcta": true}, {"Texto": "No", "Correcta": false}]}]})");
    ASSERT_EQ(kxt(tools::runBuild, {json, u"-o"_s, exam}).status, 0);
    KipsaPrubex loaded;
    ASSERT_TRUE(loaded.Cargar(exam));
    KipsaResult r;
    r.setIdExamen(u"E-1"_s);
    r.setSerie(1);
    r.setDatoAlumno(1, u"Íñigo"_s);
    const QString good = f.write(u"bien.kxa"_s, r.Contenido(loaded, 1));
    const QString twoQuestions = f.write(u"dos.kxa"_s, r.Contenido(loaded, 2));
    const QString cut = f.write(u"cortado.kxa"_s, r.Contenido(loaded, 1).chopped(4));
    const QString letters = f.write(u"letras.kxa"_s, "00000003x0");
    QDir().mkpath(f.path(u"carpeta"_s));
    const QString folder = f.path(u"carpeta"_s);
    const QString pipe = f.path(u"tuberia"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString missing = f.path(u"falta.kxt"_s);
    const QString out = f.path(u"salida"_s);

    const struct {
        const char* name;
        QStringList args;
    } rows[] = {
        {"no command", {}},
        {"help", {u"--help"_s}},
        {"unknown command", {u"compila"_s}},
        {"info of a missing exam", {u"info"_s, missing}},
        {"info of a folder", {u"info"_s, folder}},
        {"info of a named pipe", {u"info"_s, pipe}},
        {"info of a results file", {u"info"_s, good}},
        {"build usage", {u"build"_s}},
        {"build of bad JSON", {u"build"_s, f.write(u"mal.json"_s, "{\"a\":"), u"-o"_s, out}},
        {"build of a wrong member",
         {u"build"_s, f.write(u"m.json"_s, "{\"Título\":1}"), u"-o"_s, out}},
        {"build with a folder as picture",
         {u"build"_s, f.write(u"p.json"_s, R"({"ArchivoLogo": "carpeta"})"), u"-o"_s, out}},
        {"grade usage", {u"grade"_s, exam}},
        {"grade of good, cut, unreadable, foreign-sized and missing files",
         {u"grade"_s, exam, good, cut, letters, twoQuestions, missing, folder}},
        {"grade as CSV", {u"grade"_s, exam, good, cut, u"--csv"_s}},
        {"grade as JSON", {u"grade"_s, exam, good, cut, u"--json"_s}},
        {"report usage", {u"report"_s}},
        {"report of damaged files", {u"report"_s, exam, cut, missing, u"-o"_s, f.path(u"inf"_s)}},
        {"recover usage", {u"recover"_s}},
        {"recover of a results file", {u"recover"_s, good, u"-o"_s, out}},
        {"recover of a folder", {u"recover"_s, folder, u"-o"_s, out}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QProcess kxtProcess;
        kxtProcess.start(QStringLiteral(KP_KXT), row.args);
        ASSERT_TRUE(kxtProcess.waitForFinished(30'000));
        const QByteArray said =
            kxtProcess.readAllStandardOutput() + kxtProcess.readAllStandardError();
        EXPECT_FALSE(said.trimmed().isEmpty());
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(said);
        EXPECT_FALSE(utf8.hasError()) << said.toStdString();
        for (const QString& sign : {u"Ã"_s, u"Â"_s, u"\uFFFD"_s, u"Ã©"_s})
            EXPECT_FALSE(text.contains(sign)) << text.toStdString();
    }
}
