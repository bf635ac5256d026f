// Finishing the exam, the time limit, the grade, the corrected review and closing the window.
#include "window/frmMain.h"

namespace kp {

void frmMain::FinalizarBtn_Click() {}

void frmMain::mnuAcabarExamen_Click() {
    FinalizarBtn_Click();
}

void frmMain::LimiteTiempo_Timer() {}

void frmMain::FinExamen() {}

void frmMain::MostrarNota() {}

void frmMain::mnuMostrarNota_Click() {
    MostrarNota();
}

void frmMain::MostrarFallos() {}

bool frmMain::Form_QueryUnload() {
    return true;
}

void frmMain::mnuSalir_Click() {
    close();
}

void frmMain::mnuAyudaAcercade_Click() {}

} // namespace kp
