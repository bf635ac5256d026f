#include "window/frmImagen.h"

#include "results/ExamState.h"
#include "widgets/ExamColour.h"
#include "widgets/Guarded.h"
#include "widgets/ImageBox.h"
#include "window/frmMain.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

namespace kp {

frmImagen::frmImagen(const ExamState& state, frmMain& owner)
    : QDialog(&owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      state_(state), owner_(owner) {
    setObjectName(u"frmImagen"_s);
    setWindowTitle(u"Imagen"_s);
    setFixedSize(TwipsBox::toPixels(ClientWidth), TwipsBox::toPixels(ClientHeight));
    setAutoFillBackground(true);

    Imagen = new ImageBox(this);
    Imagen->setObjectName(u"Imagen"_s);
    layout_.place(Imagen, {240, 120, 255, 255});

    SalirBtn = new QPushButton(u"&Salir"_s, this);
    SalirBtn->setObjectName(u"SalirBtn"_s);
    layout_.place(SalirBtn, {7080, 6720, 1575, 375});
    connect(SalirBtn, &QPushButton::clicked, this, [this] { guarded([&] { SalirBtn_Click(); }); });
}

void frmImagen::SalirBtn_Click() {
    accept();
}

TwipsBox frmImagen::fitInImageArea(double width, double height, bool* stretched) {
    bool stretch = false;
    if (height > AreaHeight) {
        const double ratio = width / height;
        stretch = true;
        height = AreaHeight;
        width = AreaHeight * ratio;
    } else if (width > AreaWidth) {
        const double ratio = height / width;
        stretch = true;
        height = AreaWidth * ratio;
        width = AreaWidth;
    }
    if (stretched)
        *stretched = stretch;
    return {(AreaWidth - width) / 2 + AreaLeft, (AreaHeight - height) / 2 + AreaTop, width, height};
}

void frmImagen::ReadyToGo() {
    if (!state_.Examen)
        return;
    const KipsaPrubex& exam = *state_.Examen;
    guarded([&] {
        QPalette p = palette();
        p.setColor(QPalette::Window, examColour(exam.ColorFondo(), p));
        setPalette(p);
    });
    guarded([&] {
        const double shown = owner_.frmExternoTag().trimmed().toDouble();
        for (const auto& pregunta : owner_.questionsAt(shown)) {
            guarded([&] {
                const QImage picture = pictures_.load(pregunta->ImagenBinary(), pregunta->Imagen());
                if (!picture.isNull())
                    Imagen->setPicture(picture);
            });
        }
    });
    // Own size first; a picture that does not fit is scaled, then everything is centred.
    Imagen->setStretch(false);
    TwipsBox own = layout_.box(Imagen);
    if (Imagen->hasPicture()) {
        own.width = Imagen->picture().width() * TwipsBox::TwipsPerPixel;
        own.height = Imagen->picture().height() * TwipsBox::TwipsPerPixel;
    }
    bool stretch = false;
    layout_.place(Imagen, fitInImageArea(own.width, own.height, &stretch));
    Imagen->setStretch(stretch);
}

} // namespace kp
