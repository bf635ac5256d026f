// The real exam window on its own, driven step by step until it is killed; used by
// test_window_crash. Arguments: FOLDER SEED STEPS SOLO_UNA (0 or 1). It starts the exam in
// FOLDER (results and journal), prints "0" once started and k after step k has returned.
#include "CrashRun.h"
#include "FakeClock.h"
#include "FakePrompts.h"
#include "FakeRandom.h"
#include "widgets/ImageBox.h"
#include "window/frmMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <cstdio>

using namespace kp;
using namespace kp::test;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 5)
        return 2;
    const QString folder = args[1];
    const auto steps = crash::steps(args[2].toUInt(), args[3].toInt());

    ExamState state;
    FakePrompts prompts;
    FakeClock clock;
    FakeRandom random;
    frmMain w(state, prompts, clock, random);
    w.setProgramFolder(folder + QStringLiteral("/programa"));
    w.setDocumentsFolder(folder + QStringLiteral("/Documentos"));
    w.setJournalFolder(folder + QStringLiteral("/programa"));
    TestExamBuilder::install(state, crash::exam(folder, args[4] == u'1'));
    w.showOpenedExam();
    w.findChild<QLineEdit*>(QStringLiteral("dato1Txt"))->setText(QStringLiteral("Ana"));
    w.findChild<QLineEdit*>(QStringLiteral("dato3Txt"))->setText(QStringLiteral("3ºB"));
    w.findChild<QPushButton*>(QStringLiteral("EmpezarBtn"))->click();
    if (!state.ExamenEnCurso)
        return 3;
    std::printf("0\n");
    std::fflush(stdout);
    for (size_t k = 0; k < steps.size(); ++k) {
        const auto [q, a] = steps[k];
        clock.advanceMs(crash::kStepMs);
        w.ShowPregunta(q);
        const auto* ticked = w.findChild<ImageBox*>(QStringLiteral("boton_con_%1").arg(a));
        if (ticked && !ticked->isHidden())
            w.boton_con_Click(a);
        else
            w.boton_sin_Click(a);
        std::printf("%zu\n", k + 1);
        std::fflush(stdout);
    }
    for (;;) // until killed
        QThread::sleep(1);
}
