// The exam window before the first question: logo and layout, the briefing, the student data,
// the results path and the start of the exam.
#include "WindowFixture.h"

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

using WindowSetup = WindowFixture;

// A logo taller than 1500 twips is scaled to that height and set on its side; the finish button
// takes the other side, and the page follows 990 below the logo's box.
TEST_F(WindowSetup, LogoScalingAndSideSetTheLayout) {
    const struct {
        const char* name;
        QByteArray logo; // the picture's bytes (pixels of 15 twips); none: no logo
        bool right, stretched;
        TwipsBox box;
    } cases[] = {
        {"TallLeft", pictureBytes(400, 200), false, true, {120, 120, 3000, 1500}},
        {"SmallRight", pictureBytes(30, 20), true, false, {15825, 120, 450, 300}},
        // The designed box (2655 x 1575) stays when nothing decodes, and is scaled all the same.
        {"Undecodable", "no picture", false, true, {120, 120, 2528.57, 1500}},
        {"NoLogo", {}, false, false, {120, 120, 2655, 1575}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        auto b = TestExamBuilder::simple(1, 2);
        b.exam().setColorFondo(0x00336699); // red in the low byte
        if (!c.logo.isEmpty()) {
            b.exam().setArchivoLogo(u"logo.png"_s);
            b.exam().setArchivoLogoBinary(c.logo);
        }
        b.exam().setLogoDerecha(c.right);
        open(b.build());
        expectNear(box(control<ImageBox>(u"LogoImg"_s)), c.box);
        EXPECT_EQ(control<ImageBox>(u"LogoImg"_s)->stretch(), c.stretched);
        EXPECT_EQ(box(button("FinalizarBtn")).left, c.right ? 120 : 13020);
        EXPECT_NEAR(box(widget("frmExterno")).top, c.box.top + c.box.height + 990, 0.01);
    }
    EXPECT_EQ(box(widget("frmDatos")), (TwipsBox{3570, 1687.5, 9255, 7335})) << "centred";
    EXPECT_EQ(widget("client")->palette().color(QPalette::Window), QColor(0x99, 0x66, 0x33));
}

TEST_F(WindowSetup, OpeningAnotherExamRemovesRowsAndDataButKeepsTheResultsPath) {
    openAndStart(TestExamBuilder::simple(2, 4).build());
    dato(1)->setText(u"1º"_s);
    edit("ArchivoTxt")->setText(u"/tmp/anterior.kxa"_s);
    open(TestExamBuilder::simple(1, 2).build());
    EXPECT_EQ(w->findChild<QWidget*>(u"boton_sin_1"_s), nullptr) << "the rows are gone";
    EXPECT_TRUE(dato(1)->text().isEmpty());
    EXPECT_EQ(edit("ArchivoTxt")->text(), u"/tmp/anterior.kxa"_s);
}

TEST_F(WindowSetup, BriefingSentencesFollowTheSettings) {
    const QString noGrade = u"Cuando acabe el examen no se le mostrará la nota."_s;
    const QString grade = u"Cuando acabe el examen se le mostrará la nota. "_s;
    const QString noReview = u"Sin embargo, no se le mostrarán los fallos cometidos."_s;
    const QString review =
        u"También se le mostrará el examen corregido para poder ver los fallos."_s;
    const QString tail = u"\r\rA continuación se muestran unos datos que debe rellenar antes de "
                         u"proceder a realizar el examen. Por favor, rellene los datos y pulse "
                         u"sobre 'Empezar'."_s;
    const QString pathSentence = u" Diga tambien el nombre de archivo donde se guardará los "
                                 u"resultados del examen. Dicho archivo debe ser entregado al "
                                 u"examinador."_s;
    const struct {
        const char* name;
        qint16 preguntas, tipo, minutos;
        bool nota, fallos;
        const char16_t* limit; // none: no limit
    } cases[] = {
        {"WorkedExample", 20, 1, 90, true, false, u"1 hora y 30 minutos"},
        {"FortyFiveSaysZeroHours", 2, 1, 45, false, false, u"0 horas y 45 minutos"},
        {"SixtyIsOneHourReviewNeedsGrade", 2, 1, 60, false, true, u"1 hora"},
        {"SixtyOneKeepsPluralMinutes", 2, 1, 61, false, false, u"1 hora y 1 minutos"},
        {"AnyOtherKindIsTrueFalse", 2, 7, 0, true, true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool askPath = c.tipo == 7; // and not otherwise
        auto b = TestExamBuilder::simple(c.preguntas, 2);
        b.exam().setTitulo(u"Álgebra"_s);
        b.exam().setTipoExamen(c.tipo);
        b.exam().setMinutosLimite(c.minutos);
        b.exam().setMostrarNota(c.nota);
        b.exam().setMostrarFallos(c.fallos);
        b.exam().setAlumnoDefineArchivoResultados(askPath);
        open(b.build());
        const QString expected =
            u"Álgebra\r\rVa a realizar un examen de tipo %1, con %2 preguntas. %3 %4"_s.arg(
                c.tipo == 1 ? u"Test"_s : u"Verdadero/Falso"_s, QString::number(c.preguntas),
                c.limit ? u"Tendrá un límite de tiempo de %1."_s.arg(QString::fromUtf16(c.limit))
                        : u"No va a tener límite de tiempo."_s,
                c.nota ? grade + (c.fallos ? review : noReview) : noGrade) +
            tail + (askPath ? pathSentence : QString());
        // Each carriage return of the text is a line break on the label.
        EXPECT_EQ(label("InfoExamLab")->text(), QString(expected).replace(u'\r', u'\n'));
        EXPECT_EQ(shown(edit("ArchivoTxt")), askPath);
    }
}

// Labels get a colon unless they end in one, and a blank label hides its field, which is then
// not asked for; the first failing check speaks and takes the focus to its control.
TEST_F(WindowSetup, DataLabelsAndStartRefusalsInOrder) {
    QTemporaryDir dir;
    const struct {
        const char *name, *focus;
        bool askPath;
        QString path; // typed in ArchivoTxt; relative ones inside the scratch folder
        const char16_t *dato2, *dato4, *expected; // typed in "Grupo" and "Curso:"; the message
    } cases[] = {
        {"BlankPathBeforeEverything", "ArchivoTxt", true, u"   "_s, u"", u"",
         u"Debe seleccionar un archivo de resultados. Dicho archivo deberá ser entregado al "
         u"examinador."},
        {"UnwritablePathBeforeData", "ArchivoTxt", true, u"no/such/folder/r.kxa"_s, u"", u"",
         u"La ruta del archivo de salida no es correcta. Por favor, facilite una ruta correcta."},
        {"FirstEmptyFieldWins", "dato2Txt", false, {}, u" ", u"", u"Debe rellenar el campo Grupo"},
        {"LabelAsStoredInMessage", "dato4Txt", true, u"r.kxa"_s, u"Ana", u"  ",
         u"Debe rellenar el campo Curso:"},
    };
    const QString stored[] = {u"   "_s, u"Grupo"_s, QString(), u"Curso:"_s, u" Nota "_s};
    const QString labels[] = {QString(), u"Grupo:"_s, QString(), u"Curso:"_s, u" Nota :"_s};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        auto b = TestExamBuilder::simple(2, 2);
        b.exam().setAlumnoDefineArchivoResultados(c.askPath);
        for (qint16 i = 0; i < 5; ++i)
            b.exam().setDatoAlumno(i + 1, stored[i]);
        open(b.build());
        for (size_t i = 0; i < 5; ++i)
            EXPECT_EQ(shown(dato(i + 1)) ? datoLabel(i + 1)->text() : QString(), labels[i]) << i;
        edit("ArchivoTxt")->setText(c.path.trimmed().isEmpty() ? c.path : dir.filePath(c.path));
        dato(2)->setText(QString::fromUtf16(c.dato2));
        dato(4)->setText(QString::fromUtf16(c.dato4));
        button("EmpezarBtn")->click();
        expectOnlyMessage(QString::fromUtf16(c.expected));
        EXPECT_EQ(w->focusWidget(), w->findChild<QWidget*>(QString::fromLatin1(c.focus)));
        EXPECT_FALSE(state.ExamenEnCurso);
    }
}

// A field labelled "Nombre" names the results file after the examiner's path and the caption;
// "nombre" in lower case does not, so the student is asked for a path. Probing the path at the
// start leaves nothing behind and never harms a file already there.
TEST_F(WindowSetup, NombreFieldDerivesPathAndCaption) {
    QTemporaryDir dir;
    const QString tema = u" "_s + dir.filePath(u"Tema3"_s) + u" "_s;
    QFile existing(dir.filePath(u"Tema3_Luis.kxa"_s));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly) && existing.write("anterior") == 8);
    existing.close();
    const struct {
        const char* name;
        QStringList labels, typed;      // of fields 1, 2, ...
        const char16_t *file, *caption; // the file in the scratch folder; no caption: refused
    } cases[] = {
        // clang-format off
        {"FieldOneNamesTheSeries", {u"Nombre"_s}, {u"Ana/Luis: 1º"_s}, u"Tema3_Ana_Luis_ 1º.kxa",
         u"Ana/Luis: 1º realizando la serie: 7"},
        {"LaterFieldWins", {u"Nombre"_s, {}, u"Nombre"_s}, {u"Ana"_s, {}, u"Luis"_s},
         u"Tema3_Luis.kxa", u"Luis"},
        {"LowerCaseDerivesNothing", {u"nombre"_s}, {u"Ana"_s}, u"", u""},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        auto b = TestExamBuilder::simple(1, 2);
        b.serie(7, {u"P1"_s}); // a second series, numbered 7, drawn below
        b.exam().setGuardarArchivoResultados(true);
        b.exam().setRutaArchivoResultados(tema);
        for (qsizetype i = 0; i < c.labels.size(); ++i)
            b.exam().setDatoAlumno(static_cast<qint16>(i + 1), c.labels[i]);
        open(b.build());
        random.push(0.75); // 2 series: floor(2 * 0.75 + 1) = 2
        for (qsizetype i = 0; i < c.typed.size(); ++i)
            dato(i + 1)->setText(c.typed[i]);
        button("EmpezarBtn")->click();
        if (!*c.caption) {
            expectOnlyMessage(u"Este examen fué preparado para poder obtener un archivo de "
                              u"resultados, pero la ruta especificada por el examinador no es "
                              u"correcta. Por favor, indique usted la ruta del archivo de "
                              u"resultados y proporcione dicha ruta al examinador."_s);
            EXPECT_TRUE(!state.ExamenEnCurso && w->focusWidget() == edit("ArchivoTxt"));
            continue;
        }
        EXPECT_EQ(w->windowTitle(),
                  u"Kipsa Prubex v1.0 (Alumno: %1)"_s.arg(QString::fromUtf16(c.caption)));
        ASSERT_TRUE(prompts.messages.empty() && state.ExamenEnCurso);
        EXPECT_EQ(state.Resultado->ArchivoSalida(), dir.filePath(QString::fromUtf16(c.file)));
    }
    EXPECT_TRUE(existing.open(QIODevice::ReadOnly) && existing.readAll() == "anterior");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"Tema3_Luis.kxa"_s});
}

} // namespace
