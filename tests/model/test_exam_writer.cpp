#include "ModelTest.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <csignal>

#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace kp;
using namespace kp::test;

namespace {

const QByteArray kLogo("\x89PNG\r\n\x1a\n logo \x00\xff bytes", 22);
const QByteArray kImage("GIF89a\x00\x01\x02 imagen \r\n\x1a", 20);

// An exam that uses every member, with values the file changes on the way; asLoaded gives it
// as loading the file gives it back, with exactly these changes: texts lose outer blanks
// (question identifiers excepted), file names lose their folders, the grade keeps thousandths
// and a blank penalty other than 1 reads 2.
KipsaPrubex fullExam(const ExamFiles& files, bool asLoaded = false) {
    const auto blanks = [&](const QString& s) { return asLoaded ? s.trimmed() : s; };
    KipsaPrubex e;
    e.setIdExamen(blanks(QStringLiteral("  EX-1  ")));
    e.setTitulo(blanks(QStringLiteral("Geografía de España ")));
    for (int i = 1; i <= 5; ++i)
        e.setDatoAlumno(i, i == 3 ? QString() : blanks(QStringLiteral(" Dato %1").arg(i)));
    e.setTipoExamen(1);
    e.setLogoDerecha(true);
    e.setColorFondo(0xC0FFEE);
    e.setColorFuente(0x102030);
    e.setMinutosLimite(45);
    e.setMostrarNota(true);
    e.setGuardarArchivoResultados(true);
    e.setRutaArchivoResultados(QStringLiteral("C:\\resultados\\"));
    e.setNotaMaxima(asLoaded ? 7.123f : 7.12345f);
    e.setPenalizacion(0.25f);
    e.setPenalizarBlancas(asLoaded ? 2 : 3);
    e.setTipoPenalizacion(5);
    e.setUnaRespuestaSuficiente(1);
    e.setArchivoLogo(asLoaded ? QStringLiteral("escudo.png")
                              : files.write(QStringLiteral("escudo.png"), kLogo));
    e.setArchivoLogoBinary(asLoaded ? kLogo : QByteArray());

    Pregunta p1 =
        makeQuestion(QStringLiteral(" id1 "),
                     {blanks(QStringLiteral(" Madrid")), blanks(QStringLiteral("Toledo "))}, {1});
    p1.setNombreAutor(QStringLiteral("Ana Núñez"));
    p1.setLicenciaAutor(QStringLiteral("123-456-7890"));
    p1.setImagen(asLoaded ? QStringLiteral("mapa.gif") : QStringLiteral("C:\\fotos\\mapa.gif"));
    p1.setImagenBinary(kImage);
    e.Preguntas()->Add(p1);
    e.Preguntas()->Add(makeQuestion(QStringLiteral("id2"), {QStringLiteral("Verdadero")}, {1}));
    e.Preguntas()->Add(makeQuestion(QStringLiteral("id3"), {}));
    const QString id1 = blanks(QStringLiteral(" id1 "));
    addSeries(e, 1, {id1, QStringLiteral("id2"), QStringLiteral("id3")});
    addSeries(e, 7, {QStringLiteral("id3"), id1});
    e.setArchivoSalida(files.path(QStringLiteral("salida.kxt")));
    return e;
}

// Every member the exam file holds, as one text, so that two exams compare in one line.
QString dump(const KipsaPrubex& e) {
    QString out;
    {
        QDebug d(&out);
        d << e.IdExamen() << e.Titulo() << e.DatoAlumno(1) << e.DatoAlumno(2) << e.DatoAlumno(3)
          << e.DatoAlumno(4) << e.DatoAlumno(5) << e.TipoExamen() << e.LogoDerecha()
          << e.ColorFondo() << e.ColorFuente() << e.MinutosLimite() << e.SoloUnaRespuesta()
          << e.MostrarNota() << e.MostrarFallos() << e.GuardarArchivoResultados()
          << e.AlumnoDefineArchivoResultados() << e.RutaArchivoResultados() << e.NotaMaxima()
          << e.Penalizacion() << e.PenalizarBlancas() << e.TipoPenalizacion()
          << e.UnaRespuestaSuficiente() << e.ArchivoLogo() << e.ArchivoLogoBinary();
        for (const auto& p : *e.Preguntas()) {
            d << "\n"
              << p->Key() << p->Id() << p->NombreAutor() << p->LicenciaAutor() << p->TextoPregunta()
              << p->Imagen() << p->ImagenBinary();
            for (const auto& r : *p->respuestas())
                d << r->Key() << r->Numero() << r->Correcta() << r->Texto();
        }
        for (const auto& s : *e.Series()) {
            d << "\n" << s->Key() << s->Numero();
            const auto& slotsOf = *s->PreguntasSerie();
            for (long i = 1; i <= slotsOf.Count(); ++i)
                d << slotsOf.keyAt(i) << slotsOf.Item(i)->IdPreguntaExamen()
                  << slotsOf.Item(i)->Orden() << slotsOf.Item(i)->Tipo();
        }
    } // out is complete once d is gone
    return out;
}

// Guardar with files limited to limit bytes, so that writing fails past it (EFBIG) as on a full
// disk; permissions would not stop root. The code raised, 0 when none.
int guardarWithin(rlim_t limit, const Pregunta& p) {
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit l = saved;
    l.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &l);
    const int code = codeOf([&] { p.Guardar(); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    return code;
}

} // namespace

TEST(ExamWriter, RoundTripGivesBackEveryMemberWithOnlyTheFormatsChanges) {
    ExamFiles files;
    KipsaPrubex written = fullExam(files);
    ASSERT_TRUE(written.Export()) << written.errorString().toStdString();
    KipsaPrubex e;
    ASSERT_TRUE(e.Cargar(written.ArchivoSalida())) << e.errorString().toStdString();
    EXPECT_EQ(dump(e), dump(fullExam(files, true)));
}

TEST(ExamWriter, EmptyExamReplacesALongerFileWith270BytesAndFalseFlagsStoredAs2) {
    ExamFiles files;
    KipsaPrubex e;
    e.setArchivoLogo(QStringLiteral("   "));
    e.setArchivoSalida(files.write(QStringLiteral("vacio.kxt"), QByteArray(5000, 'x')));
    ASSERT_TRUE(e.Export()) << e.errorString().toStdString();
    const QByteArray bytes = files.read(QStringLiteral("vacio.kxt"));
    ASSERT_EQ(bytes.size(), 270) << "no old tail is left";
    EXPECT_EQ(bytes.mid(90, 10), "0000000002") << "LogoDerecha false";
    EXPECT_EQ(bytes.mid(130, 10), "0000000002") << "SoloUnaRespuesta false";
    EXPECT_EQ(bytes.mid(210, 10), "0000000002") << "PenalizarBlancas 0 is written as 2";
    EXPECT_EQ(bytes.mid(240, 10), "0000000000") << "the blank logo name is stored empty";
}

TEST(ExamWriter, ValuesTheFileCannotHoldAreRefusedBeforeAnythingIsWritten) {
    const struct {
        const char* name;
        std::function<void(KipsaPrubex&)> breakIt;
    } cases[] = {
        {"system colour (negative)", [](KipsaPrubex& e) { e.setColorFondo(-2147483643); }},
        {"negative grade", [](KipsaPrubex& e) { e.setNotaMaxima(-1); }},
        {"grade too large for thousandths", [](KipsaPrubex& e) { e.setNotaMaxima(3e6f); }},
        {"text outside Windows-1252",
         [](KipsaPrubex& e) { e.setTitulo(QString::fromUtf16(u"Examen 漢字")); }},
        {"two identifiers equal once trimmed",
         [](KipsaPrubex& e) { e.Preguntas()->Item(2)->setId(QStringLiteral("ID1")); }},
        {"a question twice in a series",
         [](KipsaPrubex& e) {
             e.Series()->Item(1)->PreguntasSerie()->Item(2)->setIdPreguntaExamen(
                 QStringLiteral("id1"));
         }},
        {"more answers than a 16-bit count",
         [](KipsaPrubex& e) {
             Respuesta r;
             r.setNumero(1);
             for (int i = 1; i <= 32768; ++i) {
                 r.setKey(QStringLiteral("r%1").arg(i));
                 e.Preguntas()->Item(3)->respuestas()->Add(r);
             }
         }},
        {"missing logo file",
         [](KipsaPrubex& e) { e.setArchivoLogo(QStringLiteral("/nonexistent/logo.png")); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExamFiles files;
        KipsaPrubex e = fullExam(files);
        files.write(QStringLiteral("salida.kxt"), "previous content");
        c.breakIt(e);
        EXPECT_FALSE(e.Export());
        EXPECT_FALSE(e.errorString().isEmpty());
        EXPECT_EQ(files.read(QStringLiteral("salida.kxt")), "previous content");
    }
}

TEST(QuestionRecord, StandaloneGuardarRoundTripsAndAFailedWritePutsThePreviousFileBack) {
    ExamFiles files;
    Pregunta p =
        makeQuestion(QStringLiteral("Q9 "), {QStringLiteral("sí"), QStringLiteral("no")}, {2});
    p.setImagen(QStringLiteral("dir/foto.png"));
    p.setImagenBinary(kImage);
    p.setRuta(files.write(QStringLiteral("q.kpr"), "old"));
    files.write(QStringLiteral("q.kpr_TMP"), "stale backup");
    p.Guardar();
    Pregunta back;
    back.setRuta(p.Ruta());
    back.Cargar();
    EXPECT_EQ(back.Id(), u"Q9 ");
    EXPECT_TRUE(back.respuestas()->Item(2)->Correcta());
    EXPECT_EQ(back.Imagen(), u"foto.png");
    EXPECT_EQ(back.ImagenBinary(), kImage);
    const QByteArray previous = files.read(QStringLiteral("q.kpr"));

    p.setImagenBinary(QByteArray(64 * 1024, 'i'));
    EXPECT_EQ(guardarWithin(4096, p), KpError::WriteQuestion);
    EXPECT_EQ(files.read(QStringLiteral("q.kpr")), previous);
    EXPECT_EQ(QDir(files.path({})).entryList(QDir::Files), QStringList{QStringLiteral("q.kpr")})
        << "no half-written file, backup or stale backup is left behind";
    p.setRuta(files.path(QStringLiteral("nuevo.kpr")));
    EXPECT_EQ(guardarWithin(4096, p), KpError::WriteQuestion);
    EXPECT_FALSE(QFileInfo::exists(p.Ruta())) << "without a previous file, none is left";
}

TEST(QuestionRecord, ExportImgNeverWritesOutsideTheFolder) {
    ExamFiles files;
    QDir(files.path({})).mkpath(QStringLiteral("imgs"));
    Pregunta p;
    p.setImagen(QStringLiteral("../fuera.png"));
    p.setImagenBinary(kImage);
    p.ExportImg(files.path(QStringLiteral("imgs")));
    EXPECT_FALSE(QFileInfo::exists(files.path(QStringLiteral("fuera.png"))));
    EXPECT_EQ(files.read(QStringLiteral("imgs/fuera.png")), kImage);
}
