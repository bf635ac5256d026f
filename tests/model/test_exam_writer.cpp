#include "ExamFiles.h"
#include "SampleExam.h"

#include "model/KipsaPrubex.h"
#include "model/KpError.h"

#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;

namespace {

const QByteArray kLogo("\x89PNG\r\n\x1a\n logo \x00\xff bytes", 22);
const QByteArray kImage("GIF89a\x00\x01\x02 imagen \r\n\x1a", 20);

// An exam that uses every member, with values the file changes on the way (blanks around
// texts, folders in file names, a grade that is not a whole number of thousandths).
KipsaPrubex fullExam(const ExamFiles& files) {
    KipsaPrubex e;
    e.setIdExamen(QStringLiteral("  EX-1  "));
    e.setTitulo(QStringLiteral("Geografía de España "));
    for (int i = 1; i <= 5; ++i)
        e.setDatoAlumno(i, i == 3 ? QString() : QStringLiteral(" Dato %1").arg(i));
    e.setTipoExamen(1);
    e.setLogoDerecha(true);
    e.setColorFondo(0xC0FFEE);
    e.setColorFuente(0x102030);
    e.setMinutosLimite(45);
    e.setSoloUnaRespuesta(false);
    e.setMostrarNota(true);
    e.setMostrarFallos(false);
    e.setGuardarArchivoResultados(true);
    e.setAlumnoDefineArchivoResultados(false);
    e.setRutaArchivoResultados(QStringLiteral("C:\\resultados\\"));
    e.setNotaMaxima(7.12345f);
    e.setPenalizacion(0.25f);
    e.setPenalizarBlancas(3);
    e.setTipoPenalizacion(5);
    e.setUnaRespuestaSuficiente(1);
    e.setArchivoLogo(files.write(QStringLiteral("escudo.png"), kLogo));

    Pregunta p1 = makeQuestion(QStringLiteral(" id1 "),
                               {QStringLiteral(" Madrid"), QStringLiteral("Toledo ")}, {1});
    p1.setNombreAutor(QStringLiteral("Ana Núñez"));
    p1.setLicenciaAutor(QStringLiteral("123-456-7890"));
    p1.setImagen(QStringLiteral("C:\\fotos\\mapa.gif"));
    p1.setImagenBinary(kImage);
    e.Preguntas()->Add(p1);
    e.Preguntas()->Add(makeQuestion(QStringLiteral("id2"), {QStringLiteral("Verdadero")}, {1}));
    e.Preguntas()->Add(makeQuestion(QStringLiteral("id3"), {}));
    addSeries(e, 1, {QStringLiteral(" id1 "), QStringLiteral("id2"), QStringLiteral("id3")});
    addSeries(e, 7, {QStringLiteral("id3"), QStringLiteral(" id1 ")});
    e.setArchivoSalida(files.path(QStringLiteral("salida.kxt")));
    return e;
}

} // namespace

TEST(ExamWriter, RoundTripGivesBackEveryMemberWithOnlyTheFormatsChanges) {
    ExamFiles files;
    KipsaPrubex written = fullExam(files);
    ASSERT_TRUE(written.Export()) << written.errorString().toStdString();
    KipsaPrubex e;
    ASSERT_TRUE(e.Cargar(written.ArchivoSalida())) << e.errorString().toStdString();

    EXPECT_EQ(e.IdExamen(), u"EX-1");
    EXPECT_EQ(e.Titulo(), u"Geografía de España");
    EXPECT_EQ(e.DatoAlumno1(), u"Dato 1");
    EXPECT_EQ(e.DatoAlumno3(), u"");
    EXPECT_EQ(e.DatoAlumno5(), u"Dato 5");
    EXPECT_EQ(e.TipoExamen(), 1);
    EXPECT_TRUE(e.LogoDerecha());
    EXPECT_EQ(e.ColorFondo(), 0xC0FFEE);
    EXPECT_EQ(e.ColorFuente(), 0x102030);
    EXPECT_EQ(e.MinutosLimite(), 45);
    EXPECT_FALSE(e.SoloUnaRespuesta());
    EXPECT_TRUE(e.MostrarNota());
    EXPECT_FALSE(e.MostrarFallos());
    EXPECT_TRUE(e.GuardarArchivoResultados());
    EXPECT_FALSE(e.AlumnoDefineArchivoResultados());
    EXPECT_EQ(e.RutaArchivoResultados(), u"C:\\resultados\\");
    EXPECT_FLOAT_EQ(e.NotaMaxima(), 7.123f);
    EXPECT_FLOAT_EQ(e.Penalizacion(), 0.25f);
    EXPECT_EQ(e.PenalizarBlancas(), 2);
    EXPECT_EQ(e.TipoPenalizacion(), 5);
    EXPECT_EQ(e.UnaRespuestaSuficiente(), 1);
    EXPECT_EQ(e.ArchivoLogo(), u"escudo.png");
    EXPECT_EQ(e.ArchivoLogoBinary(), kLogo);

    ASSERT_EQ(e.Preguntas()->Count(), 3);
    const auto p1 = e.Preguntas()->Item(1);
    EXPECT_EQ(p1->Id(), u" id1 ") << "the identifier is stored untrimmed";
    EXPECT_EQ(p1->Key(), u"preguntaid1");
    EXPECT_EQ(p1->NombreAutor(), u"Ana Núñez");
    EXPECT_EQ(p1->LicenciaAutor(), u"123-456-7890");
    EXPECT_EQ(p1->Imagen(), u"mapa.gif");
    EXPECT_EQ(p1->ImagenBinary(), kImage);
    ASSERT_EQ(p1->respuestas()->Count(), 2);
    EXPECT_EQ(p1->respuestas()->Item(1)->Texto(), u"Madrid");
    EXPECT_TRUE(p1->respuestas()->Item(1)->Correcta());
    EXPECT_EQ(p1->respuestas()->Item(2)->Texto(), u"Toledo");
    EXPECT_FALSE(p1->respuestas()->Item(2)->Correcta());
    EXPECT_EQ(p1->respuestas()->Item(2)->Key(), u"respuesta2");
    EXPECT_EQ(e.Preguntas()->Item(2)->GetTipo(), 2);
    EXPECT_EQ(e.Preguntas()->Item(3)->GetTipo(), 3);
    EXPECT_TRUE(e.Preguntas()->Item(3)->Imagen().isEmpty());

    ASSERT_EQ(e.Series()->Count(), 2);
    const auto s7 = e.Series()->Item(QStringLiteral("serie7"));
    ASSERT_EQ(s7->PreguntasSerie()->Count(), 2);
    const auto slot = s7->PreguntasSerie()->Item(2);
    EXPECT_EQ(slot->IdPreguntaExamen(), u"id1") << "slot identifiers are texts, so trimmed";
    EXPECT_EQ(slot->Orden(), 2);
    EXPECT_EQ(slot->Tipo(), 1);
    EXPECT_EQ(s7->PreguntasSerie()->keyAt(2), u"preguntaid1");
}
