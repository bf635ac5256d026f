// The exam from the keyboard: the mark boxes in row order, Space through the click handlers,
// the arrow keys between rows, Page Up and Down and the wheel over the whole page, shortcuts of
// the navigation buttons and Enter on "Empezar". A mouse user sees nothing of it.
#include "window/frmMain.h"

#include "widgets/Guarded.h"
#include "widgets/MarkBox.h"
#include "widgets/RichTextBox.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QWheelEvent>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

template <typename W> int indexIn(const std::vector<W*>& array, const QWidget* w) {
    for (size_t j = 1; j < array.size(); ++j)
        if (array[j] == w)
            return static_cast<int>(j);
    return -1;
}

bool shownAndEnabled(const QWidget* w) {
    return w && !w->isHidden() && w->isEnabled();
}

} // namespace

void frmMain::createKeyboard() {
    EmpezarBtn->installEventFilter(this);
    client->installEventFilter(this);
    frmExterno->installEventFilter(this);
    // Enter in a data field or the results path is "Empezar", as a click on it would be.
    for (QLineEdit* field : datoTxt)
        connect(field, &QLineEdit::returnPressed, this,
                [this] { guarded([&] { pressEmpezar(); }); });
    connect(ArchivoTxt, &QLineEdit::returnPressed, this,
            [this] { guarded([&] { pressEmpezar(); }); });

    // Alt+A is the "Archivo" menu's; the arrows read as back and forward.
    const auto shortcut = [this](QKeySequence keys, QPushButton* button, const QString& name) {
        auto* s = new QShortcut(keys, this);
        s->setObjectName(name);
        connect(s, &QShortcut::activated, this,
                [this, button] { guarded([&] { navigate(button); }); });
        return s;
    };
    previousKey = shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), AnteriorBtn, u"previousKey"_s);
    nextKey = shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), SiguienteBtn, u"nextKey"_s);
    nextKeyS = shortcut(QKeySequence(Qt::ALT | Qt::Key_S), SiguienteBtn, u"nextKeyS"_s);
    AnteriorBtn->setAccessibleDescription(u"Alt+Flecha izquierda"_s);
    SiguienteBtn->setAccessibleDescription(u"Alt+Flecha derecha o Alt+S"_s);
}

void frmMain::pressEmpezar() {
    if (!shownAndEnabled(EmpezarBtn) || frmDatos->isHidden())
        return;
    // A start from the keyboard: the page shows where the keyboard is.
    setAttribute(Qt::WA_KeyboardFocusChange);
    // Through the button, so the results path is completed on leaving its box, as with a click.
    giveFocus(EmpezarBtn);
    EmpezarBtn->click();
}

void frmMain::navigate(QPushButton* button) {
    if (!shownAndEnabled(button))
        return;
    button->click();
}

int frmMain::focusedRow() const {
    const QWidget* focused = focusWidget();
    if (const int j = indexIn(boton_sin, focused); j >= 1)
        return j;
    return std::max(indexIn(boton_con, focused), 0);
}

void frmMain::focusRow(int j) {
    if (!row(boton_sin, j))
        for (j = 1; j <= highestRow() && !row(boton_sin, j); ++j) {
        }
    MarkBox* sin = row(boton_sin, j);
    MarkBox* con = row(boton_con, j);
    if (sin && con)
        giveFocus(sin->isHidden() ? con : sin);
}

void frmMain::markBoxClicked(MarkBox* box) {
    const int j = indexIn(box->isMarked() ? boton_con : boton_sin, box);
    if (j < 1)
        return;
    const bool focused = focusWidget() == box;
    if (box->isMarked())
        boton_con_Click(j);
    else
        boton_sin_Click(j);
    // The box just hidden had the focus: its row keeps it, on the box shown instead.
    if (focused)
        focusRow(j);
}

void frmMain::stepMark(MarkBox* from, int step) {
    int j = std::max(indexIn(boton_sin, from), indexIn(boton_con, from));
    if (j < 1)
        return;
    for (j += step; j >= 1 && j <= highestRow(); j += step) {
        if (row(boton_sin, j)) {
            focusRow(j);
            return;
        }
    }
}

void frmMain::showFocusedBox(MarkBox* box) {
    if (Scroll->isHidden())
        return;
    const int j = std::max(indexIn(boton_sin, box), indexIn(boton_con, box));
    const TwipsBox b = layout_.box(box);
    double top = b.top;
    double bottom = b.bottom();
    if (const RichTextBox* answer = row(RespuestaTxt, j)) {
        top = std::min(top, layout_.box(answer).top);
        bottom = std::max(bottom, layout_.box(answer).bottom());
    }
    const double viewport = layout_.box(frmExterno).height;
    const int value = Scroll->value();
    if (top < value)
        Scroll->setValue(static_cast<int>(std::floor(top)));
    else if (bottom > value + viewport)
        Scroll->setValue(static_cast<int>(std::ceil(bottom - viewport)));
}

bool frmMain::pageKey(QKeyEvent* event) {
    if (frmExterno->isHidden() || Scroll->isHidden() || event->modifiers() != Qt::NoModifier)
        return false;
    if (event->key() == Qt::Key_PageDown)
        Scroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
    else if (event->key() == Qt::Key_PageUp)
        Scroll->triggerAction(QAbstractSlider::SliderPageStepSub);
    else
        return false;
    return true;
}

bool frmMain::pageWheel(QWheelEvent* event) {
    if (Scroll->isHidden())
        return false;
    // The scroll bar's own rule, as when the pointer is over it. Handed to the bar alone: an
    // event it does not take goes on from here, not back up from the bar.
    static_cast<QObject*>(Scroll)->event(event);
    return event->isAccepted();
}

void frmMain::setRemainingTime(const QString& text) {
    TiempoLab->setText(text);
    TiempoLab->setAccessibleName(u"Tiempo restante: "_s + text);
}

} // namespace kp
