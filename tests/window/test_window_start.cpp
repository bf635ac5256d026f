// The student data, the results path and the start of the exam.
#include "WindowFixture.h"

#include <QFile>
#include <QFocusEvent>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

const QString Atencion = u"Atención"_s;
const QString NeedPath = u"Debe seleccionar un archivo de resultados. Dicho archivo deberá ser "
                         u"entregado al examinador."_s;
const QString BadPath =
    u"La ruta del archivo de salida no es correcta. Por favor, facilite una ruta correcta."_s;
const QString ExaminerPathBad =
    u"Este examen fué preparado para poder obtener un archivo de resultados, pero la ruta "
    u"especificada por el examinador no es correcta. Por favor, indique usted la ruta del "
    u"archivo de resultados y proporcione dicha ruta al examinador."_s;

class Start : public WindowFixture {
protected:
    QTemporaryDir dir;

    void expectOnlyWarning(const QString& text) {
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].title, Atencion);
        EXPECT_EQ(prompts.messages[0].text, text);
        EXPECT_EQ(prompts.messages[0].icon, PromptIcon::Exclamation);
        EXPECT_EQ(prompts.messages[0].buttons, PromptButtons::Ok);
    }
    void expectNotStarted() {
        EXPECT_FALSE(state.ExamenEnCurso);
        EXPECT_TRUE(shown(w->frmDatos));
        EXPECT_FALSE(shown(w->frmExterno));
        EXPECT_TRUE(w->mnuEmpezarExamen->isEnabled());
        EXPECT_FALSE(w->mnuAcabarExamen->isEnabled());
    }
};

// ----- Refusals, in their order -----

struct Refusal {
    const char* name;
    bool askPath;
    const char16_t* path;     // typed in ArchivoTxt
    const char16_t* dato2;    // typed in field 2 ("Grupo")
    const char16_t* dato4;    // typed in field 4 ("Curso:")
    const char16_t* expected; // message; its focus below
    const char* focus;
};

void PrintTo(const Refusal& c, std::ostream* os) {
    *os << c.name;
}

class StartRefusal : public Start, public ::testing::WithParamInterface<Refusal> {};

TEST_P(StartRefusal, FirstFailingCheckSpeaksAndFocusesItsControl) {
    const Refusal& c = GetParam();
    auto b = ExamBuilder::simple(2, 2);
    b.exam().setAlumnoDefineArchivoResultados(c.askPath);
    b.exam().setDatoAlumno(2, u"Grupo"_s);
    b.exam().setDatoAlumno(4, u"Curso:"_s);
    open(b.build());
    QString path = QString::fromUtf16(c.path);
    path.replace(u"$DIR"_s, dir.path());
    w->ArchivoTxt->setText(path);
    w->datoTxt[1]->setText(QString::fromUtf16(c.dato2));
    w->datoTxt[3]->setText(QString::fromUtf16(c.dato4));
    w->EmpezarBtn->click();
    expectOnlyWarning(QString::fromUtf16(c.expected));
    EXPECT_EQ(w->focusWidget(), w->findChild<QWidget*>(QString::fromLatin1(c.focus)));
    expectNotStarted();
}

INSTANTIATE_TEST_SUITE_P(
    InOrder, StartRefusal,
    ::testing::Values(
        Refusal{"BlankPathBeforeEverything", true, u"   ", u"", u"",
                u"Debe seleccionar un archivo "
                u"de resultados. Dicho archivo deberá ser entregado al examinador.",
                "ArchivoTxt"},
        Refusal{"UnwritablePathBeforeData", true, u"$DIR/no/such/folder/r.kxa", u"", u"",
                u"La ruta del archivo de salida no es correcta. Por favor, facilite una ruta "
                u"correcta.",
                "ArchivoTxt"},
        Refusal{"FirstEmptyFieldWins", false, u"", u" ", u"", u"Debe rellenar el campo Grupo",
                "dato2Txt"},
        Refusal{"LabelAsStoredInMessage", true, u"$DIR/r.kxa", u"Ana", u"  ",
                u"Debe rellenar el campo Curso:", "dato4Txt"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Start, PathTypedByTheStudentIsProbedWithoutDestroyingAnExistingFile) {
    const QString path = dir.filePath(u"r.kxa"_s);
    QFile existing(path);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("anterior");
    existing.close();

    auto b = ExamBuilder::simple(2, 2);
    b.exam().setAlumnoDefineArchivoResultados(true);
    b.exam().setGuardarArchivoResultados(true);
    open(b.build());
    w->ArchivoTxt->setText(path);
    w->EmpezarBtn->click();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(state.ExamenEnCurso);
    EXPECT_EQ(state.Resultado->ArchivoSalida(), path);
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), "anterior");
}

TEST_F(Start, ProbeSucceedsExactlyWhereAResultsFileCouldBeCreated) {
    const QString fresh = dir.filePath(u"nuevo.kxa"_s);
    EXPECT_TRUE(frmMain::CompruebaArchivo(fresh));
    EXPECT_FALSE(QFile::exists(fresh)) << "the probe leaves nothing behind";
    EXPECT_FALSE(frmMain::CompruebaArchivo(dir.filePath(u"falta/nuevo.kxa"_s)));
    EXPECT_FALSE(frmMain::CompruebaArchivo(dir.path())) << "a folder is no results file";
    EXPECT_FALSE(frmMain::CompruebaArchivo(QString()));
}

// ----- Results path and caption from a "Nombre" field -----

struct NombreCase {
    const char* name;
    int field;       // 1..5 labelled "Nombre"
    bool withSeries; // caption names the series (field 1 only)
};

void PrintTo(const NombreCase& c, std::ostream* os) {
    *os << c.name;
}

class NombreField : public Start, public ::testing::WithParamInterface<NombreCase> {};

TEST_P(NombreField, DerivesPathAndCaption) {
    const NombreCase& c = GetParam();
    auto b = ExamBuilder::simple(1, 2);
    b.serie(7, {u"P1"_s}); // a second series, numbered 7, drawn below
    b.exam().setGuardarArchivoResultados(true);
    b.exam().setRutaArchivoResultados(u" "_s + dir.filePath(u"Tema3"_s) + u" "_s);
    b.exam().setDatoAlumno(c.field, u"Nombre"_s);
    open(b.build());
    random.push(0.75); // 2 series: floor(2 * 0.75 + 1) = 2
    w->datoTxt[c.field - 1]->setText(u"Ana/Luis: 1º"_s);
    w->EmpezarBtn->click();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(state.Resultado->ArchivoSalida(), dir.filePath(u"Tema3_Ana_Luis_ 1º.kxa"_s));
    EXPECT_EQ(w->windowTitle(), c.withSeries
                                    ? u"Kipsa Prubex v1.0 (Alumno: Ana/Luis: 1º realizando la "
                                      u"serie: 7)"_s
                                    : u"Kipsa Prubex v1.0 (Alumno: Ana/Luis: 1º)"_s);
    EXPECT_EQ(state.SerieElegida, 2);
    EXPECT_EQ(state.Resultado->Serie(), 7);
}

INSTANTIATE_TEST_SUITE_P(Fields, NombreField,
                         ::testing::Values(NombreCase{"FieldOneNamesTheSeries", 1, true},
                                           NombreCase{"FieldTwo", 2, false},
                                           NombreCase{"FieldFive", 5, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Start, LaterNombreFieldWinsPathAndCaption) {
    auto b = ExamBuilder::simple(1, 2);
    b.exam().setGuardarArchivoResultados(true);
    b.exam().setRutaArchivoResultados(dir.filePath(u"r"_s));
    b.exam().setDatoAlumno(1, u"Nombre"_s);
    b.exam().setDatoAlumno(3, u"Nombre"_s);
    open(b.build());
    w->datoTxt[0]->setText(u"Ana"_s);
    w->datoTxt[2]->setText(u"Luis"_s);
    w->EmpezarBtn->click();
    EXPECT_EQ(state.Resultado->ArchivoSalida(), dir.filePath(u"r_Luis.kxa"_s));
    EXPECT_EQ(w->windowTitle(), u"Kipsa Prubex v1.0 (Alumno: Luis)"_s);
}

TEST_F(Start, LowerCaseNombreDerivesNothingAndAsksTheStudentForAPath) {
    auto b = ExamBuilder::simple(1, 2);
    b.exam().setGuardarArchivoResultados(true);
    b.exam().setRutaArchivoResultados(dir.filePath(u"r"_s));
    b.exam().setDatoAlumno(1, u"nombre"_s);
    open(b.build());
    w->datoTxt[0]->setText(u"Ana "_s);
    w->EmpezarBtn->click();
    expectOnlyWarning(ExaminerPathBad);
    expectNotStarted();
    EXPECT_EQ(w->windowTitle(), u"Kipsa Prubex v1.0"_s);
    EXPECT_TRUE(state.Examen->AlumnoDefineArchivoResultados());
    EXPECT_TRUE(shown(w->ArchivoTxt));
    EXPECT_TRUE(shown(w->BuscarArchivoBtn));
    EXPECT_EQ(w->focusWidget(), w->ArchivoTxt);
    EXPECT_EQ(state.Resultado->DatoAlumno(1), u"Ana "_s) << "data were copied before the probe";

    // The next press checks the student's path and takes it.
    prompts.messages.clear();
    w->EmpezarBtn->click();
    expectOnlyWarning(NeedPath);
    prompts.messages.clear();
    w->ArchivoTxt->setText(dir.filePath(u"mio.kxa"_s));
    w->EmpezarBtn->click();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(state.ExamenEnCurso);
    EXPECT_EQ(state.Resultado->ArchivoSalida(), dir.filePath(u"mio.kxa"_s));
}

TEST_F(Start, WithoutSavingTheResultsPathIsLeftAlone) {
    auto b = ExamBuilder::simple(1, 2);
    b.exam().setGuardarArchivoResultados(false);
    b.exam().setDatoAlumno(1, u"Nombre"_s);
    b.exam().setRutaArchivoResultados(u"/no/such/folder/r"_s);
    open(b.build());
    w->datoTxt[0]->setText(u"Ana"_s);
    w->EmpezarBtn->click();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(state.Resultado->ArchivoSalida().isEmpty());
    EXPECT_TRUE(state.ExamenEnCurso);
}

// ----- A successful start -----

TEST_F(Start, StartCopiesDataEmptiesMarksAndShowsQuestionOne) {
    auto b = ExamBuilder::simple(3, 2);
    b.exam().setDatoAlumno(2, u"Grupo"_s);
    open(b.build());
    state.Resultado->RespuestasKipsa()->Add(2, 1, u"respuesta21"_s);
    w->datoTxt[1]->setText(u" 2ºB "_s);
    w->datoTxt[3]->setText(u"oculto"_s); // a field the exam does not ask still travels
    w->mnuEmpezarExamen->trigger();
    EXPECT_EQ(state.Resultado->DatoAlumno(2), u" 2ºB "_s);
    EXPECT_EQ(state.Resultado->DatoAlumno(4), u"oculto"_s);
    EXPECT_EQ(state.Resultado->DatoAlumno(1), QString());
    EXPECT_EQ(state.Resultado->RespuestasKipsa()->Count(), 0);
    EXPECT_FALSE(w->mnuEmpezarExamen->isEnabled());
    EXPECT_TRUE(w->mnuAcabarExamen->isEnabled());
    EXPECT_FALSE(w->mnuMostrarNota->isEnabled());
    EXPECT_FALSE(shown(w->frmDatos));
    EXPECT_TRUE(state.ExamenEnCurso);
    EXPECT_TRUE(w->FinalizarBtn->isEnabled());
    EXPECT_EQ(w->frmExternoTag(), u"1"_s);
    EXPECT_TRUE(shown(w->frmExterno));
}

TEST_F(Start, TimeLimitStartsTheOneSecondTimer) {
    auto b = ExamBuilder::simple(1, 2);
    b.exam().setMinutosLimite(30);
    openAndStart(b.build());
    EXPECT_TRUE(shown(w->TiempoLab));
    EXPECT_EQ(state.HoraInicio, clock.now());
    EXPECT_TRUE(w->LimiteTiempo->isActive());
    EXPECT_EQ(w->LimiteTiempo->interval(), 1000);
}

TEST_F(Start, NoTimeLimitNoTimer) {
    openAndStart(ExamBuilder::simple(1, 2).build());
    EXPECT_FALSE(shown(w->TiempoLab));
    EXPECT_FALSE(state.HoraInicio.isValid());
    EXPECT_FALSE(w->LimiteTiempo->isActive());
}

TEST_F(Start, RestartAfterTheEndUsesTheHiddenFieldsAndDropsTheMarks) {
    auto b = ExamBuilder::simple(2, 2);
    b.exam().setDatoAlumno(1, u"Curso"_s);
    open(b.build());
    w->datoTxt[0]->setText(u"1º"_s);
    w->EmpezarBtn->click();
    w->boton_sin_Click(1);
    state.ExamenEnCurso = false; // as the finish leaves it
    w->mnuEmpezarExamen->setEnabled(true);
    w->mnuEmpezarExamen->trigger();
    EXPECT_TRUE(prompts.messages.empty()) << "the hidden but asked field still holds its text";
    EXPECT_TRUE(state.ExamenEnCurso);
    EXPECT_EQ(state.Resultado->RespuestasKipsa()->Count(), 0);
}

// ----- Series -----

TEST_F(Start, OneSeriesIsChosenWithoutADraw) {
    open(ExamBuilder::simple(1, 2).build());
    EXPECT_EQ(w->ElijeSerie(), 1);
    EXPECT_EQ(random.draws(), 0);
    EXPECT_EQ(state.NumeroSerie, 1);
}

TEST_F(Start, DrawPicksEachOfThreeSeriesByItsThird) {
    auto b = ExamBuilder::simple(1, 2);
    b.serie(20, {u"P1"_s}).serie(30, {u"P1"_s});
    open(b.build());
    for (const auto& [r, position, numero] :
         {std::tuple{0.0, 1, 1}, {0.3333, 1, 1}, {0.34, 2, 20}, {0.999999, 3, 30}}) {
        random.push(r);
        EXPECT_EQ(w->ElijeSerie(), position) << r;
        EXPECT_EQ(state.NumeroSerie, numero);
        EXPECT_EQ(state.Resultado->Serie(), numero);
    }
}

TEST_F(Start, ExamWithoutSeriesFallsBackToPositionOne) {
    ExamBuilder b;
    b.pregunta(u"A"_s, u"?"_s, {{u"x"_s, true}});
    open(b.build());
    state.NumeroSerie = 5;
    EXPECT_EQ(w->ElijeSerie(), 1);
    EXPECT_EQ(state.SerieElegida, 1);
    EXPECT_EQ(state.NumeroSerie, 5);
}

// ----- Editing the results path -----

TEST_F(Start, LeavingThePathBoxAddsTheExtensionWhenItIsNotExactlyKxa) {
    auto b = ExamBuilder::simple(1, 2);
    b.exam().setAlumnoDefineArchivoResultados(true);
    open(b.build());
    for (const auto& [typed, kept] : {std::pair{u"res.KXA"_s, u"res.KXA.kxa"_s},
                                      {u"res.kxa"_s, u"res.kxa"_s},
                                      {u"   "_s, u"   "_s},
                                      {u" res "_s, u" res .kxa"_s}}) {
        w->ArchivoTxt->setText(typed);
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(w->ArchivoTxt, &out);
        EXPECT_EQ(w->ArchivoTxt->text(), kept);
    }
}

TEST_F(Start, BrowseTakesTheChosenNameAndCancelKeepsTheText) {
    auto b = ExamBuilder::simple(1, 2);
    b.exam().setAlumnoDefineArchivoResultados(true);
    open(b.build());
    w->ArchivoTxt->setText(u"antes.kxa"_s);
    w->BuscarArchivoBtn->click(); // cancelled
    EXPECT_EQ(w->ArchivoTxt->text(), u"antes.kxa"_s);
    prompts.fileAnswers.push_back(u" /tmp/elegido.kxa"_s);
    w->BuscarArchivoBtn->click();
    EXPECT_EQ(w->ArchivoTxt->text(), u" /tmp/elegido.kxa"_s);
    ASSERT_EQ(prompts.fileDialogs.size(), 2u);
    EXPECT_EQ(prompts.fileDialogs[1].title, u"Elja un archivo de resultados"_s);
    EXPECT_EQ(prompts.fileDialogs[1].filter, u"Archivo de resultados (*.kxa)|*.kxa"_s);
    EXPECT_TRUE(prompts.fileDialogs[1].initialName.isEmpty());
    EXPECT_FALSE(prompts.fileDialogs[1].mustExist) << "a new results file must be accepted";

    w->BorrarBtn->click();
    EXPECT_TRUE(w->ArchivoTxt->text().isEmpty());
    EXPECT_EQ(w->focusWidget(), w->ArchivoTxt);
}

} // namespace
