#include "ExamBytes.h"
#include "TestExamBuilder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

TEST(ExamLoader, EmptyExamsVersionKindAndMaximumGrade) {
    // An empty exam is 270 bytes. Versions from 300 up read the same layout; a true/false exam
    // forces SoloUnaRespuesta on; the maximum grade is in thousandths, 0 or less reading as 0.
    const struct {
        const char* version;
        const char* tipo;
        const char* notaMaxima;
        bool loads;
        bool soloUna;
        float nota;
    } cases[] = {
        {"299", "1", "10000", false, false, 0},
        {"400", "1", "7123", true, false, 7.123f},
        {"300", "2", "500", true, true, 0.5f},
        {"300", "1", "-5", true, false, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.version << " " << c.tipo << " " << c.notaMaxima);
        ExamFiles files;
        ExamBytes b;
        b.header({}, c.version, c.tipo, QList<QByteArray>(9, "0"),
                 {c.notaMaxima, "0", "0", "0", "0"});
        b.dec(0).dec(0);
        KipsaPrubex e;
        ASSERT_EQ(files.load(b.bytes(), e), c.loads) << e.errorString().toStdString();
        if (!c.loads)
            continue;
        EXPECT_EQ(e.SoloUnaRespuesta(), c.soloUna);
        EXPECT_FLOAT_EQ(e.NotaMaxima(), c.nota);
    }
}

TEST(ExamLoader, HeaderFieldsDecodeAsTheFormatSaysAndABlankLogoHasNoBytes) {
    // Flags are true only when they hold 1; numbers read their leading digits and ignore what
    // follows; a blank logo name has no logo bytes after it.
    ExamFiles files;
    ExamBytes b;
    b.header("   ", "300", "1", {"1", "16777215", "255abc", "32766.6", "2", "1", "0", "7", "1"},
             {"500", "0", "1", "4", "1xyz"});
    b.dec(0).dec(0);
    KipsaPrubex e;
    ASSERT_TRUE(files.load(b.bytes(), e)) << e.errorString().toStdString();
    // A fraction rounds to the nearest whole number; 7 is no true flag.
    QList<int> got;
    got << e.LogoDerecha() << e.ColorFondo() << e.ColorFuente() << e.MinutosLimite()
        << e.MostrarNota() << e.MostrarFallos() << e.GuardarArchivoResultados()
        << e.AlumnoDefineArchivoResultados() << e.PenalizarBlancas() << e.TipoPenalizacion()
        << e.UnaRespuestaSuficiente();
    EXPECT_EQ(got, (QList<int>{1, 16777215, 255, 32767, 1, 0, 0, 1, 1, 4, 1}));
    EXPECT_EQ(e.ArchivoLogo(), u"   ");
    EXPECT_TRUE(e.ArchivoLogoBinary().isEmpty());
}

TEST(ExamLoader, BrokenFilesFailTheWholeLoadWithTheirOwnCode) {
    // Hostile lengths and counts fail at the bounds check (PastEnd), never by allocating them.
    const auto h = [] { return ExamBytes().header(); };
    using E = KpError;
    const struct {
        const char* name;
        ExamBytes bytes;
        int code;
    } cases[] = {
        {"ids differing in case", h().dec(2).dec(0).question("Ab").question("aB"), E::DuplicateKey},
        {"marker 301", h().dec(1).dec(0).dec(301).raw(QByteArray(60, '0')), E::ReadQuestion},
        {"text length past the end", h().dec(1).dec(0).dec(300).dec(99999), E::PastEnd},
        {"count past the end", h().dec(32767).dec(0), E::PastEnd},
        {"exam kind not a number", ExamBytes().header({}, "300", "uno       "), E::TypeMismatch},
        {"exam kind over 16 bits", ExamBytes().header({}, "300", "32768"), E::Overflow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExamFiles files;
        KipsaPrubex e;
        EXPECT_FALSE(files.load(c.bytes.bytes(), e));
        EXPECT_EQ(e.errorCode(), c.code) << e.errorString().toStdString();
    }
    ExamFiles files;
    const QString pipe = files.path(u"tuberia.kxt"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    KipsaPrubex e;
    for (const QString& path : {u"/nonexistent/examen.kxt"_s, u"/tmp"_s, u"/dev/zero"_s, pipe})
        EXPECT_FALSE(e.Cargar(path)) << "no missing file, folder, endless device or named pipe";
}

TEST(ExamLoader, PicturesShareTheLoadedBytesAndOutliveThem) {
    ExamFiles files;
    const QByteArray logo = QByteArray("logo ").repeated(1000);
    const QByteArray image = QByteArray("imagen ").repeated(5000);
    KipsaPrubex written;
    written.setArchivoLogo(files.write(u"logo.png"_s, logo));
    TestExamBuilder::on(written).pregunta(u"q1"_s, u"¿?"_s, {{u"Sí"_s, true}}, u"a.png"_s, image);
    written.setArchivoSalida(files.path(u"e.kxt"_s));
    ASSERT_TRUE(written.Export()) << written.errorString().toStdString();
    const auto picture = [](const KipsaPrubex& e) {
        return e.Preguntas()->Item(1)->ImagenBinary();
    };

    // From bytes in memory: the pictures lie inside them, not copied, and keep them alive
    // once the caller lets go of them.
    KipsaPrubex fromBytes;
    {
        const QByteArray bytes = files.read(u"e.kxt"_s);
        ASSERT_TRUE(fromBytes.Cargar(bytes));
        for (const QByteArray& b : {fromBytes.ArchivoLogoBinary(), picture(fromBytes)})
            EXPECT_TRUE(b.constData() > bytes.constData() &&
                        b.constData() + b.size() <= bytes.constData() + bytes.size());
    }
    EXPECT_EQ(fromBytes.ArchivoLogoBinary(), logo);
    EXPECT_EQ(picture(fromBytes), image);
    QByteArray changed = picture(fromBytes);
    changed[0] = 'X';
    EXPECT_EQ(picture(fromBytes), image) << "a copy changes alone";

    // Bytes that nothing owns for the exam (fromRawData) are copied.
    QByteArray owned = files.read(u"e.kxt"_s);
    KipsaPrubex fromRaw;
    ASSERT_TRUE(fromRaw.Cargar(QByteArray::fromRawData(owned.constData(), owned.size())));
    owned.fill('x');
    EXPECT_EQ(picture(fromRaw), image);

    // From the file, read once: cutting it afterwards changes nothing loaded.
    KipsaPrubex fromFile;
    ASSERT_TRUE(fromFile.Cargar(written.ArchivoSalida()));
    files.write(u"e.kxt"_s, "corto");
    EXPECT_EQ(fromFile.ArchivoLogoBinary(), logo);
    EXPECT_EQ(picture(fromFile), image);
}
