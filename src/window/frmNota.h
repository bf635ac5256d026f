#pragma once

#include "widgets/TwipsBox.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

namespace kp {

// The grade window: the grade cut to two decimals and the counts of right, wrong and blank
// questions, on the exam's background colour. Shown modally by the exam window.
class frmNota : public QDialog {
    Q_OBJECT
public:
    // Designed client area and boxes, in twips.
    static constexpr TwipsBox ClientArea{0, 0, 5160, 2940};
    static constexpr TwipsBox ResumenBox{120, 120, 4920, 2100};
    static constexpr TwipsBox SalirBox{3480, 2400, 1560, 420};

    explicit frmNota(QWidget* parent = nullptr);

    // Fills the window before it is shown. colorFondo is the exam's ColorFondo (red in the low
    // byte, then green, then blue, or a system colour).
    void ReadyToGo(float Nota, qint16 Acertadas, qint16 Falladas, qint16 Blancas,
                   qint32 colorFondo);
    void salirbtn_Click();

    QGroupBox* frmResumen = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* NotaLab = nullptr;
    QLabel* AcertadasLab = nullptr;
    QLabel* FalladasLab = nullptr;
    QLabel* BlancasLab = nullptr;
    QPushButton* salirbtn = nullptr;
};

} // namespace kp
