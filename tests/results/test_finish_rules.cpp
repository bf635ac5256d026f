#include "FakeClock.h"
#include "model/KipsaPrubex.h"
#include "model/KipsaResult.h"
#include "results/ExamClock.h"
#include "results/FinishRules.h"

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
    } cases[] = {
        {3661, u"1:01:01"}, {32760, u"9:06:00"}, {-5, u"0:00:00"}, {-2147483647 - 1, u"0:00:00"}};
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
    clock.setWallClock(clock.now().addDays(-2)); // the wall clock put far back
    clock.advanceMs(10'000);
    EXPECT_EQ(examClock.elapsedSeconds(clock), 11);
    clock.advanceMs(3'000'000'000'000); // a century asleep still fits the 32-bit count
    EXPECT_EQ(examClock.elapsedSeconds(clock), 2147483647);
    examClock.reset();
    EXPECT_EQ(examClock.elapsedSeconds(clock), 0) << "no exam running";
    // Started at .999, the first boundary comes after a single millisecond.
    test::FakeClock late{QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9, 999))};
    examClock.start(late);
    late.advanceMs(1);
    EXPECT_EQ(examClock.elapsedSeconds(late), 1);
}

const QDateTime Now{QDate(2026, 3, 5), QTime(14, 7, 9)};

TEST(FallbackPath, NamedAfterTheOneExactNombreFieldElseTheExamAndTheTime) {
    using Fields = std::vector<std::tuple<int, QString, QString>>; // index, label, value
    const QString timed = u"Examen_MAT-01_20260305_140709.kxa"_s;
    const struct {
        QString id;
        Fields fields;
        QString expected;
    } cases[] = {
        // the one "Nombre" field, its value cleaned
        {u"X"_s, {{3, u"Nombre"_s, u"Eña *: 3/B\\\"<>|?"_s}}, u"Examen_Eña *_ 3_B______.kxa"_s},
        // labels must match exactly, and several "Nombre" fields do not chain
        {u"MAT-01"_s, {{1, u"nombre"_s, u"Ana"_s}, {4, u" Nombre"_s, u"Luz"_s}}, timed},
        {u"MAT-01"_s, {{1, u"Nombre"_s, u"Ana"_s}, {2, u"Nombre"_s, u"Eva"_s}}, timed},
        {u"  ../x:y  "_s, {}, u"Examen_.._x_y_20260305_140709.kxa"_s}, // identifier cleaned
        {QString(), {}, u"Examen_20260305_140709.kxa"_s},
        // cut to 255 bytes
        {{}, {{2, u"Nombre"_s, QString(400, u'ñ')}}, u"Examen_"_s + QString(122, u'ñ') + u".kxa"_s},
        {{},
         {{2, u"Nombre"_s, u"😀"_s.repeated(99)}},
         u"Examen_"_s + u"😀"_s.repeated(61) + u".kxa"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        KipsaPrubex examen;
        KipsaResult resultado;
        resultado.setIdExamen(c.id);
        for (const auto& [i, label, value] : c.fields) {
            examen.setDatoAlumno(i, label);
            resultado.setDatoAlumno(i, value);
        }
        QTemporaryDir dir;
        EXPECT_EQ(fallbackResultsPath(dir.path() + u'/', examen, resultado, Now),
                  dir.filePath(c.expected));
        // Once the name is taken, only the unnamed fallback moves on to a free one.
        ASSERT_TRUE(QFile(dir.filePath(c.expected)).open(QIODevice::WriteOnly));
        EXPECT_EQ(fallbackResultsPath(dir.path(), examen, resultado, Now),
                  dir.filePath(QString(c.expected).replace(u"709.kxa"_s, u"709_2.kxa"_s)));
    }
}

} // namespace
} // namespace kp
