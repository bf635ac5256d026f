#include "TestExams.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace kp;
using namespace kp::test;

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

// A multiple-choice exam of three questions and a student who marked some of them.
struct SmallRun {
    KipsaPrubex exam;
    KipsaResult result;

    SmallRun() {
        exam.setTipoExamen(1);
        exam.setDatoAlumno(1, QStringLiteral("Nombre"));
        exam.setDatoAlumno(2, QStringLiteral(" Apellidos "));
        exam.setDatoAlumno(5, QStringLiteral("Curso"));
        result.setIdExamen(QStringLiteral("  EX-1 "));
        result.setSerie(2);
        result.setDatoAlumno(1, QStringLiteral("Ana"));
        result.setDatoAlumno(2, QString::fromUtf16(u" Pérez"));
        result.setDatoAlumno(5, QString::fromUtf16(u"3ºB  "));
        // Question 1: 4 marked, 2 marked, 4 unmarked and marked again -> "2;4;".
        mark(result, 1, {4, 2});
        result.RespuestasKipsa()->Remove(QStringLiteral("respuesta1_4"));
        mark(result, 1, {4});
        mark(result, 3, {1});
        mark(result, 9, {1}); // beyond the question count: not written
    }
};

const QByteArray kSmallRunBytes = QByteArrayLiteral("0000000300"
                                                    "0000000004EX-1"
                                                    "0000000002"
                                                    "0000000006Nombre"
                                                    "0000000003Ana"
                                                    "0000000009Apellidos"
                                                    "0000000005P\xE9rez"
                                                    "0000000000"
                                                    "0000000000"
                                                    "0000000000"
                                                    "0000000000"
                                                    "0000000005Curso"
                                                    "00000000033\xBA"
                                                    "B"
                                                    "0000000003"
                                                    "0000000001"
                                                    "0000000001"
                                                    "00000000042;4;"
                                                    "0000000001"
                                                    "0000000002"
                                                    "00000000020;"
                                                    "0000000001"
                                                    "0000000003"
                                                    "00000000021;");

} // namespace

TEST(ResultsFile, SmallRunIsWrittenByteForByte) {
    QTemporaryDir dir;
    SmallRun run;
    run.result.setArchivoSalida(dir.filePath(QStringLiteral("ana.kxa")));
    ASSERT_TRUE(run.result.Guardar(run.exam, 3));
    EXPECT_EQ(readAll(run.result.ArchivoSalida()), kSmallRunBytes);
    // Nothing else is left in the folder (no temporary).
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(ResultsFile, TrueFalseExamWithoutQuestionsWritesHeaderAndCountOnly) {
    SmallRun run;
    run.exam.setTipoExamen(2);
    const QByteArray bytes = run.result.Contenido(run.exam, 0);
    // The small run without its count (10 bytes) and its three records (34 + 32 + 32 bytes).
    EXPECT_EQ(bytes, kSmallRunBytes.chopped(108) + "0000000000");
}

TEST(ResultsFile, EveryRecordCarriesTheExamKind) {
    KipsaPrubex exam;
    exam.setTipoExamen(2);
    KipsaResult result;
    mark(result, 2, {2});
    const QByteArray bytes = result.Contenido(exam, 2);
    EXPECT_TRUE(bytes.endsWith("0000000002000000000100000000020;"
                               "0000000002000000000200000000022;"));
}

TEST(ResultsFile, ShorterContentLeavesNoBytesOfTheEarlierFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.kxa"));
    writeFile(path, QByteArray(4096, 'x'));
    SmallRun run;
    run.result.setArchivoSalida(path);
    ASSERT_TRUE(run.result.Guardar(run.exam, 3));
    EXPECT_EQ(readAll(path), kSmallRunBytes);
}

TEST(ResultsFile, UnwritableTargetsFail) {
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("plain")), "x");
    QDir(dir.path()).mkdir(QStringLiteral("carpeta.kxa"));
    const struct {
        const char* fault;
        QString path;
    } cases[] = {
        {"empty path", QString()},
        {"parent is a regular file", dir.filePath(QStringLiteral("plain/r.kxa"))},
        {"a folder stands at the target", dir.filePath(QStringLiteral("carpeta.kxa"))},
        {"missing folder", dir.filePath(QStringLiteral("no/existe/r.kxa"))},
    };
    for (const auto& c : cases) {
        SmallRun run;
        run.result.setArchivoSalida(c.path);
        EXPECT_FALSE(run.result.Guardar(run.exam, 3)) << c.fault;
    }
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("plain"))), "x");
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("carpeta.kxa"))).isDir());
}

TEST(ResultsFile, WriteFailingMidwayLeavesTheEarlierFileIntact) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.kxa"));
    const QByteArray earlier("0000000300 an earlier, complete results file");
    writeFile(path, earlier);

    // Files may grow to 64 bytes only: the new content (longer) fails while being written,
    // as on a full disk. Tests run as root, so permissions would not stop the write.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    SmallRun run;
    run.result.setArchivoSalida(path);
    const bool written = run.result.Guardar(run.exam, 3);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(readAll(path), earlier);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}
