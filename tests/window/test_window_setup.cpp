// The exam window's layout before the first question, the logo, the briefing, the student data,
// the results path and the start of the exam.
#include "WindowFixture.h"

#include <QFile>
#include <QFocusEvent>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

class WindowSetup : public WindowFixture {};

TEST_F(WindowSetup, ReadyToGoLaysOutAnExamWithoutLogoFromTheClientArea) {
    open(ExamBuilder::simple(3, 4).build());
    EXPECT_EQ(box(w->frmDatos), (TwipsBox{3570, 1687.5, 9255, 7335}));
    EXPECT_EQ(box(w->TiempoLab), (TwipsBox{6870, 120, 2655, 615}));
    EXPECT_EQ(box(w->FinalizarBtn), (TwipsBox{13020, 120, 3255, 495}));
    // The designed logo box (120, 120, 2655 x 1575) sets where the counter begins.
    EXPECT_EQ(box(w->PreguntaActualLab), (TwipsBox{4822.5, 1815, 5895, 375}));
    EXPECT_EQ(box(w->AnteriorBtn), (TwipsBox{4822.5, 2190, 3255, 375}));
    EXPECT_EQ(box(w->SiguienteBtn), (TwipsBox{8077.5, 2190, 3255, 375}));
    EXPECT_EQ(box(w->frmExterno), (TwipsBox{120, 2685, 16155, 7905}));
    EXPECT_FALSE(shown(w->frmExterno));
    EXPECT_FALSE(shown(w->LogoImg));
}

// A one-question exam whose logo has the given bytes.
ExamBuilder withLogo(const QByteArray& bytes, bool right = false) {
    auto b = ExamBuilder::simple(1, 2);
    b.exam().setArchivoLogo(u"logo.png"_s);
    b.exam().setArchivoLogoBinary(bytes);
    b.exam().setLogoDerecha(right);
    return b;
}

TEST_F(WindowSetup, LogoIsScaledToItsLimitPlacedOppositeTheFinishButtonAndShownOnStart) {
    const struct {
        const char* name;
        int widthPx, heightPx;
        bool right;
        TwipsBox logo;
        bool stretched;
        double finalizarLeft, counterTop;
    } cases[] = {
        // 6000 wide, 3000 high: stretched to 3000 x 1500; right edge 120 from the client's.
        {"TallLogoRight", 400, 200, true, {13275, 120, 3000, 1500}, true, 120, 1740},
        {"TallLogoLeft", 400, 200, false, {120, 120, 3000, 1500}, true, 13020, 1740},
        // Exactly 1500 high stays at its own size.
        {"LimitHeightKept", 50, 100, false, {120, 120, 750, 1500}, false, 13020, 1740},
        {"SmallLogo", 30, 20, true, {16395 - 120 - 450, 120, 450, 300}, false, 120, 540},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        open(withLogo(pictureBytes(c.widthPx, c.heightPx), c.right).build());
        EXPECT_EQ(box(w->LogoImg), c.logo);
        EXPECT_EQ(w->LogoImg->stretch(), c.stretched);
        EXPECT_EQ(box(w->FinalizarBtn).left, c.finalizarLeft);
        EXPECT_EQ(box(w->PreguntaActualLab).top, c.counterTop);
        EXPECT_FALSE(shown(w->LogoImg));
        w->EmpezarBtn->click();
        EXPECT_TRUE(shown(w->LogoImg));
    }
}

TEST_F(WindowSetup, UndecodableLogoLeavesNoPictureAndLayoutGoesOn) {
    open(withLogo("not a picture").build());
    EXPECT_FALSE(w->LogoImg->hasPicture());
    // The steps after the failed load still run on the designed box, 1575 high: it is scaled
    // to 1500 like any taller logo.
    EXPECT_EQ(box(w->LogoImg).height, 1500);
    EXPECT_EQ(box(w->frmExterno), (TwipsBox{120, 2610, 16155, 7980}));
}

TEST_F(WindowSetup, OpeningAnotherExamRemovesRowsAndDataButKeepsTheResultsPath) {
    auto b = ExamBuilder::simple(2, 4);
    b.exam().setDatoAlumno(1, u"Curso"_s);
    open(b.build());
    w->datoTxt[0]->setText(u"1º"_s);
    w->EmpezarBtn->click();
    ASSERT_EQ(w->highestRow(), 4);
    w->ArchivoTxt->setText(u"/tmp/anterior.kxa"_s);

    open(ExamBuilder::simple(1, 2).build());
    EXPECT_EQ(w->highestRow(), 0);
    EXPECT_EQ(w->findChild<QWidget*>(u"boton_sin_1"_s), nullptr);
    EXPECT_TRUE(w->datoTxt[0]->text().isEmpty());
    EXPECT_FALSE(shown(w->datoTxt[0]));
    EXPECT_EQ(w->ArchivoTxt->text(), u"/tmp/anterior.kxa"_s);
    EXPECT_FALSE(shown(w->frmExterno));
}

TEST_F(WindowSetup, BackgroundTakesTheExamColourWithRedInTheLowByte) {
    auto b = ExamBuilder::simple(1, 2);
    b.exam().setColorFondo(0x00336699);
    open(b.build());
    EXPECT_EQ(w->client->palette().color(QPalette::Window), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(w->frmDatos->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(WindowSetup, BriefingSentencesFollowTheSettings) {
    const QString tail = u"\r\rA continuación se muestran unos datos que debe rellenar antes de "
                         u"proceder a realizar el examen. Por favor, rellene los datos y pulse "
                         u"sobre 'Empezar'."_s;
    const QString pathSentence = u" Diga tambien el nombre de archivo donde se guardará los "
                                 u"resultados del examen. Dicho archivo debe ser entregado al "
                                 u"examinador."_s;
    const struct {
        const char* name;
        int preguntas;
        qint16 tipo, minutos;
        bool nota, fallos, askPath;
        const char16_t *kind, *limit, *ending = nullptr; // none: the grade is not shown
    } cases[] = {
        {"WorkedExample", 20, 1, 90, true, false, false, u"Test",
         u"Tendrá un límite de tiempo de 1 hora y 30 minutos.",
         u"Cuando acabe el examen se le mostrará la nota. Sin embargo, no se le mostrarán los "
         u"fallos cometidos."},
        {"FortyFiveMinutesSaysZeroHours", 2, 1, 45, false, false, false, u"Test",
         u"Tendrá un límite de tiempo de 0 horas y 45 minutos."},
        {"SixtyMinutesIsOneHour", 2, 1, 60, false, false, false, u"Test",
         u"Tendrá un límite de tiempo de 1 hora."},
        {"HundredTwentyIsTwoHours", 2, 1, 120, false, true, false, u"Test",
         u"Tendrá un límite de tiempo de 2 horas."},
        {"SixtyOneKeepsPluralMinutes", 2, 1, 61, false, false, false, u"Test",
         u"Tendrá un límite de tiempo de 1 hora y 1 minutos."},
        {"NoLimitTrueFalseWithReview", 2, 2, 0, true, true, false, u"Verdadero/Falso",
         u"No va a tener límite de tiempo.",
         u"Cuando acabe el examen se le mostrará la nota. También se le mostrará el examen "
         u"corregido para poder ver los fallos."},
        {"AnyOtherKindIsTrueFalseAndAsksForThePath", 2, 7, 0, false, false, true,
         u"Verdadero/Falso", u"No va a tener límite de tiempo."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = ExamBuilder::simple(c.preguntas, 2);
        b.exam().setTitulo(u"Álgebra"_s);
        b.exam().setTipoExamen(c.tipo);
        b.exam().setMinutosLimite(c.minutos);
        b.exam().setMostrarNota(c.nota);
        b.exam().setMostrarFallos(c.fallos);
        b.exam().setAlumnoDefineArchivoResultados(c.askPath);
        open(b.build());
        const QString expected =
            u"Álgebra\r\rVa a realizar un examen de tipo %1, con %2 preguntas. %3 %4"_s.arg(
                QString::fromUtf16(c.kind), QString::number(c.preguntas),
                QString::fromUtf16(c.limit),
                c.ending ? QString::fromUtf16(c.ending)
                         : u"Cuando acabe el examen no se le mostrará la nota."_s) +
            tail + (c.askPath ? pathSentence : QString());
        // Each carriage return of the text is a line break on the label.
        EXPECT_EQ(w->InfoExamLab->text(), QString(expected).replace(u'\r', u'\n'));
        EXPECT_EQ(state.SegundosLimite, c.minutos * 60);
        for (QWidget* pathControl :
             std::vector<QWidget*>{w->RutaLab, w->ArchivoTxt, w->BuscarArchivoBtn, w->BorrarBtn})
            EXPECT_EQ(shown(pathControl), c.askPath);
    }
}

TEST_F(WindowSetup, DataLabelsGetAColonAndBlankLabelsHideTheirField) {
    auto b = ExamBuilder::simple(1, 2);
    b.exam().setDatoAlumno(1, u"Curso:"_s);
    b.exam().setDatoAlumno(2, u"Curso"_s);
    b.exam().setDatoAlumno(3, u"   "_s);
    b.exam().setDatoAlumno(5, u" Grupo "_s);
    open(b.build());
    const QString labels[] = {u"Curso:"_s, u"Curso:"_s, QString(), QString(), u" Grupo :"_s};
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(shown(w->datoLab[i]), !labels[i].isEmpty());
        EXPECT_EQ(shown(w->datoTxt[i]), !labels[i].isEmpty());
        if (!labels[i].isEmpty()) {
            EXPECT_EQ(w->datoLab[i]->text(), labels[i]);
        }
    }
}

class Start : public WindowFixture {
protected:
    QTemporaryDir dir;

    void expectNotStarted() {
        EXPECT_FALSE(state.ExamenEnCurso);
        EXPECT_TRUE(shown(w->frmDatos) && !shown(w->frmExterno));
        EXPECT_FALSE(w->mnuAcabarExamen->isEnabled());
    }
};

TEST_F(Start, FirstFailingCheckSpeaksAndFocusesItsControl) {
    const struct {
        const char* name;
        bool askPath;
        const char16_t* path;  // typed in ArchivoTxt
        const char16_t* dato2; // typed in field 2 ("Grupo")
        const char16_t* dato4; // typed in field 4 ("Curso:")
        const char16_t* expected;
        const char* focus;
    } cases[] = {
        {"BlankPathBeforeEverything", true, u"   ", u"", u"",
         u"Debe seleccionar un archivo de resultados. Dicho archivo deberá ser entregado al "
         u"examinador.",
         "ArchivoTxt"},
        {"UnwritablePathBeforeData", true, u"$DIR/no/such/folder/r.kxa", u"", u"",
         u"La ruta del archivo de salida no es correcta. Por favor, facilite una ruta correcta.",
         "ArchivoTxt"},
        {"FirstEmptyFieldWins", false, u"", u" ", u"", u"Debe rellenar el campo Grupo", "dato2Txt"},
        {"LabelAsStoredInMessage", true, u"$DIR/r.kxa", u"Ana", u"  ",
         u"Debe rellenar el campo Curso:", "dato4Txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        auto b = ExamBuilder::simple(2, 2);
        b.exam().setAlumnoDefineArchivoResultados(c.askPath);
        b.exam().setDatoAlumno(2, u"Grupo"_s);
        b.exam().setDatoAlumno(4, u"Curso:"_s);
        open(b.build());
        w->ArchivoTxt->setText(QString::fromUtf16(c.path).replace(u"$DIR"_s, dir.path()));
        w->datoTxt[1]->setText(QString::fromUtf16(c.dato2));
        w->datoTxt[3]->setText(QString::fromUtf16(c.dato4));
        w->EmpezarBtn->click();
        expectOnlyMessage(QString::fromUtf16(c.expected));
        EXPECT_EQ(w->focusWidget(), w->findChild<QWidget*>(QString::fromLatin1(c.focus)));
        expectNotStarted();
    }
}

TEST_F(Start, ProbeSucceedsExactlyWhereAResultsFileCouldBeCreatedAndDestroysNothing) {
    const QString path = dir.filePath(u"r.kxa"_s);
    QFile existing(path);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("anterior");
    existing.close();
    EXPECT_TRUE(frmMain::CompruebaArchivo(path));
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), "anterior");

    const QString fresh = dir.filePath(u"nuevo.kxa"_s);
    EXPECT_TRUE(frmMain::CompruebaArchivo(fresh));
    EXPECT_FALSE(QFile::exists(fresh)) << "the probe leaves nothing behind";
    EXPECT_FALSE(frmMain::CompruebaArchivo(dir.filePath(u"falta/nuevo.kxa"_s)));
    EXPECT_FALSE(frmMain::CompruebaArchivo(dir.path())) << "a folder is no results file";
}

// A field labelled "Nombre" names the results file after the examiner's path and the caption.
TEST_F(Start, NombreFieldDerivesPathAndCaption) {
    const QString tema = u" "_s + dir.filePath(u"Tema3"_s) + u" "_s;
    const struct {
        const char* name;
        bool save;
        QString ruta;
        const char* nombre;    // the fields labelled "Nombre"
        const char16_t* typed; // in fields 1, 2, ..., split at '|'
        const char16_t* file;  // in the scratch folder; empty: none
        const char16_t* caption;
    } cases[] = {
        {"FieldOneNamesTheSeries", true, tema, "1", u"Ana/Luis: 1º", u"Tema3_Ana_Luis_ 1º.kxa",
         u"Ana/Luis: 1º realizando la serie: 7"},
        {"FieldTwo", true, tema, "2", u"|Ana/Luis: 1º", u"Tema3_Ana_Luis_ 1º.kxa", u"Ana/Luis: 1º"},
        {"LaterFieldWins", true, tema, "13", u"Ana||Luis", u"Tema3_Luis.kxa", u"Luis"},
        {"NotSavingLeavesThePathAlone", false, u"/no/such/folder/r"_s, "2", u"|Ana", u"", u"Ana"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        auto b = ExamBuilder::simple(1, 2);
        b.serie(7, {u"P1"_s}); // a second series, numbered 7, drawn below
        b.exam().setGuardarArchivoResultados(c.save);
        b.exam().setRutaArchivoResultados(c.ruta);
        for (const char* f = c.nombre; *f; ++f)
            b.exam().setDatoAlumno(static_cast<qint16>(*f - '0'), u"Nombre"_s);
        open(b.build());
        random.push(0.75); // 2 series: floor(2 * 0.75 + 1) = 2
        const QStringList typed = QString::fromUtf16(c.typed).split(u'|');
        for (qsizetype i = 0; i < typed.size(); ++i)
            w->datoTxt[static_cast<size_t>(i)]->setText(typed[i]);
        w->EmpezarBtn->click();
        EXPECT_TRUE(prompts.messages.empty());
        EXPECT_TRUE(state.ExamenEnCurso);
        const QString file = QString::fromUtf16(c.file);
        EXPECT_EQ(state.Resultado->ArchivoSalida(), file.isEmpty() ? file : dir.filePath(file));
        EXPECT_EQ(w->windowTitle(),
                  u"Kipsa Prubex v1.0 (Alumno: "_s + QString::fromUtf16(c.caption) + u')');
        EXPECT_EQ(state.Resultado->Serie(), 7);
    }
}

TEST_F(Start, LowerCaseNombreDerivesNothingAndAsksTheStudentForAPath) {
    auto b = ExamBuilder::simple(1, 2);
    b.exam().setGuardarArchivoResultados(true);
    b.exam().setRutaArchivoResultados(dir.filePath(u"r"_s));
    b.exam().setDatoAlumno(1, u"nombre"_s);
    open(b.build());
    w->datoTxt[0]->setText(u"Ana "_s);
    w->EmpezarBtn->click();
    expectOnlyMessage(
        u"Este examen fué preparado para poder obtener un archivo de resultados, pero la ruta "
        u"especificada por el examinador no es correcta. Por favor, indique usted la ruta del "
        u"archivo de resultados y proporcione dicha ruta al examinador."_s);
    expectNotStarted();
    EXPECT_TRUE(shown(w->ArchivoTxt));
    EXPECT_EQ(w->focusWidget(), w->ArchivoTxt);

    // The next press checks the student's path and takes it.
    prompts.messages.clear();
    w->ArchivoTxt->setText(dir.filePath(u"mio.kxa"_s));
    w->EmpezarBtn->click();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(state.ExamenEnCurso);
    EXPECT_EQ(state.Resultado->ArchivoSalida(), dir.filePath(u"mio.kxa"_s));
}

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
    EXPECT_EQ(state.Resultado->RespuestasKipsa()->Count(), 0);
    EXPECT_FALSE(shown(w->frmDatos));
    EXPECT_EQ(w->frmExternoTag(), u"1"_s);
}

TEST_F(Start, SeriesDrawUsesOneDrawOnlyWhenThereIsAChoice) {
    open(ExamBuilder::simple(1, 2).build());
    EXPECT_EQ(w->ElijeSerie(), 1);
    EXPECT_EQ(random.draws(), 0);

    auto b = ExamBuilder::simple(1, 2);
    b.serie(20, {u"P1"_s}).serie(30, {u"P1"_s});
    open(b.build());
    for (const auto& [r, position, numero] :
         {std::tuple{0.0, 1, 1}, {0.3333, 1, 1}, {0.34, 2, 20}, {0.999999, 3, 30}}) {
        SCOPED_TRACE(r);
        random.push(r);
        EXPECT_EQ(w->ElijeSerie(), position);
        EXPECT_EQ(state.NumeroSerie, numero);
        EXPECT_EQ(state.Resultado->Serie(), numero);
    }
}

TEST_F(Start, PathBoxGetsTheExtensionOnLeavingAndTheBrowsedName) {
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

    // Browsing takes the chosen name, even one that does not exist yet.
    prompts.fileAnswers.push_back(u" /tmp/elegido.kxa"_s);
    w->BuscarArchivoBtn->click();
    EXPECT_EQ(w->ArchivoTxt->text(), u" /tmp/elegido.kxa"_s);
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_FALSE(prompts.fileDialogs[0].mustExist);
}

} // namespace
