#include "ExamBytes.h"
#include "Rows.h"

#include "TestExamBuilder.h"
#include "format/ByteCursor.h"

#include <sys/stat.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

using E = KpError;

// An exam without questions and series whose header is all zeros and empty texts, version 300
// and kind 1, except that field `field` (1 to 25 as the file numbers them, texts by their length
// field; 26 and 27 the counts) holds raw, padded with zeros on the left.
ExamBytes examWith(int field, const QByteArray& raw) {
    ExamBytes b;
    for (int f = 1; f <= 27; ++f)
        b.field(f == field ? raw : QByteArray(f == 1 ? "300" : f == 9 ? "1" : "0"));
    return b;
}

// The member a header field (9 to 24) loads into, as a number.
double member(const KipsaPrubex& e, int field) {
    // clang-format off
    const double fields9to24[] = {
        double(e.TipoExamen()), double(e.LogoDerecha()), double(e.ColorFondo()),
        double(e.ColorFuente()), double(e.MinutosLimite()), double(e.SoloUnaRespuesta()),
        double(e.MostrarNota()), double(e.MostrarFallos()), double(e.GuardarArchivoResultados()),
        double(e.AlumnoDefineArchivoResultados()), 0, e.NotaMaxima(), e.Penalizacion(),
        double(e.PenalizarBlancas()), double(e.TipoPenalizacion()),
        double(e.UnaRespuestaSuficiente())};
    // clang-format on
    return fields9to24[field - 9];
}

struct HeaderRow {
    const char* name;
    int field;
    QByteArray raw;
    double value; // of the member that `shows` names (the field's own when 0)
    int shows = 0;
};

// Numbers take their leading digits and round to the nearest whole number (halves to even);
// flags are true exactly when they hold 1; thousandths become the member / 1000.
const HeaderRow kHeaderRows[] = {
    {"KindIsAWholeNumber", 9, "7", 7},
    {"KindMayHaveBlanksAround", 9, " 2        ", 2},
    {"KindMayHaveASign", 9, "-7        ", -7},
    {"KindMayHaveAPlusSign", 9, "+7        ", 7},
    {"KindRoundsAFraction", 9, "6.5", 6},
    {"TrueFalseForcesOneAnswer", 9, "2", 1, 14},
    {"MultipleChoiceKeepsTheStoredFlag", 14, "1", 1},
    {"FlagTwoIsFalse", 14, "2", 0},
    {"FlagOneWithZerosIsTrue", 10, "1.000", 1},
    {"FlagOtherThanOneIsFalse", 15, "7", 0},
    {"EveryFlagHasItsField", 16, "1", 1},
    {"ResultsFileFlag", 17, "1", 1},
    {"StudentChoosesFileFlag", 18, "1", 1},
    {"ColourTakesLeadingDigits", 11, "255abc", 255},
    {"LargestColour", 12, "2147483647", 2147483647},
    {"MinutesRoundToNearest", 13, "32766.6", 32767},
    {"HalfRoundsToEven", 13, "2.5", 2},
    {"GradeInThousandths", 20, "10000", 10},
    {"HalfAPoint", 20, "500", 0.5},
    {"NoDigitBeforeThePointReadsZero", 20, ".5000     ", 0},
    {"PenaltyInThousandths", 21, "250", 0.25},
    {"BlankPenaltyReadAsStored", 22, "3", 3},
    {"PenaltyRule", 23, "4", 4},
    {"OneAnswerEnough", 24, "1", 1},
    {"VersionAboveThreeHundred", 1, "400", 1, 9},
};

class HeaderFields : public testing::TestWithParam<HeaderRow> {};

TEST_P(HeaderFields, LoadAsTheFormatSays) {
    const HeaderRow& r = GetParam();
    KipsaPrubex e;
    ASSERT_TRUE(e.Cargar(examWith(r.field, r.raw).bytes())) << e.errorString().toStdString();
    EXPECT_EQ(member(e, r.shows ? r.shows : r.field), r.value);
}
INSTANTIATE_TEST_SUITE_P(ExamLoader, HeaderFields, testing::ValuesIn(kHeaderRows), RowName());

struct BrokenRow {
    const char* name;
    ExamBytes bytes;
    int code; // 0: the file loads
};

ExamBytes head(const QByteArray& logoName = {}) {
    return ExamBytes().header(logoName);
}
// Q and S, then a question record up to its answers: marker, four texts (the given id, and the
// given text length field) and the answer count.
ExamBytes question(ExamBytes b, const QByteArray& id, int answers = 0, const char* text = "0") {
    return b.dec(300).text({}).text({}).text(id).field(text).dec(answers);
}
ExamBytes oneQuestion() {
    return head().dec(1).dec(0);
}

// Hostile lengths and counts fail at the bounds check (PastEnd), never by allocating them.
// clang-format off
const BrokenRow kBrokenRows[] = {
    {"VersionBelowThreeHundred", examWith(1, "299"), E::BadValue},
    {"TextLengthWithLettersAfter", examWith(3, "5xyz"), E::TypeMismatch},
    {"PathLengthWithLettersAfter", examWith(19, "5xyz"), E::TypeMismatch},
    {"LogoNameLengthWithLettersAfter", examWith(25, "5xyz"), E::TypeMismatch},
    {"KindInWords", examWith(9, "uno"), E::TypeMismatch},
    {"KindWithLettersAfter", examWith(9, "1xyz"), E::TypeMismatch},
    {"KindBlank", examWith(9, "          "), E::TypeMismatch},
    {"KindSignAlone", examWith(9, "-         "), E::TypeMismatch},
    {"KindOver16Bits", examWith(9, "32768"), E::Overflow},
    {"MinutesOver16Bits", examWith(13, "32768"), E::Overflow},
    {"ColourOver32Bits", examWith(11, "2147483648"), E::Overflow},
    {"QuestionCountOver16Bits", examWith(26, "32768"), E::Overflow},
    {"QuestionCountPastTheEnd", head().dec(32767).dec(0), E::PastEnd},
    {"SeriesCountPastTheEnd", head().dec(0).dec(2), E::PastEnd},
    {"BlankLogoNameHasNoLogoBytes", head("   ").dec(0).dec(0), 0},
    {"LogoPastTheEnd", head("l.png").dec(99).raw("12345"), E::PastEnd},
    {"LogoLengthWithLettersAfter", head("l.png").field("5xyz").raw("12345").dec(0).dec(0),
     E::TypeMismatch},
    {"IdsDifferingInCase", question(question(head().dec(2).dec(0), "Ab").dec(0), "aB").dec(0),
     E::DuplicateKey},
    {"MarkerOtherThan300", oneQuestion().dec(301).raw(QByteArray(60, '0')), E::ReadQuestion},
    {"QuestionTextTakesLeadingDigits", question(oneQuestion(), "q", 0, "2xy").raw("ab").dec(0),
     0},
    {"AnswersPastTheEnd", question(oneQuestion(), "q", 2).dec(1).dec(0).dec(0), E::ReadQuestion},
    {"ImageLengthWithLettersAfter", question(oneQuestion(), "q").dec(1).text("i").field("3xyz")
     .raw("abc"), E::ReadQuestion},
    {"RepeatedSeriesNumber", head().dec(0).dec(2).dec(0).dec(4).dec(0).dec(4), E::DuplicateKey},
    {"QuestionTwiceInASeries", head().dec(0).dec(1).dec(2).dec(1).text("q").dec(1).dec(1).text("Q ")
     .dec(1).dec(2), E::DuplicateKey},
    {"SlotsPastTheEnd", head().dec(0).dec(1).dec(2).dec(1).text("q").dec(1).dec(1), E::PastEnd},
    {"SlotOfAMissingQuestionLoads", head().dec(0).dec(1).dec(1).dec(1).text("").dec(1).dec(1), 0},
    {"SmallestQuestionRecordLoads", head().dec(1).dec(0).question(""), 0},
    {"EmptySeriesLoads", head().dec(0).dec(1).dec(0).dec(1), 0},
};
// clang-format on

class BrokenFiles : public testing::TestWithParam<BrokenRow> {};

TEST_P(BrokenFiles, FailTheWholeLoadWithTheirOwnCode) {
    KipsaPrubex e;
    EXPECT_EQ(e.Cargar(GetParam().bytes.bytes()), GetParam().code == 0)
        << e.errorString().toStdString();
    EXPECT_EQ(e.errorCode(), GetParam().code);
}
INSTANTIATE_TEST_SUITE_P(ExamLoader, BrokenFiles, testing::ValuesIn(kBrokenRows), RowName());

TEST(ExamLoader, AValueOutOfRangeIsQuoted) {
    KipsaPrubex e;
    EXPECT_FALSE(e.Cargar(examWith(13, "32768").bytes()));
    EXPECT_TRUE(e.errorString().endsWith(u": 32768"_s)) << e.errorString().toStdString();
}

TEST(ExamLoader, FilesAreReadWholeUpToTheSizeCap) {
    ExamFiles files;
    const QString ten = files.write(u"diez.kxt"_s, "0123456789");
    EXPECT_EQ(ByteCursor::readFile(ten, 10), "0123456789");
    EXPECT_EQ(codeOf([&] { ByteCursor::readFile(ten, 9); }), E::BadValue);
    // A file that reports no size (as /proc files do) is read in chunks, up to the cap too.
    EXPECT_TRUE(ByteCursor::readFile(u"/proc/self/status"_s, 1 << 16).startsWith("Name:"));
    EXPECT_EQ(codeOf([&] { ByteCursor::readFile(u"/proc/self/status"_s, 10); }), E::BadValue);
    const QString pipe = files.path(u"tuberia.kxt"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // A missing file is not found; a folder, an endless device or a named pipe is refused, not
    // waited on, as something that is not a file.
    const struct {
        QString path;
        int code;
    } refused[] = {{u"/nonexistent/examen.kxt"_s, E::FileNotFound},
                   {u"/tmp"_s, E::FileAccess},
                   {u"/dev/zero"_s, E::FileAccess},
                   {pipe, E::FileAccess}};
    for (const auto& r : refused) {
        KipsaPrubex e;
        EXPECT_FALSE(e.Cargar(r.path)) << r.path.toStdString();
        EXPECT_EQ(e.errorCode(), r.code) << r.path.toStdString();
    }
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

} // namespace
