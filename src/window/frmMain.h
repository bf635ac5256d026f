#pragma once

#include "format/JournalWriter.h"
#include "format/SafeFile.h"
#include "results/ExamClock.h"
#include "widgets/PictureFile.h"
#include "widgets/TwipsLayout.h"
#include "window/SeriesIndex.h"

#include <QColor>
#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QScrollBar;
class QShortcut;
class QTimer;

namespace kp {

class Clock;
class ImageBox;
class MarkBox;
class Pregunta;
class Respuesta;
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
    // The smallest client area the layout is computed for: the data frame fits whole, 120 from
    // the top. A smaller screen scrolls the window's content instead of cutting it.
    static constexpr double MinimumClientWidth = 9255;
    static constexpr double MinimumClientHeight = 7335 + 240;
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
    // Where the results go when their own path fails: first the program's own folder, which
    // is the user's data folder of the program (an installed program cannot write beside
    // itself), then the student's documents folder. The journals of the marks are kept in the
    // program's folder too. Tests point them at scratch folders.
    QString programFolder() const;
    void setProgramFolder(const QString& folder) { programFolder_ = folder; }
    QString documentsFolder() const;
    void setDocumentsFolder(const QString& folder) { documentsFolder_ = folder; }
    QString journalFolder() const;
    void setJournalFolder(const QString& folder) { journalFolder_ = folder; }
    // The journal of the marks of the exam in progress, or of the last exam whose results could
    // not be saved anywhere.
    const JournalWriter& journal() const { return journal_; }

    // --- Reachable by the other windows and by tests ---
    // The number of the question on display, as written by ShowPregunta (empty before).
    QString frmExternoTag() const;
    TwipsBox box(const QWidget* w) const { return layout_.box(w); }
    // Client area in twips (SW, SH). Tests may fix it; otherwise the client widget's size, or
    // before the window is shown the size it will have maximised; never below the minimum.
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
    void keyPressEvent(QKeyEvent* event) override;

    // Gives the focus to a control (the window takes it when it becomes active).
    void giveFocus(QWidget* w);

private:
    // Controls, named as their objectName (tests find them by that name). The client area sits
    // in a scroll area that scrolls only when the screen is smaller than the minimum.
    QScrollArea* clientArea = nullptr;
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
    std::vector<MarkBox*> boton_sin;
    std::vector<MarkBox*> boton_con;
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

    // Keyboard shortcuts of the navigation buttons (Alt+Left, Alt+Right and Alt+S).
    QShortcut* previousKey = nullptr;
    QShortcut* nextKey = nullptr;
    QShortcut* nextKeyS = nullptr;

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
        MarkBox* sin = nullptr;
        MarkBox* con = nullptr;
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
    // Places row j's controls for a row at y (the answer box keeps its height).
    void placeRow(const AnswerRow& r, int j, double y);
    // The multiple-choice rows in number order: those the page can show are built, the rest
    // only add their height.
    void buildRows(const std::vector<std::shared_ptr<Respuesta>>& answers, const QColor& colour,
                   double& y);
    // Lays out one question from the top of the page: its picture button, its text and its
    // rows; y ends below them.
    void layOutQuestion(const Pregunta& pregunta, const QColor& colour, double& y);
    // The characters the next text box of the page may hold (TextBounds).
    qsizetype boxChars() const;
    void sizePage(double y);
    QColor fontColour() const;
    // What screen readers call row j's boxes and text.
    void nameRow(int j, const AnswerRow& r, bool numbered);
    // Tab order of the page: the navigation buttons, "Ver imagen", the boxes in row order,
    // "Finalizar Examen".
    void orderPageFocus();
    // frmMainKeyboard.cpp
    void createKeyboard();
    void markBoxClicked(MarkBox* box);
    void stepMark(MarkBox* from, int step);
    // Scrolls the page (through Scroll) so that the row of a focused box shows whole.
    void showFocusedBox(MarkBox* box);
    // The row whose box has the focus, 0 when none has.
    int focusedRow() const;
    // Gives the focus to the box row j shows; to the first row's when row j is not there.
    void focusRow(int j);
    void pressEmpezar();
    void navigate(QPushButton* button);
    bool pageKey(QKeyEvent* event);
    bool pageWheel(QWheelEvent* event);
    // The control that has the focus when the briefing appears.
    QWidget* firstBriefingField() const;
    void setRemainingTime(const QString& text);
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
    // Begins the journal of the marks of an exam that writes a results file.
    void startJournal();
    // Time since the start of the exam in progress, on the monotonic clock.
    qint64 examElapsedMs() const;
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
    qsizetype pageChars_ = 0;          // characters the page being built has laid out
    SeriesIndex seriesIndex_;
    std::optional<QSizeF> clientOverride_;
    ExamClock examClock_;   // time of the exam in progress
    QString programFolder_; // empty: the program's data folder
    QString documentsFolder_;
    QString journalFolder_;
    SafeFile resultsFiles_;
    JournalWriter journal_;
    qint64 journalStartMs_ = 0; // monotonic clock at the start
    qint64 journalTimeMs_ = 0;  // exam time last recorded by the countdown
};

} // namespace kp
