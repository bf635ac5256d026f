// The student data and the start of the exam: checks, results path, series, first question.
#include "window/frmMain.h"

#include "format/SafeFile.h"
#include "model/Clock.h"
#include "model/RandomSource.h"
#include "results/ExamState.h"
#include "results/LimpiaNombreArchivo.h"
#include "widgets/Guarded.h"
#include "widgets/Prompts.h"
#include "widgets/TextBounds.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kp {

namespace {

const QString Nombre = u"Nombre"_s;

} // namespace

void frmMain::BuscarArchivoBtn_Click() {
    const QString chosen =
        prompts_.openFile(this, u"Elja un archivo de resultados"_s,
                          u"Archivo de resultados (*.kxa)|*.kxa"_s, QString(), false);
    if (!chosen.trimmed().isEmpty())
        ArchivoTxt->setText(chosen);
}

void frmMain::BorrarBtn_Click() {
    ArchivoTxt->clear();
    giveFocus(ArchivoTxt);
}

void frmMain::ArchivoTxt_LostFocus() {
    const QString text = ArchivoTxt->text();
    if (!text.trimmed().isEmpty() && !text.endsWith(u".kxa"_s, Qt::CaseSensitive))
        ArchivoTxt->setText(text + u".kxa"_s);
}

bool frmMain::CompruebaArchivo(const QString& RutaArchivo) {
    // Asks exactly what the end's writing will need, and changes nothing: an existing file there
    // survives the probe (the end keeps it beside the new one).
    try {
        return SafeFile::canCreate(RutaArchivo);
    } catch (...) {
        return false;
    }
}

qint16 frmMain::ElijeSerie() {
    try {
        const KipsaPrubex& exam = *state_.Examen;
        const long count = exam.Series()->Count();
        if (count > 32767)
            throw KpError(KpError::OutOfRange, u"Demasiadas series"_s);
        const int n = static_cast<int>(count);
        int pick = 1;
        if (n != 1)
            pick = static_cast<int>(std::floor(static_cast<double>(n) * random_.next01() + 1.0));
        const qint16 numero = exam.Series()->Item(pick)->Numero();
        state_.NumeroSerie = numero;
        state_.Resultado->setSerie(numero);
        return static_cast<qint16>(pick);
    } catch (...) {
        state_.SerieElegida = 1;
        return 1;
    }
}

void frmMain::EmpezarBtn_Click() {
    if (!state_.Examen || !state_.Resultado)
        return;
    KipsaPrubex& exam = *state_.Examen;
    KipsaResult& result = *state_.Resultado;
    const auto refuse = [this](const QString& text, QWidget* focus) {
        prompts_.message(this, u"Atención"_s, text, PromptIcon::Exclamation, PromptButtons::Ok);
        giveFocus(focus);
    };

    if (exam.AlumnoDefineArchivoResultados() && ArchivoTxt->text().trimmed().isEmpty()) {
        refuse(u"Debe seleccionar un archivo de resultados. Dicho archivo deberá ser entregado al "
               u"examinador."_s,
               ArchivoTxt);
        return;
    }
    if (exam.AlumnoDefineArchivoResultados() && !CompruebaArchivo(ArchivoTxt->text())) {
        refuse(u"La ruta del archivo de salida no es correcta. Por favor, facilite una ruta "
               u"correcta."_s,
               ArchivoTxt);
        return;
    }
    for (int i = 1; i <= 5; ++i) {
        if (!datoTxt[i - 1]->isHidden() && datoTxt[i - 1]->text().trimmed().isEmpty()) {
            // A message box lays its whole text out: a label of megabytes is cut.
            const QString label = exam.DatoAlumno(i);
            const QString shown = TextBounds::cut(label, TextBounds::LabelChars);
            refuse(u"Debe rellenar el campo "_s + shown + (shown == label ? u""_s : u"…"_s),
                   datoTxt[i - 1]);
            return;
        }
    }
    for (int i = 1; i <= 5; ++i)
        result.setDatoAlumno(i, datoTxt[i - 1]->text());

    if (exam.GuardarArchivoResultados()) {
        if (exam.AlumnoDefineArchivoResultados()) {
            result.setArchivoSalida(ArchivoTxt->text());
        } else {
            for (int i = 1; i <= 5; ++i)
                if (exam.DatoAlumno(i) == Nombre)
                    result.setArchivoSalida(exam.RutaArchivoResultados().trimmed() + u'_' +
                                            LimpiaNombreArchivo(datoTxt[i - 1]->text().trimmed()) +
                                            u".kxa"_s);
            if (!CompruebaArchivo(result.ArchivoSalida())) {
                prompts_.message(
                    this, u"Atención"_s,
                    u"Este examen fué preparado para poder obtener un archivo de resultados, pero "
                    u"la ruta especificada por el examinador no es correcta. Por favor, indique "
                    u"usted la ruta del archivo de resultados y proporcione dicha ruta al "
                    u"examinador."_s,
                    PromptIcon::Exclamation, PromptButtons::Ok);
                exam.setAlumnoDefineArchivoResultados(true);
                for (QWidget* w : resultsPathControls())
                    w->show();
                giveFocus(ArchivoTxt);
                return;
            }
        }
    }

    result.setRespuestasKipsa(nullptr);
    mnuEmpezarExamen->setEnabled(false);
    mnuAcabarExamen->setEnabled(true);
    mnuMostrarNota->setEnabled(false);
    state_.SerieElegida = ElijeSerie();
    guarded([&] { startJournal(); });

    for (int i = 1; i <= 5; ++i) {
        if (exam.DatoAlumno(i) != Nombre)
            continue;
        QString caption = Caption + u" (Alumno: "_s + datoTxt[i - 1]->text();
        if (i == 1)
            caption += u" realizando la serie: "_s + QString::number(state_.NumeroSerie);
        setWindowTitle(caption + u')');
    }

    frmDatos->hide();
    state_.ExamenEnCurso = true;
    FinalizarBtn->setEnabled(true);
    guarded([&] { ShowPregunta(1); });
    // The keyboard goes on from the first answer's box.
    guarded([&] { focusRow(1); });

    if (exam.MinutosLimite() > 0) {
        TiempoLab->show();
        startExamClock();
        LimiteTiempo->setInterval(1000);
        LimiteTiempo->start();
    }
}

} // namespace kp
