// Marking and unmarking answers, moving between questions, scrolling the page and the image.
//
// A mark's key is "respuesta" + question + answer with no separator, so two pairs can give the
// same text (question 1 answer 12, question 11 answer 2). Every mark the page shows must be
// recorded: a later pair whose key is taken gets the key with "_2", "_3", ... appended, which no
// plain key can be. Entries are always removed by their own key.
#include "window/frmMain.h"

#include "startup/ExamState.h"
#include "window/Guarded.h"
#include "window/ImageBox.h"
#include "window/Prompts.h"
#include "window/frmImagen.h"

#include <QFrame>
#include <QScrollBar>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

// The tag text as a 16-bit number (nearest, halves to even); throws when it is not one.
qint16 toInt16(double v) {
    const double r = std::nearbyint(v);
    if (!std::isfinite(r) || r < std::numeric_limits<qint16>::min() ||
        r > std::numeric_limits<qint16>::max())
        throw KpError(KpError::OutOfRange, u"Número fuera de rango"_s);
    return static_cast<qint16>(r);
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
}

void frmMain::recordMark(qint16 question, qint16 answer) {
    RespuestasKipsa& marks = *state_.Resultado->RespuestasKipsa();
    for (const auto& entry : marks)
        if (entry->NumPregunta() == question && entry->NumRespuesta() == answer)
            return; // already recorded once
    const QString plain = u"respuesta"_s + frmExternoTag().trimmed() + QString::number(answer);
    QString key = plain;
    for (int k = 2; marks.contains(key); ++k)
        key = plain + u'_' + QString::number(k);
    marks.Add(question, answer, key);
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
    guarded([&] { recordMark(toInt16(tagNumber(tag)), toInt16(j)); });
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
    ShowPregunta(toInt16(tagNumber(frmExternoTag()) - 1));
}

void frmMain::SiguienteBtn_Click() {
    ShowPregunta(toInt16(tagNumber(frmExternoTag()) + 1));
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
