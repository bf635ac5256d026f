// The exam window as designed, ReadyToGo's layout and the briefing.
#include "Pictures.h"
#include "WindowFixture.h"

#include <QMenu>

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

class WindowSetup : public WindowFixture {};

TEST_F(WindowSetup, BeforeAnyExamOnlyTheNoExamLabelAndTheMenuAreUsable) {
    EXPECT_EQ(w->windowTitle(), u"Kipsa Prubex v1.0"_s);
    EXPECT_TRUE(shown(w->SinCargarLab));
    EXPECT_EQ(w->SinCargarLab->text(),
              u"No hay ningún examen cargado. Seleccione 'Abrir Examen' del menú archivo para "
              u"cargar un examen..."_s);
    EXPECT_EQ(w->SinCargarLab->font().pointSize(), 12);
    for (QWidget* c :
         {static_cast<QWidget*>(w->frmDatos), static_cast<QWidget*>(w->frmExterno),
          static_cast<QWidget*>(w->LogoImg), static_cast<QWidget*>(w->TiempoLab),
          static_cast<QWidget*>(w->FinalizarBtn), static_cast<QWidget*>(w->PreguntaActualLab),
          static_cast<QWidget*>(w->AnteriorBtn), static_cast<QWidget*>(w->SiguienteBtn)})
        EXPECT_FALSE(shown(c)) << c->objectName().toStdString();
    EXPECT_TRUE(w->mnuAbrirExamen->isEnabled());
    EXPECT_FALSE(w->mnuEmpezarExamen->isEnabled());
    EXPECT_FALSE(w->mnuAcabarExamen->isEnabled());
    EXPECT_FALSE(w->mnuMostrarNota->isEnabled());
    EXPECT_TRUE(w->mnuSalir->isEnabled());
    EXPECT_FALSE(w->FinalizarBtn->isEnabled());
    EXPECT_FALSE(w->LimiteTiempo->isActive());
}

TEST_F(WindowSetup, ControlsCarryTheirTextsTipsAndFonts) {
    EXPECT_EQ(w->TiempoLab->text(), u"0:00:00"_s);
    EXPECT_EQ(w->TiempoLab->toolTip(), u"Tiempo restante..."_s);
    EXPECT_EQ(w->TiempoLab->font().pointSize(), 24);
    EXPECT_TRUE(w->PreguntaActualLab->font().bold());
    EXPECT_EQ(w->FinalizarBtn->text(), u"Finalizar Examen"_s);
    EXPECT_EQ(w->AnteriorBtn->text(), u"<< Anterior pregunta"_s);
    EXPECT_EQ(w->SiguienteBtn->text(), u"Siguiente pregunta >>"_s);
    EXPECT_EQ(w->ImagenBtn->text(), u"Ver imagen"_s);
    EXPECT_EQ(w->EmpezarBtn->text(), u"Empezar"_s);
    EXPECT_EQ(w->RutaLab->text(), u"Archivo de resultados:"_s);
    EXPECT_EQ(w->boton_sin[0]->toolTip(), u"Marcar la respuesta como correcta"_s);
    EXPECT_EQ(w->boton_con[0]->toolTip(), u"Desmarcar esta respuesta"_s);
    EXPECT_EQ(w->boton_flecha[0]->toolTip(), u"Respuesta correcta"_s);
    EXPECT_EQ(w->boton_cruz[0]->toolTip(), u"Respuesta incorrecta"_s);
    // The mark pictures are our own 32 x 32 resources.
    for (auto* img : {w->boton_sin[0], w->boton_con[0], w->boton_flecha[0], w->boton_cruz[0]}) {
        EXPECT_EQ(img->picture().size(), QSize(32, 32));
        EXPECT_EQ(box(img).width, 480);
    }
    const QStringList menu = {u"&Abrir Examen"_s, u"&Empezar Examen"_s, u"&Finalizar Examen"_s,
                              QString(),          u"&Mostrar Nota"_s,   QString(),
                              u"&Salir"_s};
    QStringList actual;
    for (QAction* a : w->mnuArchivo->actions())
        actual << a->text();
    EXPECT_EQ(actual, menu);
    EXPECT_EQ(w->mnuArchivo->title(), u"&Archivo"_s);
    EXPECT_EQ(w->mnuAyuda->title(), u"&?"_s);
    EXPECT_EQ(w->mnuAyudaAcercade->text(), u"Acerca de..."_s);
    for (const char* name : {"frmDatos", "InfoExamLab", "dato3Txt", "dato5Lab", "EmpezarBtn",
                             "ArchivoTxt", "BuscarArchivoBtn", "BorrarBtn", "Scroll", "frmExamen",
                             "PreguntaTxt", "RespuestaTxt_0", "NumrespLab_0"})
        EXPECT_NE(w->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_NE(w->findChild<QAction*>(u"mnuAbrirExamen"_s), nullptr);
    EXPECT_NE(w->findChild<QTimer*>(u"LimiteTiempo"_s), nullptr);
}

TEST_F(WindowSetup, ReadyToGoLaysOutAnExamWithoutLogoFromTheClientArea) {
    open(ExamBuilder::simple(3, 4).build());
    EXPECT_EQ(box(w->frmDatos), (TwipsBox{3570, 1687.5, 9255, 7335}));
    EXPECT_TRUE(shown(w->frmDatos));
    EXPECT_EQ(box(w->TiempoLab), (TwipsBox{6870, 120, 2655, 615}));
    EXPECT_EQ(box(w->FinalizarBtn), (TwipsBox{13020, 120, 3255, 495}));
    // The designed logo box (120, 120, 2655 x 1575) sets where the counter begins.
    EXPECT_EQ(box(w->PreguntaActualLab), (TwipsBox{4822.5, 1815, 5895, 375}));
    EXPECT_EQ(box(w->AnteriorBtn), (TwipsBox{4822.5, 2190, 3255, 375}));
    EXPECT_EQ(box(w->SiguienteBtn), (TwipsBox{8077.5, 2190, 3255, 375}));
    EXPECT_EQ(box(w->frmExterno), (TwipsBox{120, 2685, 16155, 7905}));
    EXPECT_EQ(box(w->Scroll), (TwipsBox{15540, 120, 495, 7665}));
    EXPECT_EQ(box(w->frmExamen), (TwipsBox{0, 0, 15420, 7905}));
    EXPECT_FALSE(shown(w->frmExterno));
    EXPECT_FALSE(shown(w->LogoImg));
}

struct LogoCase {
    const char* name;
    int widthPx, heightPx;
    bool logoDerecha;
    TwipsBox logo;
    bool stretched;
    double finalizarLeft;
    double counterTop;
};

void PrintTo(const LogoCase& c, std::ostream* os) {
    *os << c.name;
}

class LogoLayout : public WindowFixture, public ::testing::WithParamInterface<LogoCase> {};

TEST_P(LogoLayout, LogoIsScaledToItsLimitAndPlacedOppositeTheFinishButton) {
    const LogoCase& c = GetParam();
    auto b = ExamBuilder::simple(2, 2);
    b.exam().setArchivoLogo(u"logo.png"_s);
    b.exam().setArchivoLogoBinary(pictureBytes(c.widthPx, c.heightPx));
    b.exam().setLogoDerecha(c.logoDerecha);
    open(b.build());
    EXPECT_EQ(box(w->LogoImg), c.logo);
    EXPECT_EQ(w->LogoImg->stretch(), c.stretched);
    EXPECT_EQ(box(w->FinalizarBtn).left, c.finalizarLeft);
    EXPECT_EQ(box(w->PreguntaActualLab).top, c.counterTop);
    EXPECT_FALSE(shown(w->LogoImg)) << "the logo shows with the first question";
}

INSTANTIATE_TEST_SUITE_P(
    Logos, LogoLayout,
    ::testing::Values(
        // 6000 wide, 3000 high: stretched to 3000 x 1500; right edge 120 from the client's.
        LogoCase{"TallLogoRight", 400, 200, true, {13275, 120, 3000, 1500}, true, 120, 1740},
        LogoCase{"TallLogoLeft", 400, 200, false, {120, 120, 3000, 1500}, true, 13020, 1740},
        // Exactly 1500 high stays at its own size.
        LogoCase{"LimitHeightKept", 50, 100, false, {120, 120, 750, 1500}, false, 13020, 1740},
        LogoCase{"SmallLogo", 30, 20, true, {16395 - 120 - 450, 120, 450, 300}, false, 120, 540}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowSetup, ExamWithoutLogoKeepsThePreviousLogoBoxForTheCounter) {
    auto withLogo = ExamBuilder::simple(1, 2);
    withLogo.exam().setArchivoLogo(u"logo.png"_s);
    withLogo.exam().setArchivoLogoBinary(pictureBytes(20, 40));
    open(withLogo.build());
    open(ExamBuilder::simple(1, 2).build());
    EXPECT_TRUE(w->LogoImg->hasPicture());
    EXPECT_EQ(box(w->PreguntaActualLab).top, 120 + 600 + 120);
}

TEST_F(WindowSetup, UndecodableLogoLeavesNoPictureAndLayoutGoesOn) {
    auto b = ExamBuilder::simple(1, 2);
    b.exam().setArchivoLogo(u"logo.png"_s);
    b.exam().setArchivoLogoBinary("not a picture");
    open(b.build());
    EXPECT_FALSE(w->LogoImg->hasPicture());
    // The steps after the failed load still run on the designed box, 1575 high: it is scaled
    // to 1500 like any taller logo.
    EXPECT_EQ(box(w->LogoImg).height, 1500);
    EXPECT_EQ(box(w->frmExterno), (TwipsBox{120, 2610, 16155, 7980}));
}

TEST_F(WindowSetup, TimeLimitInSeconds) {
    for (const auto& [minutes, seconds] : {std::pair{0, 0}, {90, 5400}, {546, 32760}}) {
        auto b = ExamBuilder::simple(1, 2);
        b.exam().setMinutosLimite(static_cast<qint16>(minutes));
        open(b.build());
        EXPECT_EQ(state.SegundosLimite, seconds) << minutes;
    }
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
    EXPECT_EQ(w->RespuestaTxt.size(), 1u);
    EXPECT_EQ(w->boton_flecha.size(), 1u);
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

// ----- The briefing -----

// The briefing as the label shows it: each carriage return of the text is a line break.
QString briefing(const QString& middle, bool askPath = false) {
    const QString tail = u"\r\rA continuación se muestran unos datos que debe rellenar antes de "
                         u"proceder a realizar el examen. Por favor, rellene los datos y pulse "
                         u"sobre 'Empezar'."_s;
    return QString(
               middle + tail +
               (askPath
                    ? u" Diga tambien el nombre de archivo donde se guardará los resultados del "
                      u"examen. Dicho archivo debe ser entregado al examinador."_s
                    : QString()))
        .replace(u'\r', u'\n');
}

TEST_F(WindowSetup, BriefingOfTheWorkedExample) {
    auto b = ExamBuilder::simple(20, 3);
    b.exam().setTitulo(u"Álgebra"_s);
    b.exam().setMinutosLimite(90);
    b.exam().setMostrarNota(true);
    b.exam().setMostrarFallos(false);
    open(b.build());
    EXPECT_EQ(w->InfoExamLab->text(),
              briefing(u"Álgebra\r\rVa a realizar un examen de tipo Test, con 20 preguntas. "
                       u"Tendrá un límite de tiempo de 1 hora y 30 minutos. Cuando acabe el "
                       u"examen se le mostrará la nota. Sin embargo, no se le mostrarán los "
                       u"fallos cometidos."_s));
    EXPECT_FALSE(shown(w->SinCargarLab));
    EXPECT_TRUE(shown(w->frmDatos));
}

struct BriefingCase {
    const char* name;
    qint16 tipo;
    qint16 minutos;
    bool nota, fallos, askPath;
    const char16_t* middle; // after the title and before the closing paragraph
};

void PrintTo(const BriefingCase& c, std::ostream* os) {
    *os << c.name;
}

class Briefing : public WindowFixture, public ::testing::WithParamInterface<BriefingCase> {};

TEST_P(Briefing, SentencesFollowTheSettings) {
    const BriefingCase& c = GetParam();
    auto b = ExamBuilder::simple(2, 2);
    b.exam().setTitulo(u"T"_s);
    b.exam().setTipoExamen(c.tipo);
    b.exam().setMinutosLimite(c.minutos);
    b.exam().setMostrarNota(c.nota);
    b.exam().setMostrarFallos(c.fallos);
    b.exam().setAlumnoDefineArchivoResultados(c.askPath);
    open(b.build());
    EXPECT_EQ(w->InfoExamLab->text(),
              briefing(u"T\r\r"_s + QString::fromUtf16(c.middle), c.askPath));
    for (QWidget* pathControl :
         {static_cast<QWidget*>(w->RutaLab), static_cast<QWidget*>(w->ArchivoTxt),
          static_cast<QWidget*>(w->BuscarArchivoBtn), static_cast<QWidget*>(w->BorrarBtn)})
        EXPECT_EQ(shown(pathControl), c.askPath);
}

constexpr const char16_t* NoNota = u" Cuando acabe el examen no se le mostrará la nota.";

INSTANTIATE_TEST_SUITE_P(
    Settings, Briefing,
    ::testing::Values(
        BriefingCase{"FortyFiveMinutesSaysZeroHours", 1, 45, false, false, false,
                     u"Va a realizar un examen de tipo Test, con 2 preguntas. Tendrá un límite de "
                     u"tiempo de 0 horas y 45 minutos. Cuando acabe el examen no se le mostrará "
                     u"la nota."},
        BriefingCase{"SixtyMinutesIsOneHour", 1, 60, false, false, false,
                     u"Va a realizar un examen de tipo Test, con 2 preguntas. Tendrá un límite de "
                     u"tiempo de 1 hora. Cuando acabe el examen no se le mostrará la nota."},
        BriefingCase{"HundredTwentyIsTwoHours", 1, 120, false, true, false,
                     u"Va a realizar un examen de tipo Test, con 2 preguntas. Tendrá un límite de "
                     u"tiempo de 2 horas. Cuando acabe el examen no se le mostrará la nota."},
        BriefingCase{"SixtyOneKeepsPluralMinutes", 1, 61, false, false, false,
                     u"Va a realizar un examen de tipo Test, con 2 preguntas. Tendrá un límite de "
                     u"tiempo de 1 hora y 1 minutos. Cuando acabe el examen no se le mostrará la "
                     u"nota."},
        BriefingCase{"NoLimitTrueFalseWithReview", 2, 0, true, true, false,
                     u"Va a realizar un examen de tipo Verdadero/Falso, con 2 preguntas. No va a "
                     u"tener límite de tiempo. Cuando acabe el examen se le mostrará la nota. "
                     u"También se le mostrará el examen corregido para poder ver los fallos."},
        BriefingCase{"AnyOtherKindIsTrueFalse", 7, 0, false, false, true,
                     u"Va a realizar un examen de tipo Verdadero/Falso, con 2 preguntas. No va a "
                     u"tener límite de tiempo. Cuando acabe el examen no se le mostrará la "
                     u"nota."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowSetup, DataLabelsGetAColonAndBlankLabelsHideTheirField) {
    auto b = ExamBuilder::simple(1, 2);
    b.exam().setDatoAlumno(1, u"Curso:"_s);
    b.exam().setDatoAlumno(2, u"Curso"_s);
    b.exam().setDatoAlumno(3, u"   "_s);
    b.exam().setDatoAlumno(5, u" Grupo "_s);
    open(b.build());
    EXPECT_EQ(w->datoLab[0]->text(), u"Curso:"_s);
    EXPECT_EQ(w->datoLab[1]->text(), u"Curso:"_s);
    EXPECT_EQ(w->datoLab[4]->text(), u" Grupo :"_s);
    for (int i : {0, 1, 4}) {
        EXPECT_TRUE(shown(w->datoLab[i]));
        EXPECT_TRUE(shown(w->datoTxt[i]));
    }
    for (int i : {2, 3}) {
        EXPECT_FALSE(shown(w->datoLab[i]));
        EXPECT_FALSE(shown(w->datoTxt[i]));
    }
}

TEST_F(WindowSetup, NoExamLabelIsPlacedFromTheOuterWindowSize) {
    w->resize(1000, 700);
    w->Form_Resize();
    const QRect outer = w->frameGeometry();
    EXPECT_EQ(box(w->SinCargarLab).left, (outer.width() * 15.0 - 7935) / 2);
    EXPECT_EQ(box(w->SinCargarLab).top, (outer.height() * 15.0 - 1095) / 5);
}

TEST_F(WindowSetup, MinimisingMaximisesTheWindowAgain) {
    w->showMaximized();
    w->showMinimized();
    EXPECT_TRUE(waitFor([&] { return w->windowState() == Qt::WindowMaximized; }))
        << w->windowState();
}

} // namespace
