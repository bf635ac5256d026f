// The question page: one question of the chosen series with its answer rows, drawn afresh for
// every question on controls that are kept from page to page.
#include "window/frmMain.h"

#include "model/Rounding.h"
#include "results/ExamState.h"
#include "widgets/ExamColour.h"
#include "widgets/Guarded.h"
#include "widgets/ImageBox.h"
#include "widgets/MarkBox.h"
#include "widgets/RichTextBox.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <map>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

constexpr double TextPointSize = 10;
// Characters of an answer's text in the name screen readers give its box.
constexpr int NamedAnswerLength = 80;
// Spare rows kept for reuse; a page with more answers makes the rest and lets them go after.
constexpr size_t MaxSpareRows = 64;
// The scroll bar's largest value (16 bits): the page never shows anything deeper than this
// plus the viewport's height, so rows below that are counted in the page's height but not made.
constexpr double DeepestScroll = 32767;

// A new element of a control array: a copy of the template's size, font, colours and tooltip,
// hidden and not yet named.
template <typename W> W* copyOf(W* tmpl, TwipsLayout& layout) {
    auto* w = new W(tmpl->parentWidget());
    w->setFont(tmpl->font());
    w->setPalette(tmpl->palette());
    w->setToolTip(tmpl->toolTip());
    w->setAccessibleName(tmpl->accessibleName());
    w->setAccessibleDescription(tmpl->accessibleDescription());
    w->hide();
    layout.place(w, layout.box(tmpl));
    return w;
}

template <typename Box> Box* pictureCopyOf(Box* tmpl, TwipsLayout& layout) {
    Box* img = copyOf(tmpl, layout);
    img->setPicture(tmpl->picture());
    img->setStretch(tmpl->stretch());
    return img;
}

template <typename W> void setElement(std::vector<W*>& array, int j, W* w) {
    if (array.size() <= static_cast<size_t>(j))
        array.resize(static_cast<size_t>(j) + 1, nullptr);
    array[static_cast<size_t>(j)] = w;
    w->setObjectName(array[0]->objectName().section(u'_', 0, -2) + u'_' + QString::number(j));
}

// Drops the unloaded elements past the last loaded one (element 0, the template, stays).
template <typename W> void trimUnloaded(std::vector<W*>& array) {
    while (array.size() > 1 && !array.back())
        array.pop_back();
}

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

const SeriesIndex::Questions& frmMain::questionsAt(double n) {
    return seriesIndex_.at(state_.Examen, state_.SerieElegida, n);
}

void frmMain::removeRows(const std::vector<bool>& kept) {
    for (int i = highestRow(); i >= 1; --i) {
        if (static_cast<size_t>(i) < kept.size() && kept[static_cast<size_t>(i)])
            continue;
        const AnswerRow r{row(RespuestaTxt, i), row(NumrespLab, i), row(boton_sin, i),
                          row(boton_con, i),    row(boton_cruz, i), row(boton_flecha, i)};
        if (!r.answer)
            continue;
        const std::array<QWidget*, 6> controls{r.answer, r.number, r.sin, r.con, r.cruz, r.flecha};
        const bool spare = spareRows_.size() < MaxSpareRows;
        for (QWidget* w : controls) {
            if (spare) {
                w->hide();
                w->setObjectName(QString());
            } else {
                layout_.forget(w);
                delete w;
            }
        }
        if (spare)
            spareRows_.push_back(r);
        RespuestaTxt[static_cast<size_t>(i)] = nullptr;
        NumrespLab[static_cast<size_t>(i)] = nullptr;
        boton_sin[static_cast<size_t>(i)] = nullptr;
        boton_con[static_cast<size_t>(i)] = nullptr;
        boton_cruz[static_cast<size_t>(i)] = nullptr;
        boton_flecha[static_cast<size_t>(i)] = nullptr;
    }
    trimUnloaded(RespuestaTxt);
    trimUnloaded(NumrespLab);
    trimUnloaded(boton_sin);
    trimUnloaded(boton_con);
    trimUnloaded(boton_cruz);
    trimUnloaded(boton_flecha);
}

frmMain::AnswerRow frmMain::newRow() {
    AnswerRow r;
    r.answer = copyOf(RespuestaTxt[0], layout_);
    r.number = copyOf(NumrespLab[0], layout_);
    r.sin = pictureCopyOf(boton_sin[0], layout_);
    r.con = pictureCopyOf(boton_con[0], layout_);
    r.con->setMarked(true);
    r.cruz = pictureCopyOf(boton_cruz[0], layout_);
    r.flecha = pictureCopyOf(boton_flecha[0], layout_);
    // The row a box belongs to is looked up at the click: a reused box may serve another row.
    for (MarkBox* box : {r.sin, r.con}) {
        connect(box, &ImageBox::clicked, this,
                [this, box] { guarded([&] { markBoxClicked(box); }); });
        connect(box, &MarkBox::stepRequested, this,
                [this, box](int step) { guarded([&] { stepMark(box, step); }); });
        connect(box, &MarkBox::focusEntered, this,
                [this, box] { guarded([&] { showFocusedBox(box); }); });
    }
    return r;
}

frmMain::AnswerRow frmMain::loadRow(int j) {
    builtRows_.resize(std::max(builtRows_.size(), static_cast<size_t>(j) + 1));
    builtRows_[static_cast<size_t>(j)] = true;
    // Loaded already: on the previous page (the controls stay where they are) or by an answer
    // of the same number on this one.
    if (RichTextBox* loaded = row(RespuestaTxt, j))
        return {loaded,
                row(NumrespLab, j),
                row(boton_sin, j),
                row(boton_con, j),
                row(boton_cruz, j),
                row(boton_flecha, j)};
    AnswerRow r;
    if (spareRows_.empty()) {
        r = newRow();
    } else {
        r = spareRows_.back();
        spareRows_.pop_back();
    }
    setElement(RespuestaTxt, j, r.answer);
    setElement(NumrespLab, j, r.number);
    setElement(boton_sin, j, r.sin);
    setElement(boton_con, j, r.con);
    setElement(boton_cruz, j, r.cruz);
    setElement(boton_flecha, j, r.flecha);
    return r;
}

void frmMain::placeRow(const AnswerRow& r, int j, double y) {
    for (ImageBox* img : {r.cruz, r.flecha}) {
        const TwipsBox b = layout_.box(img);
        layout_.move(img, 2400 - b.width, y - b.height / 2);
    }
    for (ImageBox* img : {r.sin, r.con})
        layout_.move(img, 2400, y - layout_.box(img).height / 2);
    const TwipsBox s = layout_.box(r.sin);
    layout_.move(r.number, s.left + s.width, y);
    r.number->setText(QString::number(j) + u". "_s);
    const TwipsBox nb = layout_.box(r.number);
    const double answerLeft = nb.left + nb.width;
    layout_.place(r.answer, {answerLeft, y, layout_.box(frmExamen).width - 400 - answerLeft,
                             layout_.box(r.answer).height});
}

void frmMain::buildRow(int j, const QString& text, bool numbered, const QColor& colour, double& y) {
    const AnswerRow r = loadRow(j);
    // Placed before the text goes in, so the text is laid out once, at its final width.
    placeRow(r, j, y);
    guarded([&] { pageChars_ += r.answer->setPageText(text, colour, TextPointSize, boxChars()); });
    guarded([&] { nameRow(j, r, numbered); });
    y = y + layout_.box(r.answer).height + 120;

    r.number->setVisible(numbered);
    r.answer->show();
    r.sin->show();
    r.con->hide();
    r.cruz->hide();
    r.flecha->hide();
}

void frmMain::nameRow(int j, const AnswerRow& r, bool numbered) {
    QString name = r.answer->plainText().simplified();
    if (numbered) {
        if (name.size() > NamedAnswerLength)
            name = name.left(NamedAnswerLength - 1).trimmed() + u'…';
        name = u"Respuesta "_s + QString::number(j) + u": "_s + name;
    }
    r.sin->setAccessibleName(name);
    r.con->setAccessibleName(name);
    r.answer->setAccessibleName(numbered ? u"Texto de la respuesta "_s + QString::number(j)
                                         : r.answer->plainText());
}

void frmMain::orderPageFocus() {
    QWidget* previous = SiguienteBtn;
    const auto follow = [&](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    setTabOrder(AnteriorBtn, SiguienteBtn);
    follow(ImagenBtn);
    for (int j = 1; j <= highestRow(); ++j) {
        if (MarkBox* sin = row(boton_sin, j)) {
            follow(sin);
            follow(row(boton_con, j));
        }
    }
    follow(FinalizarBtn);
}

qsizetype frmMain::boxChars() const {
    return std::max(TextBounds::BoxFloorChars,
                    std::min(TextBounds::BoxChars, TextBounds::PageChars - pageChars_));
}

void frmMain::buildRows(const std::vector<std::shared_ptr<Respuesta>>& answers,
                        const QColor& colour, double& y) {
    // The deepest top a row can have and still show a pixel: the viewport at the deepest
    // scroll, and the mark boxes reach half their height above the row's top.
    const double reach =
        DeepestScroll + layout_.box(frmExterno).height + layout_.box(boton_sin[0]).height / 2;
    const double pitch = layout_.box(RespuestaTxt[0]).height + 120;
    // A row built above the reach whose number comes again below it moves there, as a row
    // does for every answer of its number; its text could not be seen there.
    std::map<int, double> movedOutOfReach;
    for (const auto& r : answers) {
        const int j = r->Numero();
        if (y < reach) {
            buildRow(j, r->Texto(), true, colour, y);
            continue;
        }
        if (static_cast<size_t>(j) < builtRows_.size() && builtRows_[static_cast<size_t>(j)])
            movedOutOfReach[j] = y;
        y = y + pitch;
    }
    for (const auto& [j, top] : movedOutOfReach)
        placeRow({row(RespuestaTxt, j), row(NumrespLab, j), row(boton_sin, j), row(boton_con, j),
                  row(boton_cruz, j), row(boton_flecha, j)},
                 j, top);
}

void frmMain::ShowPregunta(qint16 n) {
    if (!state_.Examen || !state_.Resultado)
        return;
    const KipsaPrubex& exam = *state_.Examen;
    const qint16 N = state_.TotalPreguntas;
    // A box with the focus keeps it on its row of the next page.
    const int keyboardRow = focusedRow();

    // The page is rebuilt with its painting held back and painted once, complete.
    frmExterno->setUpdatesEnabled(false);
    frmExterno->setProperty("Tag", QString::number(n));
    AnteriorBtn->setEnabled(n != 1);
    SiguienteBtn->setEnabled(n < N);
    // The previous question's rows go once this one's are built: a row this question has too
    // is rebuilt on the same controls, without hiding and showing them.
    builtRows_.clear();
    pageChars_ = 0;

    double y = 0;
    const QColor colour = fontColour();
    guarded([&] {
        for (const auto& pregunta : questionsAt(n))
            guarded([&] { layOutQuestion(*pregunta, colour, y); });
    });

    removeRows(builtRows_);

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
    frmExterno->setUpdatesEnabled(true);
    AnteriorBtn->show();
    SiguienteBtn->show();
    FinalizarBtn->show();
    PreguntaActualLab->show();
    LogoImg->setVisible(!exam.ArchivoLogo().trimmed().isEmpty());
    sizePage(y);
    guarded([&] { orderPageFocus(); });
    if (keyboardRow >= 1)
        guarded([&] { focusRow(keyboardRow); });

    if (exam.MostrarFallos() && !state_.ExamenEnCurso)
        guarded([&] { MostrarFallos(); });
}

void frmMain::layOutQuestion(const Pregunta& pregunta, const QColor& colour, double& y) {
    const TwipsBox pageBox = layout_.box(frmExamen);
    y = 200;
    if (!pregunta.Imagen().trimmed().isEmpty()) {
        const TwipsBox b = layout_.box(ImagenBtn);
        layout_.move(ImagenBtn, (pageBox.width - b.width) / 2, y);
        y = y + 2 * b.height;
        ImagenBtn->show();
    } else {
        ImagenBtn->hide();
    }

    layout_.place(PreguntaTxt, {200, y, pageBox.width - 400, layout_.box(PreguntaTxt).height});
    guarded([&] {
        pageChars_ +=
            PreguntaTxt->setPageText(pregunta.TextoPregunta(), colour, TextPointSize, boxChars());
    });
    PreguntaTxt->show();
    y = y + layout_.box(PreguntaTxt).height + 250;

    if (state_.Examen->TipoExamen() == 1) {
        buildRows(answersByNumber(*pregunta.respuestas()), colour, y);
    } else {
        buildRow(1, u"Verdadero"_s, false, colour, y);
        buildRow(2, u"Falso"_s, false, colour, y);
    }
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
