#include "WindowFixture.h"
#include "results/FinishRules.h"
#include "results/frmNota.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

// The whole road through the real exam window: start, marks, the end by request or by time, the
// results file on disk, the grade, the review, and what may follow the end.
namespace kp::test {
namespace {

const QString Confirmation =
    u"¿Desea realmente finalizar el examen? Esto significa que no podrá modificar ningún "
    u"resultado.\rPulse SI para finalizar el examen.\rPulse NO para continuar el examen."_s;
const QString Finished = u"El examen ha finalizado."_s;
const QString SaveFailedTitle = u"Lea atentamente"_s;

// The exam window with a scratch folder for results files and for the program's folder.
class FinishWindow : public WindowFixture {
protected:
    QTemporaryDir dir;

    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkdir(u"programa"_s);
        w->setProgramFolder(programFolder());
    }
    void restart() { // a fresh window for the next row of a table
        TearDown();
        SetUp();
    }
    QString programFolder() const { return dir.filePath(u"programa"_s); }

    // n multiple-choice questions of k answers (answer 1 right), a "Nombre" field and a results
    // file in the scratch folder, grade and review shown.
    std::shared_ptr<KipsaPrubex> exam(int n = 2, int k = 3, qint16 minutos = 0) {
        auto e = ExamBuilder::simple(n, k).build();
        e->setDatoAlumno(1, u"Nombre"_s);
        e->setGuardarArchivoResultados(true);
        e->setRutaArchivoResultados(dir.filePath(u"res"_s));
        e->setMostrarNota(true);
        e->setMostrarFallos(true);
        e->setMinutosLimite(minutos);
        e->setNotaMaxima(10);
        return e;
    }
    void start(std::shared_ptr<KipsaPrubex> e, const QString& nombre = u"Ana"_s) {
        open(std::move(e));
        w->datoTxt[0]->setText(nombre);
        w->EmpezarBtn->click();
        ASSERT_TRUE(state.ExamenEnCurso);
    }
    void finishByRequest() { // through the button, answering "Sí"
        prompts.answers.push_back(PromptAnswer::Yes);
        w->FinalizarBtn->click();
    }
    void tickAfter(qint64 ms) {
        clock.advanceMs(ms);
        w->LimiteTiempo_Timer();
    }
    long countMessages(const QString& text, bool byTitle = false) const {
        return std::count_if(prompts.messages.begin(), prompts.messages.end(),
                             [&](const auto& m) { return (byTitle ? m.title : m.text) == text; });
    }
    void expectEnded() {
        EXPECT_FALSE(state.ExamenEnCurso);
        EXPECT_FALSE(w->LimiteTiempo->isActive());
        EXPECT_FALSE(w->FinalizarBtn->isEnabled());
        EXPECT_FALSE(w->mnuAcabarExamen->isEnabled());
        EXPECT_TRUE(w->mnuEmpezarExamen->isEnabled());
    }
    // What the review shows on a row: '>' arrow, 'x' cross, '.' nothing (both at once is '!').
    QString images() const {
        QString out;
        for (int j = 1; j <= w->highestRow(); ++j) {
            const bool arrow = shown(frmMain::row(w->boton_flecha, j));
            const bool cross = shown(frmMain::row(w->boton_cruz, j));
            out += arrow && cross ? u'!' : arrow ? u'>' : cross ? u'x' : u'.';
        }
        return out;
    }

    // Marks answer 1 and 3 of question 1 and answer 2 of question 2, then finishes.
    void markAndFinish() {
        w->boton_sin_Click(3);
        w->boton_sin_Click(1);
        w->SiguienteBtn->click();
        w->boton_sin_Click(2);
        finishByRequest();
    }
    void startReviewed(ExamBuilder& b) {
        b.exam().setDatoAlumno(1, u"Nombre"_s);
        b.exam().setMostrarFallos(true);
        start(b.build());
    }

    static QByteArray readFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The bytes of a results file of exam "EXAMEN-PRUEBA", series 1, multiple choice, whose only
    // student field is "Nombre": header, five labels and values, then one record per question
    // with its marks text ("0;" when blank).
    static QByteArray resultsBytes(const QString& nombre, const QStringList& marks) {
        auto number = [](qint64 v) { return QByteArray::number(v).rightJustified(10, '0'); };
        auto text = [&](const QString& t) { return number(t.toLatin1().size()) + t.toLatin1(); };
        QByteArray out =
            "0000000300" + text(u"EXAMEN-PRUEBA"_s) + number(1) + text(u"Nombre"_s) + text(nombre);
        for (int i = 1; i < 5; ++i)
            out += text({}) + text({});
        out += number(marks.size());
        for (int i = 0; i < marks.size(); ++i)
            out += number(1) + number(i + 1) + text(marks[i]);
        return out;
    }
};

TEST_F(FinishWindow, NoToTheConfirmationChangesNothingAndYesFromTheMenuEnds) {
    start(exam(2, 3, 10));
    w->boton_sin_Click(1);
    prompts.answers = {PromptAnswer::No};
    w->FinalizarBtn->click();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, Confirmation);
    EXPECT_TRUE(state.ExamenEnCurso);
    EXPECT_TRUE(w->LimiteTiempo->isActive());
    EXPECT_FALSE(QFile::exists(dir.filePath(u"res_Ana.kxa"_s)));
    w->boton_sin_Click(2); // marking still works
    EXPECT_EQ(recorded(), (std::vector<std::pair<int, int>>{{1, 1}, {1, 2}}));

    prompts.messages.clear();
    prompts.answers = {PromptAnswer::Yes};
    w->mnuAcabarExamen->trigger();
    ASSERT_GE(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].text, Confirmation);
    EXPECT_EQ(prompts.messages[1].text, Finished);
    expectEnded();
    EXPECT_TRUE(w->mnuMostrarNota->isEnabled());
}

TEST_F(FinishWindow, CountdownFollowsTheMonotonicClockAndEndsWithoutAQuestion) {
    start(exam(2, 3, 1)); // 60 seconds
    tickAfter(1000);
    EXPECT_EQ(w->TiempoLab->text(), u"0:00:59"_s);
    clock.setWallClock(clock.now().addSecs(3600)); // system clock forward: nothing changes
    tickAfter(1000);
    EXPECT_EQ(w->TiempoLab->text(), u"0:00:58"_s);
    clock.setWallClock(clock.now().addDays(-1)); // and back
    tickAfter(1000);
    EXPECT_EQ(w->TiempoLab->text(), u"0:00:57"_s);
    EXPECT_TRUE(state.ExamenEnCurso);
    EXPECT_TRUE(prompts.messages.empty());

    tickAfter(100'000'000); // a machine asleep for a day wakes with the time long over
    EXPECT_EQ(w->TiempoLab->text(), u"0:00:00"_s);
    expectEnded();
    ASSERT_FALSE(prompts.messages.empty());
    EXPECT_EQ(prompts.messages[0].text, Finished); // no confirmation before it
    EXPECT_EQ(readFile(dir.filePath(u"res_Ana.kxa"_s)), resultsBytes(u"Ana"_s, {u"0;"_s, u"0;"_s}));
}

TEST_F(FinishWindow, TimeRunningOutDuringTheConfirmationFinishesOnce) {
    start(exam(2, 3, 1));
    bool fired = false;
    prompts.onMessage = [&](const FakePrompts::Message& m) {
        if (m.buttons == PromptButtons::YesNo && !fired) {
            fired = true;
            tickAfter(60'000); // the time runs out, to the second, while the question is open
        }
    };
    // The end's own message is answered first (inside the question), then the question: "Sí".
    prompts.answers = {PromptAnswer::Ok, PromptAnswer::Yes};
    w->FinalizarBtn->click();
    EXPECT_TRUE(fired);
    EXPECT_EQ(countMessages(Finished), 1);
    EXPECT_EQ(prompts.modalWindows, std::vector<QString>{u"frmNota"_s});
    expectEnded();
    tickAfter(1000); // a stray tick after the end does nothing either
    EXPECT_EQ(countMessages(Finished), 1);
}

TEST_F(FinishWindow, TimerKeepsTickingWhileAModalWindowIsOpen) {
    start(exam(2, 3, 1));
    bool endedWhileOpen = false;
    prompts.onModal = [&](QDialog& d) {
        if (d.objectName() != u"frmAcerca"_s)
            return; // the grade, opened when the time runs out
        clock.advanceMs(60'000);
        // The modal window's own event loop delivers the real timer's next tick.
        endedWhileOpen = waitFor([&] { return !state.ExamenEnCurso; });
    };
    w->mnuAyudaAcercade->trigger();
    EXPECT_EQ(prompts.modalWindows, (std::vector<QString>{u"frmAcerca"_s, u"frmNota"_s}));
    EXPECT_TRUE(endedWhileOpen);
    EXPECT_EQ(countMessages(Finished), 1);
}

TEST_F(FinishWindow, GradeWindowShowsTheGradeAndCountsAndAgainFromTheMenu) {
    start(exam(6, 3));
    for (int answer : {1, 1, 1, 2, 3}) { // three right, two wrong, the sixth blank
        w->boton_sin_Click(answer);
        w->SiguienteBtn->click();
    }
    std::vector<QStringList> seen;
    prompts.onModal = [&](QDialog& d) {
        auto* nota = qobject_cast<frmNota*>(&d);
        ASSERT_NE(nota, nullptr);
        seen.push_back({nota->NotaLab->text(), nota->AcertadasLab->text(),
                        nota->FalladasLab->text(), nota->BlancasLab->text()});
    };
    finishByRequest();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], (QStringList{u"5"_s, u"3"_s, u"2"_s, u"1"_s}));
    w->mnuMostrarNota->trigger();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1], seen[0]);
}

TEST_F(FinishWindow, EmpezarAfterTheEndStartsAFreshRunAndAnotherExamOpensAfresh) {
    start(exam(2, 3, 5));
    w->boton_sin_Click(2);
    finishByRequest();
    prompts.messages.clear();
    w->mnuEmpezarExamen->trigger();
    ASSERT_TRUE(state.ExamenEnCurso);
    EXPECT_TRUE(recorded().empty());
    EXPECT_EQ(w->frmExternoTag(), u"1"_s);
    EXPECT_TRUE(tickedRows().empty());
    EXPECT_EQ(images(), u"..."_s);
    tickAfter(1000); // the new run has its own clock and its own single finish
    EXPECT_EQ(w->TiempoLab->text(), u"0:04:59"_s);
    finishByRequest();
    EXPECT_EQ(countMessages(Finished), 1);

    open(exam(3, 4));
    EXPECT_FALSE(w->mnuMostrarNota->isEnabled());
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
    EXPECT_EQ(prompts.messages[0].text, u"El Examen no ha finalizado. Para cerrar la aplicación "
                                        u"debe finalizar el examen primero."_s);

    finishByRequest();
    prompts.messages.clear();
    prompts.answers = {PromptAnswer::No};
    w->mnuSalir->trigger();
    EXPECT_TRUE(w->isVisible());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, u"¿Desea realmente salir de la aplicación?"_s);
    prompts.answers = {PromptAnswer::Yes};
    w->mnuSalir->trigger();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(FinishWindow, FileOnDiskHoldsTheMarksInTheOrderMade) {
    start(exam(2, 3));
    markAndFinish();
    EXPECT_EQ(readFile(dir.filePath(u"res_Ana.kxa"_s)),
              resultsBytes(u"Ana"_s, {u"3;1;"_s, u"2;"_s}));
    EXPECT_EQ(countMessages(SaveFailedTitle, true), 0);
    EXPECT_TRUE(QDir(programFolder()).isEmpty());
}

// The chosen path stops being writable between the start and the end (as root, permissions
// would not stop the write, so the path itself must be impossible).
TEST_F(FinishWindow, UnwritablePathFallsBackToTheProgramFolderAndSaysWhere) {
    start(exam(2, 3), u"Ana: 3/B"_s);
    QFile plain(dir.filePath(u"plain"_s));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    const QString chosen = dir.filePath(u"plain/res.kxa"_s);
    state.Resultado->setArchivoSalida(chosen);
    markAndFinish();
    const QString fallback = programFolder() + u"/Examen_Ana_ 3_B.kxa"_s;
    EXPECT_EQ(readFile(fallback), resultsBytes(u"Ana: 3/B"_s, {u"3;1;"_s, u"2;"_s}));
    EXPECT_EQ(state.Resultado->ArchivoSalida(), fallback);
    // Told after "El examen ha finalizado." and before the grade.
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(prompts.messages[1].text, Finished);
    EXPECT_EQ(prompts.messages[2].title, SaveFailedTitle);
    EXPECT_EQ(prompts.messages[2].text, saveFailedMessage(chosen, fallback));
    EXPECT_EQ(prompts.modalWindows.size(), 1u);
}

TEST_F(FinishWindow, FailingFallbackIsNotReportedTwice) {
    start(exam(2, 3));
    w->setProgramFolder(dir.filePath(u"no/such/folder"_s));
    state.Resultado->setArchivoSalida(dir.filePath(u"missing/res.kxa"_s));
    finishByRequest();
    EXPECT_EQ(countMessages(SaveFailedTitle, true), 1);
    EXPECT_FALSE(state.ExamenEnCurso);
    EXPECT_EQ(prompts.modalWindows.size(), 1u); // the grade still follows
}

TEST_F(FinishWindow, MultipleChoiceArrowsOnMissedRightAnswersCrossesOnWrongChoices) {
    ExamBuilder b;
    b.pregunta(u"A"_s, u"a"_s, {{u"1"_s, true}, {u"2"_s, false}, {u"3"_s, true}, {u"4"_s, false}});
    b.pregunta(u"B"_s, u"b"_s, {{u"1"_s, false}, {u"2"_s, true}, {u"3"_s, true}});
    b.pregunta(u"C"_s, u"c"_s, {{u"1"_s, true}, {u"2"_s, false}});
    b.serie(1, {u"A"_s, u"B"_s, u"C"_s});
    startReviewed(b);
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
    const auto before = recorded();
    w->boton_sin_Click(4); // marks are refused after the end, paging goes on
    w->boton_con_Click(1);
    EXPECT_EQ(recorded(), before);
    EXPECT_EQ(countMessages(u"El examen ha finalizado, no puede modificar resultados"_s), 2);
    w->SiguienteBtn->click();
    EXPECT_EQ(images(), u".>>"_s);
    w->SiguienteBtn->click();
    EXPECT_EQ(images(), u".."_s);
    w->AnteriorBtn->click();
    w->AnteriorBtn->click();
    EXPECT_EQ(images(), u".x>."_s); // drawn again, annotated again the same
    EXPECT_EQ(tickedRows(), (std::vector<int>{1, 2}));
}

TEST_F(FinishWindow, ReviewAnnotatesThePageOnDisplayAtTheEnd) {
    start(exam(3, 3));
    w->SiguienteBtn->click();
    w->boton_sin_Click(3);
    finishByRequest();
    EXPECT_EQ(w->frmExternoTag(), u"2"_s);
    EXPECT_EQ(images(), u">.x"_s);
}

TEST_F(FinishWindow, TrueFalseFollowsTheTableForEveryChoice) {
    const struct {
        const char* name;
        bool statementTrue, withoutAnswers;
        std::vector<int> marks; // rows clicked, in order
        const char16_t* shown;
    } cases[] = {
        {"blank, true", true, false, {}, u">."},
        {"blank, false", false, false, {}, u".>"},
        {"Verdadero, true", true, false, {1}, u".."},
        {"Verdadero, false", false, false, {1}, u"x>"},
        {"Falso, true", true, false, {2}, u">x"},
        {"Falso, false", false, false, {2}, u".."},
        {"both marked count as Verdadero", false, false, {2, 1}, u"x>"},
        {"no answers written counts as false", true, true, {}, u".>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        restart();
        std::vector<ExamBuilder::Answer> answers;
        if (!c.withoutAnswers)
            answers = {{u"Verdadero"_s, c.statementTrue}, {u"Falso"_s, false}};
        ExamBuilder b;
        b.verdaderoFalso().pregunta(u"V"_s, u"v"_s, answers).serie(1, {u"V"_s});
        b.exam().setSoloUnaRespuesta(false); // lets both rows be marked
        startReviewed(b);
        for (int j : c.marks)
            w->boton_sin_Click(j);
        finishByRequest();
        EXPECT_EQ(images(), QString::fromUtf16(c.shown));
    }
}

TEST_F(FinishWindow, ExamWithoutResultsFileReviewOrGradeShowsNoneOfThem) {
    auto e = exam();
    e->setGuardarArchivoResultados(false);
    e->setMostrarFallos(false);
    e->setMostrarNota(false);
    start(e);
    w->boton_sin_Click(2);
    finishByRequest();
    EXPECT_EQ(images(), u"..."_s);
    w->SiguienteBtn->click();
    EXPECT_EQ(images(), u"..."_s);
    EXPECT_TRUE(prompts.modalWindows.empty());
    EXPECT_FALSE(w->mnuMostrarNota->isEnabled());
    EXPECT_FALSE(QFile::exists(dir.filePath(u"res_Ana.kxa"_s)));
    EXPECT_EQ(countMessages(SaveFailedTitle, true), 0);
    EXPECT_TRUE(QDir(programFolder()).isEmpty());
}

} // namespace
} // namespace kp::test
