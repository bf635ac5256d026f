#include "results/FinishRules.h"
#include "FakeClock.h"
#include "model/KipsaPrubex.h"
#include "results/ExamClock.h"
#include "results/KipsaResult.h"
#include "results/LimpiaNombreArchivo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kp {
namespace {

TEST(RemainingTimeText, FormatsHoursWithoutPaddingAndMinutesSecondsWithTwoDigits) {
    const struct {
        qint32 seconds;
        const char16_t* shown;
    } cases[] = {
        {3661, u"1:01:01"},  {600, u"0:10:00"},
        {59, u"0:00:59"},    {3907, u"1:05:07"},
        {32760, u"9:06:00"}, {1, u"0:00:01"},
        {3600, u"1:00:00"},  {0, u"0:00:00"},
        {-5, u"0:00:00"},    {-2147483647 - 1, u"0:00:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(remainingTimeText(c.seconds), QString::fromUtf16(c.shown)) << c.seconds;
}

class ExamClockTest : public ::testing::Test {
protected:
    // Start 700 ms into the second 14:07:09.
    test::FakeClock clock{QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9, 700))};
    ExamClock examClock;
};

TEST_F(ExamClockTest, StartIsCutToTheSecond) {
    EXPECT_EQ(examClock.start(clock), QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)));
}

TEST_F(ExamClockTest, CountsSecondBoundariesOfTheStartClockNotFullSeconds) {
    examClock.start(clock);
    EXPECT_EQ(examClock.elapsedSeconds(clock), 0);
    clock.advanceMs(299); // 14:07:09.999
    EXPECT_EQ(examClock.elapsedSeconds(clock), 0);
    clock.advanceMs(1); // 14:07:10.000: one boundary crossed after only 300 ms
    EXPECT_EQ(examClock.elapsedSeconds(clock), 1);
    clock.advanceMs(950); // a tick that comes a little early still sees the wall arithmetic
    EXPECT_EQ(examClock.elapsedSeconds(clock), 1);
    clock.advanceMs(50);
    EXPECT_EQ(examClock.elapsedSeconds(clock), 2);
}

TEST_F(ExamClockTest, SystemTimeChangesNeitherAddNorRemoveTime) {
    examClock.start(clock);
    clock.advanceMs(10'300);
    clock.setWallClock(clock.now().addSecs(3600)); // clock put forward an hour
    EXPECT_EQ(examClock.elapsedSeconds(clock), 11);
    clock.setWallClock(clock.now().addDays(-2)); // and far back
    clock.advanceMs(1000);
    EXPECT_EQ(examClock.elapsedSeconds(clock), 12);
}

TEST_F(ExamClockTest, NotStartedOrResetCountsNothing) {
    clock.advanceMs(5000);
    EXPECT_EQ(examClock.elapsedSeconds(clock), 0);
    examClock.start(clock);
    clock.advanceMs(5000);
    examClock.reset();
    EXPECT_EQ(examClock.elapsedSeconds(clock), 0);
}

TEST(LimpiaNombreArchivo, ReplacesOnlyCharactersFileNamesCannotHold) {
    EXPECT_EQ(LimpiaNombreArchivo(u"a\\b/c:d?e\"f<g>h|i"_s), u"a_b_c_d_e_f_g_h_i"_s);
    EXPECT_EQ(LimpiaNombreArchivo(u" Ana Peña *.kxa "_s), u" Ana Peña *.kxa "_s);
    EXPECT_EQ(LimpiaNombreArchivo(u"../../etc"_s), u".._.._etc"_s);
}

class FallbackPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        resultado.setIdExamen(u"MAT-01"_s);
    }
    QTemporaryDir dir;
    KipsaPrubex examen;
    KipsaResult resultado;
    const QDateTime now{QDate(2026, 3, 5), QTime(14, 7, 9)};
};

TEST_F(FallbackPathTest, SingleNombreFieldNamesTheFileAfterTheCleanedValue) {
    examen.setDatoAlumno(1, u"Curso"_s);
    examen.setDatoAlumno(3, u"Nombre"_s);
    resultado.setDatoAlumno(1, u"2B"_s);
    resultado.setDatoAlumno(3, u"Ana: 3/B"_s);
    EXPECT_EQ(fallbackResultsPath(u"/opt/kp"_s, examen, resultado, now),
              u"/opt/kp/Examen_Ana_ 3_B.kxa"_s);
    EXPECT_EQ(fallbackResultsPath(u"/opt/kp/"_s, examen, resultado, now),
              u"/opt/kp/Examen_Ana_ 3_B.kxa"_s);
}

TEST_F(FallbackPathTest, NombreLabelMustMatchExactly) {
    // "nombre", "Nombre:" and " Nombre" are other labels, so no field qualifies.
    examen.setDatoAlumno(1, u"nombre"_s);
    examen.setDatoAlumno(2, u"Nombre:"_s);
    examen.setDatoAlumno(4, u" Nombre"_s);
    resultado.setDatoAlumno(1, u"Ana"_s);
    EXPECT_EQ(fallbackResultsPath(u"/opt/kp"_s, examen, resultado, now),
              u"/opt/kp/Examen_MAT-01_20260305_140709.kxa"_s);
}

TEST_F(FallbackPathTest, SeveralNombreFieldsDoNotChainTheirValues) {
    examen.setDatoAlumno(1, u"Nombre"_s);
    examen.setDatoAlumno(2, u"Nombre"_s);
    resultado.setDatoAlumno(1, u"Ana"_s);
    resultado.setDatoAlumno(2, u"Eva"_s);
    EXPECT_EQ(fallbackResultsPath(u"/opt/kp"_s, examen, resultado, now),
              u"/opt/kp/Examen_MAT-01_20260305_140709.kxa"_s);
}

TEST_F(FallbackPathTest, UnnamedFallbackNeverReusesAnExistingFile) {
    const QString folder = dir.path();
    const QString first = fallbackResultsPath(folder, examen, resultado, now);
    EXPECT_EQ(first, folder + u"/Examen_MAT-01_20260305_140709.kxa"_s);
    QFile f(first);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(fallbackResultsPath(folder, examen, resultado, now),
              folder + u"/Examen_MAT-01_20260305_140709_2.kxa"_s);
}

TEST_F(FallbackPathTest, IdentifierIsCleanedAndMayBeMissing) {
    resultado.setIdExamen(u"  ../x:y  "_s);
    EXPECT_EQ(fallbackResultsPath(u"/p"_s, examen, resultado, now),
              u"/p/Examen_.._x_y_20260305_140709.kxa"_s);
    resultado.setIdExamen(QString());
    EXPECT_EQ(fallbackResultsPath(u"/p"_s, examen, resultado, now),
              u"/p/Examen_20260305_140709.kxa"_s);
}

TEST_F(FallbackPathTest, OverlongNameIsCutToWhatAFileSystemAccepts) {
    examen.setDatoAlumno(2, u"Nombre"_s);
    resultado.setDatoAlumno(2, QString(400, u'ñ'));
    const QString path = fallbackResultsPath(u"/p"_s, examen, resultado, now);
    const QString name = path.mid(3);
    EXPECT_TRUE(name.startsWith(u"Examen_ññ"_s));
    EXPECT_TRUE(name.endsWith(u"ñ.kxa"_s));
    EXPECT_LE(name.toUtf8().size(), 255);
    EXPECT_GT(name.toUtf8().size(), 250);
}

TEST(SaveFailedMessage, NamesBothPaths) {
    EXPECT_EQ(saveFailedMessage(u"/x/r.kxa"_s, u"/p/Examen_Ana.kxa"_s),
              u"Ocurrió un error al guardar el archivo de resultados. Es posible que haya un "
              u"problema de acceso para guardar la información en /x/r.kxa Kipsa Prubex guardó "
              u"los resultados de su examen en : /p/Examen_Ana.kxa. Por favor, Notifiquelo a su "
              u"examinador."_s);
}

} // namespace
} // namespace kp
