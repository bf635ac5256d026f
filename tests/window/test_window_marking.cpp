// Marking and unmarking answers, single-answer mode, the refusal after the end, navigation and
// the keys of colliding marks.
#include "Pictures.h"
#include "WindowFixture.h"

#include <QDialog>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

using Marks = std::vector<std::pair<int, int>>;

class Marking : public WindowFixture {
protected:
    void click(QWidget* target) {
        ASSERT_NE(target, nullptr);
        QTest::mouseClick(target, Qt::LeftButton);
    }
    QStringList keys() const {
        QStringList out;
        for (const auto& e : *state.Resultado->RespuestasKipsa())
            out << e->Key();
        return out;
    }
    void startAt(std::shared_ptr<KipsaPrubex> exam, qint16 question) {
        openAndStart(std::move(exam));
        w->show();
        w->ShowPregunta(question);
    }
};

TEST_F(Marking, MarksAccumulateInTheOrderMadeAndUnmarkRemovesOnlyThatOne) {
    startAt(ExamBuilder::simple(3, 4).build(), 2);
    click(sin(1));
    click(sin(3));
    EXPECT_EQ(recorded(), (Marks{{2, 1}, {2, 3}}));
    EXPECT_EQ(keys(), (QStringList{u"respuesta21"_s, u"respuesta23"_s}));
    EXPECT_EQ(tickedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(w->PreguntaActualLab->text(), u"Pregunta 2 de 3   (sin responder)"_s)
        << "the status line is redrawn with the page only";

    click(con(1));
    EXPECT_EQ(recorded(), (Marks{{2, 3}}));
    EXPECT_EQ(tickedRows(), (std::vector<int>{3}));
    EXPECT_TRUE(shown(sin(1)));
}

TEST_F(Marking, SingleAnswerModeReplacesThePreviousMark) {
    auto b = ExamBuilder::simple(3, 4);
    b.exam().setSoloUnaRespuesta(true);
    startAt(b.build(), 2);
    click(sin(1));
    click(sin(3));
    EXPECT_EQ(recorded(), (Marks{{2, 3}}));
    EXPECT_EQ(tickedRows(), (std::vector<int>{3}));
    EXPECT_TRUE(shown(sin(1)));
    EXPECT_FALSE(shown(con(1)));
}

TEST_F(Marking, TrueFalseKeepsOnlyTheLastChoice) {
    ExamBuilder b;
    b.verdaderoFalso();
    b.pregunta(u"A"_s, u"?"_s, {{u"v"_s, true}});
    b.serie(1, {u"A"_s});
    startAt(b.build(), 1);
    click(sin(1));
    click(sin(2));
    EXPECT_EQ(recorded(), (Marks{{1, 2}}));
    EXPECT_EQ(tickedRows(), (std::vector<int>{2}));
}

TEST_F(Marking, TrueFalseWithoutSingleAnswerLetsBothRowsBeMarked) {
    ExamBuilder b;
    b.verdaderoFalso();
    b.exam().setSoloUnaRespuesta(false);
    b.pregunta(u"A"_s, u"?"_s, {{u"v"_s, true}});
    b.serie(1, {u"A"_s});
    startAt(b.build(), 1);
    click(sin(1));
    click(sin(2));
    EXPECT_EQ(recorded(), (Marks{{1, 1}, {1, 2}}));
}

TEST_F(Marking, MarkingTwiceRecordsOnce) {
    startAt(ExamBuilder::simple(1, 3).build(), 1);
    w->boton_sin_Click(2);
    w->boton_sin_Click(2);
    EXPECT_EQ(recorded(), (Marks{{1, 2}}));
}

TEST_F(Marking, AfterTheEndEveryBoxRefusesAndNothingChanges) {
    startAt(ExamBuilder::simple(2, 3).build(), 1);
    click(sin(2));
    state.ExamenEnCurso = false; // as the finish leaves it
    click(sin(1));
    click(con(2));
    ASSERT_EQ(prompts.messages.size(), 2u);
    for (const auto& m : prompts.messages) {
        EXPECT_EQ(m.title, u"Atención"_s);
        EXPECT_EQ(m.text, u"El examen ha finalizado, no puede modificar resultados"_s);
        EXPECT_EQ(m.icon, PromptIcon::Information);
        EXPECT_EQ(m.buttons, PromptButtons::Ok);
    }
    EXPECT_EQ(recorded(), (Marks{{1, 2}}));
    EXPECT_EQ(tickedRows(), (std::vector<int>{2}));
    // Paging through the finished exam still works.
    click(w->SiguienteBtn);
    EXPECT_EQ(w->frmExternoTag(), u"2"_s);
    click(w->AnteriorBtn);
    EXPECT_EQ(w->frmExternoTag(), u"1"_s);
    EXPECT_EQ(tickedRows(), (std::vector<int>{2}));
}

TEST_F(Marking, GoingAwayAndBackShowsExactlyTheRecordedMarks) {
    startAt(ExamBuilder::simple(3, 4).build(), 1);
    click(sin(4));
    click(w->SiguienteBtn);
    EXPECT_EQ(w->frmExternoTag(), u"2"_s);
    EXPECT_TRUE(tickedRows().empty());
    click(sin(2));
    click(w->SiguienteBtn);
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
    ExamBuilder b;
    QStringList ids;
    for (int q = 1; q <= 11; ++q) {
        std::vector<ExamBuilder::Answer> answers;
        for (int a = 1; a <= 12; ++a)
            answers.push_back({u"r%1"_s.arg(a)});
        b.pregunta(u"P%1"_s.arg(q), u"?"_s, answers);
        ids << u"P%1"_s.arg(q);
    }
    b.serie(1, ids);
    startAt(b.build(), 1);
    click(sin(12));
    w->ShowPregunta(11);
    click(sin(2));
    EXPECT_EQ(recorded(), (Marks{{1, 12}, {11, 2}}));
    EXPECT_EQ(keys()[0], u"respuesta112"_s);
    EXPECT_NE(keys()[1], keys()[0]);
    EXPECT_EQ(tickedRows(), (std::vector<int>{2}));

    w->ShowPregunta(1);
    EXPECT_EQ(tickedRows(), (std::vector<int>{12}));
    EXPECT_EQ(w->PreguntaActualLab->text(), u"Pregunta 1 de 11"_s);

    // Each is removed on its own.
    w->ShowPregunta(11);
    click(con(2));
    EXPECT_EQ(recorded(), (Marks{{1, 12}}));
    click(sin(2));
    EXPECT_EQ(recorded(), (Marks{{1, 12}, {11, 2}}));
}

TEST_F(Marking, ScrollBarMovesThePage) {
    startAt(ExamBuilder::simple(1, 12).build(), 1);
    w->Scroll->setValue(700);
    EXPECT_EQ(box(w->frmExamen).top, -700);
    w->Scroll->setValue(w->Scroll->maximum());
    EXPECT_EQ(box(w->frmExamen).top + box(w->frmExamen).height, box(w->frmExterno).height)
        << "the maximum aligns the page's bottom with the viewport's";
}

TEST_F(Marking, ImageButtonOpensTheViewerModallyOnTheQuestionShown) {
    ExamBuilder b;
    b.pregunta(u"A"_s, u"sin imagen"_s, {{u"a"_s}, {u"b"_s}});
    b.pregunta(u"B"_s, u"con imagen"_s, {{u"a"_s}, {u"b"_s}}, u"mapa.png"_s, pictureBytes(40, 30));
    b.serie(1, {u"A"_s, u"B"_s});
    startAt(b.build(), 2);
    QSize seen;
    prompts.onModal = [&](QDialog& d) {
        if (auto* img = d.findChild<ImageBox*>(u"Imagen"_s))
            seen = img->picture().size();
    };
    click(w->ImagenBtn);
    EXPECT_EQ(prompts.modalWindows, (std::vector<QString>{u"frmImagen"_s}));
    EXPECT_EQ(seen, QSize(40, 30));
}

} // namespace
