#include "startup/StartUp.h"

#include "startup/ExamOpening.h"
#include "startup/ExamState.h"
#include "window/Guarded.h"
#include "window/frmMain.h"

#include <QAction>

using namespace Qt::StringLiterals;

namespace kp {

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
            window->ReadyToGo();
            window->InfoExamen();
            window->mnuEmpezarExamen->setEnabled(true);
            window->mnuMostrarNota->setEnabled(false);
        }
    } catch (...) {
        // A failure ends the start-up where it happened; a window made so far is still shown.
    }
    return window;
}

} // namespace kp
