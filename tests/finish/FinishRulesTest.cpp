#include "results/FinishRules.h"
#include "FakeClock.h"
#include "model/KipsaPrubex.h"
#include "results/ExamClock.h"
#include "results/KipsaResult.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kp {
namespace {

TEST(RemainingTimeText, HoursUnpaddedMinutesAndSecondsTwoDigitsNeverNegative) {
    const struct {
        qint32 seconds;
        const char16_t* shown;
    } cases[] = {{3661, u"1:01:01"},           {600, u"0:10:00"}, {59, u"0:00:59"},
                 {32760, u"9:06:00"},          {0, u"0:00:00"},   {-5, u"0:00:00"},
                 {-2147483647 - 1, u"0:00:00"}};
    for (const auto& c : cases)
        EXPECT_EQ(remainingTimeText(c.seconds), QString::fromUtf16(c.shown)) << c.seconds;
}

// Started 700 ms into the second 14:07:09: the start is cut to the second and the count is of
// second boundaries of the monotonic clock, whatever the wall clock does.
TEST(ExamClock, CountsSecondBoundariesOnTheMonotonicClockOnly) {
    test::FakeClock clock{QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9, 700))};
    ExamClock examClock;
    EXPECT_EQ(examClock.start(clock), QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)));
    clock.advanceMs(299); // 14:07:09.999
    EXPECT_EQ(examClock.elapsedSeconds(clock), 0);
    clock.advanceMs(1); // one boundary crossed after only 300 ms
    EXPECT_EQ(examClock.elapsedSeconds(clock), 1);
    clock.advanceMs(10'000);
    clock.setWallClock(clock.now().addSecs(3600)); // put forward an hour
    EXPECT_EQ(examClock.elapsedSeconds(clock), 11);
    clock.setWallClock(clock.now().addDays(-2)); // and far back
    clock.advanceMs(1000);
    EXPECT_EQ(examClock.elapsedSeconds(clock), 12);
    examClock.reset();
    EXPECT_EQ(examClock.elapsedSeconds(clock), 0);
}

const QDateTime Now{QDate(2026, 3, 5), QTime(14, 7, 9)};

TEST(FallbackPath, NamedAfterTheOneExactNombreFieldElseTheExamAndTheTime) {
    using Fields = std::vector<std::tuple<int, QString, QString>>; // index, label, value
    const struct {
        const char* name;
        QString id;
        Fields fields;
        QString expected;
    } cases[] = {
        {"one Nombre, value cleaned", u"MAT-01"_s,
         Fields{{1, u"Curso"_s, u"2B"_s}, {3, u"Nombre"_s, u"Ana Peña *: 3/B\\\"<>|?"_s}},
         u"Examen_Ana Peña *_ 3_B______.kxa"_s},
        {"label must match exactly", u"MAT-01"_s,
         Fields{
             {1, u"nombre"_s, u"Ana"_s}, {2, u"Nombre:"_s, u"Eva"_s}, {4, u" Nombre"_s, u"Luz"_s}},
         u"Examen_MAT-01_20260305_140709.kxa"_s},
        {"several Nombre fields do not chain", u"MAT-01"_s,
         Fields{{1, u"Nombre"_s, u"Ana"_s}, {2, u"Nombre"_s, u"Eva"_s}},
         u"Examen_MAT-01_20260305_140709.kxa"_s},
        {"identifier cleaned", u"  ../x:y  "_s, {}, u"Examen_.._x_y_20260305_140709.kxa"_s},
        {"no identifier", QString(), {}, u"Examen_20260305_140709.kxa"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KipsaPrubex examen;
        KipsaResult resultado;
        resultado.setIdExamen(c.id);
        for (const auto& [i, label, value] : c.fields) {
            examen.setDatoAlumno(i, label);
            resultado.setDatoAlumno(i, value);
        }
        for (const QString& folder : {u"/opt/kp"_s, u"/opt/kp/"_s})
            EXPECT_EQ(fallbackResultsPath(folder, examen, resultado, Now),
                      u"/opt/kp/"_s + c.expected);
    }
}

TEST(FallbackPath, UnnamedFallbackNeverReusesAnExistingFile) {
    QTemporaryDir dir;
    KipsaPrubex examen;
    KipsaResult resultado;
    resultado.setIdExamen(u"MAT-01"_s);
    const QString first = fallbackResultsPath(dir.path(), examen, resultado, Now);
    EXPECT_EQ(first, dir.filePath(u"Examen_MAT-01_20260305_140709.kxa"_s));
    QFile f(first);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(fallbackResultsPath(dir.path(), examen, resultado, Now),
              dir.filePath(u"Examen_MAT-01_20260305_140709_2.kxa"_s));
}

TEST(FallbackPath, OverlongNameIsCutToWhatAFileSystemAccepts) {
    KipsaPrubex examen;
    KipsaResult resultado;
    examen.setDatoAlumno(2, u"Nombre"_s);
    resultado.setDatoAlumno(2, QString(400, u'ñ'));
    const QString name = fallbackResultsPath(u"/p"_s, examen, resultado, Now).mid(3);
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
