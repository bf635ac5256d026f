// The question page: layout in twips, rows in number order, true/false rows, marks restored,
// status line and scroll range; marking and unmarking in both modes, the refusal after the end,
// navigation and the keys of colliding marks.
#include "WindowFixture.h"

#include <QTest>
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
    // Starts a one-question exam whose answers are given.
    void startWith(const std::vector<ExamBuilder::Answer>& answers, bool trueFalse = false) {
        ExamBuilder b;
        if (trueFalse)
            b.verdaderoFalso();
        b.pregunta(u"A"_s, u"?"_s, answers);
        b.serie(1, {u"A"_s});
        openAndStart(b.build());
    }
};

TEST_F(Page, WorkedExampleWithoutImageHoldsToTheTwip) {
    openAndStart(ExamBuilder::simple(2, 4).build());
    EXPECT_EQ(box(w->PreguntaTxt), (TwipsBox{200, 200, 15020, 1215}));
    EXPECT_EQ(rowTops(), (std::vector<double>{1665, 2400, 3135, 3870}));
    for (int j = 1; j <= 4; ++j) {
        SCOPED_TRACE(j);
        const double y = rowTops()[static_cast<size_t>(j - 1)];
        EXPECT_EQ(box(w->boton_cruz[j]), (TwipsBox{1920, y - 240, 480, 480}));
        EXPECT_EQ(box(w->boton_flecha[j]), (TwipsBox{1920, y - 240, 480, 480}));
        EXPECT_EQ(box(w->boton_sin[j]), (TwipsBox{2400, y - 240, 480, 480}));
        EXPECT_EQ(box(w->boton_con[j]), (TwipsBox{2400, y - 240, 480, 480}));
        EXPECT_EQ(box(w->NumrespLab[j]), (TwipsBox{2880, y, 495, 375}));
        EXPECT_EQ(box(w->RespuestaTxt[j]), (TwipsBox{3375, y, 15420 - 400 - 3375, 615}));
        EXPECT_EQ(w->NumrespLab[j]->text(), QString::number(j) + u". "_s);
        EXPECT_TRUE(shown(w->NumrespLab[j]) && shown(w->boton_sin[j]));
        EXPECT_FALSE(shown(w->boton_con[j]) || shown(w->boton_cruz[j]) ||
                     shown(w->boton_flecha[j]));
    }
    // Final y 4605 is within the 7905-high viewport: no scroll bar.
    EXPECT_FALSE(shown(w->Scroll));
    EXPECT_EQ(box(w->frmExamen), (TwipsBox{0, 0, 15420, 7905}));
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
    startWith({{u"tercera"_s, false, 3}, {u"primera"_s, false, 1}, {u"segunda"_s, false, 2}});
    ASSERT_EQ(w->highestRow(), 3);
    EXPECT_EQ(rowText(1), u"primera"_s);
    EXPECT_EQ(rowText(2), u"segunda"_s);
    EXPECT_EQ(rowText(3), u"tercera"_s);
    EXPECT_EQ(rowTops(), (std::vector<double>{1665, 2400, 3135}));
}

TEST_F(Page, NumberNoAnswerCarriesTakesNoRowAndNoSpace) {
    startWith({{u"uno"_s, false, 1}, {u"tres"_s, false, 3}, {u"cuatro"_s, false, 4}});
    EXPECT_EQ(w->highestRow(), 3) << "numbers 1..3 are looked for (three answers)";
    EXPECT_EQ(frmMain::row(w->boton_sin, 2), nullptr);
    EXPECT_EQ(rowTops(), (std::vector<double>{1665, 2400}));
    EXPECT_EQ(rowText(3), u"tres"_s);
}

TEST_F(Page, TrueFalseShowsTwoUnnumberedRowsWhateverTheAnswers) {
    startWith({{u"cierto"_s, true}, {u"x"_s}, {u"y"_s}}, true);
    ASSERT_EQ(w->highestRow(), 2);
    EXPECT_EQ(rowText(1), u"Verdadero"_s);
    EXPECT_EQ(rowText(2), u"Falso"_s);
    EXPECT_FALSE(w->AnteriorBtn->isEnabled() || w->SiguienteBtn->isEnabled()) << "one question";
    for (int j : {1, 2}) {
        EXPECT_FALSE(shown(w->NumrespLab[j]));
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
    }
}

TEST_F(Page, RecordedMarksAreRestoredAndEvenRowlessOnesCount) {
    openAndStart(ExamBuilder::simple(3, 3).build());
    EXPECT_EQ(w->PreguntaActualLab->text(), u"Pregunta 1 de 3   (sin responder)"_s);
    auto& marks = *state.Resultado->RespuestasKipsa();
    marks.Add(2, 3, u"respuesta23"_s);
    marks.Add(2, 1, u"respuesta21"_s);
    marks.Add(3, 9, u"respuesta39"_s); // no row 9 on question 3
    w->ShowPregunta(2);
    EXPECT_EQ(tickedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(w->PreguntaActualLab->text(), u"Pregunta 2 de 3"_s);
    w->ShowPregunta(3);
    EXPECT_TRUE(tickedRows().empty());
    EXPECT_EQ(w->PreguntaActualLab->text(), u"Pregunta 3 de 3"_s);
}

// Twelve answers end at y = 1665 + 12 * 735 = 10485.
TEST_F(Page, TallPageGetsRangeAndStepsRoundedHalfToEven) {
    const struct {
        const char* name;
        double clientHeight; // the viewport is this less 2685 + 120
        int maximum, smallStep, largeStep;
    } cases[] = {
        {"Designed", 10710, 2580, 258, 860},
        {"HalfGoesDownToEven", 10705, 2585, 258, 862}, // 258.5 down to 258, 861.67 up to 862
        {"HalfGoesUpToEven", 10715, 2575, 258, 858},   // 257.5 up to 258
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew(c.clientHeight);
        openAndStart(ExamBuilder::simple(1, 12).build());
        EXPECT_TRUE(shown(w->Scroll));
        EXPECT_EQ(box(w->frmExamen).height, 10485);
        EXPECT_EQ(w->Scroll->maximum(), c.maximum);
        EXPECT_EQ(w->Scroll->singleStep(), c.smallStep);
        EXPECT_EQ(w->Scroll->pageStep(), c.largeStep);
    }
}

TEST_F(Page, ScrollBarMovesThePageAndEachQuestionStartsAtTheTop) {
    auto b = ExamBuilder::simple(1, 12);
    b.pregunta(u"C"_s, u"corta"_s, {{u"a"_s}, {u"b"_s}});
    b.exam().Series()->Item(1)->PreguntasSerie()->Add(u"C"_s, 2, 1, u"preguntaC"_s);
    openAndStart(b.build());
    w->Scroll->setValue(1000);
    EXPECT_EQ(box(w->frmExamen).top, -1000);
    w->Scroll->setValue(w->Scroll->maximum());
    EXPECT_EQ(box(w->frmExamen).top + box(w->frmExamen).height, box(w->frmExterno).height)
        << "the maximum aligns the page's bottom with the viewport's";
    w->ShowPregunta(2);
    EXPECT_FALSE(shown(w->Scroll));
    EXPECT_EQ(box(w->frmExamen), (TwipsBox{0, 0, 15420, 7905}));
    w->ShowPregunta(1);
    EXPECT_EQ(w->Scroll->value(), 0);
    EXPECT_EQ(box(w->frmExamen).top, 0);
}

using Marks = std::vector<std::pair<int, int>>;

class Marking : public WindowFixture {
protected:
    void click(QWidget* target) {
        ASSERT_NE(target, nullptr);
        QTest::mouseClick(target, Qt::LeftButton);
    }
    void startAt(std::shared_ptr<KipsaPrubex> exam, qint16 question) {
        openAndStart(std::move(exam));
        w->show();
        w->ShowPregunta(question);
    }
};

TEST_F(Marking, MarksFollowTheModeOfTheExam) {
    enum Kind { Multiple, Single, TrueFalse, TrueFalseMultiple };
    const struct {
        const char* name;
        Kind kind;
        std::vector<int> rows; // the unticked boxes pressed, in order
        Marks marks;
        std::vector<int> ticked;
    } cases[] = {
        {"MultipleKeepsTheOrderMade", Multiple, {1, 3}, {{1, 1}, {1, 3}}, {1, 3}},
        {"SingleAnswerReplaces", Single, {1, 3}, {{1, 3}}, {3}},
        {"TrueFalseKeepsTheLastChoice", TrueFalse, {1, 2}, {{1, 2}}, {2}},
        {"TrueFalseMultipleKeepsBoth", TrueFalseMultiple, {1, 2}, {{1, 1}, {1, 2}}, {1, 2}},
        {"TwiceRecordsOnce", Multiple, {2, 2}, {{1, 2}}, {2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        auto b = ExamBuilder::simple(1, 4);
        if (c.kind == TrueFalse || c.kind == TrueFalseMultiple)
            b.verdaderoFalso();
        b.exam().setSoloUnaRespuesta(c.kind == Single || c.kind == TrueFalse);
        startAt(b.build(), 1);
        for (int j : c.rows)
            w->boton_sin_Click(static_cast<qint16>(j));
        EXPECT_EQ(recorded(), c.marks);
        EXPECT_EQ(tickedRows(), c.ticked);
        for (int j = 1; j <= w->highestRow(); ++j)
            EXPECT_NE(shown(sin(j)), shown(con(j))) << "row " << j;
    }
}

TEST_F(Marking, AfterTheEndEveryBoxRefusesAndNothingChanges) {
    startAt(ExamBuilder::simple(2, 3).build(), 1);
    click(sin(2));
    state.ExamenEnCurso = false; // as the finish leaves it
    click(sin(1));
    click(con(2));
    ASSERT_EQ(prompts.messages.size(), 2u);
    prompts.messages.pop_back();
    expectOnlyMessage(u"El examen ha finalizado, no puede modificar resultados"_s,
                      PromptIcon::Information);
    EXPECT_EQ(recorded(), (Marks{{1, 2}}));
    EXPECT_EQ(tickedRows(), (std::vector<int>{2}));
    // Paging through the finished exam still works.
    click(w->SiguienteBtn);
    EXPECT_EQ(w->frmExternoTag(), u"2"_s);
    click(w->AnteriorBtn);
    EXPECT_EQ(tickedRows(), (std::vector<int>{2}));
}

TEST_F(Marking, GoingAwayAndBackShowsExactlyTheRecordedMarks) {
    startAt(ExamBuilder::simple(3, 4).build(), 1);
    EXPECT_FALSE(w->AnteriorBtn->isEnabled());
    click(sin(4));
    click(w->SiguienteBtn);
    EXPECT_TRUE(tickedRows().empty());
    EXPECT_TRUE(w->AnteriorBtn->isEnabled() && w->SiguienteBtn->isEnabled());
    click(sin(2));
    click(w->SiguienteBtn);
    EXPECT_FALSE(w->SiguienteBtn->isEnabled()) << "at the last question";
    click(w->AnteriorBtn);
    click(w->AnteriorBtn);
    EXPECT_EQ(w->frmExternoTag(), u"1"_s);
    EXPECT_EQ(tickedRows(), (std::vector<int>{4}));
    EXPECT_EQ(w->PreguntaActualLab->text(), u"Pregunta 1 de 3"_s);
    click(w->SiguienteBtn);
    EXPECT_EQ(tickedRows(), (std::vector<int>{2}));
}

// Question 1 answer 12 and question 11 answer 2 both spell "respuesta112".
TEST_F(Marking, CollidingKeysAreBothRecordedAndCounted) {
    startAt(ExamBuilder::simple(11, 12).build(), 1);
    click(sin(12));
    w->ShowPregunta(11);
    click(sin(2));
    EXPECT_EQ(recorded(), (Marks{{1, 12}, {11, 2}}));
    const auto& marks = *state.Resultado->RespuestasKipsa();
    EXPECT_EQ(marks.Item(1)->Key(), u"respuesta112"_s);
    EXPECT_NE(marks.Item(2)->Key(), marks.Item(1)->Key());
    EXPECT_EQ(tickedRows(), (std::vector<int>{2}));

    w->ShowPregunta(1);
    EXPECT_EQ(tickedRows(), (std::vector<int>{12}));

    // Each is removed on its own.
    w->ShowPregunta(11);
    click(con(2));
    EXPECT_EQ(recorded(), (Marks{{1, 12}}));
    click(sin(2));
    EXPECT_EQ(recorded(), (Marks{{1, 12}, {11, 2}}));
}

} // namespace
