// The exam window before the first question: logo and layout, the briefing, the student data,
// the results path and the start of the exam.
#include "WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

class WindowSetup : public WindowFixture {
protected:
    QTemporaryDir dir;

    bool started() const {
        return state.ExamenEnCurso || !shown(w->frmDatos) || shown(w->frmExterno) ||
               w->mnuAcabarExamen->isEnabled();
    }
};

// A logo taller than 1500 twips is scaled to that height and set on its side; the finish button
// takes the other side, and the counter and the page follow below the logo's box.
TEST_F(WindowSetup, LogoScalingAndSideSetTheLayout) {
    const struct {
        const char* name;
        int px, py; // the logo in pixels of 15 twips; 0: none, -1: bytes that do not decode
        bool right;
        TwipsBox logo;
        bool stretched;
        double finalizarLeft, counterTop;
    } cases[] = {
        {"TallRight", 400, 200, true, {13275, 120, 3000, 1500}, true, 120, 1740},
        {"TallLeft", 400, 200, false, {120, 120, 3000, 1500}, true, 13020, 1740},
        {"ExactLimitKept", 50, 100, false, {120, 120, 750, 1500}, false, 13020, 1740},
        {"Small", 30, 20, true, {15825, 120, 450, 300}, false, 120, 540},
        // The designed box (2655 x 1575) stays when nothing decodes, and is scaled all the same.
        {"Undecodable", -1, -1, false, {120, 120, 2528.57, 1500}, true, 13020, 1740},
        {"NoLogo", 0, 0, false, {120, 120, 2655, 1575}, false, 13020, 1815},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        auto b = ExamBuilder::simple(1, 2);
        if (c.px != 0) {
            b.exam().setArchivoLogo(u"logo.png"_s);
            b.exam().setArchivoLogoBinary(c.px > 0 ? pictureBytes(c.px, c.py) : "no picture");
        }
        b.exam().setLogoDerecha(c.right);
        open(b.build());
        expectNear(box(w->LogoImg), c.logo);
        EXPECT_EQ(w->LogoImg->hasPicture(), c.px > 0);
        EXPECT_EQ(w->LogoImg->stretch(), c.stretched);
        EXPECT_EQ(box(w->FinalizarBtn).left, c.finalizarLeft);
        EXPECT_EQ(box(w->PreguntaActualLab).top, c.counterTop);
        EXPECT_EQ(box(w->frmExterno).top, c.counterTop + 870);
        EXPECT_FALSE(shown(w->LogoImg) || shown(w->frmExterno));
        w->EmpezarBtn->click();
        EXPECT_EQ(shown(w->LogoImg), c.px != 0);
    }
    EXPECT_EQ(box(w->frmDatos), (TwipsBox{3570, 1687.5, 9255, 7335})) << "centred";
}

TEST_F(WindowSetup, OpeningAnotherExamRemovesRowsAndDataButKeepsTheResultsPath) {
    auto b = ExamBuilder::simple(2, 4);
    b.exam().setDatoAlumno(1, u"Curso"_s);
    open(b.build());
    w->datoTxt[0]->setText(u"1º"_s);
    w->EmpezarBtn->click();
    ASSERT_EQ(w->highestRow(), 4);
    w->ArchivoTxt->setText(u"/tmp/anterior.kxa"_s);

    auto other = ExamBuilder::simple(1, 2);
    other.exam().setColorFondo(0x00336699); // red in the low byte
    open(other.build());
    EXPECT_EQ(w->highestRow(), 0);
    EXPECT_EQ(w->findChild<QWidget*>(u"boton_sin_1"_s), nullptr) << "the widgets are gone too";
    EXPECT_TRUE(w->datoTxt[0]->text().isEmpty());
    EXPECT_EQ(w->ArchivoTxt->text(), u"/tmp/anterior.kxa"_s);
    EXPECT_EQ(w->client->palette().color(QPalette::Window), QColor(0x99, 0x66, 0x33));
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
        int preguntas;
        qint16 tipo, minutos;
        bool nota, fallos;
        const char16_t* limit; // none: no limit
    } cases[] = {
        {"WorkedExample", 20, 1, 90, true, false, u"1 hora y 30 minutos"},
        {"FortyFiveSaysZeroHours", 2, 1, 45, false, false, u"0 horas y 45 minutos"},
        {"SixtyIsOneHour", 2, 1, 60, false, false, u"1 hora"},
        {"HundredTwentyIsTwoHours", 2, 1, 120, false, true, u"2 horas"},
        {"SixtyOneKeepsPluralMinutes", 2, 1, 61, false, false, u"1 hora y 1 minutos"},
        {"TrueFalseWithReview", 2, 2, 0, true, true, nullptr},
        {"AnyOtherKindIsTrueFalse", 2, 7, 0, false, false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool askPath = c.tipo == 7; // and not otherwise
        auto b = ExamBuilder::simple(c.preguntas, 2);
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
        EXPECT_EQ(w->InfoExamLab->text(), QString(expected).replace(u'\r', u'\n'));
        for (QWidget* control :
             std::vector<QWidget*>{w->RutaLab, w->ArchivoTxt, w->BuscarArchivoBtn, w->BorrarBtn})
            EXPECT_EQ(shown(control), askPath);
    }
}

// Labels get a colon unless they end in one, and a blank label hides its field, which is then
// not asked for; the first failing check speaks and takes the focus to its control.
TEST_F(WindowSetup, DataLabelsAndStartRefusalsInOrder) {
    const struct {
        const char* name;
        bool askPath;
        const char16_t *path, *dato2, *dato4; // typed in ArchivoTxt, "Grupo" and "Curso:"
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
    const QString stored[] = {u"   "_s, u"Grupo"_s, QString(), u"Curso:"_s, u" Nota "_s};
    const QString labels[] = {QString(), u"Grupo:"_s, QString(), u"Curso:"_s, u" Nota :"_s};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        auto b = ExamBuilder::simple(2, 2);
        b.exam().setAlumnoDefineArchivoResultados(c.askPath);
        for (qint16 i = 0; i < 5; ++i)
            b.exam().setDatoAlumno(i + 1, stored[i]);
        open(b.build());
        for (size_t i = 0; i < 5; ++i)
            EXPECT_EQ(shown(w->datoLab[i]) && shown(w->datoTxt[i]) ? w->datoLab[i]->text()
                                                                   : QString(),
                      labels[i])
                << i;
        w->ArchivoTxt->setText(QString::fromUtf16(c.path).replace(u"$DIR"_s, dir.path()));
        w->datoTxt[1]->setText(QString::fromUtf16(c.dato2));
        w->datoTxt[3]->setText(QString::fromUtf16(c.dato4));
        w->EmpezarBtn->click();
        expectOnlyMessage(QString::fromUtf16(c.expected));
        EXPECT_EQ(w->focusWidget(), w->findChild<QWidget*>(QString::fromLatin1(c.focus)));
        EXPECT_FALSE(started());
    }
}

// A field labelled "Nombre" names the results file after the examiner's path and the caption;
// "nombre" in lower case does not, so the student is asked for a path. Probing the path at the
// start leaves nothing behind and never harms a file already there.
TEST_F(WindowSetup, NombreFieldDerivesPathAndCaption) {
    const QString tema = u" "_s + dir.filePath(u"Tema3"_s) + u" "_s;
    QFile existing(dir.filePath(u"Tema3_Luis.kxa"_s));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly) && existing.write("anterior") == 8);
    existing.close();
    const struct {
        const char* name;
        bool save;
        const char* nombre;    // the fields so labelled
        const char16_t* typed; // in fields 1, 2, ..., split at '|'
        const char16_t* file;  // in the scratch folder; empty: none
        const char16_t* caption;
        const char16_t* label = u"Nombre";
    } cases[] = {
        {"FieldOneNamesTheSeries", true, "1", u"Ana/Luis: 1º", u"Tema3_Ana_Luis_ 1º.kxa",
         u"Ana/Luis: 1º realizando la serie: 7"},
        {"FieldTwo", true, "2", u"|Ana/Luis: 1º", u"Tema3_Ana_Luis_ 1º.kxa", u"Ana/Luis: 1º"},
        {"LaterFieldWins", true, "13", u"Ana||Luis", u"Tema3_Luis.kxa", u"Luis"},
        {"NotSavingLeavesThePathAlone", false, "2", u"|Ana", u"", u"Ana"},
        {"LowerCaseDerivesNothing", true, "1", u"Ana ", u"mio.kxa", u"", u"nombre"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        auto b = ExamBuilder::simple(1, 2);
        b.serie(7, {u"P1"_s}); // a second series, numbered 7, drawn below
        b.exam().setGuardarArchivoResultados(c.save);
        b.exam().setRutaArchivoResultados(tema);
        for (const char* f = c.nombre; *f; ++f)
            b.exam().setDatoAlumno(static_cast<qint16>(*f - '0'), QString::fromUtf16(c.label));
        open(b.build());
        random.push(0.75); // 2 series: floor(2 * 0.75 + 1) = 2
        const QStringList typed = QString::fromUtf16(c.typed).split(u'|');
        for (qsizetype i = 0; i < typed.size(); ++i)
            w->datoTxt[static_cast<size_t>(i)]->setText(typed[i]);
        w->EmpezarBtn->click();
        const QString file = QString::fromUtf16(c.file);
        if (!*c.caption) { // refused; the next press checks the student's path and takes it
            expectOnlyMessage(u"Este examen fué preparado para poder obtener un archivo de "
                              u"resultados, pero la ruta especificada por el examinador no es "
                              u"correcta. Por favor, indique usted la ruta del archivo de "
                              u"resultados y proporcione dicha ruta al examinador."_s);
            EXPECT_FALSE(started());
            EXPECT_TRUE(shown(w->ArchivoTxt) && w->focusWidget() == w->ArchivoTxt);
            prompts.messages.clear();
            w->ArchivoTxt->setText(dir.filePath(file));
            w->EmpezarBtn->click();
        } else {
            EXPECT_EQ(w->windowTitle(),
                      u"Kipsa Prubex v1.0 (Alumno: %1)"_s.arg(QString::fromUtf16(c.caption)));
        }
        EXPECT_TRUE(prompts.messages.empty());
        ASSERT_TRUE(state.ExamenEnCurso);
        EXPECT_EQ(state.Resultado->ArchivoSalida(), file.isEmpty() ? file : dir.filePath(file));
        EXPECT_EQ(state.Resultado->Serie(), 7);
    }
    EXPECT_TRUE(existing.open(QIODevice::ReadOnly) && existing.readAll() == "anterior");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"Tema3_Luis.kxa"_s});
}

} // namespace
