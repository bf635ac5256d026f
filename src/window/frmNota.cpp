#include "window/frmNota.h"

#include "results/TruncaDecimales.h"
#include "widgets/ExamColour.h"

#include <QColor>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

void paintBackground(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const TwipsBox& box,
                  bool bold) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(box.pixels());
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    // Labels keep their own colours over the exam's background.
    label->setAutoFillBackground(false);
    return label;
}

} // namespace

frmNota::frmNota(QWidget* parent) : QDialog(parent) {
    setObjectName(u"frmNota"_s);
    setWindowTitle(u"Calificación"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(ClientArea.pixels().size());

    frmResumen = new QGroupBox(u"Resumen:"_s, this);
    frmResumen->setObjectName(u"frmResumen"_s);
    frmResumen->setGeometry(ResumenBox.pixels());

    const QString fixed[4] = {u"Nota obtenida:"_s, u"Preguntas Acertadas:"_s,
                              u"Preguntas Falladas:"_s, u"Preguntas en Blanco:"_s};
    QLabel** fixedLabels[4] = {&Label1, &Label2, &Label3, &Label4};
    QLabel** valueLabels[4] = {&NotaLab, &AcertadasLab, &FalladasLab, &BlancasLab};
    const QString valueNames[4] = {u"NotaLab"_s, u"AcertadasLab"_s, u"FalladasLab"_s,
                                   u"BlancasLab"_s};
    for (int i = 0; i < 4; ++i) {
        const double top = 420 + i * 420;
        *fixedLabels[i] = makeLabel(frmResumen, u"Label%1"_s.arg(i + 1), fixed[i],
                                    TwipsBox{240, top, 2640, 315}, false);
        *valueLabels[i] =
            makeLabel(frmResumen, valueNames[i], QString(), TwipsBox{3000, top, 1680, 315}, true);
    }

    salirbtn = new QPushButton(u"&Salir"_s, this);
    salirbtn->setObjectName(u"salirbtn"_s);
    salirbtn->setGeometry(SalirBox.pixels());
    salirbtn->setDefault(true);
    connect(salirbtn, &QPushButton::clicked, this, [this] { salirbtn_Click(); });
}

void frmNota::ReadyToGo(float Nota, qint16 Acertadas, qint16 Falladas, qint16 Blancas,
                        qint32 colorFondo) {
    const QColor fondo = examColour(colorFondo, palette());
    paintBackground(this, fondo);
    paintBackground(frmResumen, fondo);
    NotaLab->setText(TruncaDecimales(Nota, u"2"_s));
    AcertadasLab->setText(QString::number(Acertadas));
    FalladasLab->setText(QString::number(Falladas));
    BlancasLab->setText(QString::number(Blancas));
}

void frmNota::salirbtn_Click() {
    accept();
}

} // namespace kp
