// The question page: layout in twips, rows in number order, true/false rows, status line and
// scroll range; marking in both modes, marks restored, the refusal after the end and the keys
// of colliding marks; the image viewer's scaling and pictures decoded in a private folder.
#include "WindowFixture.h"

#include "window/PictureFile.h"
#include "window/frmImagen.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

using Marks = std::vector<std::pair<int, int>>;

class Page : public WindowFixture {
protected:
    void click(QWidget* target) { QTest::mouseClick(target, Qt::LeftButton); }
};

// The worked example, four answers. A picture's button, centred above, moves everything down by
// twice its height and opens the viewer on the picture, decoded whatever its name says.
TEST_F(Page, WorkedExampleHoldsToTheTwipWithAndWithoutImage) {
    for (const bool image : {false, true}) {
        SCOPED_TRACE(image);
        renew();
        ExamBuilder b;
        b.pregunta(u"A"_s, u"?"_s, {{u"uno"_s}, {u"dos"_s, true}, {u"tres"_s}, {u"cuatro"_s}},
                   image ? u"mapa.jpg"_s : QString(),
                   image ? pictureBytes(600, 400) : QByteArray());
        b.serie(1, {u"A"_s});
        openAndStart(b.build());
        const double down = image ? 750 : 0;
        EXPECT_EQ(box(w->PreguntaTxt), (TwipsBox{200, 200 + down, 15020, 1215}));
        for (int j = 1; j <= 4; ++j) {
            const double y = 1665 + down + 735 * (j - 1);
            EXPECT_EQ(box(sin(j)), (TwipsBox{2400, y - 240, 480, 480})) << j;
            EXPECT_EQ(box(w->NumrespLab[j]), (TwipsBox{2880, y, 495, 375})) << j;
            EXPECT_EQ(box(w->RespuestaTxt[j]), (TwipsBox{3375, y, 15420 - 400 - 3375, 615})) << j;
            EXPECT_EQ(w->NumrespLab[j]->text(), QString::number(j) + u". "_s);
        }
        EXPECT_FALSE(shown(w->Scroll)) << "the rows end within the 7905-high viewport";
        EXPECT_EQ(box(w->frmExamen), (TwipsBox{0, 0, 15420, 7905}));
        ASSERT_EQ(shown(w->ImagenBtn), image);
        if (!image)
            continue;
        EXPECT_EQ(box(w->ImagenBtn), (TwipsBox{(15420 - 3015) / 2.0, 200, 3015, 375}));
        prompts.onModal = [&](QDialog& d) {
            auto& viewer = static_cast<frmImagen&>(d);
            EXPECT_TRUE(viewer.Imagen->hasPicture() && viewer.Imagen->stretch());
            // 9000 x 6000 twips is wider than 8175, so 8175 x 5450.
            EXPECT_EQ(viewer.box(viewer.Imagen), (TwipsBox{240, 582.5, 8175, 5450}));
            viewer.SalirBtn->click();
        };
        w->ImagenBtn->click();
        EXPECT_EQ(prompts.modalWindows, (std::vector<QString>{u"frmImagen"_s}));
    }
}

// Answers "r1", "r2", ... numbered as given; true/false shows two unnumbered rows instead.
TEST_F(Page, RowsFollowAnswerNumbersAndTrueFalseShowsTwoUnnumberedRows) {
    const struct {
        const char* name;
        bool trueFalse;
        std::vector<qint16> numbers;
        std::vector<QString> texts; // by row; blank: no row
        std::vector<double> tops;
    } cases[] = {
        {"NumberNotListOrder", false, {3, 1, 2}, {u"r1"_s, u"r2"_s, u"r3"_s}, {1665, 2400, 3135}},
        // Numbers 1 to 3 are looked for (three answers); 2 takes no row and no space.
        {"MissingNumberTakesNoRow", false, {1, 3, 4}, {u"r1"_s, {}, u"r3"_s}, {1665, 2400}},
        {"TrueFalse", true, {1, 2, 3}, {u"Verdadero"_s, u"Falso"_s}, {1665, 2400}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        ExamBuilder b;
        if (c.trueFalse)
            b.verdaderoFalso();
        std::vector<ExamBuilder::Answer> answers;
        for (qint16 n : c.numbers)
            answers.push_back({u"r"_s + QString::number(n), n == 1, n});
        b.pregunta(u"A"_s, u"?"_s, answers).serie(1, {u"A"_s});
        openAndStart(b.build());
        ASSERT_EQ(w->highestRow(), static_cast<int>(c.texts.size()));
        std::vector<double> tops;
        for (int j = 1; j <= w->highestRow(); ++j) {
            const QString& text = c.texts[static_cast<size_t>(j - 1)];
            const RichTextBox* t = frmMain::row(w->RespuestaTxt, j);
            EXPECT_EQ(t ? t->plainText() : QString(), text) << "row " << j;
            EXPECT_EQ(shown(frmMain::row(w->NumrespLab, j)), !text.isEmpty() && !c.trueFalse);
            EXPECT_EQ(shown(sin(j)), !text.isEmpty());
            EXPECT_TRUE(!t || box(t).left == 3375) << "placed after the number, shown or not";
            if (t)
                tops.push_back(box(t).top);
        }
        EXPECT_EQ(tops, c.tops);
    }
}

// Twelve answers end at y = 1665 + 12 * 735 = 10485; the viewport is the client height less
// 2685 + 120. Range, small and large steps are rounded half to even: 258.5 down to 258 and
// 861.67 up to 862 at 10705, 257.5 up to 258 at 10715. Each question starts at the top.
TEST_F(Page, TallPageGetsRangeAndStepsRoundedHalfToEven) {
    for (const auto& [height, range] : {std::pair{10710.0, std::tuple{2580, 258, 860}},
                                        {10705.0, std::tuple{2585, 258, 862}},
                                        {10715.0, std::tuple{2575, 258, 858}}}) {
        SCOPED_TRACE(height);
        renew(height);
        openAndStart(ExamBuilder::simple(2, 12).build());
        EXPECT_TRUE(shown(w->Scroll) && box(w->frmExamen).height == 10485);
        EXPECT_EQ(std::tuple(w->Scroll->maximum(), w->Scroll->singleStep(), w->Scroll->pageStep()),
                  range);
        w->Scroll->setValue(1000);
        EXPECT_EQ(box(w->frmExamen).top, -1000);
        w->ShowPregunta(2);
        EXPECT_EQ(w->Scroll->value(), 0);
        EXPECT_EQ(box(w->frmExamen).top, 0);
    }
}

TEST_F(Page, MarksFollowTheModeOfTheExam) {
    const struct {
        const char* name;
        bool trueFalse, single;
        std::vector<int> rows; // the unticked boxes pressed, in order
        Marks marks;
        std::vector<int> ticked;
    } cases[] = {
        {"MultipleKeepsTheOrderMade", false, false, {1, 3}, {{1, 1}, {1, 3}}, {1, 3}},
        {"SingleAnswerReplaces", false, true, {1, 3}, {{1, 3}}, {3}},
        {"TrueFalseKeepsTheLastChoice", true, true, {1, 2}, {{1, 2}}, {2}},
        {"TrueFalseMultipleKeepsBoth", true, false, {1, 2}, {{1, 1}, {1, 2}}, {1, 2}},
        {"TwiceRecordsOnce", false, false, {2, 2}, {{1, 2}}, {2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        auto b = ExamBuilder::simple(1, 4);
        if (c.trueFalse)
            b.verdaderoFalso();
        b.exam().setSoloUnaRespuesta(c.single);
        openAndStart(b.build());
        for (int j : c.rows)
            w->boton_sin_Click(static_cast<qint16>(j));
        EXPECT_EQ(recorded(), c.marks);
        EXPECT_EQ(tickedRows(), c.ticked);
        for (int j = 1; j <= w->highestRow(); ++j)
            EXPECT_NE(shown(sin(j)), shown(con(j))) << "row " << j;
    }
}

// Question 1 answer 12 and question 11 answer 2 both spell "respuesta112": each mark is kept,
// shown and removed on its own. A mark whose answer has no row still makes its question
// answered. After the end every box refuses and nothing changes.
TEST_F(Page, NavigationShowsExactlyTheRecordedMarksAndAfterTheEndNothingChanges) {
    openAndStart(ExamBuilder::simple(11, 12).build());
    w->show();
    EXPECT_EQ(w->PreguntaActualLab->text(), u"Pregunta 1 de 11   (sin responder)"_s);
    EXPECT_FALSE(w->AnteriorBtn->isEnabled());
    click(sin(12));
    click(w->SiguienteBtn);
    EXPECT_TRUE(tickedRows().empty());
    EXPECT_TRUE(w->AnteriorBtn->isEnabled() && w->SiguienteBtn->isEnabled());
    state.Resultado->RespuestasKipsa()->Add(10, 99, u"respuesta1099"_s);
    w->ShowPregunta(10);
    click(w->SiguienteBtn);
    EXPECT_FALSE(w->SiguienteBtn->isEnabled()) << "at the last question";
    EXPECT_TRUE(tickedRows().empty());
    click(sin(2));
    EXPECT_EQ(recorded(), (Marks{{1, 12}, {10, 99}, {11, 2}}));
    click(w->AnteriorBtn);
    EXPECT_TRUE(tickedRows().empty());
    EXPECT_EQ(w->PreguntaActualLab->text(), u"Pregunta 10 de 11"_s);
    w->ShowPregunta(1);
    EXPECT_EQ(tickedRows(), (std::vector<int>{12}));
    EXPECT_EQ(w->PreguntaActualLab->text(), u"Pregunta 1 de 11"_s);
    w->ShowPregunta(11);
    EXPECT_EQ(tickedRows(), (std::vector<int>{2}));
    click(con(2));
    EXPECT_EQ(recorded(), (Marks{{1, 12}, {10, 99}}));
    click(sin(2));

    state.ExamenEnCurso = false; // as the finish leaves it
    click(sin(1));
    click(con(2));
    ASSERT_EQ(prompts.messages.size(), 2u);
    prompts.messages.pop_back();
    expectOnlyMessage(u"El examen ha finalizado, no puede modificar resultados"_s,
                      PromptIcon::Information);
    EXPECT_EQ(recorded(), (Marks{{1, 12}, {10, 99}, {11, 2}}));
    click(w->AnteriorBtn); // paging through the finished exam still works
    click(w->SiguienteBtn);
    EXPECT_EQ(tickedRows(), (std::vector<int>{2}));
}

TEST(ViewerFit, ScalesByHeightFirstThenByWidthAndCentres) {
    const struct {
        const char* name;
        double width, height;
        TwipsBox expected;
        bool stretched;
    } cases[] = {
        {"FitsAtOwnSize", 4000, 3000, {2327.5, 1807.5, 4000, 3000}, false},
        {"TallScaledByHeight", 4000, 8000, {2733.75, 120, 3187.5, 6375}, true},
        {"WideScaledByWidth", 10000, 5000, {240, 1263.75, 8175, 4087.5}, true},
        // Height wins even when the result is wider than the window.
        {"TallAndWideByHeightOnly", 20000, 7000, {-4779.64, 120, 18214.29, 6375}, true},
        {"ExactlyTheAreaIsNotScaled", 8175, 6375, {240, 120, 8175, 6375}, false},
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
    // A file that a hostile name aims at must survive untouched.
    QFile target(sandbox.filePath(u"evil.png"_s));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly) && target.write("keep") == 4);
    target.close();
    const auto entries = [](const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    };

    const QString previous = QDir::currentPath();
    QDir::setCurrent(sandbox.path()); // relative names would land here
    {
        PictureFile pictures(sandbox.path());
        const QString privateFolder = QDir(pictures.folder()).dirName();
        for (const QString& name :
             {u"../evil.png"_s, u"..\\evil.png"_s, u"../../evil.png"_s,
              sandbox.filePath(u"evil.png"_s), u"C:\\evil.png"_s, u"sub/dir/evil.png"_s, u"CON"_s,
              u"NUL.png"_s, u".."_s, u"."_s, u"evil.png\\.."_s}) {
            SCOPED_TRACE(name.toStdString());
            EXPECT_FALSE(pictures.load(pictureBytes(4, 4), name).isNull());
            EXPECT_EQ(entries(sandbox.path()), (QStringList{u"evil.png"_s, privateFolder}));
            EXPECT_TRUE(entries(pictures.folder()).isEmpty()) << "removed right after loading";
        }
    }
    QDir::setCurrent(previous);
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), "keep");
    EXPECT_EQ(entries(sandbox.path()), QStringList{u"evil.png"_s})
        << "the private folder goes with its owner";
}

} // namespace
