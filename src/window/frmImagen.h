#pragma once

#include "widgets/PictureFile.h"
#include "widgets/TwipsLayout.h"

#include <QDialog>

class QPushButton;

namespace kp {

class ImageBox;
class frmMain;
struct ExamState;

// The image viewer: the picture of the question on display, scaled down to fit its area and
// centred in it. Made for one showing and discarded when closed.
class frmImagen : public QDialog {
    Q_OBJECT
public:
    static constexpr double ClientWidth = 8730;
    static constexpr double ClientHeight = 7185;
    // The image area.
    static constexpr double AreaLeft = 240;
    static constexpr double AreaTop = 120;
    static constexpr double AreaWidth = 8175;
    static constexpr double AreaHeight = 6375;

    frmImagen(const ExamState& state, frmMain& owner);

    void ReadyToGo();
    void SalirBtn_Click();

    // Where a picture of the given size in twips is shown, and whether it is stretched: taller
    // than the area scales by height, else wider than the area scales by width; then centred.
    static TwipsBox fitInImageArea(double width, double height, bool* stretched = nullptr);

    TwipsBox box(const QWidget* w) const { return layout_.box(w); }

    ImageBox* Imagen = nullptr;
    QPushButton* SalirBtn = nullptr;

private:
    const ExamState& state_;
    frmMain& owner_;
    TwipsLayout layout_;
    PictureFile pictures_;
};

} // namespace kp
