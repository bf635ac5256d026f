#include "FinishFixture.h"

using namespace Qt::StringLiterals;

namespace kp::test {
namespace {

// What the review shows on a row: '>' arrow, 'x' cross, '.' nothing (both at once is '!').
class Review : public FinishFixture {
protected:
    QString images() const {
        QString out;
        for (int j = 1; j <= w->highestRow(); ++j) {
            const bool arrow = shown(frmMain::row(w->boton_flecha, j));
            const bool cross = shown(frmMain::row(w->boton_cruz, j));
            out += arrow && cross ? u'!' : arrow ? u'>' : cross ? u'x' : u'.';
        }
        return out;
    }
    void startReviewed(std::shared_ptr<KipsaPrubex> e) {
        e->setGuardarArchivoResultados(false);
        e->setMostrarNota(false);
        start(std::move(e));
    }
};

TEST_F(Review, MultipleChoiceArrowsOnMissedRightAnswersCrossesOnWrongChoices) {
    ExamBuilder b;
    b.pregunta(u"A"_s, u"a"_s, {{u"1"_s, true}, {u"2"_s, false}, {u"3"_s, true}, {u"4"_s, false}});
    b.pregunta(u"B"_s, u"b"_s, {{u"1"_s, false}, {u"2"_s, true}, {u"3"_s, true}});
    b.pregunta(u"C"_s, u"c"_s, {{u"1"_s, true}, {u"2"_s, false}});
    b.serie(1, {u"A"_s, u"B"_s, u"C"_s});
    auto e = b.build();
    e->setDatoAlumno(1, u"Nombre"_s);
    e->setMostrarFallos(true);
    startReviewed(e);
    w->boton_sin_Click(1);
    w->boton_sin_Click(2);    // A: right 1 and 3, chose 1 and 2
    w->SiguienteBtn->click(); // B: nothing chosen
    w->SiguienteBtn->click();
    w->boton_sin_Click(1); // C: all right
    w->AnteriorBtn->click();
    w->AnteriorBtn->click();
    EXPECT_EQ(images(), u"...."_s); // no review during the exam

    finishByRequest(); // on display: question 1
    EXPECT_EQ(images(), u".x>."_s);
    w->SiguienteBtn->click();
    EXPECT_EQ(images(), u".>>"_s);
    w->SiguienteBtn->click();
    EXPECT_EQ(images(), u".."_s);
    w->AnteriorBtn->click();
    w->AnteriorBtn->click();
    EXPECT_EQ(images(), u".x>."_s); // drawn again, annotated again the same
    EXPECT_EQ(tickedRows(), (std::vector<int>{1, 2}));
}

TEST_F(Review, ReviewAnnotatesThePageOnDisplayAtTheEnd) {
    startReviewed(exam(3, 3));
    w->SiguienteBtn->click();
    w->boton_sin_Click(3);
    finishByRequest();
    EXPECT_EQ(w->frmExternoTag(), u"2"_s);
    EXPECT_EQ(images(), u">.x"_s);
}

TEST_F(Review, TrueFalseFollowsTheTableForEveryChoice) {
    const struct {
        const char* name;
        bool statementTrue;
        std::vector<int> marks; // rows clicked, in order
        const char16_t* shown;
    } cases[] = {
        {"blank, true", true, {}, u">."},
        {"blank, false", false, {}, u".>"},
        {"Verdadero, true", true, {1}, u".."},
        {"Verdadero, false", false, {1}, u"x>"},
        {"Falso, true", true, {2}, u">x"},
        {"Falso, false", false, {2}, u".."},
        {"both marked count as Verdadero", false, {2, 1}, u"x>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        ExamBuilder b;
        b.verdaderoFalso().pregunta(u"V"_s, u"v"_s,
                                    {{u"Verdadero"_s, c.statementTrue}, {u"Falso"_s, false}});
        b.serie(1, {u"V"_s});
        auto e = b.build();
        e->setSoloUnaRespuesta(false); // lets both rows be marked
        e->setDatoAlumno(1, u"Nombre"_s);
        e->setMostrarFallos(true);
        startReviewed(e);
        for (int j : c.marks)
            w->boton_sin_Click(j);
        finishByRequest();
        EXPECT_EQ(images(), QString::fromUtf16(c.shown));
    }
}

TEST_F(Review, TrueFalseWithoutAnswersCountsAsFalse) {
    ExamBuilder b;
    b.verdaderoFalso().pregunta(u"V"_s, u"v"_s, {});
    b.serie(1, {u"V"_s});
    auto e = b.build();
    e->setDatoAlumno(1, u"Nombre"_s);
    e->setMostrarFallos(true);
    startReviewed(e);
    finishByRequest();
    EXPECT_EQ(images(), u".>"_s);
}

TEST_F(Review, ExamWithoutReviewNeverShowsArrowsOrCrosses) {
    auto e = exam(2, 3);
    e->setMostrarFallos(false);
    startReviewed(e);
    w->boton_sin_Click(2);
    finishByRequest();
    EXPECT_EQ(images(), u"..."_s);
    w->SiguienteBtn->click();
    EXPECT_EQ(images(), u"..."_s);
}

} // namespace
} // namespace kp::test
