#include "ExamBytes.h"
#include "ExamFiles.h"

#include "model/KipsaPrubex.h"
#include "model/KpError.h"

#include "QtPrint.h"

#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;

namespace {

// Header fields 10 to 18 and 20 to 24 in file order, for tables that vary one of them.
ExamBytes headerWith(const QByteArray& version, const QByteArray& tipo,
                     const QList<QByteArray>& fields10to18, const QList<QByteArray>& fields20to24,
                     const QByteArray& logoLength = "0") {
    ExamBytes b;
    b.field(version);
    for (int i = 0; i < 7; ++i)
        b.text({});
    b.field(tipo);
    for (const auto& f : fields10to18)
        b.field(f);
    b.text({});
    for (const auto& f : fields20to24)
        b.field(f);
    b.field(logoLength);
    return b;
}

const QList<QByteArray> kFlags9 = {"2", "0", "0", "0", "2", "2", "2", "2", "2"};
const QList<QByteArray> kTail5 = {"10000", "0", "2", "0", "0"};

} // namespace

TEST(ExamLoader, EmptyExamIsExactly270BytesAndLoadsWithEmptyCollections) {
    ExamFiles files;
    ExamBytes b;
    b.header().dec(0).dec(0);
    ASSERT_EQ(b.size(), 270);
    KipsaPrubex e;
    ASSERT_TRUE(files.load(b.bytes(), e)) << e.errorString().toStdString();
    EXPECT_EQ(e.Preguntas()->Count(), 0);
    EXPECT_EQ(e.Series()->Count(), 0);
    EXPECT_TRUE(e.errorString().isEmpty());
}

TEST(ExamLoader, VersionBelow300IsRefusedAndLaterVersionsReadTheSameLayout) {
    const struct {
        const char* version;
        bool loads;
    } cases[] = {{"299", false}, {"300", true}, {"400", true}, {"0", false}, {"x300", false}};
    for (const auto& c : cases) {
        ExamFiles files;
        ExamBytes b = headerWith(c.version, "1", kFlags9, kTail5);
        b.dec(0).dec(0);
        KipsaPrubex e;
        EXPECT_EQ(files.load(b.bytes(), e), c.loads) << c.version;
    }
}

TEST(ExamLoader, HeaderFieldsDecodeAsTheFormatSays) {
    // Flags are true only when they hold 1; thousandths of 0 or less read as 0; numbers read
    // their leading digits and ignore what follows.
    ExamFiles files;
    ExamBytes b =
        headerWith("300", "2", {"1", "16777215", "255abc", "30.6", "2", "1", "0", "7", "1"},
                   {"500", "0", "1", "4", "1xyz"});
    b.dec(0).dec(0);
    KipsaPrubex e;
    ASSERT_TRUE(files.load(b.bytes(), e)) << e.errorString().toStdString();
    EXPECT_EQ(e.TipoExamen(), 2);
    EXPECT_TRUE(e.LogoDerecha());
    EXPECT_EQ(e.ColorFondo(), 16777215);
    EXPECT_EQ(e.ColorFuente(), 255);
    EXPECT_EQ(e.MinutosLimite(), 31) << "a fraction rounds to the nearest whole number";
    EXPECT_TRUE(e.SoloUnaRespuesta()) << "forced on for a true/false exam";
    EXPECT_TRUE(e.MostrarNota());
    EXPECT_FALSE(e.MostrarFallos());
    EXPECT_FALSE(e.GuardarArchivoResultados()) << "7 is not 1";
    EXPECT_TRUE(e.AlumnoDefineArchivoResultados());
    EXPECT_FLOAT_EQ(e.NotaMaxima(), 0.5f);
    EXPECT_EQ(e.Penalizacion(), 0.0f);
    EXPECT_EQ(e.PenalizarBlancas(), 1);
    EXPECT_EQ(e.TipoPenalizacion(), 4);
    EXPECT_EQ(e.UnaRespuestaSuficiente(), 1);
}

TEST(ExamLoader, SingleAnswerFlagIsForcedOnlyForTrueFalseExams) {
    for (const char* tipo : {"1", "2"}) {
        ExamFiles files;
        ExamBytes b = headerWith("300", tipo, kFlags9, kTail5);
        b.dec(0).dec(0);
        KipsaPrubex e;
        ASSERT_TRUE(files.load(b.bytes(), e));
        EXPECT_EQ(e.SoloUnaRespuesta(), QByteArray(tipo) == "2") << tipo;
    }
}

TEST(ExamLoader, MaximumGradeIsStoredInThousandths) {
    const struct {
        const char* stored;
        float expected;
    } cases[] = {{"10000", 10.0f}, {"500", 0.5f}, {"0", 0.0f}, {"-5", 0.0f}, {"7123", 7.123f}};
    for (const auto& c : cases) {
        ExamFiles files;
        ExamBytes b = headerWith("300", "1", kFlags9, {c.stored, "0", "2", "0", "0"});
        b.dec(0).dec(0);
        KipsaPrubex e;
        ASSERT_TRUE(files.load(b.bytes(), e)) << c.stored;
        EXPECT_FLOAT_EQ(e.NotaMaxima(), c.expected) << c.stored;
    }
}

TEST(ExamLoader, BlankLogoNameHasNoBlobAndTheCountsFollowAtOnce) {
    ExamFiles files;
    ExamBytes b;
    b.header(1, "   ").dec(1).dec(0).question("q");
    KipsaPrubex e;
    ASSERT_TRUE(files.load(b.bytes(), e)) << e.errorString().toStdString();
    EXPECT_EQ(e.ArchivoLogo(), u"   ");
    EXPECT_TRUE(e.ArchivoLogoBinary().isEmpty());
    EXPECT_EQ(e.Preguntas()->Count(), 1);
}

TEST(ExamLoader, LogoAndImageBytesAreKeptUntouched) {
    QByteArray image;
    for (int i = 0; i < 256; ++i)
        image.append(static_cast<char>(255 - i));
    ExamFiles files;
    ExamBytes b;
    b.header(1, "logo.png").dec(image.size()).raw(image).dec(1).dec(0);
    b.dec(300).text("autor").text("lic").text("q1").text("texto").dec(0);
    b.dec(1).text("foto.bmp").dec(image.size()).raw(image);
    KipsaPrubex e;
    ASSERT_TRUE(files.load(b.bytes(), e)) << e.errorString().toStdString();
    EXPECT_EQ(e.ArchivoLogoBinary(), image);
    EXPECT_EQ(e.Preguntas()->Item(1)->Imagen(), u"foto.bmp");
    EXPECT_EQ(e.Preguntas()->Item(1)->ImagenBinary(), image);
}

TEST(ExamLoader, QuestionRecordSizesAndKeysMatchTheLayout) {
    ExamFiles files;
    ExamBytes b;
    b.header().dec(2).dec(1);
    const qsizetype before = b.size();
    b.question(" abc ");
    EXPECT_EQ(b.size() - before, 75) << "70 bytes plus the identifier's 5";
    // Two answers with empty texts, 30 bytes each; the second question follows right after
    // the image flag 0.
    b.dec(300).text({}).text({}).text("Q2").text({}).dec(2);
    b.dec(1).dec(1).text({}).dec(2).dec(0).text({}).dec(0);
    b.dec(2).dec(3).text("abc").dec(3).dec(1).text("q2").dec(1).dec(2);
    KipsaPrubex e;
    ASSERT_TRUE(files.load(b.bytes(), e)) << e.errorString().toStdString();
    EXPECT_EQ(e.Preguntas()->Item(1)->Key(), u"preguntaabc");
    EXPECT_EQ(e.Preguntas()->Item(1)->Id(), u" abc ");
    const auto q2 = e.Preguntas()->Item(QStringLiteral("PREGUNTAq2"));
    EXPECT_EQ(q2->respuestas()->Count(), 2);
    EXPECT_TRUE(q2->respuestas()->Item(QStringLiteral("respuesta1"))->Correcta());
    EXPECT_FALSE(q2->respuestas()->Item(QStringLiteral("respuesta2"))->Correcta());
    const auto s = e.Series()->Item(QStringLiteral("serie3"));
    EXPECT_EQ(s->PreguntasSerie()->Count(), 2);
    EXPECT_EQ(s->PreguntasSerie()->Item(QStringLiteral("preguntaq2"))->Orden(), 2);
}

TEST(ExamLoader, SlotNamingNoQuestionLoadsWithoutComplaint) {
    ExamFiles files;
    ExamBytes b;
    b.header().dec(0).dec(1).dec(1).dec(1).text("fantasma").dec(1).dec(1);
    KipsaPrubex e;
    ASSERT_TRUE(files.load(b.bytes(), e)) << e.errorString().toStdString();
    EXPECT_EQ(e.Series()->Item(1)->PreguntasSerie()->Item(1)->IdPreguntaExamen(), u"fantasma");
}

TEST(ExamLoader, DuplicateKeysFailTheLoad) {
    const struct {
        const char* name;
        ExamBytes tail;
    } cases[] = {
        {"ids differing in letter case", ExamBytes().dec(2).dec(0).question("Abc").question("aBC")},
        {"ids equal once trimmed", ExamBytes().dec(2).dec(0).question("x").question(" x ")},
        {"two series with one number", ExamBytes().dec(0).dec(2).dec(0).dec(4).dec(0).dec(4)},
        {"one question twice in a series",
         ExamBytes().dec(0).dec(1).dec(2).dec(1).text("q").dec(1).dec(1).text("Q").dec(1).dec(2)},
    };
    for (const auto& c : cases) {
        ExamFiles files;
        ExamBytes b;
        b.header().raw(c.tail.bytes());
        KipsaPrubex e;
        EXPECT_FALSE(files.load(b.bytes(), e)) << c.name;
        EXPECT_EQ(e.errorCode(), KpError::DuplicateKey) << c.name;
    }
}

TEST(ExamLoader, QuestionMarkerOtherThan300FailsTheWholeLoad) {
    ExamFiles files;
    ExamBytes b;
    b.header().dec(1).dec(0).dec(301).text({}).text({}).text("q").text({}).dec(0).dec(0);
    KipsaPrubex e;
    EXPECT_FALSE(files.load(b.bytes(), e));
    EXPECT_EQ(e.errorCode(), KpError::ReadQuestion);
}

TEST(ExamLoader, MissingFileFails) {
    KipsaPrubex e;
    EXPECT_FALSE(e.Cargar(QStringLiteral("/nonexistent/examen.kxt")));
    EXPECT_FALSE(e.errorString().isEmpty());
}
