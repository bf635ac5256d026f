// The corrected review: arrows before right answers the student left out, crosses on wrong
// choices, on the page on display.
#include "window/frmMain.h"

#include "model/KipsaPrubex.h"
#include "results/ExamState.h"
#include "widgets/Guarded.h"
#include "widgets/ImageBox.h"

using namespace Qt::StringLiterals;

namespace kp {

namespace {

bool shown(const QWidget* w) {
    return w && !w->isHidden();
}

void setShown(QWidget* w, bool on) {
    if (w)
        w->setVisible(on);
}

} // namespace

void frmMain::MostrarFallos() {
    guarded([&] {
        if (!state_.Examen)
            return;
        const KipsaPrubex& exam = *state_.Examen;
        bool ok = false;
        const double n = frmExternoTag().trimmed().toDouble(&ok);
        if (!ok)
            return;
        for (const auto& question : questionsAt(n)) {
            if (exam.TipoExamen() == 1)
                reviewMultipleChoice(*question);
            else
                reviewTrueFalse(*question);
        }
    });
}

void frmMain::reviewMultipleChoice(const Pregunta& question) {
    for (const auto& answer : *question.respuestas()) {
        guarded([&] {
            const int j = answer->Numero();
            if (j < 1 || !row(boton_sin, j))
                return;
            const bool arrow = answer->Correcta() && shown(row(boton_sin, j));
            const bool cross = !arrow && !answer->Correcta() && shown(row(boton_con, j));
            setShown(row(boton_flecha, j), arrow);
            setShown(row(boton_cruz, j), cross);
        });
    }
}

void frmMain::reviewTrueFalse(const Pregunta& question) {
    bool statementTrue = false;
    guarded([&] {
        const auto& answers = question.respuestas();
        statementTrue = answers->Count() >= 1 && answers->Item(1)->Correcta();
    });
    // 0 blank, 1 "Verdadero", 2 "Falso"; a ticked "Verdadero" wins over a ticked "Falso".
    const int chosen = shown(row(boton_con, 1)) ? 1 : shown(row(boton_con, 2)) ? 2 : 0;
    const int right = statementTrue ? 1 : 2;
    for (int j = 1; j <= 2; ++j) {
        guarded([&] { setShown(row(boton_cruz, j), chosen == j && chosen != right); });
        guarded([&] { setShown(row(boton_flecha, j), j == right && chosen != right); });
    }
}

} // namespace kp
