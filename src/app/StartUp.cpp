#include "app/StartUp.h"

#include "app/FinalSizeWait.h"
#include "results/ExamState.h"
#include "window/ExamOpening.h"
#include "window/frmMain.h"

using namespace Qt::StringLiterals;

namespace kp {

namespace {

// Longest wait for a window manager to maximise the window before it is laid out as it is.
constexpr int FinalSizeLimitMs = 1500;

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
            // The layout is computed once, from the client area: the window is laid out when
            // it has its final, maximised size.
            window->showMaximized();
            frmMain& shown = *window;
            FinalSizeWait(shown).layOutWhenSized(FinalSizeLimitMs,
                                                 [&shown] { shown.showOpenedExam(); });
        }
    } catch (...) {
        // A failure ends the start-up where it happened; a window made so far is still shown.
    }
    return window;
}

} // namespace kp
