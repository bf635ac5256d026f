// What screen readers are told (names, descriptions, roles, states, the boxes' action) and the
// window on small screens: the layout made for the client area, never below its minimum, keeps
// every control inside it.
#include "WindowFixture.h"

#include "widgets/MarkBox.h"
#include "window/frmNota.h"

#include <QAccessible>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kp;
using namespace kp::test;

namespace {

using Access = WindowFixture;

QAccessibleInterface* accessible(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w);
}

QString nameOf(QWidget* w) {
    return accessible(w)->text(QAccessible::Name);
}

QString descriptionOf(QWidget* w) {
    return accessible(w)->text(QAccessible::Description);
}

// Each box is a check box named after its row and saying its state; the ticked one is checked.
TEST_F(Access, MarkBoxesAreCheckBoxesNamedAfterTheirRows) {
    const QString longText = QString(u"palabra "_s).repeated(20);
    const struct {
        const char* name;
        bool trueFalse;
        QString answer2;
        QString expected2;
    } cases[] = {
        {"Short", false, u"París"_s, u"Respuesta 2: París"_s},
        {"Shortened", false, longText, u"Respuesta 2: "_s + longText.left(79).trimmed() + u'…'},
        {"Rtf", false, u"{\\rtf1\\ansi {\\b Roma} y\\par Lisboa}"_s,
         u"Respuesta 2: Roma y Lisboa"_s},
        {"TrueFalse", true, u"-"_s, u"Falso"_s},
    };
    for (const auto& c : cases) {
        renew();
        TestExamBuilder b;
        if (c.trueFalse)
            b.verdaderoFalso();
        b.pregunta(u"A"_s, u"?"_s, {{u"uno"_s}, {c.answer2}});
        openAndStart(b.serie(1, {u"A"_s}).build());
        EXPECT_EQ(nameOf(sin(2)), c.expected2) << c.name;
        EXPECT_EQ(nameOf(con(2)), c.expected2) << c.name;
        EXPECT_EQ(nameOf(sin(1)), c.trueFalse ? u"Verdadero"_s : u"Respuesta 1: uno"_s) << c.name;
    }
    w->boton_sin_Click(1);
    const struct {
        QWidget* box;
        const char16_t* description;
        bool checked;
    } states[] = {{sin(2), u"sin marcar", false}, {con(1), u"marcada", true}};
    for (const auto& s : states) {
        EXPECT_EQ(accessible(s.box)->role(), QAccessible::CheckBox);
        EXPECT_EQ(descriptionOf(s.box), QString::fromUtf16(s.description));
        EXPECT_EQ(accessible(s.box)->state().checked, s.checked);
        EXPECT_TRUE(accessible(s.box)->state().focusable);
    }
}

// The box's accessibility action is a click, later, through the same handler: it marks during
// the exam and is refused after it.
TEST_F(Access, TheBoxActionClicksLater) {
    openAndStart(TestExamBuilder::simple(1, 3).build());
    QAccessibleActionInterface* action = accessible(sin(3))->actionInterface();
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->keyBindingsForAction(QAccessibleActionInterface::toggleAction()),
              QStringList{u"Space"_s});
    action->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(recorded().empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recorded().empty(); }, 2000));
    EXPECT_EQ(recorded(), (std::vector<std::pair<int, int>>{{1, 3}}));
    state.ExamenEnCurso = false;
    accessible(con(3))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.messages.empty(); }, 2000));
    EXPECT_EQ(prompts.messages[0].text,
              u"El examen ha finalizado, no puede modificar resultados"_s);
}

// Controls without words of their own get Spanish names; the picture buttons also a tooltip;
// the data fields take their labels' captions; the countdown says what it counts.
TEST_F(Access, ControlsWithoutWordsHaveSpanishNames) {
    auto exam = TestExamBuilder::simple(1, 2).build();
    exam->setDatoAlumno(2, u"Curso"_s);
    exam->setMinutosLimite(30);
    open(exam);
    dato(2)->setText(u"2B"_s);
    button("EmpezarBtn")->click();
    clock.advanceMs(61000);
    w->LimiteTiempo_Timer();
    const struct {
        QWidget* control;
        const char16_t* name;
    } cases[] = {
        {button("BuscarArchivoBtn"), u"Buscar el archivo de resultados"},
        {button("BorrarBtn"), u"Borrar el archivo de resultados"},
        {dato(2), u"Curso:"},
        {edit("ArchivoTxt"), u"Archivo de resultados:"},
        {label("TiempoLab"), u"Tiempo restante: 0:28:59"},
        {rowControl("boton_flecha", 1), u"correcta"},
        {rowControl("boton_cruz", 2), u"incorrecta"},
        {widget("PreguntaTxt"), u"Texto de la pregunta"},
        {rowControl("RespuestaTxt", 2), u"Texto de la respuesta 2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nameOf(c.control), QString::fromUtf16(c.name))
            << c.control->objectName().toStdString();
    EXPECT_EQ(button("BuscarArchivoBtn")->toolTip(), u"Buscar el archivo de resultados"_s);
    EXPECT_EQ(button("BorrarBtn")->toolTip(), u"Borrar el archivo de resultados"_s);
    EXPECT_EQ(button("BuscarArchivoBtn")->text(), QString());
}

// Enter presses "Aceptar" in the About window and "&Salir" in the grade window.
TEST_F(Access, EnterPressesTheDefaultButtonOfTheSmallWindows) {
    frmNota nota(w.get());
    nota.ReadyToGo(5, 1, 1, 0, 0xFFFFFF);
    nota.show();
    QTest::keyClick(&nota, Qt::Key_Return);
    EXPECT_EQ(nota.result(), QDialog::Accepted);
    prompts.onModal = [](QDialog& about) {
        about.show();
        QTest::keyClick(&about, Qt::Key_Return);
        EXPECT_EQ(about.result(), QDialog::Accepted);
        EXPECT_TRUE(about.isHidden());
    };
    action("mnuAyudaAcercade")->trigger();
    EXPECT_EQ(prompts.modalWindows, (std::vector<QString>{u"frmAcerca"_s}));
}

// Client areas of whole screens, less a menu bar of 30 pixels: from 1024 x 768 down the layout
// is made for the client area itself; at 640 x 480 for the minimum, which the window scrolls to.
// Either way every control of the briefing and the page lies inside it.
TEST_F(Access, SmallScreensKeepEveryControlInsideTheClientArea) {
    const struct {
        const char* name;
        int width;
        int height;
        bool scrolls;
    } screens[] = {
        {"640x480", 640, 480, true}, {"800x600", 800, 600, false}, {"1024x768", 1024, 768, false}};
    for (const auto& s : screens) {
        renew();
        const QSizeF viewport(s.width * 15.0, (s.height - 30) * 15.0);
        const QSizeF client =
            viewport.expandedTo(QSizeF(frmMain::MinimumClientWidth, frmMain::MinimumClientHeight));
        EXPECT_EQ(client != viewport, s.scrolls) << s.name;
        w->setClientSizeTwips(client.width(), client.height());
        auto exam = TestExamBuilder::simple(2, 3).build();
        exam->setTitulo(u"Título largo del examen de prueba"_s);
        for (int i = 1; i <= 5; ++i)
            exam->setDatoAlumno(i, u"Dato"_s);
        exam->setAlumnoDefineArchivoResultados(true);
        exam->setMinutosLimite(30);
        open(exam);
        const QRectF area(QPointF(0, 0), client);
        const TwipsBox datos = box(widget("frmDatos"));
        EXPECT_TRUE(area.contains(QRectF(datos.left, datos.top, datos.width, datos.height)))
            << s.name;
        for (const char* name :
             {"InfoExamLab", "ArchivoTxt", "BorrarBtn", "dato5Txt", "EmpezarBtn"}) {
            const TwipsBox b = box(widget(name));
            EXPECT_TRUE(QRectF(0, 0, datos.width, datos.height)
                            .contains(QRectF(b.left, b.top, b.width, b.height)))
                << s.name << " " << name;
        }
        for (int i = 1; i <= 5; ++i)
            dato(i)->setText(u"x"_s);
        edit("ArchivoTxt")->setText(QDir::temp().filePath(u"kp-a11y.kxa"_s));
        button("EmpezarBtn")->click();
        ASSERT_TRUE(state.ExamenEnCurso) << s.name;
        for (const char* name : {"TiempoLab", "FinalizarBtn", "PreguntaActualLab", "AnteriorBtn",
                                 "SiguienteBtn", "frmExterno"}) {
            const TwipsBox b = box(widget(name));
            EXPECT_TRUE(area.contains(QRectF(b.left, b.top, b.width, b.height)))
                << s.name << " " << name;
        }
        state.ExamenEnCurso = false;
    }
}

// Shown on the screen it has, the window lays out on its client area exactly when that is at
// least the minimum, and the client widget is never smaller than the minimum.
TEST_F(Access, ClientWidgetIsTheViewportDownToTheMinimum) {
    auto window = std::make_unique<frmMain>(state, prompts, clock, random);
    window->show();
    QWidget* client = WindowControls(window.get()).widget("client");
    ASSERT_TRUE(QTest::qWaitFor([&] { return client->isVisible(); }, 2000));
    const QSize viewport = window->centralWidget()->size();
    EXPECT_EQ(client->size(), viewport.expandedTo(QSize(617, 505)));
    EXPECT_EQ(window->clientSizeTwips(), QSizeF(client->width() * 15.0, client->height() * 15.0));
}

} // namespace
