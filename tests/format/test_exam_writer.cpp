#include "ExamBytes.h"
#include "TestExamBuilder.h"

#include <QDebug>
#include <QDir>
#include <csignal>

#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

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
    e.setIdExamen(blanks(u"  EX-1  "_s));
    e.setTitulo(blanks(u"Geografía de España "_s));
    for (int i = 1; i <= 5; ++i)
        e.setDatoAlumno(i, i == 3 ? QString() : blanks(u" Dato %1"_s.arg(i)));
    e.setTipoExamen(1);
    e.setLogoDerecha(true);
    e.setColorFondo(0xC0FFEE);
    e.setColorFuente(0x102030);
    e.setMinutosLimite(45);
    e.setMostrarNota(true);
    e.setGuardarArchivoResultados(true);
    e.setRutaArchivoResultados(u"C:\\resultados\\"_s);
    e.setNotaMaxima(asLoaded ? 7.123f : 7.12345f);
    e.setPenalizacion(0.25f);
    e.setPenalizarBlancas(asLoaded ? 2 : 3);
    e.setTipoPenalizacion(5);
    e.setUnaRespuestaSuficiente(1);
    e.setArchivoLogo(asLoaded ? u"escudo.png"_s : files.write(u"escudo.png"_s, kLogo));
    e.setArchivoLogoBinary(asLoaded ? kLogo : QByteArray());

    Pregunta p1 =
        TestExamBuilder::question(u" id1 "_s, {blanks(u" Madrid"_s), blanks(u"Toledo "_s)}, {1});
    p1.setNombreAutor(u"Ana Núñez"_s);
    p1.setLicenciaAutor(u"123-456-7890"_s);
    p1.setImagen(asLoaded ? u"mapa.gif"_s : u"C:\\fotos\\mapa.gif"_s);
    p1.setImagenBinary(kImage);
    e.Preguntas()->Add(p1);
    e.Preguntas()->Add(TestExamBuilder::question(u"id2"_s, {u"Verdadero"_s}, {1}));
    e.Preguntas()->Add(TestExamBuilder::question(u"id3"_s, {}));
    const QString id1 = blanks(u" id1 "_s);
    TestExamBuilder::on(e).serie(1, {id1, u"id2"_s, u"id3"_s});
    TestExamBuilder::on(e).serie(7, {u"id3"_s, id1});
    e.setArchivoSalida(files.path(u"salida.kxt"_s));
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

} // namespace

TEST(ExamWriter, RoundTripGivesBackEveryMemberWithOnlyTheFormatsChanges) {
    ExamFiles files;
    KipsaPrubex written = fullExam(files);
    ASSERT_TRUE(written.Export()) << written.errorString().toStdString();
    KipsaPrubex e;
    ASSERT_TRUE(e.Cargar(written.ArchivoSalida())) << e.errorString().toStdString();
    EXPECT_EQ(dump(e), dump(fullExam(files, true)));
    const QByteArray whole = files.read(u"salida.kxt"_s);
    for (qsizetype n = 0; n < whole.size(); ++n) {
        KipsaPrubex cut;
        ASSERT_FALSE(files.load(whole.left(n), cut)) << "every truncation fails; cut at " << n;
    }
}

TEST(ExamWriter, EmptyExamReplacesALongerFileWith270BytesAndFalseFlagsStoredAs2) {
    ExamFiles files;
    KipsaPrubex e;
    e.setArchivoLogo(u"   "_s);
    e.setArchivoSalida(files.write(u"vacio.kxt"_s, QByteArray(5000, 'x')));
    ASSERT_TRUE(e.Export()) << e.errorString().toStdString();
    const QByteArray bytes = files.read(u"vacio.kxt"_s);
    ASSERT_EQ(bytes.size(), 270) << "no old tail is left";
    EXPECT_EQ(bytes.mid(90, 10), "0000000002") << "LogoDerecha false";
    EXPECT_EQ(bytes.mid(210, 10), "0000000002") << "PenalizarBlancas 0 is written as 2";
}

TEST(ExamWriter, ValuesTheFileCannotHoldAreRefusedBeforeAnythingIsWritten) {
    const struct {
        const char* name;
        std::function<void(KipsaPrubex&)> breakIt;
    } cases[] = {
        {"negative grade", [](KipsaPrubex& e) { e.setNotaMaxima(-1); }},
        {"text outside Windows-1252", [](KipsaPrubex& e) { e.setTitulo(u"Examen 漢字"_s); }},
        {"two identifiers equal once trimmed",
         [](KipsaPrubex& e) { e.Preguntas()->Item(2)->setId(u"ID1"_s); }},
        {"more answers than a 16-bit count",
         [](KipsaPrubex& e) {
             Respuesta r;
             r.setNumero(1);
             for (int i = 1; i <= 32768; ++i) {
                 r.setKey(u"r%1"_s.arg(i));
                 e.Preguntas()->Item(3)->respuestas()->Add(r);
             }
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExamFiles files;
        KipsaPrubex e = fullExam(files);
        files.write(u"salida.kxt"_s, "previous content");
        c.breakIt(e);
        EXPECT_FALSE(e.Export());
        EXPECT_EQ(files.read(u"salida.kxt"_s), "previous content");
    }
}

TEST(QuestionRecord, GuardarRoundTripsAFailedWriteKeepsTheOldFileAndExportImgStaysInside) {
    ExamFiles files;
    Pregunta p = TestExamBuilder::question(u"Q9 "_s, {u"sí"_s, u"no"_s}, {2});
    p.setImagen(u"dir/foto.png"_s);
    p.setImagenBinary(kImage);
    p.setRuta(files.write(u"q.kpr"_s, "old"));
    files.write(u"q.kpr_TMP"_s, "stale backup");
    p.Guardar();
    Pregunta back;
    back.setRuta(p.Ruta());
    back.Cargar();
    EXPECT_EQ(back.Id(), u"Q9 ");
    EXPECT_EQ(back.Imagen(), u"foto.png");
    EXPECT_EQ(back.ImagenBinary(), kImage);
    const QByteArray previous = files.read(u"q.kpr"_s);

    // Files limited to 4 KiB make the write fail (EFBIG) as on a full disk; root ignores modes.
    p.setImagenBinary(QByteArray(64 * 1024, 'i'));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{4096, saved.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_EQ(codeOf([&] { p.Guardar(); }), KpError::WriteQuestion);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(files.read(u"q.kpr"_s), previous);
    EXPECT_EQ(QDir(files.path({})).entryList(QDir::Files), QStringList{u"q.kpr"_s})
        << "no half-written file, backup or stale backup is left behind";

    p.setImagen(u"../fuera.png"_s); // ExportImg never writes outside the folder
    p.ExportImg(files.path({}));
    EXPECT_EQ(files.read(u"fuera.png"_s), p.ImagenBinary());
}
