// The exam window: construction, preparing it for an opened exam, the briefing, resizing and
// opening an exam from the menu.
#include "window/frmMain.h"

#include "results/ExamState.h"
#include "widgets/ExamColour.h"
#include "widgets/Guarded.h"
#include "widgets/ImageBox.h"
#include "widgets/Prompts.h"
#include "widgets/RichTextBox.h"
#include "widgets/TextBounds.h"
#include "window/ExamOpening.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

using namespace Qt::StringLiterals;

// Resources of a static library are registered by hand once.
static void initWindowResources() {
    Q_INIT_RESOURCE(window);
}

namespace kp {

const QString frmMain::Caption = u"Kipsa Prubex v1.0"_s;

frmMain::frmMain(ExamState& state, Prompts& prompts, Clock& clock, RandomSource& random,
                 QWidget* parent)
    : QMainWindow(parent), state_(state), prompts_(prompts), clock_(clock), random_(random) {
    initWindowResources();
    setObjectName(u"frmMain"_s);
    setWindowTitle(Caption);
    createControls();
    connectHandlers();
    resize(TwipsBox::toPixels(DesignedClientWidth), TwipsBox::toPixels(DesignedClientHeight));
    setWindowState(Qt::WindowMaximized);
}

frmMain::~frmMain() = default;

QSizeF frmMain::clientSizeTwips() const {
    if (clientOverride_)
        return *clientOverride_;
    QSize px = client->size();
    if (!isVisible()) {
        // Not shown yet: the client area the maximised window will have, near enough.
        if (const QScreen* s = screen()) {
            px = s->availableGeometry().size();
            px.rheight() -= menuBar()->sizeHint().height();
        }
    }
    // The client widget is never smaller than its minimum; the scroll area around it scrolls.
    px = px.expandedTo(client->minimumSize());
    return QSizeF(px.width() * TwipsBox::TwipsPerPixel, px.height() * TwipsBox::TwipsPerPixel);
}

double frmMain::clientWidth() const {
    return clientSizeTwips().width();
}

double frmMain::clientHeight() const {
    return clientSizeTwips().height();
}

void frmMain::setClientSizeTwips(double width, double height) {
    clientOverride_ = QSizeF(width, height);
}

QString frmMain::frmExternoTag() const {
    return frmExterno->property("Tag").toString();
}

void frmMain::giveFocus(QWidget* w) {
    if (w)
        w->setFocus(Qt::OtherFocusReason);
}

void frmMain::ReadyToGo() {
    const double SW = clientWidth();
    const double SH = clientHeight();
    const KipsaPrubex* exam = state_.Examen.get();
    if (!exam)
        return;

    guarded([&] {
        for (QWidget* w : {static_cast<QWidget*>(frmExterno), static_cast<QWidget*>(AnteriorBtn),
                           static_cast<QWidget*>(SiguienteBtn), static_cast<QWidget*>(FinalizarBtn),
                           static_cast<QWidget*>(LogoImg), static_cast<QWidget*>(TiempoLab),
                           static_cast<QWidget*>(PreguntaActualLab)})
            w->hide();
        for (int i = 0; i < 5; ++i) {
            datoLab[i]->hide();
            datoTxt[i]->hide();
            datoTxt[i]->clear();
        }
    });
    guarded([&] {
        const TwipsBox d = layout_.box(frmDatos);
        frmDatos->show();
        layout_.move(frmDatos, (SW - d.width) / 2, (SH - d.height) / 2);
    });
    guarded([&] {
        state_.SegundosLimite = exam->MinutosLimite() != 0 ? exam->MinutosLimite() * 60 : 0;
    });
    guarded([&] {
        QPalette p = client->palette();
        p.setColor(QPalette::Window, examColour(exam->ColorFondo(), p));
        client->setPalette(p);
    });
    guarded([&] { removeRows(); });

    double y = 120;
    if (!exam->ArchivoLogo().trimmed().isEmpty()) {
        guarded([&] {
            const QImage logo = pictures_.load(exam->ArchivoLogoBinary(), exam->ArchivoLogo());
            if (!logo.isNull())
                LogoImg->setPicture(logo);
        });
        guarded([&] {
            // At its own size unless taller than 1500; then scaled to that height.
            LogoImg->setStretch(false);
            if (LogoImg->hasPicture())
                layout_.resize(LogoImg, LogoImg->picture().width() * TwipsBox::TwipsPerPixel,
                               LogoImg->picture().height() * TwipsBox::TwipsPerPixel);
            const TwipsBox b = layout_.box(LogoImg);
            if (b.height > 1500) {
                const double ratio = b.width / b.height;
                LogoImg->setStretch(true);
                layout_.resize(LogoImg, 1500 * ratio, 1500);
            }
        });
        guarded([&] {
            layout_.setTop(LogoImg, y);
            y = y + layout_.box(LogoImg).height + 120;
        });
        guarded([&] {
            const double w = layout_.box(LogoImg).width;
            layout_.setLeft(LogoImg, exam->LogoDerecha() ? SW - 120 - w : 120);
        });
    }
    guarded([&] { layout_.move(TiempoLab, (SW - layout_.box(TiempoLab).width) / 2, 120); });
    guarded([&] {
        const double w = layout_.box(FinalizarBtn).width;
        layout_.move(FinalizarBtn, exam->LogoDerecha() ? 120 : SW - w - 120,
                     layout_.box(TiempoLab).top);
    });
    // The logo's box sets where the counter begins, whether or not this exam has a logo.
    y = layout_.box(LogoImg).top + layout_.box(LogoImg).height + 120;

    const TwipsBox anterior = layout_.box(AnteriorBtn);
    layout_.move(PreguntaActualLab, (SW - 240) / 2 - anterior.width, y);
    y = y + layout_.box(PreguntaActualLab).height;
    layout_.move(AnteriorBtn, (SW - 240) / 2 - anterior.width, y);
    layout_.move(SiguienteBtn, layout_.box(AnteriorBtn).left + anterior.width, y);
    y = y + anterior.height + 120;

    layout_.place(frmExterno, {120, y, SW - 240, SH - y - 120});
    const TwipsBox externo = layout_.box(frmExterno);
    const double scrollWidth = layout_.box(Scroll).width;
    layout_.place(Scroll,
                  {externo.width - scrollWidth - 120, 120, scrollWidth, externo.height - 240});
    layout_.place(frmExamen, {0, 0, layout_.box(Scroll).left - 120, externo.height});
}

void frmMain::InfoExamen() {
    const KipsaPrubex* exam = state_.Examen.get();
    if (!exam)
        return;
    guarded([&] {
        SinCargarLab->hide();
        frmDatos->hide();
    });
    QCoreApplication::processEvents();

    const QChar CR(u'\r');
    QString text;
    guarded([&] {
        // No more of the title than the briefing's box can show, whatever the exam holds.
        text += TextBounds::cut(exam->Titulo(), TextBounds::BriefingTitleChars) + CR + CR +
                u"Va a realizar un examen de tipo "_s;
        text += exam->TipoExamen() == 1 ? u"Test, "_s : u"Verdadero/Falso, "_s;
        text += u"con "_s + QString::number(state_.TotalPreguntas) + u" preguntas. "_s;
        const int minutes = exam->MinutosLimite();
        if (minutes != 0) {
            const int h = minutes / 60;
            const int m = minutes - 60 * h;
            text += u"Tendrá un límite de tiempo de "_s + QString::number(h) + u" hora"_s;
            if (h != 1)
                text += u's';
            text += m != 0 ? u" y "_s + QString::number(m) + u" minutos."_s : u"."_s;
        } else {
            text += u"No va a tener límite de tiempo."_s;
        }
        if (exam->MostrarNota()) {
            text += u" Cuando acabe el examen se le mostrará la nota."_s;
            text +=
                exam->MostrarFallos()
                    ? u" También se le mostrará el examen corregido para poder ver los fallos."_s
                    : u" Sin embargo, no se le mostrarán los fallos cometidos."_s;
        } else {
            text += u" Cuando acabe el examen no se le mostrará la nota."_s;
        }
        text += CR;
        text += CR;
        text += u"A continuación se muestran unos datos que debe rellenar antes de proceder a "
                u"realizar el examen. Por favor, rellene los datos y pulse sobre 'Empezar'."_s;
        if (exam->AlumnoDefineArchivoResultados())
            text += u" Diga tambien el nombre de archivo donde se guardará los resultados del "
                    u"examen. Dicho archivo debe ser entregado al examinador."_s;
    });
    // The label shows each carriage return as a line break.
    guarded([&] { InfoExamLab->setText(QString(text).replace(CR, u'\n')); });
    guarded([&] {
        const bool ask = exam->AlumnoDefineArchivoResultados();
        for (QWidget* w : resultsPathControls())
            w->setVisible(ask);
    });
    for (int i = 5; i >= 1; --i) {
        guarded([&] {
            if (exam->DatoAlumno(i).trimmed().isEmpty())
                return;
            // A one-line label shows a few dozen characters: longer ones are cut.
            QString label = TextBounds::cut(exam->DatoAlumno(i), TextBounds::LabelChars);
            if (!label.endsWith(u':'))
                label += u':';
            datoLab[i - 1]->setText(label);
            datoTxt[i - 1]->setAccessibleName(label);
            datoLab[i - 1]->show();
            datoTxt[i - 1]->show();
        });
    }
    guarded([&] { frmDatos->show(); });
    // The keyboard starts in the first field to fill in, whether or not a window manager
    // activates the window later.
    guarded([&] { giveFocus(firstBriefingField()); });
    // A window manager may leave a new window without the keyboard (no user action made it
    // appear): ask for it, so the field above really takes what the student types.
    guarded([&] {
        if (isVisible())
            activateWindow();
    });
    QCoreApplication::processEvents();
}

QWidget* frmMain::firstBriefingField() const {
    for (QLineEdit* field : datoTxt)
        if (!field->isHidden())
            return field;
    return ArchivoTxt->isHidden() ? static_cast<QWidget*>(EmpezarBtn) : ArchivoTxt;
}

void frmMain::Form_Resize() {
    guarded([&] {
        if (isVisible() && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            setWindowState(Qt::WindowMaximized);
    });
    guarded([&] {
        const QRect outer = frameGeometry();
        const TwipsBox b = layout_.box(SinCargarLab);
        layout_.move(SinCargarLab, (outer.width() * TwipsBox::TwipsPerPixel - b.width) / 2,
                     (outer.height() * TwipsBox::TwipsPerPixel - b.height) / 5);
    });
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized))
        // Deferred: the platform is still applying the minimise.
        QTimer::singleShot(0, this, [this] { guarded([&] { showMaximized(); }); });
}

void frmMain::closeEvent(QCloseEvent* event) {
    bool mayClose = true;
    guarded([&] { mayClose = Form_QueryUnload(); });
    if (mayClose)
        event->accept();
    else
        event->ignore();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    bool taken = false;
    if (watched == ArchivoTxt && event->type() == QEvent::FocusOut)
        guarded([&] { ArchivoTxt_LostFocus(); });
    else if (event->type() == QEvent::KeyPress)
        guarded([&] {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (watched == EmpezarBtn && enter && key->modifiers() == Qt::NoModifier) {
                pressEmpezar();
                taken = true;
            } else if (watched == client) {
                taken = pageKey(key);
            }
        });
    else if (watched == frmExterno && event->type() == QEvent::Wheel)
        guarded([&] { taken = pageWheel(static_cast<QWheelEvent*>(event)); });
    return taken || QMainWindow::eventFilter(watched, event);
}

void frmMain::keyPressEvent(QKeyEvent* event) {
    bool taken = false;
    guarded([&] { taken = pageKey(event); });
    if (!taken)
        QMainWindow::keyPressEvent(event);
}

void frmMain::mnuAbrirExamen_Click() {
    const QString chosen =
        prompts_.openFile(this, u"Elija un examen a realizar"_s,
                          u"Archivos de Kipsa Prubex (*.kxt)|*.kxt"_s, QString(), true);
    if (chosen.trimmed().isEmpty())
        return;
    // Whatever the outcome, the exam on the desk is discarded: its clock and finish go with it.
    LimiteTiempo->stop();
    journal_.close(); // an exam in progress keeps its marks on disk
    mnuAcabarExamen->setEnabled(false);
    FinalizarBtn->setEnabled(false);
    if (AbrirExamen(state_, prompts_, chosen, this))
        showOpenedExam();
}

void frmMain::showOpenedExam() {
    ReadyToGo();
    InfoExamen();
    mnuEmpezarExamen->setEnabled(true);
    mnuMostrarNota->setEnabled(false);
}

std::array<QWidget*, 4> frmMain::resultsPathControls() const {
    return {RutaLab, ArchivoTxt, BuscarArchivoBtn, BorrarBtn};
}

} // namespace kp
