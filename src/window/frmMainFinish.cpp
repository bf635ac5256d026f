// Finishing the exam, the time limit, the grade, closing the window and the About window.
#include "window/frmMain.h"

#include "about/SystemRegistryReader.h"
#include "about/frmAcerca.h"
#include "results/Correccion.h"
#include "results/ExamState.h"
#include "results/FinishRules.h"
#include "widgets/Guarded.h"
#include "widgets/Prompts.h"
#include "window/frmNota.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace kp {

void frmMain::FinalizarBtn_Click() {
    guarded([&] {
        const PromptAnswer answer = prompts_.message(
            this, u"Fin de examen"_s,
            u"¿Desea realmente finalizar el examen? Esto significa que no podrá modificar "
            u"ningún resultado.\rPulse SI para finalizar el examen.\rPulse NO para continuar "
            u"el examen."_s,
            PromptIcon::Question, PromptButtons::YesNo);
        if (answer == PromptAnswer::Yes)
            finishSequence();
    });
}

void frmMain::mnuAcabarExamen_Click() {
    FinalizarBtn_Click();
}

void frmMain::LimiteTiempo_Timer() {
    guarded([&] {
        // A tick queued before the end has nothing left to count.
        if (!state_.ExamenEnCurso) {
            LimiteTiempo->stop();
            return;
        }
        const qint32 remaining = state_.SegundosLimite - examClock_.elapsedSeconds(clock_);
        guarded([&] { setRemainingTime(remainingTimeText(remaining)); });
        if (remaining <= 0)
            finishSequence();
    });
}

void frmMain::startExamClock() {
    state_.HoraInicio = examClock_.start(clock_);
}

void frmMain::finishSequence() {
    // Once per exam: when the time runs out while the student is answering the confirmation,
    // the exam is already over by the time the "Sí" arrives.
    if (!state_.ExamenEnCurso)
        return;
    guarded([&] { LimiteTiempo->stop(); });
    state_.ExamenEnCurso = false;
    examClock_.reset();
    guarded([&] { FinalizarBtn->setEnabled(false); });
    guarded([&] { mnuAcabarExamen->setEnabled(false); });
    guarded([&] { mnuEmpezarExamen->setEnabled(true); });
    guarded([&] {
        if (state_.Examen && state_.Examen->MostrarNota())
            mnuMostrarNota->setEnabled(true);
    });
    guarded([&] { FinExamen(); });
}

void frmMain::FinExamen() {
    guarded([&] {
        prompts_.message(this, u"Fin de examen"_s, u"El examen ha finalizado."_s,
                         PromptIcon::Information, PromptButtons::Ok);
    });
    if (!state_.Examen || !state_.Resultado)
        return;
    const KipsaPrubex& exam = *state_.Examen;
    guarded([&] {
        if (!exam.GuardarArchivoResultados())
            return;
        KipsaResult& result = *state_.Resultado;
        if (result.Guardar(exam, state_.TotalPreguntas))
            return;
        const QString fallback = fallbackResultsPath(programFolder(), exam, result, clock_.now());
        prompts_.message(this, u"Lea atentamente"_s,
                         saveFailedMessage(result.ArchivoSalida(), fallback),
                         PromptIcon::Information, PromptButtons::Ok);
        result.setArchivoSalida(fallback);
        // The message has been given; a failure here has nothing more to say.
        result.Guardar(exam, state_.TotalPreguntas);
    });
    guarded([&] {
        if (exam.MostrarNota())
            MostrarNota();
    });
    guarded([&] {
        if (exam.MostrarFallos())
            MostrarFallos();
    });
}

void frmMain::MostrarNota() {
    guarded([&] {
        qint16 acertadas = 0;
        qint16 falladas = 0;
        qint16 blancas = 0;
        const float nota = DameNota(state_, acertadas, falladas, blancas);
        frmNota window(this);
        window.ReadyToGo(nota, acertadas, falladas, blancas,
                         state_.Examen ? state_.Examen->ColorFondo() : 0xFFFFFF);
        prompts_.showModal(window);
    });
}

void frmMain::mnuMostrarNota_Click() {
    MostrarNota();
}

bool frmMain::Form_QueryUnload() {
    try {
        if (state_.ExamenEnCurso) {
            prompts_.message(this, u"Atención"_s,
                             u"El Examen no ha finalizado. Para cerrar la aplicación debe "
                             u"finalizar el examen primero."_s,
                             PromptIcon::Information, PromptButtons::Ok);
            return false;
        }
        return prompts_.message(this, u"Atención!"_s, u"¿Desea realmente salir de la aplicación?"_s,
                                PromptIcon::Question, PromptButtons::YesNo) == PromptAnswer::Yes;
    } catch (...) {
        // Never lose an exam in progress to a failure here.
        return !state_.ExamenEnCurso;
    }
}

void frmMain::mnuSalir_Click() {
    guarded([&] { close(); });
}

void frmMain::mnuAyudaAcercade_Click() {
    guarded([&] {
        SystemRegistryReader registry;
        frmAcerca about(prompts_, registry, this);
        prompts_.showModal(about);
    });
}

QString frmMain::programFolder() const {
    return programFolder_.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder_;
}

} // namespace kp
