#include "app/QtTranslations.h"
#include "app/StartUp.h"
#include "model/Clock.h"
#include "model/RandomSource.h"
#include "results/ExamState.h"
#include "widgets/QtPrompts.h"
#include "window/frmMain.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Standard buttons and Qt's own dialogs speak Spanish.
    QTranslator qtSpanish;
    if (!kp::loadSpanishQtTranslations(qtSpanish, kp::qtTranslationFolders()).isEmpty())
        QApplication::installTranslator(&qtSpanish);

    kp::ExamState state;
    kp::QtPrompts prompts;
    kp::SystemClock clock;
    kp::SystemRandom random;
    auto window =
        kp::startUp(state, prompts, clock, random, kp::argumentText(QApplication::arguments()));
    if (!window)
        return 1; // the exam could not be opened; the message has been shown
    // For start-up timing: end as soon as the window stands laid out and painted.
    if (qEnvironmentVariableIsSet("KP_EXIT_WHEN_READY"))
        return 0;
    window->showMaximized();
    return QApplication::exec();
}
