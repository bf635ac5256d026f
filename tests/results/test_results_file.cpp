#include "TestExams.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A true/false exam of three questions and a student who marked some of them.
struct SmallRun {
    KipsaPrubex exam;
    KipsaResult result;

    SmallRun() {
        exam.setTipoExamen(2); // every record carries the exam kind
        exam.setDatoAlumno(1, u"Nombre"_s);
        exam.setDatoAlumno(2, u" Apellidos "_s);
        exam.setDatoAlumno(5, u"Curso"_s);
        result.setIdExamen(u"  EX-1 "_s);
        result.setSerie(2);
        result.setDatoAlumno(1, u"Ana"_s);
        result.setDatoAlumno(2, u" Pérez"_s);
        result.setDatoAlumno(5, u"3ºB  "_s);
        // Question 1: 4 marked, 2 marked, 4 unmarked and marked again -> "2;4;".
        mark(result, 1, {4, 2});
        result.RespuestasKipsa()->Remove(u"respuesta1_4"_s);
        mark(result, 1, {4});
        mark(result, 3, {1});
        mark(result, 9, {1}); // beyond the question count: not written
    }
};

// clang-format off
const QByteArray kSmallRunBytes = QByteArrayLiteral(
    "0000000300" "0000000004EX-1" "0000000002" // version, exam, series
    "0000000006Nombre" "0000000003Ana" "0000000009Apellidos" "0000000005P\xE9rez"
    "0000000000" "0000000000" "0000000000" "0000000000" // labels and data 3 and 4: empty
    "0000000005Curso" "00000000033\xBA" "B"
    "0000000003" // question count, then kind, position and answers of each question
    "0000000002" "0000000001" "00000000042;4;"
    "0000000002" "0000000002" "00000000020;"
    "0000000002" "0000000003" "00000000021;");
// clang-format on

} // namespace

TEST(ResultsFile, SmallRunIsWrittenByteForByteOverALongerFileAndAFailedRewriteKeepsIt) {
    QTemporaryDir dir;
    SmallRun run;
    const QString path = dir.filePath(u"ana.kxa"_s);
    run.result.setArchivoSalida(path);
    writeFile(path, QByteArray(4096, 'x'));
    ASSERT_TRUE(run.result.Guardar(run.exam, 3));
    EXPECT_EQ(readAll(path), kSmallRunBytes);

    // Files may grow to 64 bytes only, so writing again fails midway, as on a full disk (tests
    // run as root: permissions would not stop the write).
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool rewritten = run.result.Guardar(run.exam, 3);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(rewritten);
    EXPECT_EQ(readAll(path), kSmallRunBytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "no temporary is left";
}

TEST(ResultsFile, UnwritableTargetsFail) {
    QTemporaryDir dir;
    writeFile(dir.filePath(u"plain"_s), "x");
    QDir(dir.path()).mkdir(u"carpeta.kxa"_s);
    // No path, a file as the folder, a folder at the target, a missing folder.
    for (const QString& path : {QString(), dir.filePath(u"plain/r.kxa"_s),
                                dir.filePath(u"carpeta.kxa"_s), dir.filePath(u"no/r.kxa"_s)}) {
        SmallRun run;
        run.result.setArchivoSalida(path);
        EXPECT_FALSE(run.result.Guardar(run.exam, 3)) << path.toStdString();
    }
}
