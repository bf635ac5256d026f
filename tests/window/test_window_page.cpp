// The question page: layout in twips, rows in number order, true/false rows, status line and
// scroll range; marking in both modes, marks restored, the refusal after the end and the keys
// of colliding marks; the image viewer's scaling and pictures decoded in a private folder.
#include "WindowFixture.h"

#include "widgets/PictureFile.h"
#include "window/frmImagen.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

using Marks = std::vector<std::pair<int, int>>;

using Page = WindowFixture;

// Four answers with a picture: its button, centred above, moves everything
// down by twice its height (750) and opens the viewer on the picture, decoded whatever its name
// says.
TEST_F(Page, WorkedExampleHoldsToTheTwip) {
    TestExamBuilder b;
    b.pregunta(u"A"_s, u"?"_s, {{u"uno"_s}, {u"dos"_s, true}, {u"tres"_s}, {u"cuatro"_s}},
               u"mapa.jpg"_s, pictureBytes(600, 400));
    openAndStart(b.serie(1, {u"A"_s}).build());
    EXPECT_EQ(box(button("ImagenBtn")), (TwipsBox{(15420 - 3015) / 2.0, 200, 3015, 375}));
    EXPECT_EQ(box(control<RichTextBox>(u"PreguntaTxt"_s)), (TwipsBox{200, 200 + 750, 15020, 1215}));
    for (int j = 1; j <= 4; ++j) {
        const double y = 1665 + 750 + 735 * (j - 1);
        EXPECT_EQ(box(sin(j)), (TwipsBox{2400, y - 240, 480, 480})) << j;
        EXPECT_EQ(box(rowControl<RichTextBox>("RespuestaTxt", j)),
                  (TwipsBox{3375, y, 15420 - 400 - 3375, 615}))
            << j;
    }
    prompts.onModal = [&](QDialog& d) {
        EXPECT_TRUE(static_cast<frmImagen&>(d).Imagen->hasPicture());
    };
    button("ImagenBtn")->click();
    EXPECT_EQ(prompts.modalWindows, (std::vector<QString>{u"frmImagen"_s}));
}

// Answers "r1", "r2", ... in number order, as "number text@top"; a number not there takes no row
// and no space. True/false shows two unnumbered rows instead.
TEST_F(Page, RowsFollowAnswerNumbersAndTrueFalseShowsTwoUnnumberedRows) {
    const struct {
        const char* name;
        bool trueFalse;
        std::vector<qint16> numbers;
        const char16_t* rows;
    } cases[] = {
        {"NumberNotListOrder", false, {3, 1, 2}, u"1. r1@1665 2. r2@2400 3. r3@3135"},
        {"MissingNumberTakesNoRow",
         false,
         {1, 3, 4},
         u"1. r1@1665 3. r3@2400"}, // 1 to 3 looked for
        {"TrueFalse", true, {1, 2, 3}, u"Verdadero@1665 Falso@2400"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        TestExamBuilder b;
        if (c.trueFalse)
            b.verdaderoFalso();
        std::vector<TestExamBuilder::Answer> answers;
        for (qint16 n : c.numbers)
            answers.push_back({u"r"_s + QString::number(n), n == 1, n});
        openAndStart(b.pregunta(u"A"_s, u"?"_s, answers).serie(1, {u"A"_s}).build());
        QStringList rows;
        for (int j = 1; j <= w->highestRow(); ++j)
            if (shown(sin(j)))
                rows << (shown(rowControl<QLabel>("NumrespLab", j))
                             ? rowControl<QLabel>("NumrespLab", j)->text()
                             : QString()) +
                            rowControl<RichTextBox>("RespuestaTxt", j)->plainText() + u'@' +
                            QString::number(box(rowControl<RichTextBox>("RespuestaTxt", j)).top);
        EXPECT_EQ(rows.join(u' '), QString::fromUtf16(c.rows));
    }
}

// Twelve answers end at y = 1665 + 12 * 735 = 10485; the viewport is the client height less
// 2685 + 120. Range, small and large steps are rounded half to even: 258.5 down to 258 and
// 861.67 up to 862 at 10705, 257.5 up to 258 at 10715. Each question starts at the top.
TEST_F(Page, TallPageGetsRangeAndStepsRoundedHalfToEven) {
    for (const auto& [height, range] :
         {std::pair{10705.0, std::tuple{2585, 258, 862}}, {10715.0, std::tuple{2575, 258, 858}}}) {
        SCOPED_TRACE(height);
        renew(height);
        openAndStart(TestExamBuilder::simple(2, 12).build());
        EXPECT_TRUE(shown(scroll()) && box(widget("frmExamen")).height == 10485);
        EXPECT_EQ(std::tuple(scroll()->maximum(), scroll()->singleStep(), scroll()->pageStep()),
                  range);
        scroll()->setValue(1000);
        w->ShowPregunta(2);
        EXPECT_TRUE(scroll()->value() == 0 && box(widget("frmExamen")).top == 0);
    }
}

TEST_F(Page, MarksFollowTheModeOfTheExam) {
    const struct {
        const char* name;
        bool single;
        std::vector<int> rows, ticked; // the unticked boxes pressed in order; those ticked after
        Marks marks;
    } cases[] = {
        {"MultipleKeepsTheOrderMade", false, {1, 3}, {1, 3}, {{1, 1}, {1, 3}}},
        {"SingleAnswerReplaces", true, {1, 3}, {3}, {{1, 3}}},
        {"TwiceRecordsOnce", false, {2, 2}, {2}, {{1, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        auto b = TestExamBuilder::simple(1, 4);
        b.exam().setSoloUnaRespuesta(c.single);
        openAndStart(b.build());
        for (int j : c.rows)
            w->boton_sin_Click(static_cast<qint16>(j));
        EXPECT_EQ(recorded(), c.marks);
        EXPECT_EQ(tickedRows(), c.ticked);
    }
}

// Question 1 answer 12 and question 11 answer 2 both spell "respuesta112": each mark is kept,
// shown and removed on its own. A mark whose answer has no row still makes its question
// answered. After the end every box refuses and nothing changes.
TEST_F(Page, NavigationShowsExactlyTheRecordedMarksAndAfterTheEndNothingChanges) {
    openAndStart(TestExamBuilder::simple(11, 12).build());
    w->show();
    EXPECT_EQ(label("PreguntaActualLab")->text(), u"Pregunta 1 de 11   (sin responder)"_s);
    EXPECT_FALSE(button("AnteriorBtn")->isEnabled());
    QTest::mouseClick(sin(12), Qt::LeftButton);
    state.Resultado->RespuestasKipsa()->Add(10, 99, u"respuesta1099"_s);
    w->ShowPregunta(10);
    button("SiguienteBtn")->click();
    EXPECT_FALSE(button("SiguienteBtn")->isEnabled()) << "at the last question";
    EXPECT_TRUE(tickedRows().empty());
    w->boton_sin_Click(2);
    button("AnteriorBtn")->click();
    EXPECT_TRUE(tickedRows().empty());
    EXPECT_EQ(label("PreguntaActualLab")->text(), u"Pregunta 10 de 11"_s);
    w->ShowPregunta(1);
    EXPECT_EQ(tickedRows(), (std::vector<int>{12}));
    w->ShowPregunta(11);
    w->boton_con_Click(2);
    state.ExamenEnCurso = false; // as the finish leaves it
    w->boton_sin_Click(2);
    expectOnlyMessage(u"El examen ha finalizado, no puede modificar resultados"_s,
                      PromptIcon::Information);
    EXPECT_EQ(recorded(), (Marks{{1, 12}, {10, 99}})) << "removed, then refused";
    EXPECT_TRUE(tickedRows().empty());
}

// Rows are kept from page to page: a row the next question lacks cannot be found by name, and a
// box that comes back under another number marks the answer of that number.
TEST_F(Page, LeftOverRowsAreNamelessAndReusedBoxesMarkTheirNewRow) {
    TestExamBuilder b;
    b.pregunta(u"A"_s, 2, {1});
    b.pregunta(u"B"_s, u"?"_s,
               {{u"uno"_s, true, 1}, {u"tres"_s, false, 3}, {u"cuatro"_s, false, 4}});
    openAndStart(b.serie(1, {u"A"_s, u"B"_s}).build());
    w->show();
    button("SiguienteBtn")->click(); // rows 1 and 3
    EXPECT_EQ(w->highestRow(), 3);
    EXPECT_EQ(sin(2), nullptr);
    EXPECT_EQ(w->findChildren<ImageBox*>(u"boton_sin_4"_s).size(), 0);
    QTest::mouseClick(sin(3), Qt::LeftButton);
    button("AnteriorBtn")->click(); // rows 1 and 2
    EXPECT_EQ(sin(3), nullptr);
    QTest::mouseClick(sin(2), Qt::LeftButton);
    QTest::mouseClick(sin(1), Qt::LeftButton);
    EXPECT_EQ(recorded(), (Marks{{2, 3}, {1, 2}, {1, 1}}));
    EXPECT_EQ(tickedRows(), (std::vector<int>{1, 2}));
}

// Slots are found through an index of the series: it follows a slot added later (the last
// slot of a number wins) and a new exam, never the questions of the one before.
TEST_F(Page, TheQuestionOfANumberFollowsTheSeriesAndTheExamOnTheDesk) {
    auto first = TestExamBuilder::simple(2, 2);
    first.pregunta(u"X"_s, u"añadida"_s, {{u"sí"_s}, {u"no"_s}});
    openAndStart(first.build());
    auto* text = control<RichTextBox>(u"PreguntaTxt"_s);
    EXPECT_NE(text->plainText(), u"añadida"_s);
    state.Examen->Series()->Item(1)->PreguntasSerie()->Add(u"X"_s, 1, 1, u"preguntaX"_s);
    w->ShowPregunta(1);
    EXPECT_EQ(text->plainText(), u"añadida"_s);
    TestExamBuilder second;
    second.pregunta(u"Q"_s, u"otra"_s, {{u"a"_s}, {u"b"_s}});
    openAndStart(second.serie(1, {u"Q"_s}).build());
    EXPECT_EQ(text->plainText(), u"otra"_s);
}

// Every text of the page takes the exam's text colour and 10 points; RTF keeps the rest.
TEST_F(Page, TextsTakeTheExamColourAndTenPoints) {
    TestExamBuilder b;
    b.exam().setColorFuente(0x0000FF); // red in the low byte
    b.pregunta(u"A"_s, u"{\\rtf1\\ansi \\b\\fs40 grande\\b0\\par}"_s, {{u"uno"_s}});
    openAndStart(b.serie(1, {u"A"_s}).build());
    for (RichTextBox* box :
         {control<RichTextBox>(u"PreguntaTxt"_s), rowControl<RichTextBox>("RespuestaTxt", 1)}) {
        QTextCursor c(box->document());
        c.setPosition(1);
        EXPECT_EQ(c.charFormat().foreground().color(), QColor(Qt::red));
        EXPECT_EQ(c.charFormat().fontPointSize(), 10);
    }
    QTextCursor bold(control<RichTextBox>(u"PreguntaTxt"_s)->document());
    bold.setPosition(1);
    EXPECT_EQ(bold.charFormat().fontWeight(), QFont::Bold);
}

// A text taller than its box starts at its top, whatever the box showed before.
TEST_F(Page, EveryTextStartsAtItsTop) {
    QStringList lines;
    for (int i = 0; i < 60; ++i)
        lines << u"línea %1"_s.arg(i);
    TestExamBuilder b;
    b.pregunta(u"A"_s, lines.join(u'\n'), {{u"a"_s}})
        .pregunta(u"B"_s, lines.join(u'\n'), {{u"a"_s}});
    openAndStart(b.serie(1, {u"A"_s, u"B"_s}).build());
    w->show();
    auto* text = control<RichTextBox>(u"PreguntaTxt"_s);
    text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
    ASSERT_GT(text->verticalScrollBar()->value(), 0);
    button("SiguienteBtn")->click();
    EXPECT_EQ(text->verticalScrollBar()->value(), 0);
    EXPECT_EQ(text->textCursor().position(), 0);
    EXPECT_FALSE(text->textCursor().hasSelection());
}

TEST(ViewerFit, ScalesByHeightFirstThenByWidthAndCentres) {
    const struct {
        const char* name;
        double width, height;
        TwipsBox expected;
        bool stretched;
    } cases[] = {
        {"FitsAtOwnSize", 4000, 3000, {2327.5, 1807.5, 4000, 3000}, false},
        {"WideScaledByWidth", 10000, 5000, {240, 1263.75, 8175, 4087.5}, true},
        // Height wins even when the result is wider than the window.
        {"TallAndWideByHeightOnly", 20000, 7000, {-4779.64, 120, 18214.29, 6375}, true},
        {"NoPictureKeepsTheDesignedBox", 255, 255, {4200, 3180, 255, 255}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool stretched = false;
        expectNear(frmImagen::fitInImageArea(c.width, c.height, &stretched), c.expected);
        EXPECT_EQ(stretched, c.stretched);
    }
}

TEST(PictureFileName, HostileNamesWriteNothingOutsideThePrivateFolder) {
    QTemporaryDir sandbox;
    QFile target(sandbox.filePath(u"evil.png"_s)); // what hostile names aim at: kept untouched
    ASSERT_TRUE(target.open(QIODevice::WriteOnly) && target.write("keep") == 4);
    target.close();
    const QDir::Filters all = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(sandbox.path()); // relative names would land here
    PictureFile pictures(sandbox.path());
    for (const QString& name :
         {u"../evil.png"_s, u"..\\evil.png"_s, sandbox.filePath(u"evil.png"_s),
          u"sub/dir/evil.png"_s, u"NUL.png"_s, u".."_s, u"evil.png\\.."_s}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(pictures.load(pictureBytes(4, 4), name).isNull());
        EXPECT_EQ(QDir(sandbox.path()).entryList(all).size(), 2) << "evil.png, private folder";
        EXPECT_TRUE(QDir(pictures.folder()).isEmpty(all)) << "removed right after loading";
    }
    QDir::setCurrent(previous);
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), "keep");
}

} // namespace
