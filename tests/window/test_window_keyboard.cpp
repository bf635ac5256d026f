// The exam from the keyboard: focus on the briefing, Enter on "Empezar", the mark boxes in row
// order with Space through the click handlers (both marking modes, the refusal after the end),
// the arrows between rows, Page Up/Down and the wheel over the page, the navigation shortcuts.
#include "WindowFixture.h"

#include "widgets/MarkBox.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

class Keyboard : public WindowFixture {
protected:
    // The window on screen and active, as shortcuts and Tab need it.
    void activate() {
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return w->isActiveWindow(); }, 2000));
    }
    QString focused() const {
        const QWidget* f = QApplication::focusWidget();
        return f ? f->objectName() : u"(none)"_s;
    }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : w.get(), Qt::Key(k), mods);
    }
    // An exam asking for a name (field 1), a course (field 3) and the results path.
    static std::shared_ptr<KipsaPrubex> briefingExam() {
        auto exam = TestExamBuilder::simple(3, 4).build();
        exam->setDatoAlumno(1, u"Nombre"_s);
        exam->setDatoAlumno(3, u"Curso"_s);
        exam->setAlumnoDefineArchivoResultados(true);
        exam->setGuardarArchivoResultados(true);
        return exam;
    }
};

TEST_F(Keyboard, BriefingStartsInTheFirstFieldAndTabGoesFieldsPathEmpezar) {
    open(briefingExam());
    EXPECT_EQ(w->focusWidget(), dato(1));
    activate();
    QStringList order{focused()};
    for (int i = 0; i < 6; ++i) {
        key(Qt::Key_Tab);
        order << focused();
    }
    EXPECT_EQ(order,
              (QStringList{u"dato1Txt"_s, u"dato3Txt"_s, u"ArchivoTxt"_s, u"BuscarArchivoBtn"_s,
                           u"BorrarBtn"_s, u"EmpezarBtn"_s, u"dato1Txt"_s}));
}

// Enter on "Empezar" or in a field presses "Empezar"; from the results path the box is left
// first, so ".kxa" is added as a click would add it.
TEST_F(Keyboard, EnterPressesEmpezarFromTheButtonAndTheFields) {
    const struct {
        const char* name;
        const char* from;
        const char16_t* typed;
    } cases[] = {{"Button", "EmpezarBtn", u"res.kxa"},
                 {"NameField", "dato1Txt", u"res.kxa"},
                 {"ResultsPath", "ArchivoTxt", u"res"}};
    QTemporaryDir dir;
    for (const auto& c : cases) {
        renew();
        open(briefingExam());
        activate();
        dato(1)->setText(u"Ana"_s);
        dato(3)->setText(u"2B"_s);
        edit("ArchivoTxt")->setText(dir.filePath(QString::fromUtf16(c.typed)));
        widget(c.from)->setFocus();
        key(Qt::Key_Return);
        EXPECT_TRUE(state.ExamenEnCurso) << c.name;
        EXPECT_EQ(state.Resultado->ArchivoSalida(), dir.filePath(u"res.kxa"_s)) << c.name;
        EXPECT_EQ(focused(), u"boton_sin_1"_s) << c.name;
        w->hide();
    }
}

// Space on the focused box goes through the click handlers: marks accumulate or replace each
// other as the exam says, the focus stays on the row, the arrows walk the rows and stop at the
// ends, and after the end Space is refused like a click.
TEST_F(Keyboard, SpaceMarksThroughTheClickHandlersAndArrowsWalkTheRows) {
    const struct {
        const char* name;
        bool single;
        std::vector<std::pair<int, int>> marks;
        std::vector<int> ticked;
    } cases[] = {
        {"Normal", false, {{1, 3}}, {3}},
        {"SingleAnswer", true, {{1, 3}}, {3}},
    };
    for (const auto& c : cases) {
        renew();
        auto exam = TestExamBuilder::simple(2, 4).build();
        exam->setSoloUnaRespuesta(c.single);
        openAndStart(exam);
        activate();
        EXPECT_EQ(focused(), u"boton_sin_1"_s) << c.name;
        key(Qt::Key_Space); // mark 1
        EXPECT_EQ(focused(), u"boton_con_1"_s) << c.name;
        key(Qt::Key_Down);
        key(Qt::Key_Right);
        key(Qt::Key_Space); // mark 3
        key(Qt::Key_Up);
        key(Qt::Key_Left);
        key(Qt::Key_Up); // stays on row 1
        EXPECT_EQ(focused(), c.single ? u"boton_sin_1"_s : u"boton_con_1"_s) << c.name;
        if (!c.single)
            key(Qt::Key_Space); // unmark 1
        EXPECT_EQ(recorded(), c.marks) << c.name;
        EXPECT_EQ(tickedRows(), c.ticked) << c.name;
        for (int i = 0; i < 5; ++i)
            key(Qt::Key_Down);
        EXPECT_EQ(focused(), u"boton_sin_4"_s) << c.name;

        prompts.answers = {PromptAnswer::Yes};
        button("FinalizarBtn")->click();
        prompts.messages.clear();
        con(3)->setFocus();
        key(Qt::Key_Space);
        ASSERT_EQ(prompts.messages.size(), 1u) << c.name;
        EXPECT_EQ(prompts.messages[0].text,
                  u"El examen ha finalizado, no puede modificar resultados"_s);
        EXPECT_EQ(recorded(), c.marks) << c.name;
        w->hide();
    }
}

// Tab on the page: the navigation buttons, the boxes in row order, "Finalizar Examen"; never a
// text box (they still take a click).
TEST_F(Keyboard, TabOnThePageReachesTheBoxesInRowOrderAndNoText) {
    TestExamBuilder b;
    b.pregunta(u"A"_s, u"?"_s, {{u"c"_s, false, 3}, {u"a"_s, false, 1}, {u"b"_s, false, 2}});
    b.pregunta(u"B"_s, u"?"_s, {{u"x"_s}});
    openAndStart(b.serie(1, {u"A"_s, u"B"_s}).build());
    activate();
    QStringList order{focused()};
    for (int i = 0; i < 5; ++i) {
        key(Qt::Key_Tab);
        order << focused();
    }
    EXPECT_EQ(order, (QStringList{u"boton_sin_1"_s, u"boton_sin_2"_s, u"boton_sin_3"_s,
                                  u"FinalizarBtn"_s, u"SiguienteBtn"_s, u"boton_sin_1"_s}));
    EXPECT_EQ(control<RichTextBox>(u"PreguntaTxt"_s)->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(rowControl<RichTextBox>("RespuestaTxt", 2)->focusPolicy(), Qt::ClickFocus);
}

// Alt+Right and Alt+S go on, Alt+Left goes back, through the buttons (nothing past either end);
// the focus keeps its row on the new page.
TEST_F(Keyboard, ShortcutsMoveBetweenQuestionsThroughTheButtons) {
    openAndStart(TestExamBuilder::simple(3, 4).build());
    activate();
    key(Qt::Key_Down);
    const struct {
        Qt::Key key;
        const char16_t* tag;
    } steps[] = {{Qt::Key_Left, u"1"}, {Qt::Key_Right, u"2"}, {Qt::Key_S, u"3"},
                 {Qt::Key_S, u"3"},    {Qt::Key_Left, u"2"},  {Qt::Key_Left, u"1"}};
    for (const auto& s : steps) {
        key(s.key, Qt::AltModifier);
        EXPECT_EQ(w->frmExternoTag(), QString::fromUtf16(s.tag)) << int(s.key);
        EXPECT_EQ(focused(), u"boton_sin_2"_s) << int(s.key);
    }
}

// Page Down and Up move the page by the scroll bar's large step, the wheel anywhere over the page
// as it moves the bar, and a box reached below the viewport brings its row into view; the
// page's top always follows the bar's value.
TEST_F(Keyboard, PageKeysWheelAndFocusScrollThePageThroughTheScrollBar) {
    openAndStart(TestExamBuilder::simple(1, 12).build());
    activate();
    QScrollBar* bar = scroll();
    const auto pageTop = [&] { return box(widget("frmExamen")).top; };
    ASSERT_FALSE(bar->isHidden());
    key(Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), bar->pageStep());
    EXPECT_EQ(pageTop(), -bar->pageStep());
    key(Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), 0);

    QWheelEvent down(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &down);
    const int byBar = bar->value();
    ASSERT_GT(byBar, 0);
    bar->setValue(0);
    // Wheel events over the page's controls come up to the page's frame (not sent ones: Qt
    // passes only real wheel events on to the parents).
    QWheelEvent again(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget("frmExterno"), &again);
    EXPECT_EQ(bar->value(), byBar);
    EXPECT_EQ(pageTop(), -byBar);
    bar->setValue(0);

    for (int i = 1; i < 12; ++i)
        key(Qt::Key_Down);
    EXPECT_EQ(focused(), u"boton_sin_12"_s);
    const TwipsBox last = box(rowControl<RichTextBox>("RespuestaTxt", 12));
    EXPECT_LE(last.bottom(), bar->value() + box(widget("frmExterno")).height);
    EXPECT_EQ(pageTop(), -bar->value());
}

} // namespace
