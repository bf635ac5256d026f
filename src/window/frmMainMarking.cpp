// Marking and unmarking answers, moving between questions, scrolling the page and the image.
// Marks are recorded under the keys RespuestasKipsa::Marcar makes and removed by their own key.
#include "window/frmMain.h"

#include "model/Rounding.h"
#include "results/ExamState.h"
#include "widgets/Guarded.h"
#include "widgets/ImageBox.h"
#include "widgets/MarkBox.h"
#include "widgets/Prompts.h"
#include "window/frmImagen.h"

#include <QFrame>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

// A question or answer number as 16 bits (nearest, halves to even); throws when it is not one.
qint16 int16OrFail(double v) {
    if (const auto r = toInt16(v))
        return *r;
    throw KpError(KpError::Overflow, u"Número fuera de rango"_s);
}

double tagNumber(const QString& tag) {
    bool ok = false;
    const double v = tag.trimmed().toDouble(&ok);
    if (!ok)
        throw KpError(KpError::InvalidArgument, u"Número de pregunta no válido"_s);
    return v;
}

const QString EndedText = u"El examen ha finalizado, no puede modificar resultados"_s;

} // namespace

void frmMain::removeMarks(const QString& question, int answer) {
    const double q = tagNumber(question);
    RespuestasKipsa& marks = *state_.Resultado->RespuestasKipsa();
    QStringList doomed;
    for (const auto& entry : marks)
        if (entry->NumPregunta() == q && entry->NumRespuesta() == answer)
            doomed << entry->Key();
    for (const QString& key : doomed)
        guarded([&] { marks.Remove(key); });
    if (!doomed.isEmpty())
        journal_.unmark(int16OrFail(q), int16OrFail(answer), examElapsedMs());
}

void frmMain::boton_sin_Click(int j) {
    if (!state_.ExamenEnCurso) {
        prompts_.message(this, u"Atención"_s, EndedText, PromptIcon::Information,
                         PromptButtons::Ok);
        return;
    }
    if (!state_.Resultado || !state_.Examen)
        return;
    const QString tag = frmExternoTag();
    if (state_.Examen->SoloUnaRespuesta()) {
        for (int i = 1; i <= static_cast<int>(boton_con.size()) - 1; ++i) {
            if (i == j)
                continue;
            if (ImageBox* con = row(boton_con, i))
                con->hide();
            if (ImageBox* sin = row(boton_sin, i))
                sin->show();
            guarded([&] { removeMarks(tag, i); });
        }
    }
    guarded([&] {
        const qint16 question = int16OrFail(tagNumber(tag));
        const qint16 answer = int16OrFail(j);
        if (state_.Resultado->RespuestasKipsa()->Marcar(question, answer))
            journal_.mark(question, answer, examElapsedMs());
    });
    if (ImageBox* sin = row(boton_sin, j))
        sin->hide();
    if (ImageBox* con = row(boton_con, j))
        con->show();
}

void frmMain::boton_con_Click(int j) {
    if (!state_.ExamenEnCurso) {
        prompts_.message(this, u"Atención"_s, EndedText, PromptIcon::Information,
                         PromptButtons::Ok);
        return;
    }
    if (!state_.Resultado)
        return;
    guarded([&] { removeMarks(frmExternoTag(), j); });
    if (ImageBox* sin = row(boton_sin, j))
        sin->show();
    if (ImageBox* con = row(boton_con, j))
        con->hide();
}

void frmMain::AnteriorBtn_Click() {
    ShowPregunta(int16OrFail(tagNumber(frmExternoTag()) - 1));
}

void frmMain::SiguienteBtn_Click() {
    ShowPregunta(int16OrFail(tagNumber(frmExternoTag()) + 1));
}

void frmMain::Scroll_Change() {
    layout_.setTop(frmExamen, -static_cast<double>(Scroll->value()));
}

void frmMain::ImagenBtn_Click() {
    frmImagen viewer(state_, *this);
    viewer.ReadyToGo();
    prompts_.showModal(viewer);
}

} // namespace kp
