// The question page: layout in twips, rows in number order, true/false rows, marks restored,
// status line, navigation buttons and scroll range.
#include "Pictures.h"
#include "WindowFixture.h"

#include <QTextCharFormat>
#include <QTextCursor>

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

class Page : public WindowFixture {
protected:
    // The top of each answer row on the page, in row order.
    std::vector<double> rowTops() const {
        std::vector<double> tops;
        for (int j = 1; j <= w->highestRow(); ++j)
            if (auto* t = frmMain::row(w->RespuestaTxt, j))
                tops.push_back(box(t).top);
        return tops;
    }
    QString rowText(int j) const { return frmMain::row(w->RespuestaTxt, j)->plainText(); }
};

TEST_F(Page, WorkedExampleWithoutImageHoldsToTheTwip) {
    openAndStart(ExamBuilder::simple(2, 4).build());
    EXPECT_FALSE(shown(w->ImagenBtn));
    EXPECT_EQ(box(w->PreguntaTxt), (TwipsBox{200, 200, 15020, 1215}));
    EXPECT_EQ(rowTops(), (std::vector<double>{1665, 2400, 3135, 3870}));
    for (int j = 1; j <= 4; ++j) {
        const double y = rowTops()[static_cast<size_t>(j - 1)];
        EXPECT_EQ(box(w->boton_cruz[j]), (TwipsBox{1920, y - 240, 480, 480}));
        EXPECT_EQ(box(w->boton_flecha[j]), (TwipsBox{1920, y - 240, 480, 480}));
        EXPECT_EQ(box(w->boton_sin[j]), (TwipsBox{2400, y - 240, 480, 480}));
        EXPECT_EQ(box(w->boton_con[j]), (TwipsBox{2400, y - 240, 480, 480}));
        EXPECT_EQ(box(w->NumrespLab[j]), (TwipsBox{2880, y, 495, 375}));
        EXPECT_EQ(box(w->RespuestaTxt[j]), (TwipsBox{3375, y, 15420 - 400 - 3375, 615}));
        EXPECT_EQ(w->NumrespLab[j]->text(), QString::number(j) + u". "_s);
        EXPECT_TRUE(shown(w->NumrespLab[j]));
        EXPECT_TRUE(shown(w->boton_sin[j]));
        EXPECT_FALSE(shown(w->boton_con[j]));
        EXPECT_FALSE(shown(w->boton_cruz[j]));
        EXPECT_FALSE(shown(w->boton_flecha[j]));
    }
    // Final y 4605 is within the 7905-high viewport: no scroll bar.
    EXPECT_FALSE(shown(w->Scroll));
    EXPECT_EQ(box(w->frmExamen), (TwipsBox{0, 0, 15420, 7905}));
    EXPECT_EQ(w->findChild<QWidget*>(u"boton_sin_3"_s), w->boton_sin[3]);
    EXPECT_EQ(w->findChild<QWidget*>(u"RespuestaTxt_4"_s), w->RespuestaTxt[4]);
}

TEST_F(Page, ImageButtonCentredAboveAndEverythingMovesDownByTwiceItsHeight) {
    auto b = ExamBuilder();
    b.pregunta(u"A"_s, u"¿Qué se ve?"_s, {{u"uno"_s}, {u"dos"_s, true}, {u"tres"_s}, {u"cuatro"_s}},
               u"foto.png"_s, pictureBytes(10, 10));
    b.serie(1, {u"A"_s});
    openAndStart(b.build());
    EXPECT_TRUE(shown(w->ImagenBtn));
    EXPECT_EQ(box(w->ImagenBtn), (TwipsBox{(15420 - 3015) / 2.0, 200, 3015, 375}));
    EXPECT_EQ(box(w->PreguntaTxt).top, 950);
    EXPECT_EQ(rowTops(), (std::vector<double>{2415, 3150, 3885, 4620}));
}

TEST_F(Page, RowsFollowAnswerNumbersNotCollectionOrder) {
    ExamBuilder b;
    b.pregunta(u"A"_s, u"?"_s,
               {{u"tercera"_s, false, 3}, {u"primera"_s, false, 1}, {u"segunda"_s, false, 2}});
    b.serie(1, {u"A"_s});
    openAndStart(b.build());
    ASSERT_EQ(w->highestRow(), 3);
    EXPECT_EQ(rowText(1), u"primera"_s);
    EXPECT_EQ(rowText(2), u"segunda"_s);
    EXPECT_EQ(rowText(3), u"tercera"_s);
    EXPECT_EQ(rowTops(), (std::vector<double>{1665, 2400, 3135}));
}

TEST_F(Page, NumberNoAnswerCarriesTakesNoRowAndNoSpace) {
    ExamBuilder b;
    b.pregunta(u"A"_s, u"?"_s,
               {{u"uno"_s, false, 1}, {u"tres"_s, false, 3}, {u"cuatro"_s, false, 4}});
    b.serie(1, {u"A"_s});
    openAndStart(b.build());
    EXPECT_EQ(w->highestRow(), 3) << "numbers 1..3 are looked for (three answers)";
    EXPECT_EQ(frmMain::row(w->boton_sin, 2), nullptr);
    EXPECT_EQ(rowTops(), (std::vector<double>{1665, 2400}));
    EXPECT_EQ(rowText(3), u"tres"_s);
}

TEST_F(Page, TrueFalseShowsTwoUnnumberedRowsWhateverTheAnswers) {
    ExamBuilder b;
    b.verdaderoFalso();
    b.pregunta(u"A"_s, u"El agua hierve a 100 ºC"_s, {{u"cierto"_s, true}, {u"x"_s}, {u"y"_s}});
    b.serie(1, {u"A"_s});
    openAndStart(b.build());
    ASSERT_EQ(w->highestRow(), 2);
    EXPECT_EQ(rowText(1), u"Verdadero"_s);
    EXPECT_EQ(rowText(2), u"Falso"_s);
    for (int j : {1, 2}) {
        EXPECT_FALSE(shown(w->NumrespLab[j]));
        EXPECT_EQ(w->NumrespLab[j]->text(), QString::number(j) + u". "_s);
        EXPECT_EQ(box(w->RespuestaTxt[j]).left, 3375) << "placed after the hidden number";
    }
}

TEST_F(Page, TextsArePlainWithTheExamColourAtTenPoints) {
    ExamBuilder b;
    b.exam().setColorFuente(0x0000FF); // red in the low byte
    b.pregunta(u"A"_s, u"<b>no es marcado</b>"_s, {{u"a < b & c"_s}, {u"x"_s}});
    b.serie(1, {u"A"_s});
    openAndStart(b.build());
    EXPECT_EQ(w->PreguntaTxt->plainText(), u"<b>no es marcado</b>"_s);
    EXPECT_EQ(rowText(1), u"a < b & c"_s);
    for (RichTextBox* t : {w->PreguntaTxt, w->RespuestaTxt[1]}) {
        QTextCursor c(t->document());
        c.setPosition(1);
        EXPECT_EQ(c.charFormat().foreground().color(), QColor(Qt::red));
        EXPECT_EQ(c.charFormat().fontPointSize(), 10);
        EXPECT_FALSE(t->textCursor().hasSelection());
    }
}

TEST_F(Page, StatusLineAndButtonsFollowThePosition) {
    openAndStart(ExamBuilder::simple(3, 2).build());
    EXPECT_EQ(w->PreguntaActualLab->text(), u"Pregunta 1 de 3   (sin responder)"_s);
    EXPECT_FALSE(w->AnteriorBtn->isEnabled());
    EXPECT_TRUE(w->SiguienteBtn->isEnabled());
    w->ShowPregunta(2);
    EXPECT_TRUE(w->AnteriorBtn->isEnabled());
    EXPECT_TRUE(w->SiguienteBtn->isEnabled());
    w->ShowPregunta(3);
    EXPECT_TRUE(w->AnteriorBtn->isEnabled());
    EXPECT_FALSE(w->SiguienteBtn->isEnabled());
    for (QWidget* c :
         {static_cast<QWidget*>(w->frmExterno), static_cast<QWidget*>(w->AnteriorBtn),
          static_cast<QWidget*>(w->SiguienteBtn), static_cast<QWidget*>(w->FinalizarBtn),
          static_cast<QWidget*>(w->PreguntaActualLab)})
        EXPECT_TRUE(shown(c)) << c->objectName().toStdString();
}

TEST_F(Page, SingleQuestionDisablesBothButtons) {
    openAndStart(ExamBuilder::simple(1, 2).build());
    EXPECT_FALSE(w->AnteriorBtn->isEnabled());
    EXPECT_FALSE(w->SiguienteBtn->isEnabled());
}

TEST_F(Page, RecordedMarksAreRestoredAndEvenRowlessOnesCount) {
    openAndStart(ExamBuilder::simple(3, 3).build());
    auto& marks = *state.Resultado->RespuestasKipsa();
    marks.Add(2, 3, u"respuesta23"_s);
    marks.Add(2, 1, u"respuesta21"_s);
    marks.Add(3, 9, u"respuesta39"_s); // no row 9 on question 3
    w->ShowPregunta(2);
    EXPECT_EQ(tickedRows(), (std::vector<int>{1, 3}));
    EXPECT_FALSE(shown(sin(1)));
    EXPECT_TRUE(shown(sin(2)));
    EXPECT_EQ(w->PreguntaActualLab->text(), u"Pregunta 2 de 3"_s);
    w->ShowPregunta(3);
    EXPECT_TRUE(tickedRows().empty());
    EXPECT_EQ(w->PreguntaActualLab->text(), u"Pregunta 3 de 3"_s);
}

TEST_F(Page, MissingPositionBuildsNothingAndKeepsTheViewportHeight) {
    openAndStart(ExamBuilder::simple(2, 4).build());
    w->ShowPregunta(9);
    EXPECT_EQ(w->highestRow(), 0);
    EXPECT_EQ(w->frmExternoTag(), u"9"_s);
    EXPECT_EQ(w->PreguntaActualLab->text(), u"Pregunta 9 de 2   (sin responder)"_s);
    EXPECT_EQ(box(w->frmExamen).height, 7905);
    EXPECT_FALSE(shown(w->Scroll));
    EXPECT_EQ(w->PreguntaTxt->plainText(), u"Texto de la pregunta 1"_s) << "text not replaced";
}

TEST_F(Page, LogoShowsWithTheFirstQuestion) {
    auto b = ExamBuilder::simple(1, 2);
    b.exam().setArchivoLogo(u"logo.png"_s);
    b.exam().setArchivoLogoBinary(pictureBytes(20, 20));
    openAndStart(b.build());
    EXPECT_TRUE(shown(w->LogoImg));
}

struct ScrollCase {
    const char* name;
    double clientHeight; // the viewport is this less 2685 + 120
    int maximum, smallStep, largeStep;
};

void PrintTo(const ScrollCase& c, std::ostream* os) {
    *os << c.name;
}

class PageScroll : public WindowFixture, public ::testing::WithParamInterface<ScrollCase> {};

// Twelve answers end at y = 1665 + 12 * 735 = 10485.
TEST_P(PageScroll, TallPageGetsRangeAndStepsRoundedHalfToEven) {
    const ScrollCase& c = GetParam();
    w->setClientSizeTwips(frmMain::DesignedClientWidth, c.clientHeight);
    openAndStart(ExamBuilder::simple(1, 12).build());
    EXPECT_TRUE(shown(w->Scroll));
    EXPECT_EQ(box(w->frmExamen).height, 10485);
    EXPECT_EQ(w->Scroll->minimum(), 0);
    EXPECT_EQ(w->Scroll->maximum(), c.maximum);
    EXPECT_EQ(w->Scroll->singleStep(), c.smallStep);
    EXPECT_EQ(w->Scroll->pageStep(), c.largeStep);
    EXPECT_EQ(w->Scroll->value(), 0);
}

INSTANTIATE_TEST_SUITE_P(Ranges, PageScroll,
                         ::testing::Values(
                             // max 2580: steps 258 and 860
                             ScrollCase{"Designed", 10710, 2580, 258, 860},
                             // max 2585: 258.5 goes down to 258, 861.67 up to 862
                             ScrollCase{"HalfGoesDownToEven", 10705, 2585, 258, 862},
                             // max 2575: 257.5 goes up to 258
                             ScrollCase{"HalfGoesUpToEven", 10715, 2575, 258, 858}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Page, NextQuestionStartsAtTheTopAndShortPagesDropTheScrollBar) {
    auto b = ExamBuilder::simple(1, 12);
    b.pregunta(u"C"_s, u"corta"_s, {{u"a"_s}, {u"b"_s}});
    b.exam().Series()->Item(1)->PreguntasSerie()->Add(u"C"_s, 2, 1, u"preguntaC"_s);
    ExamBuilder::install(state, b.build());
    state.TotalPreguntas = 2;
    w->ReadyToGo();
    w->InfoExamen();
    w->EmpezarBtn->click();
    w->Scroll->setValue(1000);
    EXPECT_EQ(box(w->frmExamen).top, -1000);
    w->ShowPregunta(2);
    EXPECT_FALSE(shown(w->Scroll));
    EXPECT_EQ(box(w->frmExamen), (TwipsBox{0, 0, 15420, 7905}));
    w->ShowPregunta(1);
    EXPECT_EQ(w->Scroll->value(), 0);
    EXPECT_EQ(box(w->frmExamen).top, 0);
}

} // namespace
