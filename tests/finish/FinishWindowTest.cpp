#include "FinishFixture.h"
#include "results/frmNota.h"

#include <QLabel>

using namespace Qt::StringLiterals;

namespace kp::test {
namespace {

const QString Confirmation =
    u"¿Desea realmente finalizar el examen? Esto significa que no podrá modificar ningún "
    u"resultado.\rPulse SI para finalizar el examen.\rPulse NO para continuar el examen."_s;
const QString Finished = u"El examen ha finalizado."_s;

class FinishWindow : public FinishFixture {
protected:
    void expectInProgress() {
        EXPECT_TRUE(state.ExamenEnCurso);
        EXPECT_TRUE(w->FinalizarBtn->isEnabled());
        EXPECT_TRUE(w->mnuAcabarExamen->isEnabled());
        EXPECT_FALSE(w->mnuEmpezarExamen->isEnabled());
        EXPECT_FALSE(w->mnuMostrarNota->isEnabled());
    }
    void expectEnded() {
        EXPECT_FALSE(state.ExamenEnCurso);
        EXPECT_FALSE(w->LimiteTiempo->isActive());
        EXPECT_FALSE(w->FinalizarBtn->isEnabled());
        EXPECT_FALSE(w->mnuAcabarExamen->isEnabled());
        EXPECT_TRUE(w->mnuEmpezarExamen->isEnabled());
    }
};

TEST_F(FinishWindow, AnsweringNoToTheConfirmationChangesNothing) {
    start(exam(2, 3, 10));
    w->boton_sin_Click(1);
    prompts.answers.push_back(PromptAnswer::No);
    w->FinalizarBtn->click();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, u"Fin de examen"_s);
    EXPECT_EQ(prompts.messages[0].text, Confirmation);
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Question);
    EXPECT_EQ(prompts.messages[0].buttons, PromptButtons::YesNo);
    expectInProgress();
    EXPECT_TRUE(w->LimiteTiempo->isActive());
    EXPECT_FALSE(QFile::exists(dir.filePath(u"res_Ana.kxa"_s)));
    w->boton_sin_Click(2); // marking still works
    EXPECT_EQ(recorded(), (std::vector<std::pair<int, int>>{{1, 1}, {1, 2}}));
}

TEST_F(FinishWindow, MenuEntryAsksAndFinishesLikeTheButton) {
    start(exam());
    prompts.answers = {PromptAnswer::Yes};
    w->mnuAcabarExamen->trigger();
    ASSERT_GE(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].text, Confirmation);
    EXPECT_EQ(prompts.messages[1].title, u"Fin de examen"_s);
    EXPECT_EQ(prompts.messages[1].text, Finished);
    EXPECT_EQ(prompts.messages[1].icon, PromptIcon::Information);
    expectEnded();
    EXPECT_TRUE(w->mnuMostrarNota->isEnabled());
}

TEST_F(FinishWindow, CountdownFollowsTheMonotonicClockAndEndsWithoutAQuestion) {
    start(exam(2, 3, 1)); // 60 seconds
    EXPECT_TRUE(w->LimiteTiempo->isActive());
    EXPECT_EQ(w->LimiteTiempo->interval(), 1000);
    tickAfter(1000);
    EXPECT_EQ(w->TiempoLab->text(), u"0:00:59"_s);
    // Putting the system clock forward or back changes nothing.
    clock.setWallClock(clock.now().addSecs(3600));
    tickAfter(1000);
    EXPECT_EQ(w->TiempoLab->text(), u"0:00:58"_s);
    clock.setWallClock(clock.now().addDays(-1));
    tickAfter(1000);
    EXPECT_EQ(w->TiempoLab->text(), u"0:00:57"_s);
    EXPECT_TRUE(state.ExamenEnCurso);
    EXPECT_TRUE(prompts.messages.empty());

    tickAfter(57'000);
    EXPECT_EQ(w->TiempoLab->text(), u"0:00:00"_s);
    expectEnded();
    ASSERT_FALSE(prompts.messages.empty());
    EXPECT_EQ(prompts.messages[0].text, Finished); // no confirmation before it
    EXPECT_EQ(readFile(dir.filePath(u"res_Ana.kxa"_s)).left(10), "0000000300");
}

TEST_F(FinishWindow, LongLimitShowsHoursAndALateTickStillEnds) {
    start(exam(2, 3, 90)); // 5400 s
    tickAfter(1000);
    EXPECT_EQ(w->TiempoLab->text(), u"1:29:59"_s);
    tickAfter(1739'000);
    EXPECT_EQ(w->TiempoLab->text(), u"1:01:00"_s);
    tickAfter(100'000'000); // a machine asleep for a day wakes with the time long over
    EXPECT_EQ(w->TiempoLab->text(), u"0:00:00"_s);
    EXPECT_FALSE(state.ExamenEnCurso);
}

TEST_F(FinishWindow, TimeRunningOutDuringTheConfirmationFinishesOnce) {
    start(exam(2, 3, 1));
    w->boton_sin_Click(1);
    bool fired = false;
    prompts.onMessage = [&](const FakePrompts::Message& m) {
        if (m.buttons == PromptButtons::YesNo && !fired) {
            fired = true;
            tickAfter(60'000); // the time runs out while the question is open
        }
    };
    // The end's own message is answered first (inside the question), then the question: "Sí".
    prompts.answers = {PromptAnswer::Ok, PromptAnswer::Yes};
    w->FinalizarBtn->click();
    EXPECT_TRUE(fired);
    EXPECT_EQ(countMessages(Finished), 1);
    EXPECT_EQ(std::count(prompts.modalWindows.begin(), prompts.modalWindows.end(), u"frmNota"_s),
              1);
    expectEnded();
    // A stray tick after the end does nothing either.
    tickAfter(1000);
    EXPECT_EQ(countMessages(Finished), 1);
}

TEST_F(FinishWindow, TimerKeepsTickingWhileAModalWindowIsOpen) {
    start(exam(2, 3, 1));
    bool endedWhileOpen = false;
    prompts.onModal = [&](QDialog& d) {
        if (d.objectName() != u"frmAcerca"_s)
            return;
        clock.advanceMs(60'000);
        // The modal window's own event loop delivers the real timer's next tick.
        endedWhileOpen = waitFor([&] { return !state.ExamenEnCurso; });
    };
    w->mnuAyudaAcercade->trigger();
    EXPECT_TRUE(endedWhileOpen);
    EXPECT_EQ(w->TiempoLab->text(), u"0:00:00"_s);
    EXPECT_EQ(countMessages(Finished), 1);
}

TEST_F(FinishWindow, GradeWindowShowsTheGradeAndCountsAndAgainFromTheMenu) {
    auto e = exam(3, 3);
    start(e);
    w->boton_sin_Click(1); // question 1 right
    w->SiguienteBtn->click();
    w->boton_sin_Click(2); // question 2 wrong; question 3 blank
    std::vector<QStringList> seen;
    prompts.onModal = [&](QDialog& d) {
        auto* nota = qobject_cast<frmNota*>(&d);
        ASSERT_NE(nota, nullptr);
        EXPECT_TRUE(nota->isVisible());
        seen.push_back({nota->NotaLab->text(), nota->AcertadasLab->text(),
                        nota->FalladasLab->text(), nota->BlancasLab->text()});
    };
    finishByRequest();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], (QStringList{u"3,33"_s, u"1"_s, u"1"_s, u"1"_s}));
    ASSERT_TRUE(w->mnuMostrarNota->isEnabled());
    w->mnuMostrarNota->trigger();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1], seen[0]);
}

TEST_F(FinishWindow, ExamWithoutGradeNeverOffersIt) {
    auto e = exam();
    e->setMostrarNota(false);
    start(e);
    finishByRequest();
    EXPECT_TRUE(prompts.modalWindows.empty());
    EXPECT_FALSE(w->mnuMostrarNota->isEnabled());
}

TEST_F(FinishWindow, MarksAreRefusedAfterTheEndButPagingGoesOn) {
    start(exam(2, 3));
    w->boton_sin_Click(1);
    finishByRequest();
    const auto before = recorded();
    prompts.messages.clear();
    w->boton_sin_Click(2);
    w->boton_con_Click(1);
    EXPECT_EQ(recorded(), before);
    EXPECT_EQ(countMessages(u"El examen ha finalizado, no puede modificar resultados"_s), 2);
    w->SiguienteBtn->click();
    EXPECT_EQ(w->frmExternoTag(), u"2"_s);
    w->AnteriorBtn->click();
    EXPECT_EQ(tickedRows(), std::vector<int>{1});
}

TEST_F(FinishWindow, EmpezarAfterTheEndStartsAFreshRunThatFinishesAgain) {
    auto e = exam(2, 3, 5);
    start(e);
    w->boton_sin_Click(2);
    finishByRequest();
    ASSERT_FALSE(state.ExamenEnCurso);
    prompts.messages.clear();
    w->mnuEmpezarExamen->trigger();
    ASSERT_TRUE(state.ExamenEnCurso);
    EXPECT_TRUE(recorded().empty());
    EXPECT_EQ(w->frmExternoTag(), u"1"_s);
    EXPECT_TRUE(tickedRows().empty());
    for (int j = 1; j <= w->highestRow(); ++j) {
        EXPECT_TRUE(frmMain::row(w->boton_flecha, j)->isHidden()) << j;
        EXPECT_TRUE(frmMain::row(w->boton_cruz, j)->isHidden()) << j;
    }
    EXPECT_TRUE(w->LimiteTiempo->isActive());
    // The new run has its own clock and its own single finish.
    tickAfter(1000);
    EXPECT_EQ(w->TiempoLab->text(), u"0:04:59"_s);
    finishByRequest();
    EXPECT_EQ(countMessages(Finished), 1);
    EXPECT_FALSE(state.ExamenEnCurso);
}

TEST_F(FinishWindow, ReopeningAfterTheEndShowsTheBriefingOfTheNewExam) {
    start(exam());
    finishByRequest();
    open(exam(3, 4));
    EXPECT_FALSE(state.ExamenEnCurso);
    EXPECT_FALSE(w->mnuMostrarNota->isEnabled());
    EXPECT_TRUE(w->mnuEmpezarExamen->isEnabled());
    EXPECT_TRUE(shown(w->frmDatos));
    start(exam(3, 4), u"Eva"_s);
    EXPECT_EQ(state.TotalPreguntas, 3);
    finishByRequest();
    EXPECT_TRUE(QFile::exists(dir.filePath(u"res_Eva.kxa"_s)));
}

TEST_F(FinishWindow, ClosingIsRefusedDuringTheExamAndAskedAfterIt) {
    start(exam());
    w->show();
    w->close();
    EXPECT_TRUE(w->isVisible());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, u"Atención"_s);
    EXPECT_EQ(prompts.messages[0].text, u"El Examen no ha finalizado. Para cerrar la aplicación "
                                        u"debe finalizar el examen primero."_s);
    EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Information);
    EXPECT_TRUE(state.ExamenEnCurso);

    finishByRequest();
    prompts.messages.clear();
    prompts.answers = {PromptAnswer::No};
    w->mnuSalir->trigger();
    EXPECT_TRUE(w->isVisible());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, u"Atención!"_s);
    EXPECT_EQ(prompts.messages[0].text, u"¿Desea realmente salir de la aplicación?"_s);
    EXPECT_EQ(prompts.messages[0].buttons, PromptButtons::YesNo);
    prompts.answers = {PromptAnswer::Yes};
    w->mnuSalir->trigger();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(FinishWindow, AboutWindowOpensModallyFromTheHelpMenu) {
    QString version;
    prompts.onModal = [&](QDialog& d) {
        version = d.findChild<QLabel*>(u"lblVersion"_s)->text();
        EXPECT_EQ(d.parentWidget(), w.get());
    };
    w->mnuAyudaAcercade->trigger();
    EXPECT_EQ(prompts.modalWindows, std::vector<QString>{u"frmAcerca"_s});
    EXPECT_TRUE(version.startsWith(u"Kipsa Prubex "_s));
    EXPECT_FALSE(state.ExamenEnCurso);
}

} // namespace
} // namespace kp::test
