#include "ModelTest.h"

#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;

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
        {"299", "1", "10000", false, false, 0},    {"0", "1", "10000", false, false, 0},
        {"x300", "1", "10000", false, false, 0},   {"300", "1", "10000", true, false, 10.0f},
        {"400", "1", "7123", true, false, 7.123f}, {"300", "2", "500", true, true, 0.5f},
        {"300", "1", "-5", true, false, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.version << " " << c.tipo << " " << c.notaMaxima);
        ExamFiles files;
        ExamBytes b;
        b.header({}, c.version, c.tipo, QList<QByteArray>(9, "0"),
                 {c.notaMaxima, "0", "0", "0", "0"});
        b.dec(0).dec(0);
        ASSERT_EQ(b.size(), 270);
        KipsaPrubex e;
        ASSERT_EQ(files.load(b.bytes(), e), c.loads) << e.errorString().toStdString();
        if (!c.loads)
            continue;
        EXPECT_EQ(e.Preguntas()->Count() + e.Series()->Count(), 0);
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

TEST(ExamLoader, BrokenRecordsFailTheWholeLoad) {
    const struct {
        const char* name;
        ExamBytes tail;
        int code;
    } cases[] = {
        {"ids differing in letter case", ExamBytes().dec(2).dec(0).question("Abc").question("aBC"),
         KpError::DuplicateKey},
        {"two series with one number", ExamBytes().dec(0).dec(2).dec(0).dec(4).dec(0).dec(4),
         KpError::DuplicateKey},
        {"one question twice in a series",
         ExamBytes().dec(0).dec(1).dec(2).dec(1).text("q").dec(1).dec(1).text("Q").dec(1).dec(2),
         KpError::DuplicateKey},
        {"question marker 301",
         ExamBytes().dec(1).dec(0).dec(301).text({}).text({}).text("q").text({}).dec(0).dec(0),
         KpError::ReadQuestion},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExamFiles files;
        ExamBytes b;
        b.header().raw(c.tail.bytes());
        KipsaPrubex e;
        EXPECT_FALSE(files.load(b.bytes(), e));
        EXPECT_EQ(e.errorCode(), c.code);
    }
}
