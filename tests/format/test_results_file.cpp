#include "FailDevice.h"
#include "FileBytes.h"
#include "TestExamBuilder.h"
#include "format/ResultsReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

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

// A true/false exam of three questions and a student who marked some of them.
class ResultsFile : public testing::Test {
protected:
    KipsaPrubex exam;
    KipsaResult result;
    QTemporaryDir dir;

    void SetUp() override {
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
        TestExamBuilder::mark(result, 1, {4, 2});
        result.RespuestasKipsa()->Remove(u"respuesta14"_s);
        TestExamBuilder::mark(result, 1, {4});
        TestExamBuilder::mark(result, 3, {1});
        TestExamBuilder::mark(result, 9, {1}); // beyond the question count: not written
    }
};

TEST_F(ResultsFile, SmallRunIsWrittenByteForByteOverALongerFile) {
    const QString path = dir.filePath(u"ana.kxa"_s);
    QFile longer(path);
    ASSERT_TRUE(longer.open(QIODevice::WriteOnly) && longer.write(QByteArray(4096, 'x')) == 4096);
    longer.close();
    result.setArchivoSalida(path);
    ASSERT_TRUE(result.Guardar(exam, 3));
    EXPECT_EQ(readAll(path), kSmallRunBytes);
    EXPECT_EQ(readAll(path + u".1"_s), QByteArray(4096, 'x')) << "the older file is kept beside";
    EXPECT_EQ(result.Contenido(exam, 0), kSmallRunBytes.left(165) + "0000000000") << "no records";
}

TEST_F(ResultsFile, ReadBackItWritesTheSameBytesAndAnyTruncationIsRefused) {
    ResultsReader reader;
    for (qsizetype n = 0; n < kSmallRunBytes.size(); ++n)
        EXPECT_FALSE(reader.read(kSmallRunBytes.left(n))) << "cut at " << n;
    ASSERT_TRUE(reader.read(kSmallRunBytes + "bytes after the last record are ignored"));
    EXPECT_EQ(reader.result().DatoAlumno(2), u"Pérez"_s);
    EXPECT_EQ(reader.label(5), u"Curso");
    EXPECT_EQ(reader.result().Contenido(exam, 3), kSmallRunBytes);
}

TEST_F(ResultsFile, AFailedWriteSaysSoAndKeepsTheEarlierFile) {
    for (qint64 n = 0; n < kSmallRunBytes.size(); ++n) {
        FailDevice device(n);
        EXPECT_FALSE(result.Guardar(exam, 3, device)) << "a device full after " << n << " bytes";
    }
    FailDevice roomy(kSmallRunBytes.size());
    EXPECT_TRUE(result.Guardar(exam, 3, roomy));
    // A file where a folder should be, a folder where the file should be, no name at all: each
    // refused, the earlier file untouched (what a failed write keeps is SafeFile's own test).
    const QString path = dir.filePath(u"earlier.kxa"_s);
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
    earlier.close();
    for (const QString& target : {path + u"/r.kxa"_s, dir.path(), QString()}) {
        result.setArchivoSalida(target);
        EXPECT_FALSE(result.Guardar(exam, 3)) << "a file as the folder, a folder, no name";
    }
    EXPECT_EQ(readAll(path), "earlier");
}
