// Start-up from the command line and opening exams, from the command line and from the menu.
#include "FakeClock.h"
#include "FakePrompts.h"
#include "FakeRandom.h"
#include "TestExamBuilder.h"
#include "WindowControls.h"
#include "app/StartUp.h"
#include "window/ExamOpening.h"
#include "window/frmMain.h"

#include <QAction>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

// Blanks inside or in front are kept whole; a quoted path ends in a quote, so it names nothing.
TEST(CommandLine, OnlyAnExactKxtEndingNamesAnExam) {
    for (const QString& text :
         {u"/home/ana/examen.kxt"_s, u"/home/ana/mi examen.kxt"_s, u" examen.kxt"_s})
        EXPECT_EQ(examOnCommandLine(text), text);
    for (const QString& text : {u"examen.KXT"_s, u"examen.kxt "_s, u"\"C:\\mis examenes\\a.kxt\""_s,
                                u"resultado.kxa"_s, u"   "_s, QString()})
        EXPECT_EQ(examOnCommandLine(text), QString()) << text.toStdString();
    // The arguments after the program's name, joined by single blanks.
    EXPECT_EQ(argumentText({u"kipsa-prubex"_s}), QString());
    EXPECT_EQ(argumentText({u"kp"_s, u"/tmp/mi"_s, u"examen.kxt"_s}), u"/tmp/mi examen.kxt"_s);
}

class Opening : public ::testing::Test {
protected:
    ExamState state;
    FakePrompts prompts;
    FakeClock clock;
    FakeRandom random;
    QTemporaryDir dir;

    // Writes an exam file with our writer and returns its path.
    QString writeExam(TestExamBuilder b, const QString& name = u"examen.kxt"_s) {
        b.exam().setArchivoSalida(dir.filePath(name));
        EXPECT_TRUE(b.exam().Export()) << name.toStdString();
        return dir.filePath(name);
    }
    // The only message so far (so nothing was said before it).
    void expectOpenFailedMessage() {
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].text, u"Ocurrió un error al abrir el archivo de examen. Es "
                                            u"posible que el archivo este dañado."_s);
        EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Exclamation);
    }
};

TEST_F(Opening, CommandLineExamIsBriefedAnythingElseGivesAnEmptyWindowAMissingOneNone) {
    auto w = startUp(state, prompts, clock, random,
                     writeExam(TestExamBuilder::simple(3, 2), u"a b.kxt"_s));
    ASSERT_NE(w, nullptr);
    WindowControls c(w.get());
    EXPECT_TRUE(c.action("mnuEmpezarExamen")->isEnabled() && !c.widget("frmDatos")->isHidden());
    EXPECT_TRUE(c.label("InfoExamLab")->text().contains(u"con 3 preguntas."_s));
    // Laid out once the window had its final, maximised size: the page spans the client area.
    const QWidget* client = w->centralWidget();
    EXPECT_EQ(w->frameGeometry(), w->screen()->availableGeometry());
    EXPECT_EQ(w->box(c.widget("frmExterno")).width,
              client->width() * TwipsBox::TwipsPerPixel - 240);
    for (const QString& text : {QString(), dir.filePath(u"a b.KXT"_s)}) {
        w = startUp(state, prompts, clock, random, text);
        ASSERT_NE(w, nullptr);
        c.setWindow(w.get());
        EXPECT_TRUE(!c.label("SinCargarLab")->isHidden() && c.widget("frmDatos")->isHidden());
        EXPECT_FALSE(c.action("mnuEmpezarExamen")->isEnabled());
    }
    EXPECT_EQ(startUp(state, prompts, clock, random, dir.filePath(u"falta.kxt"_s)), nullptr);
    expectOpenFailedMessage();
}

TEST_F(Opening, QuestionsAreCountedInTheFirstSeriesAndSomeSeriesIsNeeded) {
    TestExamBuilder b;
    b.pregunta(u"A"_s, u"?"_s, {{u"a"_s}, {u"b"_s}}).pregunta(u"B"_s, u"?"_s, {{u"a"_s}, {u"b"_s}});
    EXPECT_FALSE(AbrirExamen(state, prompts, writeExam(b, u"sin.kxt"_s)));
    expectOpenFailedMessage();
    b.serie(4, {u"B"_s}).serie(5, {u"A"_s, u"B"_s});
    ASSERT_TRUE(AbrirExamen(state, prompts, writeExam(b)));
    EXPECT_EQ(state.TotalPreguntas, 1);
}

// Opening again drops the answers and the exam in progress; a failed opening changes nothing.
TEST_F(Opening, MenuOpeningReplacesEverythingUnlessItFails) {
    auto w = startUp(state, prompts, clock, random, QString());
    w->setClientSizeTwips(frmMain::DesignedClientWidth, frmMain::DesignedClientHeight);
    WindowControls c(w.get());
    c.action("mnuAbrirExamen")->trigger(); // cancelled
    EXPECT_EQ(state.Examen, nullptr);
    EXPECT_EQ(prompts.fileDialogs.size(), 1u);

    const QString path = writeExam(TestExamBuilder::simple(2, 3));
    prompts.fileAnswers.push_back(path);
    c.action("mnuAbrirExamen")->trigger();
    c.button("EmpezarBtn")->click();
    w->boton_sin_Click(1);
    ASSERT_EQ(state.Resultado->RespuestasKipsa()->Count(), 1);
    prompts.fileAnswers.push_back(path);
    c.action("mnuAbrirExamen")->trigger();
    EXPECT_EQ(state.Resultado->RespuestasKipsa()->Count(), 0);
    EXPECT_FALSE(state.ExamenEnCurso || c.action("mnuAcabarExamen")->isEnabled());
    EXPECT_TRUE(c.widget("frmExterno")->isHidden() && !c.widget("frmDatos")->isHidden());

    QFile broken(dir.filePath(u"roto.kxt"_s));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write("no es un examen") > 0);
    broken.close();
    const QString briefing = c.label("InfoExamLab")->text();
    prompts.fileAnswers.push_back(broken.fileName());
    c.action("mnuAbrirExamen")->trigger();
    expectOpenFailedMessage();
    EXPECT_EQ(c.label("InfoExamLab")->text(), briefing);
    EXPECT_TRUE(c.action("mnuEmpezarExamen")->isEnabled() && !c.widget("frmDatos")->isHidden());
}

} // namespace
