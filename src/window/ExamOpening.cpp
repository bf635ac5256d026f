#include "window/ExamOpening.h"

#include "results/ExamState.h"
#include "widgets/Prompts.h"
#include "window/frmMain.h"

using namespace Qt::StringLiterals;

namespace kp {

bool AbrirExamen(ExamState& state, Prompts& prompts, const QString& path, QWidget* window) {
    bool opened = false;
    try {
        state.replaceExam(std::make_shared<KipsaPrubex>());
        if (state.Examen->Cargar(path)) {
            state.examLoaded();
            if (window)
                window->setWindowTitle(frmMain::Caption);
            opened = true;
        }
    } catch (...) {
        opened = false;
    }
    if (!opened)
        prompts.message(window, u"Atención"_s,
                        u"Ocurrió un error al abrir el archivo de examen. Es posible que el "
                        u"archivo este dañado."_s,
                        PromptIcon::Exclamation, PromptButtons::Ok);
    return opened;
}

} // namespace kp
