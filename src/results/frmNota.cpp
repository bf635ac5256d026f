#include "results/frmNota.h"

#include "results/TruncaDecimales.h"

#include <QColor>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

constexpr double TwipsPerPixel = 15.0;

int px(int twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

QRect pixels(const frmNota::Box& b) {
    return QRect(px(b.left), px(b.top), px(b.width), px(b.height));
}

// Exam colours keep red in the low byte, then green, then blue.
QColor colourOf(qint32 value) {
    const auto v = static_cast<quint32>(value);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

void paintBackground(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text,
                  const frmNota::Box& box, bool bold) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(pixels(box));
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
    setFixedSize(px(ClientArea.width), px(ClientArea.height));

    frmResumen = new QGroupBox(u"Resumen:"_s, this);
    frmResumen->setObjectName(u"frmResumen"_s);
    frmResumen->setGeometry(pixels(ResumenBox));

    const QString fixed[4] = {u"Nota obtenida:"_s, u"Preguntas Acertadas:"_s,
                              u"Preguntas Falladas:"_s, u"Preguntas en Blanco:"_s};
    QLabel** fixedLabels[4] = {&Label1, &Label2, &Label3, &Label4};
    QLabel** valueLabels[4] = {&NotaLab, &AcertadasLab, &FalladasLab, &BlancasLab};
    const QString valueNames[4] = {u"NotaLab"_s, u"AcertadasLab"_s, u"FalladasLab"_s,
                                   u"BlancasLab"_s};
    for (int i = 0; i < 4; ++i) {
        const int top = 420 + i * 420;
        *fixedLabels[i] = makeLabel(frmResumen, u"Label%1"_s.arg(i + 1), fixed[i],
                                    Box{240, top, 2640, 315}, false);
        *valueLabels[i] =
            makeLabel(frmResumen, valueNames[i], QString(), Box{3000, top, 1680, 315}, true);
    }

    salirbtn = new QPushButton(u"&Salir"_s, this);
    salirbtn->setObjectName(u"salirbtn"_s);
    salirbtn->setGeometry(pixels(SalirBox));
    salirbtn->setDefault(true);
    connect(salirbtn, &QPushButton::clicked, this, [this] { salirbtn_Click(); });
}

void frmNota::ReadyToGo(float Nota, qint16 Acertadas, qint16 Falladas, qint16 Blancas,
                        qint32 colorFondo) {
    const QColor fondo = colourOf(colorFondo);
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
