#include "results/frmNota.h"

#include <QGroupBox>
#include <QLabel>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kp {
namespace {

TEST(GradeWindow, GradeIsCutNeverRoundedUpToTwoDecimalsAndCountsGoToTheirLabels) {
    const struct {
        float grade;
        const char16_t* shown;
    } cases[] = {{20.0f / 3.0f, u"6,66"}, {9.999999f, u"9,99"}, {0.0f, u"0"},
                 {7.5f, u"7,5"},          {0.005f, u"0,00"},    {1234.0f, u"1234"}};
    frmNota nota;
    for (const auto& c : cases) {
        nota.ReadyToGo(c.grade, 7, 2, 11, 0xFFFFFF);
        EXPECT_EQ(nota.NotaLab->text(), QString::fromUtf16(c.shown)) << c.grade;
    }
    EXPECT_EQ(nota.AcertadasLab->text(), u"7"_s);
    EXPECT_EQ(nota.FalladasLab->text(), u"2"_s);
    EXPECT_EQ(nota.BlancasLab->text(), u"11"_s);
}

TEST(GradeWindow, BackgroundIsTheExamColourWithRedInTheLowByte) {
    frmNota nota;
    nota.ReadyToGo(5.0f, 0, 0, 0, 0x00336699); // red 0x99, green 0x66, blue 0x33
    EXPECT_EQ(nota.palette().color(QPalette::Window), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(nota.frmResumen->palette().color(QPalette::Window), QColor(0x99, 0x66, 0x33));
    EXPECT_TRUE(nota.frmResumen->autoFillBackground());
    // A second filling replaces the colour, it does not mix with the first.
    nota.ReadyToGo(5.0f, 0, 0, 0, 0x000000FF);
    EXPECT_EQ(nota.frmResumen->palette().color(QPalette::Window), QColor(255, 0, 0));
}

} // namespace
} // namespace kp
