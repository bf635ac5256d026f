#include "startup/ExamOpening.h"

#include "startup/ExamState.h"
#include "window/Prompts.h"
#include "window/frmMain.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace kp {

bool AbrirExamen(ExamState& state, Prompts& prompts, const QString& path, QWidget* window) {
    bool opened = false;
    try {
        state.Examen.reset();
        state.Resultado.reset();
        state.ExamenEnCurso = false;
        state.Examen = std::make_shared<KipsaPrubex>();
        state.Resultado = std::make_shared<KipsaResult>();
        if (state.Examen->Cargar(path)) {
            state.Resultado->setIdExamen(state.Examen->IdExamen());
            const long slotCount = state.Examen->Series()->Item(1)->PreguntasSerie()->Count();
            if (slotCount > std::numeric_limits<qint16>::max())
                throw KpError(KpError::OutOfRange, u"Demasiadas preguntas en la serie"_s);
            state.TotalPreguntas = static_cast<qint16>(slotCount);
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
