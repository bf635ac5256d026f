#include "WindowFixture.h"
#include "window/frmNota.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QTimer>

using namespace Qt::StringLiterals;

// The whole road through the real exam window: start, marks, the end by request or by time, the
// results file on disk, the grade, the review, and what may follow the end.
namespace kp::test {
namespace {

const QString Finished = u"El examen ha finalizado."_s;

// What the corrected review puts in front of a row.
enum Review { Nothing, Cross, Arrow, ArrowAndCross };
void PrintTo(Review r, std::ostream* os) {
    *os << (r == Nothing ? "nothing" : r == Cross ? "cross" : r == Arrow ? "arrow" : "both");
}
using Reviews = std::vector<Review>;

class FinishWindow : public WindowFixture {
protected:
    QTemporaryDir dir; // results files, and the program's folder when told
    // The exam (by default two multiple-choice questions of three answers, answer 1 right) with a
    // "Nombre" field, a results file in the scratch folder, the grade and the review shown.
    std::shared_ptr<KipsaPrubex> exam(qint16 minutos = 0,
                                      TestExamBuilder b = TestExamBuilder::simple(2, 3)) {
        KipsaPrubex& e = b.exam();
        e.setDatoAlumno(1, u"Nombre"_s);
        e.setMostrarFallos(true);
        e.setGuardarArchivoResultados(true);
        e.setRutaArchivoResultados(dir.filePath(u"res"_s));
        e.setMostrarNota(true);
        e.setMinutosLimite(minutos);
        e.setNotaMaxima(20);
        return b.build();
    }
    void start(std::shared_ptr<KipsaPrubex> e, const QString& nombre = u"Ana"_s) {
        open(std::move(e));
        dato(1)->setText(nombre);
        button("EmpezarBtn")->click();
        ASSERT_TRUE(state.ExamenEnCurso);
    }
    void finishByRequest() {
        prompts.answers.push_back(PromptAnswer::Yes);
        button("FinalizarBtn")->click();
    }
    void tickAfter(qint64 ms) {
        clock.advanceMs(ms);
        w->LimiteTiempo_Timer();
    }
    QStringList texts() const {
        QStringList out;
        for (const auto& m : prompts.messages)
            out << m.text;
        return out;
    }
    // The review on each row, in row order.
    std::vector<Review> review() const {
        std::vector<Review> out;
        for (int j = 1; j <= w->highestRow(); ++j)
            out.push_back(Review(2 * shown(rowControl<ImageBox>("boton_flecha", j)) +
                                 shown(rowControl<ImageBox>("boton_cruz", j))));
        return out;
    }
    // The file is a results file of exam "EXAMEN-PRUEBA", series 1, multiple choice, whose only
    // student field is "Nombre": header, five labels and values, then one record per question
    // with its marks ("0;" blank).
    static void expectResults(const QString& path, const QString& nombre,
                              const QStringList& marks) {
        auto number = [](qint64 v) { return QByteArray::number(v).rightJustified(10, '0'); };
        auto text = [&](const QString& t) { return number(t.toLatin1().size()) + t.toLatin1(); };
        QByteArray out =
            "0000000300" + text(u"EXAMEN-PRUEBA"_s) + number(1) + text(u"Nombre"_s) + text(nombre);
        out += QByteArray(80, '0'); // four more empty labels and values
        out += number(marks.size());
        for (int i = 0; i < marks.size(); ++i)
            out += number(1) + number(i + 1) + text(marks[i]);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        EXPECT_EQ(f.readAll(), out);
    }
};

// Start, mark, "No" then "Sí" to the end, the file, the grade, the review while paging, a fresh
// run and leaving.
TEST_F(FinishWindow, WholeRoadOfAMultipleChoiceExam) {
    TestExamBuilder b;
    b.pregunta(u"A"_s, u"a"_s, {{u"1"_s, true}, {u"2"_s, false}, {u"3"_s, true}, {u"4"_s, false}});
    b.pregunta(u"B"_s, u"b"_s, {{u"1"_s, false}, {u"2"_s, true}, {u"3"_s, true}});
    b.pregunta(u"C"_s, u"c"_s, {{u"1"_s, true}, {u"2"_s, false}});
    b.exam().setColorFondo(0x00336699); // red in the low byte
    start(exam(10, b.serie(1, {u"A"_s, u"B"_s, u"C"_s})));
    w->boton_sin_Click(2);
    w->show();
    w->close(); // refused during the exam
    EXPECT_TRUE(w->isVisible());
    prompts.answers = {PromptAnswer::No};
    button("FinalizarBtn")->click();
    const QString confirmation =
        u"¿Desea realmente finalizar el examen? Esto significa que no podrá modificar ningún "
        u"resultado.\rPulse SI para finalizar el examen.\rPulse NO para continuar el examen."_s;
    EXPECT_EQ(texts().last(), confirmation);
    EXPECT_TRUE(state.ExamenEnCurso && control<QTimer>(u"LimiteTiempo"_s)->isActive());
    w->boton_sin_Click(1);           // A: right 1 and 3, chose 2 then 1
    button("SiguienteBtn")->click(); // B: nothing chosen
    button("SiguienteBtn")->click();
    w->boton_sin_Click(1); // C: right

    QStringList grades; // the grade and the window's colour, each time it is shown
    prompts.onModal = [&](QDialog& d) {
        const auto& nota = dynamic_cast<frmNota&>(d);
        grades << nota.NotaLab->text() + nota.frmResumen->palette().color(QPalette::Window).name();
    };
    prompts.messages.clear();
    prompts.answers = {PromptAnswer::Yes};
    action("mnuAcabarExamen")->trigger();
    EXPECT_EQ(texts(), (QStringList{confirmation, Finished}));
    EXPECT_FALSE(state.ExamenEnCurso || control<QTimer>(u"LimiteTiempo"_s)->isActive() ||
                 button("FinalizarBtn")->isEnabled() || action("mnuAcabarExamen")->isEnabled());
    expectResults(dir.filePath(u"res_Ana.kxa"_s), u"Ana"_s, {u"2;1;"_s, u"0;"_s, u"1;"_s});
    action("mnuMostrarNota")->trigger();
    EXPECT_EQ(grades, QStringList(2, u"6,66#996633"_s)); // 20 / 3, cut

    EXPECT_EQ(review(), (Reviews{Nothing, Nothing})); // on display: question 3, right
    button("AnteriorBtn")->click();
    EXPECT_EQ(review(), (Reviews{Nothing, Arrow, Arrow}));

    action("mnuEmpezarExamen")
        ->trigger(); // a fresh run, with its own clock and its own single finish
    EXPECT_TRUE(recorded().empty());
    EXPECT_EQ(review(), Reviews(4, Nothing));
    tickAfter(1000);
    EXPECT_EQ(label("TiempoLab")->text(), u"0:09:59"_s);
    finishByRequest();
    EXPECT_EQ(texts().count(Finished), 2);

    prompts.answers = {PromptAnswer::No, PromptAnswer::Yes};
    action("mnuSalir")->trigger(); // "¿Desea realmente salir de la aplicación?" after the end
    EXPECT_TRUE(w->isVisible());
    action("mnuSalir")->trigger();
    EXPECT_FALSE(w->isVisible());
}

// The countdown goes on under a modal window and ends the exam without a question.
TEST_F(FinishWindow, CountdownEndsTheExamUnderAModalWindow) {
    start(exam(1));
    bool endedWhileOpen = false;
    prompts.onModal = [&](QDialog& d) {
        if (d.objectName() != u"frmAcerca"_s)
            return;                   // the grade, opened when the time runs out
        clock.advanceMs(100'000'000); // a machine asleep for a day wakes with the time long over
        // The timer's next tick, due at once, comes through the events a modal window runs.
        control<QTimer>(u"LimiteTiempo"_s)->setInterval(0);
        for (int i = 0; i < 10 && state.ExamenEnCurso; ++i)
            QCoreApplication::processEvents();
        endedWhileOpen = !state.ExamenEnCurso;
    };
    action("mnuAyudaAcercade")->trigger();
    EXPECT_TRUE(endedWhileOpen);
    EXPECT_EQ(prompts.modalWindows, (std::vector<QString>{u"frmAcerca"_s, u"frmNota"_s}));
    EXPECT_EQ(texts(), QStringList{Finished}); // no confirmation before it
    EXPECT_EQ(label("TiempoLab")->text(), u"0:00:00"_s);
}

TEST_F(FinishWindow, TimeRunningOutDuringTheConfirmationFinishesOnce) {
    start(exam(1));
    bool fired = false;
    prompts.onMessage = [&](const FakePrompts::Message& m) {
        if (m.buttons == PromptButtons::YesNo && !fired) {
            fired = true;
            tickAfter(60'000); // the time runs out, to the second, while the question is open
        }
    };
    // The end's own message is answered first (inside the question), then the question: "Sí".
    prompts.answers = {PromptAnswer::Ok, PromptAnswer::Yes};
    button("FinalizarBtn")->click();
    EXPECT_TRUE(fired);
    EXPECT_EQ(prompts.modalWindows, std::vector<QString>{u"frmNota"_s});
    tickAfter(1000); // a stray tick after the end does nothing either
    EXPECT_EQ(texts().count(Finished), 1);
}

// Nothing is written (not even a journal of the marks) and nothing more is said or shown for an
// exam that asks for no results file, no grade and no review.
TEST_F(FinishWindow, AnExamWithoutAResultsFileWritesNone) {
    w->setProgramFolder(dir.path());
    auto e = exam();
    e->setGuardarArchivoResultados(false);
    e->setMostrarNota(false);
    e->setMostrarFallos(false);
    start(e);
    w->boton_sin_Click(1);
    EXPECT_TRUE(w->journal().path().isEmpty());
    finishByRequest();
    EXPECT_EQ(texts().mid(1), QStringList{Finished});
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(prompts.modalWindows.empty() && !action("mnuMostrarNota")->isEnabled());
    EXPECT_EQ(review(), Reviews(3, Nothing)) << "nor the review";
}

enum Statement { True, False, WithoutAnswers }; // the last counts as false

struct TrueFalseRow {
    const char* name;
    Statement statement;
    std::vector<int> marks; // rows clicked, in order: 1 Verdadero, 2 Falso
    Reviews review;
};

const TrueFalseRow kTrueFalseRows[] = {
    {"TrueLeftBlank", True, {}, {Arrow, Nothing}},
    {"TrueAnsweredVerdadero", True, {1}, {Nothing, Nothing}},
    {"TrueAnsweredFalso", True, {2}, {Arrow, Cross}},
    {"TrueAnsweredBothCountsAsVerdadero", True, {2, 1}, {Nothing, Nothing}},
    {"FalseLeftBlank", False, {}, {Nothing, Arrow}},
    {"FalseAnsweredVerdadero", False, {1}, {Cross, Arrow}},
    {"FalseAnsweredFalso", False, {2}, {Nothing, Nothing}},
    {"FalseAnsweredBoth", False, {2, 1}, {Cross, Arrow}},
    {"WithoutAnswersLeftBlank", WithoutAnswers, {}, {Nothing, Arrow}},
    {"WithoutAnswersAnsweredVerdadero", WithoutAnswers, {1}, {Cross, Arrow}},
    {"WithoutAnswersAnsweredFalso", WithoutAnswers, {2}, {Nothing, Nothing}},
};

class TrueFalseReview : public FinishWindow, public testing::WithParamInterface<TrueFalseRow> {};

TEST_P(TrueFalseReview, MarksTheRightRowAndAWrongChoice) {
    const TrueFalseRow& r = GetParam();
    std::vector<TestExamBuilder::Answer> answers;
    if (r.statement != WithoutAnswers)
        answers = {{u"Verdadero"_s, r.statement == True}, {u"Falso"_s, false}};
    TestExamBuilder b;
    b.verdaderoFalso().pregunta(u"V"_s, u"v"_s, answers).serie(1, {u"V"_s});
    b.exam().setSoloUnaRespuesta(false); // lets both rows be marked
    start(exam(0, b));
    for (int j : r.marks)
        w->boton_sin_Click(j);
    finishByRequest();
    EXPECT_EQ(review(), r.review);
}
INSTANTIATE_TEST_SUITE_P(FinishWindow, TrueFalseReview, testing::ValuesIn(kTrueFalseRows),
                         RowName());

} // namespace
} // namespace kp::test
