#include "app/StartUp.h"

#include "results/ExamState.h"
#include "window/ExamOpening.h"
#include "window/frmMain.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QScreen>
#include <QThread>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

// The layout is computed once, from the client area: show the window maximised first and let
// the platform settle its size (a window manager maximises asynchronously).
void settle(frmMain& window) {
    const QDeadlineTimer deadline(1500);
    QSize last;
    int stableRounds = 0;
    while (stableRounds < 5 && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
        const QSize now = window.centralWidget()->size();
        stableRounds = now == last ? stableRounds + 1 : 0;
        last = now;
    }
}

void showMaximisedAndSettle(frmMain& window) {
    window.showMaximized();
    settle(window);
    // Without a window manager nobody maximises the window (no frame is drawn either): give it
    // the screen's available area ourselves.
    const QScreen* screen = window.screen();
    if (screen && window.frameGeometry() == window.geometry() &&
        window.geometry() != screen->availableGeometry()) {
        window.setGeometry(screen->availableGeometry());
        settle(window);
    }
}

} // namespace

QString argumentText(const QStringList& arguments) {
    return arguments.mid(1).join(u' ');
}

QString examOnCommandLine(const QString& text) {
    if (!text.trimmed().isEmpty() && text.endsWith(u".kxt"_s, Qt::CaseSensitive))
        return text;
    return {};
}

std::unique_ptr<frmMain> startUp(ExamState& state, Prompts& prompts, Clock& clock,
                                 RandomSource& random, const QString& text) {
    std::unique_ptr<frmMain> window;
    try {
        const QString path = examOnCommandLine(text);
        if (!path.isEmpty() && !AbrirExamen(state, prompts, path))
            return nullptr;
        window = std::make_unique<frmMain>(state, prompts, clock, random);
        if (!path.isEmpty()) {
            showMaximisedAndSettle(*window);
            window->showOpenedExam();
        }
    } catch (...) {
        // A failure ends the start-up where it happened; a window made so far is still shown.
    }
    return window;
}

} // namespace kp
