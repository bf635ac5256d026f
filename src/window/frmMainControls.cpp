// Creation of the exam window's controls in their designed state, and their wiring.
#include "window/frmMain.h"

#include "widgets/Guarded.h"
#include "widgets/ImageBox.h"
#include "widgets/MarkBox.h"
#include "widgets/RichTextBox.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <type_traits>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

template <typename W> W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

void makeWhite(QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, Qt::white);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QFrame* borderlessFrame(QWidget* parent, const QString& name) {
    auto* f = named(new QFrame(parent), name);
    f->setFrameShape(QFrame::NoFrame);
    makeWhite(f);
    return f;
}

template <typename Box = ImageBox>
Box* markImage(QWidget* parent, const QString& name, const QString& resource, const QString& tip,
               const QString& accessibleText) {
    auto* img = named(new Box(parent), name);
    img->setPicture(QImage(resource));
    img->setToolTip(tip);
    img->hide();
    // Review pictures are named by what they say; mark boxes say their state (the page names
    // each box after its row).
    if constexpr (std::is_same_v<Box, MarkBox>)
        img->setAccessibleDescription(accessibleText);
    else
        img->setAccessibleName(accessibleText);
    return img;
}

} // namespace

void frmMain::createControls() {
    clientArea = named(new QScrollArea(this), u"clientArea"_s);
    clientArea->setFrameShape(QFrame::NoFrame);
    clientArea->setWidgetResizable(true);
    // Only its content takes the keyboard; Tab never stops on the area itself.
    clientArea->setFocusPolicy(Qt::NoFocus);
    client = named(new QWidget, u"client"_s);
    client->setMinimumSize(TwipsBox::toPixels(MinimumClientWidth),
                           TwipsBox::toPixels(MinimumClientHeight));
    clientArea->setWidget(client);
    setCentralWidget(clientArea);
    makeWhite(client);

    SinCargarLab = named(new QLabel(client), u"SinCargarLab"_s);
    SinCargarLab->setText(u"No hay ningún examen cargado. Seleccione 'Abrir Examen' del menú "
                          u"archivo para cargar un examen..."_s);
    SinCargarLab->setWordWrap(true);
    QFont big = SinCargarLab->font();
    big.setPointSize(12);
    SinCargarLab->setFont(big);
    layout_.place(SinCargarLab, {(DesignedClientWidth - 7935) / 2, 2400, 7935, 1095});

    LogoImg = named(new ImageBox(client), u"LogoImg"_s);
    LogoImg->setAccessibleName(u"Logotipo del examen"_s);
    layout_.place(LogoImg, {120, 120, 2655, 1575});
    LogoImg->hide();

    TiempoLab = named(new QLabel(u"0:00:00"_s, client), u"TiempoLab"_s);
    TiempoLab->setToolTip(u"Tiempo restante..."_s);
    QFont huge = TiempoLab->font();
    huge.setPointSize(24);
    TiempoLab->setFont(huge);
    TiempoLab->setAlignment(Qt::AlignCenter);
    layout_.place(TiempoLab, {(DesignedClientWidth - 2655) / 2, 120, 2655, 615});
    TiempoLab->hide();
    setRemainingTime(TiempoLab->text());

    FinalizarBtn = named(new QPushButton(u"Finalizar Examen"_s, client), u"FinalizarBtn"_s);
    layout_.place(FinalizarBtn, {DesignedClientWidth - 3255 - 120, 120, 3255, 495});
    FinalizarBtn->hide();
    FinalizarBtn->setEnabled(false);

    PreguntaActualLab = named(new QLabel(u"Pregunta 1 de x"_s, client), u"PreguntaActualLab"_s);
    QFont bold = PreguntaActualLab->font();
    bold.setBold(true);
    PreguntaActualLab->setFont(bold);
    layout_.place(PreguntaActualLab, {4822.5, 1815, 5895, 375});
    PreguntaActualLab->hide();

    AnteriorBtn = named(new QPushButton(u"<< Anterior pregunta"_s, client), u"AnteriorBtn"_s);
    layout_.place(AnteriorBtn, {4822.5, 2190, 3255, 375});
    SiguienteBtn = named(new QPushButton(u"Siguiente pregunta >>"_s, client), u"SiguienteBtn"_s);
    layout_.place(SiguienteBtn, {8077.5, 2190, 3255, 375});
    for (QPushButton* b : {AnteriorBtn, SiguienteBtn}) {
        b->hide();
        b->setEnabled(false);
    }

    createPage();
    createDataFrame();
    createMenu();

    LimiteTiempo = named(new QTimer(this), u"LimiteTiempo"_s);
    LimiteTiempo->setInterval(1000);
}

void frmMain::createPage() {
    frmExterno = borderlessFrame(client, u"frmExterno"_s);
    layout_.place(frmExterno, {120, 2685, 16155, 7905});
    frmExterno->hide();
    frmExterno->setAccessibleName(u"Página de la pregunta"_s);

    Scroll = named(new QScrollBar(Qt::Vertical, frmExterno), u"Scroll"_s);
    Scroll->setAccessibleName(u"Desplazamiento de la página"_s);
    // Only the end of a drag moves the page, as the change notification does.
    Scroll->setTracking(false);
    layout_.place(Scroll, {15540, 120, 495, 7665});

    frmExamen = borderlessFrame(frmExterno, u"frmExamen"_s);
    layout_.place(frmExamen, {0, 0, 15420, 7905});

    ImagenBtn = named(new QPushButton(u"Ver imagen"_s, frmExamen), u"ImagenBtn"_s);
    layout_.place(ImagenBtn, {6202.5, 200, 3015, 375});
    ImagenBtn->hide();

    PreguntaTxt = named(new RichTextBox(frmExamen), u"PreguntaTxt"_s);
    PreguntaTxt->setAccessibleName(u"Texto de la pregunta"_s);
    layout_.place(PreguntaTxt, {200, 200, 15020, 1215});

    RespuestaTxt.push_back(named(new RichTextBox(frmExamen), u"RespuestaTxt_0"_s));
    layout_.place(RespuestaTxt[0], {3375, 1665, 11645, 615});
    RespuestaTxt[0]->hide();
    NumrespLab.push_back(named(new QLabel(u"1."_s, frmExamen), u"NumrespLab_0"_s));
    layout_.place(NumrespLab[0], {2880, 1665, 495, 375});
    NumrespLab[0]->hide();
    boton_sin.push_back(markImage<MarkBox>(frmExamen, u"boton_sin_0"_s, u":/kp/boton_sin.png"_s,
                                           u"Marcar la respuesta como correcta"_s,
                                           u"sin marcar"_s));
    boton_con.push_back(markImage<MarkBox>(frmExamen, u"boton_con_0"_s, u":/kp/boton_con.png"_s,
                                           u"Desmarcar esta respuesta"_s, u"marcada"_s));
    boton_con[0]->setMarked(true);
    boton_flecha.push_back(markImage(frmExamen, u"boton_flecha_0"_s, u":/kp/boton_flecha.png"_s,
                                     u"Respuesta correcta"_s, u"correcta"_s));
    boton_cruz.push_back(markImage(frmExamen, u"boton_cruz_0"_s, u":/kp/boton_cruz.png"_s,
                                   u"Respuesta incorrecta"_s, u"incorrecta"_s));
    layout_.place(boton_sin[0], {2400, 1425, 480, 480});
    layout_.place(boton_con[0], {2400, 1425, 480, 480});
    layout_.place(boton_flecha[0], {1920, 1425, 480, 480});
    layout_.place(boton_cruz[0], {1920, 1425, 480, 480});
}

void frmMain::createDataFrame() {
    frmDatos = borderlessFrame(client, u"frmDatos"_s);
    layout_.place(frmDatos, {(DesignedClientWidth - 9255) / 2, (DesignedClientHeight - 7335) / 2,
                             9255, 7335});
    frmDatos->hide();
    frmDatos->setAccessibleName(u"Datos del alumno"_s);

    InfoExamLab = named(new QLabel(u"Cargando información ..."_s, frmDatos), u"InfoExamLab"_s);
    InfoExamLab->setWordWrap(true);
    InfoExamLab->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout_.place(InfoExamLab, {120, 120, 9015, 3015});

    RutaLab = named(new QLabel(u"Archivo de resultados:"_s, frmDatos), u"RutaLab"_s);
    layout_.place(RutaLab, {1200, 3360, 2415, 375});
    ArchivoTxt = named(new QLineEdit(frmDatos), u"ArchivoTxt"_s);
    ArchivoTxt->setAccessibleName(RutaLab->text());
    layout_.place(ArchivoTxt, {3600, 3360, 3735, 420});
    // Picture buttons: their words are the tooltip and what screen readers say.
    BuscarArchivoBtn = named(new QPushButton(frmDatos), u"BuscarArchivoBtn"_s);
    BuscarArchivoBtn->setIcon(QIcon(u":/kp/buscar.png"_s));
    BuscarArchivoBtn->setIconSize(QSize(16, 16));
    BuscarArchivoBtn->setToolTip(u"Buscar el archivo de resultados"_s);
    BuscarArchivoBtn->setAccessibleName(BuscarArchivoBtn->toolTip());
    layout_.place(BuscarArchivoBtn, {7440, 3360, 375, 375});
    BorrarBtn = named(new QPushButton(frmDatos), u"BorrarBtn"_s);
    BorrarBtn->setIcon(QIcon(u":/kp/borrar.png"_s));
    BorrarBtn->setIconSize(QSize(16, 16));
    BorrarBtn->setToolTip(u"Borrar el archivo de resultados"_s);
    BorrarBtn->setAccessibleName(BorrarBtn->toolTip());
    layout_.place(BorrarBtn, {7800, 3360, 375, 375});
    for (QWidget* w : resultsPathControls())
        w->hide();

    for (int i = 0; i < 5; ++i) {
        const double top = 4080 + 480 * i;
        datoLab[i] =
            named(new QLabel(u"Dato %1:"_s.arg(i + 1), frmDatos), u"dato%1Lab"_s.arg(i + 1));
        layout_.place(datoLab[i], {1200, top, 2415, 375});
        datoTxt[i] = named(new QLineEdit(frmDatos), u"dato%1Txt"_s.arg(i + 1));
        datoTxt[i]->setAccessibleName(datoLab[i]->text());
        layout_.place(datoTxt[i], {3600, top, 3735, 420});
        datoLab[i]->hide();
        datoTxt[i]->hide();
    }

    EmpezarBtn = named(new QPushButton(u"Empezar"_s, frmDatos), u"EmpezarBtn"_s);
    layout_.place(EmpezarBtn, {3360, 6600, 2415, 495});

    // Tab goes through the data fields, then the results path, then "Empezar".
    QWidget* previous = datoTxt[0];
    for (QWidget* next :
         {static_cast<QWidget*>(datoTxt[1]), static_cast<QWidget*>(datoTxt[2]),
          static_cast<QWidget*>(datoTxt[3]), static_cast<QWidget*>(datoTxt[4]),
          static_cast<QWidget*>(ArchivoTxt), static_cast<QWidget*>(BuscarArchivoBtn),
          static_cast<QWidget*>(BorrarBtn), static_cast<QWidget*>(EmpezarBtn)}) {
        setTabOrder(previous, next);
        previous = next;
    }
}

void frmMain::createMenu() {
    mnuArchivo = named(menuBar()->addMenu(u"&Archivo"_s), u"mnuArchivo"_s);
    mnuAbrirExamen = named(mnuArchivo->addAction(u"&Abrir Examen"_s), u"mnuAbrirExamen"_s);
    mnuEmpezarExamen = named(mnuArchivo->addAction(u"&Empezar Examen"_s), u"mnuEmpezarExamen"_s);
    mnuAcabarExamen = named(mnuArchivo->addAction(u"&Finalizar Examen"_s), u"mnuAcabarExamen"_s);
    nul1 = named(mnuArchivo->addSeparator(), u"nul1"_s);
    mnuMostrarNota = named(mnuArchivo->addAction(u"&Mostrar Nota"_s), u"mnuMostrarNota"_s);
    nul2 = named(mnuArchivo->addSeparator(), u"nul2"_s);
    mnuSalir = named(mnuArchivo->addAction(u"&Salir"_s), u"mnuSalir"_s);
    mnuAyuda = named(menuBar()->addMenu(u"&?"_s), u"mnuAyuda"_s);
    mnuAyudaAcercade = named(mnuAyuda->addAction(u"Acerca de..."_s), u"mnuAyudaAcercade"_s);
    for (QAction* a : {mnuEmpezarExamen, mnuAcabarExamen, mnuMostrarNota})
        a->setEnabled(false);
}

void frmMain::connectHandlers() {
    // Every handler is guarded: nothing may throw into Qt's event loop.
    const auto on = [this](auto* sender, auto signal, void (frmMain::*handler)()) {
        connect(sender, signal, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    on(mnuAbrirExamen, &QAction::triggered, &frmMain::mnuAbrirExamen_Click);
    on(mnuEmpezarExamen, &QAction::triggered, &frmMain::mnuEmpezarExamen_Click);
    on(mnuAcabarExamen, &QAction::triggered, &frmMain::mnuAcabarExamen_Click);
    on(mnuMostrarNota, &QAction::triggered, &frmMain::mnuMostrarNota_Click);
    on(mnuSalir, &QAction::triggered, &frmMain::mnuSalir_Click);
    on(mnuAyudaAcercade, &QAction::triggered, &frmMain::mnuAyudaAcercade_Click);
    on(EmpezarBtn, &QPushButton::clicked, &frmMain::EmpezarBtn_Click);
    on(BuscarArchivoBtn, &QPushButton::clicked, &frmMain::BuscarArchivoBtn_Click);
    on(BorrarBtn, &QPushButton::clicked, &frmMain::BorrarBtn_Click);
    on(FinalizarBtn, &QPushButton::clicked, &frmMain::FinalizarBtn_Click);
    on(AnteriorBtn, &QPushButton::clicked, &frmMain::AnteriorBtn_Click);
    on(SiguienteBtn, &QPushButton::clicked, &frmMain::SiguienteBtn_Click);
    on(ImagenBtn, &QPushButton::clicked, &frmMain::ImagenBtn_Click);
    on(Scroll, &QScrollBar::valueChanged, &frmMain::Scroll_Change);
    on(LimiteTiempo, &QTimer::timeout, &frmMain::LimiteTiempo_Timer);
    ArchivoTxt->installEventFilter(this);
    createKeyboard();
}

} // namespace kp
