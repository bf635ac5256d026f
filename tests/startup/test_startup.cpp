// Start-up from the command line and opening exams, from the command line and from the menu.
#include "ExamBuilder.h"
#include "FakeClock.h"
#include "FakePrompts.h"
#include "FakeRandom.h"
#include "startup/ExamOpening.h"
#include "startup/ExamState.h"
#include "startup/StartUp.h"
#include "window/frmMain.h"

#include <QAction>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

const QString OpenFailed =
    u"Ocurrió un error al abrir el archivo de examen. Es posible que el archivo este dañado."_s;

// Blanks inside or in front are kept whole; a quoted path ends in a quote, so it names nothing.
TEST(CommandLine, OnlyAnExactKxtEndingNamesAnExam) {
    for (const QString& text :
         {u"/home/ana/examen.kxt"_s, u"/home/ana/mi examen.kxt"_s, u" examen.kxt"_s})
        EXPECT_EQ(examOnCommandLine(text), text);
    for (const QString& text : {u"examen.KXT"_s, u"examen.kxt "_s, u"\"C:\\mis examenes\\a.kxt\""_s,
                                u"resultado.kxa"_s, u"   "_s, QString()})
        EXPECT_EQ(examOnCommandLine(text), QString()) << text.toStdString();
}

TEST(CommandLineText, ArgumentsAreJoinedBySingleBlanksWithoutTheProgramName) {
    EXPECT_EQ(argumentText({u"kipsa-prubex"_s}), QString());
    EXPECT_EQ(argumentText({u"kipsa-prubex"_s, u"/tmp/mi"_s, u"examen.kxt"_s}),
              u"/tmp/mi examen.kxt"_s);
    EXPECT_EQ(argumentText({u"kipsa-prubex"_s, u"\"a b.kxt\""_s}), u"\"a b.kxt\""_s);
}

class Opening : public ::testing::Test {
protected:
    ExamState state;
    FakePrompts prompts;
    FakeClock clock;
    FakeRandom random;
    QTemporaryDir dir;

    // Writes an exam file with our writer and returns its path.
    QString writeExam(ExamBuilder b, const QString& name = u"examen.kxt"_s) {
        const QString path = dir.filePath(name);
        b.exam().setArchivoSalida(path);
        EXPECT_TRUE(b.exam().Export()) << path.toStdString();
        return path;
    }
    void expectOpenFailedMessage() {
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].title, u"Atención"_s);
        EXPECT_EQ(prompts.messages[0].text, OpenFailed);
        EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Exclamation);
        EXPECT_EQ(prompts.messages[0].buttons, PromptButtons::Ok);
    }
};

TEST_F(Opening, CommandLineExamIsOpenedAndBriefed) {
    auto b = ExamBuilder::simple(3, 2);
    b.exam().setIdExamen(u"ID-77"_s);
    const QString path = writeExam(b, u"mi examen.kxt"_s);
    auto w = startUp(state, prompts, clock, random, path);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(state.TotalPreguntas, 3);
    EXPECT_EQ(state.Resultado->IdExamen(), u"ID-77"_s);
    EXPECT_TRUE(w->mnuEmpezarExamen->isEnabled());
    EXPECT_FALSE(w->frmDatos->isHidden());
    EXPECT_TRUE(w->SinCargarLab->isHidden());
    EXPECT_TRUE(w->InfoExamLab->text().contains(u"con 3 preguntas."_s));
}

TEST_F(Opening, WithoutAnExamTheWindowComesUpEmpty) {
    for (const QString& text : {QString(), u"examen.KXT"_s, u"examen.kxt "_s}) {
        auto w = startUp(state, prompts, clock, random, text);
        ASSERT_NE(w, nullptr);
        EXPECT_FALSE(w->SinCargarLab->isHidden());
        EXPECT_TRUE(w->frmDatos->isHidden());
        EXPECT_FALSE(w->mnuEmpezarExamen->isEnabled());
        EXPECT_EQ(state.Examen, nullptr);
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Opening, MissingCommandLineExamEndsWithoutAWindow) {
    EXPECT_EQ(startUp(state, prompts, clock, random, dir.filePath(u"falta.kxt"_s)), nullptr);
    expectOpenFailedMessage();
}

TEST_F(Opening, QuestionsAreCountedInTheFirstSeriesOnly) {
    ExamBuilder longerFirst = ExamBuilder::simple(5, 2);
    longerFirst.serie(9, {u"P1"_s, u"P2"_s});
    ASSERT_TRUE(AbrirExamen(state, prompts, writeExam(longerFirst, u"uno.kxt"_s)));
    EXPECT_EQ(state.TotalPreguntas, 5);

    ExamBuilder shorterFirst;
    shorterFirst.pregunta(u"A"_s, u"?"_s, {{u"a"_s}, {u"b"_s}});
    shorterFirst.pregunta(u"B"_s, u"?"_s, {{u"a"_s}, {u"b"_s}});
    shorterFirst.serie(4, {u"B"_s}).serie(5, {u"A"_s, u"B"_s});
    ASSERT_TRUE(AbrirExamen(state, prompts, writeExam(shorterFirst, u"dos.kxt"_s)));
    EXPECT_EQ(state.TotalPreguntas, 1);
}

TEST_F(Opening, ExamWithoutSeriesFails) {
    ExamBuilder b;
    b.pregunta(u"A"_s, u"?"_s, {{u"a"_s}, {u"b"_s}});
    EXPECT_FALSE(AbrirExamen(state, prompts, writeExam(b)));
    expectOpenFailedMessage();
    EXPECT_NE(state.Examen, nullptr) << "the new, partly filled objects stay";
}

TEST_F(Opening, MenuOpeningUsesItsDialogAndReplacesEverything) {
    auto w = startUp(state, prompts, clock, random, QString());
    ASSERT_NE(w, nullptr);
    w->setClientSizeTwips(frmMain::DesignedClientWidth, frmMain::DesignedClientHeight);
    const QString path = writeExam(ExamBuilder::simple(2, 3));

    w->mnuAbrirExamen->trigger(); // cancelled
    EXPECT_EQ(state.Examen, nullptr);
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_EQ(prompts.fileDialogs[0].filter, u"Archivos de Kipsa Prubex (*.kxt)|*.kxt"_s);
    EXPECT_TRUE(prompts.fileDialogs[0].mustExist);

    prompts.fileAnswers.push_back(path);
    w->mnuAbrirExamen->trigger();
    ASSERT_NE(state.Examen, nullptr);
    EXPECT_TRUE(w->mnuEmpezarExamen->isEnabled());
    EXPECT_FALSE(w->frmDatos->isHidden());

    // Start, mark, then open the same exam again: the answers are gone, nothing is asked.
    w->EmpezarBtn->click();
    ASSERT_TRUE(state.ExamenEnCurso);
    w->boton_sin_Click(1);
    ASSERT_EQ(state.Resultado->RespuestasKipsa()->Count(), 1);
    const auto before = state.Resultado;
    prompts.fileAnswers.push_back(path);
    w->mnuAbrirExamen->trigger();
    EXPECT_NE(state.Resultado, before);
    EXPECT_EQ(state.Resultado->RespuestasKipsa()->Count(), 0);
    EXPECT_FALSE(state.ExamenEnCurso);
    EXPECT_TRUE(w->frmExterno->isHidden());
    EXPECT_FALSE(w->frmDatos->isHidden());
    EXPECT_FALSE(w->mnuAcabarExamen->isEnabled()) << "no exam left in progress to finish";
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Opening, FailedMenuOpeningLeavesTheWindowAsItWas) {
    auto w = startUp(state, prompts, clock, random, writeExam(ExamBuilder::simple(2, 3)));
    ASSERT_NE(w, nullptr);
    const QString briefing = w->InfoExamLab->text();
    QFile broken(dir.filePath(u"roto.kxt"_s));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("esto no es un examen");
    broken.close();
    prompts.fileAnswers.push_back(broken.fileName());
    w->mnuAbrirExamen->trigger();
    expectOpenFailedMessage();
    EXPECT_EQ(w->InfoExamLab->text(), briefing);
    EXPECT_FALSE(w->frmDatos->isHidden());
    EXPECT_TRUE(w->mnuEmpezarExamen->isEnabled()) << "keeps the state it had";
}

} // namespace
