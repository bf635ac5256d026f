#include "FileBytes.h"
#include "Kxt.h"
#include "TestExamBuilder.h"
#include "format/JournalHeader.h"
#include "format/JournalWriter.h"

#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

// Luis's run of a three-question exam: question 1 answers 3 then 1, question 3 answer 2 marked
// and unmarked, 65 s into a 30-minute exam.
struct LuisRun {
    ToolFiles f;
    QString journal;
    QByteArray expected; // the results file as the program would write it
    explicit LuisRun(int limitSeconds = 1800) {
        KipsaPrubex exam;
        exam.setTipoExamen(1);
        exam.setDatoAlumno(1, u"Nombre"_s);
        exam.setDatoAlumno(2, u"Grupo"_s);
        KipsaResult result;
        result.setIdExamen(u"HIS-2"_s);
        result.setSerie(2);
        result.setDatoAlumno(1, u"Luis Peña"_s);
        result.setDatoAlumno(2, u"4ºA"_s);
        result.setArchivoSalida(u"/media/usb/res_Luis.kxa"_s);
        JournalWriter w;
        EXPECT_TRUE(w.start(f.path(u"rec"_s), u"Examen_Luis"_s,
                            JournalHeader::of(exam, result, 3, limitSeconds,
                                              QDateTime(QDate(2026, 3, 5), QTime(9, 0, 4)))));
        journal = w.path();
        w.mark(1, 3, 2'000);
        w.mark(1, 1, 5'000);
        w.mark(3, 2, 30'000);
        w.unmark(3, 2, 65'400);
        TestExamBuilder::mark(result, 1, {3, 1});
        expected = result.Contenido(exam, 3);
    }
};

TEST(KxtRecover, RebuildsTheResultsFileAndSaysHowLongTheExamRan) {
    LuisRun run;
    const QString out = run.f.path(u"luis.kxa"_s);
    const CommandRun r = kxt(tools::runRecover, {run.journal, u"-o"_s, out});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(readAll(out), run.expected);
    EXPECT_EQ(r.out, u"kxt recover: "_s + out +
                         u" escrito con las respuestas del archivo de recuperación.\n"
                         u"Examen \"HIS-2\", serie 2, 3 preguntas, 2 respuestas marcadas.\n"
                         u"Nombre: Luis Peña\n"
                         u"Grupo: 4ºA\n"
                         u"Empezado el 05/03/2026 a las 09:00:04.\n"
                         u"Tiempo de examen transcurrido: 0:01:05 hasta el último registro, de un "
                         u"límite de 0:30:00.\n"
                         u"El programa iba a escribirlo en /media/usb/res_Luis.kxa.\n"_s);

    // Again onto the same file, from a journal cut by a crash in its last record: the first
    // file is kept beside, and the cut is reported.
    QFile cut(run.journal);
    ASSERT_TRUE(cut.resize(cut.size() - 3));
    const CommandRun again = kxt(tools::runRecover, {u"-o"_s, out, run.journal});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(readAll(out + u".1"_s), run.expected);
    EXPECT_NE(readAll(out), run.expected) << "3/2 is marked again: the unmark was cut";
    EXPECT_TRUE(again.out.contains(u"El archivo que ya había en "_s + out +
                                   u" se ha guardado como "_s + out + u".1.\n"_s));
    EXPECT_TRUE(again.out.contains(u"0:00:30 hasta"_s));
    // Without a time limit there is none to tell.
    const LuisRun unlimited(0);
    EXPECT_TRUE(kxt(tools::runRecover, {unlimited.journal, u"-o"_s, unlimited.f.path(u"l.kxa"_s)})
                    .out.contains(u"hasta el último registro.\n"_s));
    EXPECT_TRUE(again.out.endsWith(u"Aviso: se han descartado los últimos 18 bytes, un registro "
                                   u"incompleto o dañado (el programa se detuvo mientras lo "
                                   u"escribía).\n"_s));
}

TEST(KxtRecover, WrongArgumentsAndFilesThatAreNoJournalAreRefused) {
    LuisRun run;
    const QString usage = u"Uso: kxt recover RECUPERACION.kxr -o RESULTADOS.kxa\n"_s;
    const struct {
        const char* name;
        QStringList args;
        int status;
        QString err; // the start of what is said
    } rows[] = {
        {"nothing", {}, 2, usage},
        {"no output", {run.journal}, 2, usage},
        {"-o without a path", {run.journal, u"-o"_s}, 2, usage},
        {"two journals", {run.journal, run.journal, u"-o"_s, u"x"_s}, 2, usage},
        {"unknown option", {run.journal, u"--csv"_s, u"-o"_s, u"x"_s}, 2, usage},
        {"a results file",
         {run.f.write(u"r.kxa"_s, run.expected), u"-o"_s, u"x.kxa"_s},
         1,
         u"kxt recover: no se puede recuperar "_s},
        {"output under a file",
         {run.journal, u"-o"_s, run.f.write(u"plain"_s, "x") + u"/r.kxa"_s},
         1,
         u"kxt recover: no se puede escribir "_s},
    };
    for (const auto& row : rows) {
        const CommandRun r = kxt(tools::runRecover, row.args);
        EXPECT_EQ(r.status, row.status) << row.name;
        EXPECT_TRUE(r.err.startsWith(row.err)) << row.name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << row.name;
    }
}

} // namespace
