// Finishing the exam, the time limit, the grade, closing the window and the About window.
#include "window/frmMain.h"

#include "about/SystemRegistryReader.h"
#include "about/frmAcerca.h"
#include "results/Correccion.h"
#include "results/ExamState.h"
#include "results/FinishRules.h"
#include "results/ResultsSaving.h"
#include "widgets/Guarded.h"
#include "widgets/Prompts.h"
#include "window/frmNota.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
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
        guarded([&] {
            // Now and then, so a recovered exam tells how long it ran without marks.
            const qint64 elapsed = examElapsedMs();
            if (elapsed - journalTimeMs_ >= 60'000) {
                journalTimeMs_ = elapsed;
                journal_.time(elapsed);
            }
        });
        guarded([&] { setRemainingTime(remainingTimeText(remaining)); });
        if (remaining <= 0)
            finishSequence();
    });
}

void frmMain::startExamClock() {
    state_.HoraInicio = examClock_.start(clock_);
}

void frmMain::startJournal() {
    journal_.close(); // one left by an earlier exam stays on disk
    if (!state_.Examen || !state_.Resultado || !state_.Examen->GuardarArchivoResultados())
        return;
    journalStartMs_ = clock_.monotonicMs();
    journalTimeMs_ = 0;
    const QDateTime now = clock_.now();
    journal_.start(journalFolder(), recoveryFileStem(*state_.Examen, *state_.Resultado, now),
                   JournalHeader::of(*state_.Examen, *state_.Resultado, state_.TotalPreguntas,
                                     state_.SegundosLimite, now));
}

qint64 frmMain::examElapsedMs() const {
    return clock_.monotonicMs() - journalStartMs_;
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
    const bool saving =
        state_.Examen && state_.Resultado && state_.Examen->GuardarArchivoResultados();
    // The results reach the disk before anything is shown: a student who walks away from the
    // message, a power cut or a crash loses nothing. The journal goes once they are safe.
    SaveOutcome outcome;
    guarded([&] {
        if (!saving)
            return;
        outcome = saveResults(*state_.Examen, *state_.Resultado, state_.TotalPreguntas,
                              {programFolder(), documentsFolder()}, clock_.now(), resultsFiles_);
        if (outcome.saved())
            journal_.remove();
    });
    guarded([&] {
        prompts_.message(this, u"Fin de examen"_s, u"El examen ha finalizado."_s,
                         PromptIcon::Information, PromptButtons::Ok);
    });
    if (!state_.Examen || !state_.Resultado)
        return;
    const KipsaPrubex& exam = *state_.Examen;
    guarded([&] {
        if (!saving || !outcome.fellBack())
            return;
        // "Lea atentamente" names the file as written, so it is said only when it is true.
        if (outcome.saved())
            prompts_.message(this, u"Lea atentamente"_s,
                             saveFailedMessage(outcome.chosenPath, outcome.savedPath),
                             PromptIcon::Information, PromptButtons::Ok);
        else
            prompts_.message(this, u"Atención"_s,
                             resultsNotSavedMessage(
                                 outcome.tried, journal_.complete() ? journal_.path() : QString()),
                             PromptIcon::Exclamation, PromptButtons::Ok);
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
    return programFolder_.isEmpty()
               ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
               : programFolder_;
}

QString frmMain::documentsFolder() const {
    return documentsFolder_.isEmpty()
               ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
               : documentsFolder_;
}

QString frmMain::journalFolder() const {
    return journalFolder_.isEmpty()
               ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
               : journalFolder_;
}

} // namespace kp
