#include "results/frmNota.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace kp {
namespace {

TEST(GradeWindow, ShowsFixedTextsUnderTheirControlNames) {
    frmNota nota;
    EXPECT_EQ(nota.windowTitle(), u"Calificación"_s);
    EXPECT_EQ(nota.frmResumen->title(), u"Resumen:"_s);
    const struct {
        const char* name;
        const char16_t* text;
    } fixed[] = {{"Label1", u"Nota obtenida:"},
                 {"Label2", u"Preguntas Acertadas:"},
                 {"Label3", u"Preguntas Falladas:"},
                 {"Label4", u"Preguntas en Blanco:"}};
    for (const auto& f : fixed) {
        auto* label = nota.findChild<QLabel*>(QString::fromLatin1(f.name));
        ASSERT_NE(label, nullptr) << f.name;
        EXPECT_EQ(label->text(), QString::fromUtf16(f.text)) << f.name;
    }
    EXPECT_EQ(nota.findChild<QPushButton*>(u"salirbtn"_s)->text(), u"&Salir"_s);
}

TEST(GradeWindow, GradeIsCutNeverRoundedUpToTwoDecimals) {
    const struct {
        float grade;
        const char16_t* shown;
    } cases[] = {
        {20.0f / 3.0f, u"6,66"}, {9.999999f, u"9,99"}, {0.0f, u"0"},      {100.0f, u"100"},
        {7.5f, u"7,5"},          {10.0f, u"10"},       {0.005f, u"0,00"}, {1234.0f, u"1234"},
    };
    frmNota nota;
    for (const auto& c : cases) {
        nota.ReadyToGo(c.grade, 1, 2, 3, 0xFFFFFF);
        EXPECT_EQ(nota.NotaLab->text(), QString::fromUtf16(c.shown)) << c.grade;
    }
}

TEST(GradeWindow, CountsGoToTheirOwnLabels) {
    frmNota nota;
    nota.ReadyToGo(5.0f, 7, 2, 11, 0);
    EXPECT_EQ(nota.AcertadasLab->text(), u"7"_s);
    EXPECT_EQ(nota.FalladasLab->text(), u"2"_s);
    EXPECT_EQ(nota.BlancasLab->text(), u"11"_s);
}

TEST(GradeWindow, BackgroundIsTheExamColourWithRedInTheLowByte) {
    frmNota nota;
    nota.ReadyToGo(5.0f, 0, 0, 0, 0x00336699); // red 0x99, green 0x66, blue 0x33
    const QColor expected(0x99, 0x66, 0x33);
    EXPECT_EQ(nota.palette().color(QPalette::Window), expected);
    EXPECT_EQ(nota.frmResumen->palette().color(QPalette::Window), expected);
    EXPECT_TRUE(nota.autoFillBackground());
    EXPECT_TRUE(nota.frmResumen->autoFillBackground());
    // A second filling replaces the colour, it does not mix with the first.
    nota.ReadyToGo(5.0f, 0, 0, 0, 0x000000FF);
    EXPECT_EQ(nota.frmResumen->palette().color(QPalette::Window), QColor(255, 0, 0));
}

TEST(GradeWindow, SalirClosesIt) {
    frmNota nota;
    nota.show();
    nota.salirbtn->click();
    EXPECT_FALSE(nota.isVisible());
}

} // namespace
} // namespace kp
