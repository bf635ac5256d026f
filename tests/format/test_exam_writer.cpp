#include "ExamBytes.h"
#include "FailDevice.h"
#include "Rows.h"
#include "TestExamBuilder.h"
#include "format/BackupFile.h"

#include <QDebug>
#include <QDir>

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

struct RefusedRow {
    const char* name;
    std::function<void(KipsaPrubex&)> breakIt;
};

// clang-format off
const RefusedRow kRefusedRows[] = {
    {"NegativeGrade", [](auto& e) { e.setNotaMaxima(-1); }},
    {"GradeOver32BitsOfThousandths", [](auto& e) { e.setPenalizacion(2147484.0f); }},
    {"SystemColour", [](auto& e) { e.setColorFondo(-2147483643); }},
    {"TextOutsideWindows1252", [](auto& e) { e.setTitulo(u"Examen 漢字"_s); }},
    {"IdentifiersEqualOnceTrimmed", [](auto& e) { e.Preguntas()->Item(2)->setId(u"ID1"_s); }},
    {"SeriesNumbersEqual", [](auto& e) { e.Series()->Item(2)->setNumero(1); }},
    {"OneQuestionTwiceInASeries", [](auto& e) {
         e.Series()->Item(2)->PreguntasSerie()->Item(1)->setIdPreguntaExamen(u"ID1 "_s); }},
    {"MissingLogoFile", [](auto& e) { e.setArchivoLogo(e.ArchivoLogo() + u"x"_s); }},
    {"MoreAnswersThanA16BitCount", [](auto& e) {
         Respuesta r;
         for (int i = 1; i <= 32768; ++i) {
             r.setKey(u"r%1"_s.arg(i));
             e.Preguntas()->Item(3)->respuestas()->Add(r);
         }
     }},
};
// clang-format on

class RefusedValues : public testing::TestWithParam<RefusedRow> {};

TEST_P(RefusedValues, AreRefusedBeforeAnythingIsWritten) {
    ExamFiles files;
    KipsaPrubex e = fullExam(files);
    files.write(u"salida.kxt"_s, "previous content");
    GetParam().breakIt(e);
    EXPECT_FALSE(e.Export());
    EXPECT_EQ(files.read(u"salida.kxt"_s), "previous content");
    FailDevice device(1 << 20);
    EXPECT_FALSE(e.Export(device));
    EXPECT_EQ(device.size(), 0);
}
INSTANTIATE_TEST_SUITE_P(ExamWriter, RefusedValues, testing::ValuesIn(kRefusedRows), RowName());

TEST(ExamWriter, EveryWriteToTheDeviceIsChecked) {
    ExamFiles files;
    KipsaPrubex e = fullExam(files);
    ASSERT_TRUE(e.Export());
    const QByteArray whole = files.read(u"salida.kxt"_s);
    FailDevice roomy(whole.size());
    ASSERT_TRUE(e.Export(roomy));
    EXPECT_EQ(roomy.data(), whole);
    for (qint64 n = 0; n < whole.size(); ++n) {
        FailDevice device(n);
        ASSERT_FALSE(e.Export(device)) << "a device full after " << n << " bytes";
        EXPECT_EQ(e.errorCode(), KpError::FileAccess);
    }
}

TEST(QuestionRecord, StandaloneRoundTripReplacesTheFileAndAStaleBackup) {
    ExamFiles files;
    Pregunta p = TestExamBuilder::question(u"Q9 "_s, {u"sí"_s, u"no"_s}, {2});
    p.setImagen(u"C:\\dir/foto.png"_s);
    p.setImagenBinary(kImage);
    p.setRuta(files.write(u"q.kpr"_s, "old"));
    files.write(u"q.kpr_TMP"_s, "stale backup");
    p.Guardar();
    Pregunta back;
    back.setRuta(p.Ruta());
    back.Cargar();
    EXPECT_EQ(back.Id(), u"Q9 ");
    EXPECT_EQ(back.respuestas()->Item(2)->Correcta(), true);
    EXPECT_EQ(back.Imagen(), u"foto.png");
    EXPECT_EQ(back.ImagenBinary(), kImage);
    EXPECT_EQ(QDir(files.path({})).entryList(QDir::Files), QStringList{u"q.kpr"_s});
}

// A write that fails midway (as on a full disk) after the old file was moved aside: the old one
// comes back and nothing else is left. A backup that cannot be made touches nothing.
TEST(QuestionRecord, AFailedStandaloneWritePutsThePreviousFileBack) {
    ExamFiles files;
    const QString path = files.write(u"q.kpr"_s, "previous");
    const auto fullDisk = [](QIODevice& d) {
        d.write("half a rec");
        throw KpError(KpError::FileAccess, u"disco lleno"_s);
    };
    EXPECT_EQ(codeOf([&] { replaceWithBackup(path, fullDisk); }), KpError::FileAccess);
    EXPECT_EQ(files.read(u"q.kpr"_s), "previous");
    EXPECT_EQ(QDir(files.path({})).entryList(QDir::Files), QStringList{u"q.kpr"_s});
    Pregunta p = TestExamBuilder::question(u"Q"_s, {u"a"_s});
    p.setRuta(path);
    QDir(files.path({})).mkpath(u"q.kpr_TMP/x"_s);
    EXPECT_EQ(codeOf([&] { p.Guardar(); }), KpError::WriteQuestion);
    EXPECT_EQ(files.read(u"q.kpr"_s), "previous");
    p.setRuta({});
    EXPECT_EQ(codeOf([&] { p.Guardar(); }), KpError::WriteQuestion) << "no path";
}

TEST(QuestionRecord, EveryEmbeddedWriteIsChecked) {
    Pregunta p = TestExamBuilder::question(u"Q"_s, {u"a"_s, u"b"_s});
    p.setImagen(u"i.gif"_s);
    p.setImagenBinary(kImage);
    FailDevice roomy(1 << 20);
    p.Guardar(roomy);
    for (qint64 n = 0; n < roomy.size(); ++n) {
        FailDevice device(n);
        EXPECT_EQ(codeOf([&] { p.Guardar(device); }), KpError::WriteQuestion) << n << " bytes";
    }
}

TEST(QuestionRecord, ExportImgWritesOnlyANewFileInsideTheFolder) {
    ExamFiles files;
    Pregunta p;
    p.setImagenBinary(kImage);
    p.setImagen(u"../fuera.png"_s);
    p.ExportImg(files.path({}));
    EXPECT_EQ(files.read(u"fuera.png"_s), kImage);
    p.setImagenBinary("new");
    p.ExportImg(files.path({}));
    EXPECT_EQ(files.read(u"fuera.png"_s), kImage) << "an existing file is kept";
}
