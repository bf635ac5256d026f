#include "ExamFiles.h"
#include "SampleExam.h"

#include "model/KipsaPrubex.h"
#include "model/KpError.h"

#include "QtPrint.h"
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <csignal>
#include <functional>

#include <gtest/gtest.h>
#include <sys/resource.h>

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

namespace {

// While alive, writes to regular files beyond limit bytes fail (EFBIG) in this process. Works
// for root, who ignores file permissions.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit l = saved_;
        l.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &l);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

int codeOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const KpError& e) {
        return e.code();
    }
    return 0;
}

} // namespace

TEST(ExamWriter, EmptyExamWithBlankLogoIs270BytesWithFalseFlagsStoredAs2) {
    ExamFiles files;
    KipsaPrubex e;
    e.setArchivoLogo(QStringLiteral("   "));
    e.setArchivoSalida(files.path(QStringLiteral("vacio.kxt")));
    ASSERT_TRUE(e.Export()) << e.errorString().toStdString();
    const QByteArray bytes = files.read(QStringLiteral("vacio.kxt"));
    ASSERT_EQ(bytes.size(), 270);
    EXPECT_EQ(bytes.left(10), "0000000300");
    EXPECT_EQ(bytes.mid(80, 10), "0000000000") << "TipoExamen";
    EXPECT_EQ(bytes.mid(90, 10), "0000000002") << "LogoDerecha false";
    EXPECT_EQ(bytes.mid(130, 10), "0000000002") << "SoloUnaRespuesta false";
    EXPECT_EQ(bytes.mid(210, 10), "0000000002") << "PenalizarBlancas 0 is written as 2";
    EXPECT_EQ(bytes.mid(240, 10), "0000000000") << "the blank logo name is stored empty";
}

TEST(ExamWriter, TrueFalseExamReadsBackWithSingleAnswerOn) {
    ExamFiles files;
    KipsaPrubex e;
    e.setTipoExamen(2);
    e.setSoloUnaRespuesta(false);
    e.setArchivoSalida(files.path(QStringLiteral("vf.kxt")));
    ASSERT_TRUE(e.Export());
    KipsaPrubex back;
    ASSERT_TRUE(back.Cargar(e.ArchivoSalida()));
    EXPECT_TRUE(back.SoloUnaRespuesta());
}

TEST(ExamWriter, ValuesTheFileCannotHoldAreRefusedBeforeAnythingIsWritten) {
    const struct {
        const char* name;
        std::function<void(KipsaPrubex&)> breakIt;
    } cases[] = {
        {"system colour (negative)", [](KipsaPrubex& e) { e.setColorFondo(-2147483643); }},
        {"negative time limit", [](KipsaPrubex& e) { e.setMinutosLimite(-1); }},
        {"negative grade", [](KipsaPrubex& e) { e.setNotaMaxima(-1); }},
        {"grade too large for thousandths", [](KipsaPrubex& e) { e.setNotaMaxima(3e6f); }},
        {"grade not a number", [](KipsaPrubex& e) { e.setPenalizacion(std::nanf("")); }},
        {"text outside Windows-1252",
         [](KipsaPrubex& e) { e.setTitulo(QString::fromUtf16(u"Examen 漢字")); }},
        {"negative answer number",
         [](KipsaPrubex& e) { e.Preguntas()->Item(1)->respuestas()->Item(1)->setNumero(-3); }},
        {"answer text outside Windows-1252",
         [](KipsaPrubex& e) {
             e.Preguntas()->Item(1)->respuestas()->Item(1)->setTexto(QString::fromUtf16(u"→"));
         }},
        {"negative slot position",
         [](KipsaPrubex& e) { e.Series()->Item(1)->PreguntasSerie()->Item(1)->setOrden(-1); }},
        {"two identifiers equal once trimmed",
         [](KipsaPrubex& e) { e.Preguntas()->Item(2)->setId(QStringLiteral("ID1")); }},
        {"a question twice in a series",
         [](KipsaPrubex& e) {
             e.Series()->Item(1)->PreguntasSerie()->Item(2)->setIdPreguntaExamen(
                 QStringLiteral("id1"));
         }},
        {"more answers than a 16-bit count",
         [](KipsaPrubex& e) {
             auto& answers = *e.Preguntas()->Item(3)->respuestas();
             for (int i = 1; i <= 32768; ++i) {
                 Respuesta r;
                 r.setNumero(1);
                 r.setKey(QStringLiteral("r%1").arg(i));
                 answers.Add(r);
             }
         }},
        {"missing logo file",
         [](KipsaPrubex& e) { e.setArchivoLogo(QStringLiteral("/nonexistent/logo.png")); }},
    };
    for (const auto& c : cases) {
        ExamFiles files;
        KipsaPrubex e = fullExam(files);
        const QString previous = files.write(QStringLiteral("salida.kxt"), "previous content");
        c.breakIt(e);
        EXPECT_FALSE(e.Export()) << c.name;
        EXPECT_FALSE(e.errorString().isEmpty()) << c.name;
        EXPECT_EQ(files.read(QStringLiteral("salida.kxt")), "previous content") << c.name;
    }
}

TEST(ExamWriter, ExportReplacesALongerFileWholeAndFailsCleanlyWhereItCannotWrite) {
    ExamFiles files;
    KipsaPrubex e;
    e.setArchivoSalida(files.write(QStringLiteral("largo.kxt"), QByteArray(5000, 'x')));
    ASSERT_TRUE(e.Export());
    EXPECT_EQ(files.read(QStringLiteral("largo.kxt")).size(), 270) << "no old tail is left";

    const QString notADir = files.write(QStringLiteral("archivo"), "x");
    e.setArchivoSalida(notADir + QStringLiteral("/examen.kxt"));
    EXPECT_FALSE(e.Export());
    e.setArchivoSalida(QString());
    EXPECT_FALSE(e.Export());
}

TEST(QuestionRecord, StandaloneGuardarThenCargarGivesTheQuestionBack) {
    ExamFiles files;
    Pregunta p =
        makeQuestion(QStringLiteral("Q9 "), {QStringLiteral("sí"), QStringLiteral("no")}, {2});
    p.setImagen(QStringLiteral("dir/foto.png"));
    p.setImagenBinary(kImage);
    p.setRuta(files.path(QStringLiteral("q9.kpr")));
    p.Guardar();
    Pregunta back;
    back.setRuta(p.Ruta());
    back.Cargar();
    EXPECT_EQ(back.Id(), u"Q9 ");
    EXPECT_EQ(back.respuestas()->Count(), 2);
    EXPECT_TRUE(back.respuestas()->Item(2)->Correcta());
    EXPECT_EQ(back.respuestas()->Item(1)->Texto(), u"sí");
    EXPECT_EQ(back.Imagen(), u"foto.png");
    EXPECT_EQ(back.ImagenBinary(), kImage);
    EXPECT_FALSE(QFileInfo::exists(p.Ruta() + QStringLiteral("_TMP")));
}

TEST(QuestionRecord, StandaloneGuardarReplacesThePreviousFileAndDropsAStaleBackup) {
    ExamFiles files;
    Pregunta p = makeQuestion(QStringLiteral("q"), {QStringLiteral("a")});
    p.setRuta(files.write(QStringLiteral("q.kpr"), "old"));
    files.write(QStringLiteral("q.kpr_TMP"), "stale backup");
    p.Guardar();
    EXPECT_TRUE(files.read(QStringLiteral("q.kpr")).startsWith("0000000300"));
    EXPECT_FALSE(QFileInfo::exists(p.Ruta() + QStringLiteral("_TMP")));
}

TEST(QuestionRecord, FailedStandaloneWritePutsThePreviousFileBack) {
    ExamFiles files;
    Pregunta p = makeQuestion(QStringLiteral("q"), {QStringLiteral("a")});
    p.setImagen(QStringLiteral("grande.png"));
    p.setImagenBinary(QByteArray(64 * 1024, 'i'));
    p.setRuta(files.write(QStringLiteral("q.kpr"), "previous record"));
    int code = 0;
    {
        FileSizeLimit limit(4096);
        code = codeOf([&] { p.Guardar(); });
    }
    EXPECT_EQ(code, KpError::WriteQuestion);
    EXPECT_EQ(files.read(QStringLiteral("q.kpr")), "previous record");
    EXPECT_FALSE(QFileInfo::exists(p.Ruta() + QStringLiteral("_TMP")));
    EXPECT_EQ(QDir(files.path({})).entryList(QDir::Files), QStringList{QStringLiteral("q.kpr")})
        << "no half-written file is left behind";

    // Without a previous file, a failed write leaves none.
    p.setRuta(files.path(QStringLiteral("nuevo.kpr")));
    {
        FileSizeLimit limit(4096);
        code = codeOf([&] { p.Guardar(); });
    }
    EXPECT_EQ(code, KpError::WriteQuestion);
    EXPECT_FALSE(QFileInfo::exists(p.Ruta()));
}

TEST(QuestionRecord, UnremovableBackupNameFailsBeforeThePreviousFileIsTouched) {
    ExamFiles files;
    Pregunta p = makeQuestion(QStringLiteral("q"), {});
    p.setRuta(files.write(QStringLiteral("q.kpr"), "previous record"));
    QDir(files.path({})).mkpath(QStringLiteral("q.kpr_TMP/ocupado"));
    EXPECT_EQ(codeOf([&] { p.Guardar(); }), KpError::WriteQuestion);
    EXPECT_EQ(files.read(QStringLiteral("q.kpr")), "previous record");
}

TEST(QuestionRecord, RefusedRecordWritesNothingIntoTheExamFile) {
    Pregunta p = makeQuestion(QStringLiteral("q"), {QStringLiteral("a")});
    p.respuestas()->Item(1)->setNumero(-1);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_EQ(codeOf([&] { p.Guardar(buffer); }), KpError::WriteQuestion);
    EXPECT_EQ(buffer.size(), 0);
}

TEST(QuestionRecord, StandaloneCargarOfAMissingOrBrokenFileRaises10103) {
    ExamFiles files;
    Pregunta p;
    p.setRuta(files.path(QStringLiteral("no-existe.kpr")));
    EXPECT_EQ(codeOf([&] { p.Cargar(); }), KpError::ReadQuestion);
    p.setRuta(files.write(QStringLiteral("roto.kpr"), "0000000300000000"));
    EXPECT_EQ(codeOf([&] { p.Cargar(); }), KpError::ReadQuestion);
}

TEST(QuestionRecord, ExportImgWritesOnceAndNeverOutsideTheFolder) {
    ExamFiles files;
    QDir(files.path({})).mkpath(QStringLiteral("imgs"));
    const QString folder = files.path(QStringLiteral("imgs"));
    Pregunta p;
    p.setImagen(QStringLiteral("C:\\fotos\\mapa.png"));
    p.setImagenBinary(kImage);
    p.ExportImg(folder);
    EXPECT_EQ(files.read(QStringLiteral("imgs/mapa.png")), kImage);

    p.setImagenBinary("otra");
    p.ExportImg(folder + QStringLiteral("/"));
    EXPECT_EQ(files.read(QStringLiteral("imgs/mapa.png")), kImage) << "an existing file is kept";

    p.setImagen(QStringLiteral("../fuera.png"));
    p.ExportImg(folder);
    EXPECT_FALSE(QFileInfo::exists(files.path(QStringLiteral("fuera.png"))));
    EXPECT_TRUE(QFileInfo::exists(files.path(QStringLiteral("imgs/fuera.png"))));
    p.setImagen(QStringLiteral(".."));
    p.ExportImg(folder); // nothing to write, and no error
}
