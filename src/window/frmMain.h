#pragma once

#include "results/ExamClock.h"
#include "widgets/PictureFile.h"
#include "widgets/TwipsLayout.h"
#include "window/SeriesIndex.h"

#include <QColor>
#include <QMainWindow>
#include <array>
#include <optional>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;
class QTimer;

namespace kp {

class Clock;
class ImageBox;
class Pregunta;
class Prompts;
class RandomSource;
class RichTextBox;
struct ExamState;

// The exam window: briefing and student data, the question page, navigation and finishing.
// Every control is a private member whose objectName is its control name. The answer rows are
// arrays of controls named "<array>_<index>" ("boton_sin_3"); element 0 of each array is the
// hidden template the rows are copied from, and an index no answer carries holds a null
// pointer (row() reads them). Removed rows wait, hidden and without a name, to be loaded again
// (a page switch reuses them instead of making new controls).
//
// Geometry is kept in twips (box()); a control is "shown" when its own visibility is on
// (!isHidden()), whatever its containers do.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    static constexpr double DesignedClientWidth = 16395;
    static constexpr double DesignedClientHeight = 10710;
    static const QString Caption; // "Kipsa Prubex v1.0"

    frmMain(ExamState& state, Prompts& prompts, Clock& clock, RandomSource& random,
            QWidget* parent = nullptr);
    ~frmMain() override;

    // --- Set-up and briefing (frmMain.cpp) ---
    void ReadyToGo();
    void InfoExamen();
    // Everything the window does once an exam has been opened: ReadyToGo, the briefing, and
    // the menu ready for a start.
    void showOpenedExam();
    void Form_Resize();
    void mnuAbrirExamen_Click();

    // --- Start (frmMainStart.cpp) ---
    void EmpezarBtn_Click();
    void mnuEmpezarExamen_Click() { EmpezarBtn_Click(); }
    void BuscarArchivoBtn_Click();
    void BorrarBtn_Click();
    void ArchivoTxt_LostFocus();
    // Succeeds exactly when a results file could be created at the path; an existing file is
    // left as it was.
    static bool CompruebaArchivo(const QString& RutaArchivo);
    qint16 ElijeSerie();

    // --- Question page (frmMainPage.cpp) ---
    void ShowPregunta(qint16 n);
    // The questions shown as number n of the chosen series: the question of every slot whose
    // Orden is n, in slot order (the page, the review and the image viewer agree on them).
    const SeriesIndex::Questions& questionsAt(double n);

    // --- Marking and navigation (frmMainMarking.cpp) ---
    void boton_sin_Click(int j);
    void boton_con_Click(int j);
    void AnteriorBtn_Click();
    void SiguienteBtn_Click();
    void Scroll_Change();
    void ImagenBtn_Click();

    // --- Finishing (frmMainFinish.cpp) ---
    void FinalizarBtn_Click();
    void mnuAcabarExamen_Click();
    void LimiteTiempo_Timer();
    void FinExamen();
    void MostrarNota();
    void mnuMostrarNota_Click();
    void MostrarFallos();
    // True when the window may close.
    bool Form_QueryUnload();
    void mnuSalir_Click();
    void mnuAyudaAcercade_Click();
    // The program's own folder, where the results go when their own path fails. Tests point
    // it at a scratch folder.
    QString programFolder() const;
    void setProgramFolder(const QString& folder) { programFolder_ = folder; }

    // --- Reachable by the other windows and by tests ---
    // The number of the question on display, as written by ShowPregunta (empty before).
    QString frmExternoTag() const;
    TwipsBox box(const QWidget* w) const { return layout_.box(w); }
    // Client area in twips (SW, SH). Tests may fix it; otherwise the central widget's size, or
    // before the window is shown the size it will have maximised.
    QSizeF clientSizeTwips() const;
    double clientWidth() const;
    double clientHeight() const;
    void setClientSizeTwips(double width, double height);
    // Highest index of the answer-row arrays (0 when only the templates exist).
    int highestRow() const { return static_cast<int>(RespuestaTxt.size()) - 1; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Gives the focus to a control (the window takes it when it becomes active).
    void giveFocus(QWidget* w);

private:
    // Controls, named as their objectName (tests find them by that name).
    QWidget* client = nullptr;
    QLabel* SinCargarLab = nullptr;
    ImageBox* LogoImg = nullptr;
    QLabel* TiempoLab = nullptr;
    QPushButton* FinalizarBtn = nullptr;
    QLabel* PreguntaActualLab = nullptr;
    QPushButton* AnteriorBtn = nullptr;
    QPushButton* SiguienteBtn = nullptr;
    QFrame* frmExterno = nullptr;
    QScrollBar* Scroll = nullptr;
    QFrame* frmExamen = nullptr;
    QPushButton* ImagenBtn = nullptr;
    RichTextBox* PreguntaTxt = nullptr;
    std::vector<RichTextBox*> RespuestaTxt;
    std::vector<QLabel*> NumrespLab;
    std::vector<ImageBox*> boton_sin;
    std::vector<ImageBox*> boton_con;
    std::vector<ImageBox*> boton_flecha;
    std::vector<ImageBox*> boton_cruz;

    QFrame* frmDatos = nullptr;
    QLabel* InfoExamLab = nullptr;
    QLabel* RutaLab = nullptr;
    QLineEdit* ArchivoTxt = nullptr;
    QPushButton* BuscarArchivoBtn = nullptr;
    QPushButton* BorrarBtn = nullptr;
    QLabel* datoLab[5] = {};    // dato1Lab .. dato5Lab
    QLineEdit* datoTxt[5] = {}; // dato1Txt .. dato5Txt
    QPushButton* EmpezarBtn = nullptr;

    QMenu* mnuArchivo = nullptr;
    QAction* mnuAbrirExamen = nullptr;
    QAction* mnuEmpezarExamen = nullptr;
    QAction* mnuAcabarExamen = nullptr;
    QAction* nul1 = nullptr;
    QAction* mnuMostrarNota = nullptr;
    QAction* nul2 = nullptr;
    QAction* mnuSalir = nullptr;
    QMenu* mnuAyuda = nullptr;
    QAction* mnuAyudaAcercade = nullptr;

    // The countdown's tick: every 1000 ms while a limited exam runs, stopped at its end.
    QTimer* LimiteTiempo = nullptr;

    // frmMainControls.cpp
    void createControls();
    void createMenu();
    void createDataFrame();
    void createPage();
    void connectHandlers();
    // The six controls of one answer row.
    struct AnswerRow {
        RichTextBox* answer = nullptr;
        QLabel* number = nullptr;
        ImageBox* sin = nullptr;
        ImageBox* con = nullptr;
        ImageBox* cruz = nullptr;
        ImageBox* flecha = nullptr;
    };

    // frmMainPage.cpp
    // Removes the answer rows, all but those marked in kept, and keeps their controls spare.
    void removeRows(const std::vector<bool>& kept = {});
    // Row j's controls, loaded (named and in the arrays) from the spare rows or made anew.
    AnswerRow loadRow(int j);
    AnswerRow newRow();
    void buildRow(int j, const QString& text, bool numbered, const QColor& colour, double& y);
    void sizePage(double y);
    QColor fontColour() const;
    // frmMainMarking.cpp
    void removeMarks(const QString& question, int answer);
    // The results path's label, box and two buttons, shown and hidden together.
    std::array<QWidget*, 4> resultsPathControls() const;
    // Element j of a control array, null when it is not loaded (j = 0 is the template).
    template <typename W> static W* row(const std::vector<W*>& array, int j) {
        return j >= 0 && static_cast<size_t>(j) < array.size() ? array[static_cast<size_t>(j)]
                                                               : nullptr;
    }

    // frmMainFinish.cpp
    void startExamClock();
    void finishSequence();
    // frmMainReview.cpp
    void reviewMultipleChoice(const Pregunta& question);
    void reviewTrueFalse(const Pregunta& question);

    ExamState& state_;
    Prompts& prompts_;
    Clock& clock_;
    RandomSource& random_;
    TwipsLayout layout_;
    PictureFile pictures_;
    std::vector<AnswerRow> spareRows_; // removed rows, hidden and nameless, for reuse
    std::vector<bool> builtRows_;      // the rows the page being built has loaded
    SeriesIndex seriesIndex_;
    std::optional<QSizeF> clientOverride_;
    ExamClock examClock_;   // time of the exam in progress
    QString programFolder_; // empty: the folder of the executable
};

} // namespace kp
