// The question page: one question of the chosen series with its answer rows, drawn afresh for
// every question.
#include "window/frmMain.h"

#include "model/Rounding.h"
#include "results/ExamState.h"
#include "widgets/ExamColour.h"
#include "widgets/Guarded.h"
#include "widgets/ImageBox.h"
#include "widgets/RichTextBox.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

constexpr double TextPointSize = 10;

template <typename W> void unload(std::vector<W*>& array, int i, TwipsLayout& layout) {
    if (i < 1 || i >= static_cast<int>(array.size()) || !array[static_cast<size_t>(i)])
        return;
    W* w = array[static_cast<size_t>(i)];
    layout.forget(w);
    delete w;
    array[static_cast<size_t>(i)] = nullptr;
    while (array.size() > 1 && !array.back())
        array.pop_back();
}

// Loads element j of a control array: a copy of the template's size, font, colours and
// picture, hidden. An element already loaded stays as it is.
template <typename W, typename Copy>
W* load(std::vector<W*>& array, int j, TwipsLayout& layout, Copy copyExtras) {
    if (array.size() <= static_cast<size_t>(j))
        array.resize(static_cast<size_t>(j) + 1, nullptr);
    W*& slot = array[static_cast<size_t>(j)];
    if (slot)
        return slot;
    W* tmpl = array[0];
    slot = new W(tmpl->parentWidget());
    slot->setObjectName(tmpl->objectName().section(u'_', 0, -2) + u'_' + QString::number(j));
    slot->setFont(tmpl->font());
    slot->setPalette(tmpl->palette());
    slot->setToolTip(tmpl->toolTip());
    copyExtras(tmpl, slot);
    slot->hide();
    layout.place(slot, layout.box(tmpl));
    return slot;
}

void copyPicture(ImageBox* tmpl, ImageBox* img) {
    img->setPicture(tmpl->picture());
    img->setStretch(tmpl->stretch());
}

void copyNothing(QWidget*, QWidget*) {}

// The answers that get a row, in the order of their numbers: row j shows the answers numbered j
// (collection order among equal numbers), for j from 1 to the number of answers. Sorted once,
// so a question with thousands of answers is not walked once per row.
std::vector<std::shared_ptr<Respuesta>> answersByNumber(const respuestas& all) {
    const long count = all.Count();
    std::vector<std::shared_ptr<Respuesta>> shown;
    for (const auto& r : all)
        if (r->Numero() >= 1 && r->Numero() <= count)
            shown.push_back(r);
    std::stable_sort(shown.begin(), shown.end(),
                     [](const auto& a, const auto& b) { return a->Numero() < b->Numero(); });
    return shown;
}

} // namespace

QColor frmMain::fontColour() const {
    return examColour(state_.Examen ? state_.Examen->ColorFuente() : 0, palette());
}

void frmMain::removeRows() {
    for (int i = highestRow(); i >= 1; --i) {
        unload(RespuestaTxt, i, layout_);
        unload(NumrespLab, i, layout_);
        unload(boton_sin, i, layout_);
        unload(boton_con, i, layout_);
        unload(boton_cruz, i, layout_);
        unload(boton_flecha, i, layout_);
    }
}

void frmMain::buildRow(int j, const QString& text, bool numbered, double& y) {
    RichTextBox* answer = load(RespuestaTxt, j, layout_, copyNothing);
    QLabel* number = load(NumrespLab, j, layout_, copyNothing);
    const bool fresh = boton_sin.size() <= static_cast<size_t>(j) || !boton_sin[j];
    ImageBox* sin = load(boton_sin, j, layout_, copyPicture);
    ImageBox* con = load(boton_con, j, layout_, copyPicture);
    ImageBox* cruz = load(boton_cruz, j, layout_, copyPicture);
    ImageBox* flecha = load(boton_flecha, j, layout_, copyPicture);
    if (fresh) {
        connect(sin, &ImageBox::clicked, this, [this, j] { guarded([&] { boton_sin_Click(j); }); });
        connect(con, &ImageBox::clicked, this, [this, j] { guarded([&] { boton_con_Click(j); }); });
    }

    guarded([&] {
        answer->setRichText(text);
        answer->formatAll(fontColour(), TextPointSize);
    });
    for (ImageBox* img : {cruz, flecha}) {
        const TwipsBox b = layout_.box(img);
        layout_.move(img, 2400 - b.width, y - b.height / 2);
    }
    for (ImageBox* img : {sin, con})
        layout_.move(img, 2400, y - layout_.box(img).height / 2);
    const TwipsBox s = layout_.box(sin);
    layout_.move(number, s.left + s.width, y);
    number->setText(QString::number(j) + u". "_s);
    const TwipsBox nb = layout_.box(number);
    const double answerLeft = nb.left + nb.width;
    layout_.place(answer, {answerLeft, y, layout_.box(frmExamen).width - 400 - answerLeft,
                           layout_.box(answer).height});
    y = y + layout_.box(answer).height + 120;

    number->setVisible(numbered);
    answer->show();
    sin->show();
    con->hide();
    cruz->hide();
    flecha->hide();
}

void frmMain::ShowPregunta(qint16 n) {
    if (!state_.Examen || !state_.Resultado)
        return;
    const KipsaPrubex& exam = *state_.Examen;
    const qint16 N = state_.TotalPreguntas;

    frmExterno->hide();
    frmExterno->setProperty("Tag", QString::number(n));
    AnteriorBtn->setEnabled(n != 1);
    SiguienteBtn->setEnabled(n < N);
    removeRows();

    double y = 0;
    guarded([&] {
        for (const auto& pregunta : exam.PreguntasEnOrden(state_.SerieElegida, n)) {
            guarded([&] {
                PreguntaTxt->hide();
                guarded([&] {
                    PreguntaTxt->setRichText(pregunta->TextoPregunta());
                    PreguntaTxt->formatAll(fontColour(), TextPointSize);
                });
                PreguntaTxt->show();
                y = 200;

                const TwipsBox pageBox = layout_.box(frmExamen);
                if (!pregunta->Imagen().trimmed().isEmpty()) {
                    const TwipsBox b = layout_.box(ImagenBtn);
                    layout_.move(ImagenBtn, (pageBox.width - b.width) / 2, y);
                    y = y + 2 * b.height;
                    ImagenBtn->show();
                } else {
                    ImagenBtn->hide();
                }

                layout_.place(PreguntaTxt,
                              {200, y, pageBox.width - 400, layout_.box(PreguntaTxt).height});
                y = y + layout_.box(PreguntaTxt).height + 250;

                if (exam.TipoExamen() == 1) {
                    for (const auto& r : answersByNumber(*pregunta->respuestas()))
                        buildRow(r->Numero(), r->Texto(), true, y);
                } else {
                    buildRow(1, u"Verdadero"_s, false, y);
                    buildRow(2, u"Falso"_s, false, y);
                }
            });
        }
    });

    int marks = 0;
    guarded([&] {
        for (const auto& entry : *state_.Resultado->RespuestasKipsa()) {
            if (entry->NumPregunta() != n)
                continue;
            const int j = entry->NumRespuesta();
            if (j < 1) { // element 0 is the template, never shown
                ++marks;
                continue;
            }
            if (ImageBox* con = row(boton_con, j))
                con->show();
            if (ImageBox* sin = row(boton_sin, j))
                sin->hide();
            ++marks;
        }
    });

    QString status = u"Pregunta "_s + QString::number(n) + u" de "_s + QString::number(N);
    if (marks == 0)
        status += u"   (sin responder)"_s;
    PreguntaActualLab->setText(status);

    frmExterno->show();
    AnteriorBtn->show();
    SiguienteBtn->show();
    FinalizarBtn->show();
    PreguntaActualLab->show();
    LogoImg->setVisible(!exam.ArchivoLogo().trimmed().isEmpty());
    sizePage(y);

    if (exam.MostrarFallos() && !state_.ExamenEnCurso)
        guarded([&] { MostrarFallos(); });
}

void frmMain::sizePage(double y) {
    const double viewport = layout_.box(frmExterno).height;
    layout_.setTop(frmExamen, 0);
    layout_.setHeight(frmExamen, viewport);
    if (y > layout_.box(frmExamen).height) {
        layout_.setHeight(frmExamen, y);
        Scroll->setMinimum(0);
        Scroll->setValue(0);
        if (const auto max = toInt16(y - viewport))
            Scroll->setMaximum(*max);
        const double range = static_cast<double>(Scroll->maximum()) - Scroll->minimum();
        if (const auto small = toInt16(range / 10))
            Scroll->setSingleStep(*small);
        if (const auto large = toInt16(range / 3))
            Scroll->setPageStep(*large);
        Scroll->show();
    } else {
        layout_.setHeight(frmExamen, viewport);
        Scroll->hide();
    }
}

} // namespace kp
