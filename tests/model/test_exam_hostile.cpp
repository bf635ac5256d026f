// Files no writer of ours would produce: each must fail cleanly, without a crash and without
// allocating what a length field claims.
#include "ExamBytes.h"
#include "ExamFiles.h"

#include "model/KipsaPrubex.h"
#include "model/KpError.h"

#include "QtPrint.h"

#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;

namespace {

// The parts of a small valid exam: a logo, one question with two answers and an image, another
// without, and two series. Each hostile case swaps one part for a broken one.
struct Parts {
    QByteArray headerText = ExamBytes().dec(5).raw("EX-01").bytes();
    QByteArray tipo = "0000000001";
    QByteArray minutos = "0000000030";
    QByteArray logoLength = "0000000004";
    QByteArray counts = ExamBytes().dec(2).dec(2).bytes();
    QByteArray questionText = ExamBytes().text("Capital?").bytes();
    QByteArray answerCount = "0000000002";
    QByteArray answerNumber = "0000000001";
    QByteArray imageLength = "0000000003";
    QByteArray slotCount = "0000000002";
    QByteArray seriesNumber = "0000000001";
    QByteArray slotTipo = "0000000001";
    QByteArray slotOrden = "0000000001";

    QByteArray bytes() const {
        ExamBytes b;
        b.dec(300).raw(headerText);
        for (int i = 0; i < 6; ++i)
            b.text("t");
        b.raw(tipo).dec(1).dec(0).dec(0).raw(minutos);
        for (int i = 0; i < 5; ++i)
            b.dec(1);
        b.text("c:\\r").dec(10000).dec(0).dec(2).dec(0).dec(0).text("l.png");
        b.raw(logoLength).raw("LOGO").raw(counts);
        b.dec(300).text("autor").text("lic").text("q1").raw(questionText).raw(answerCount);
        b.raw(answerNumber).dec(1).text("Madrid").dec(2).dec(0).text("Roma");
        b.dec(1).text("f.png").raw(imageLength).raw("IMG");
        b.dec(300).text({}).text({}).text("q2").text("sin respuestas").dec(0).dec(0);
        b.raw(slotCount).raw(seriesNumber).text("q1").raw(slotTipo).raw(slotOrden);
        b.text("q2").dec(3).dec(2);
        b.dec(1).dec(2).text("q2").dec(3).dec(1);
        return b.bytes();
    }
};

} // namespace

TEST(HostileExam, TheUntouchedSampleLoads) {
    ExamFiles files;
    KipsaPrubex e;
    ASSERT_TRUE(files.load(Parts().bytes(), e)) << e.errorString().toStdString();
    EXPECT_EQ(e.Preguntas()->Count(), 2);
    EXPECT_EQ(e.Series()->Count(), 2);
}

TEST(HostileExam, EveryTruncationFailsWithoutCrashing) {
    const QByteArray whole = Parts().bytes();
    ExamFiles files;
    for (qsizetype n = 0; n < whole.size(); ++n) {
        KipsaPrubex e;
        ASSERT_FALSE(files.load(whole.left(n), e)) << "cut at " << n;
        ASSERT_FALSE(e.errorString().isEmpty()) << "cut at " << n;
    }
}

TEST(HostileExam, LengthsAndCountsPastTheEndFailBeforeAllocating) {
    // The error must be the bounds check itself, not a failed allocation caught later.
    const auto huge = [](QByteArray& field) { field = "9999999999"; };
    const struct {
        const char* name;
        std::function<void(Parts&)> breakIt;
    } cases[] = {
        {"header text length", [&](Parts& p) { p.headerText = "9999999999"; }},
        {"logo length", [&](Parts& p) { huge(p.logoLength); }},
        {"question text length", [&](Parts& p) { p.questionText = "9999999999"; }},
        {"image length", [&](Parts& p) { huge(p.imageLength); }},
        {"image length one past the end", [&](Parts& p) { p.imageLength = "0000000999"; }},
        {"question count", [](Parts& p) { p.counts = "00000327670000000002"; }},
        {"series count", [](Parts& p) { p.counts = "00000000020000032767"; }},
        {"answer count", [](Parts& p) { p.answerCount = "0000032767"; }},
        {"slot count", [](Parts& p) { p.slotCount = "0000032767"; }},
    };
    for (const auto& c : cases) {
        Parts p;
        c.breakIt(p);
        ExamFiles files;
        KipsaPrubex e;
        EXPECT_FALSE(files.load(p.bytes(), e)) << c.name;
        // A question record reports its own failures as a question failure.
        EXPECT_TRUE(e.errorCode() == KpError::PastEnd || e.errorCode() == KpError::ReadQuestion)
            << c.name << ": " << e.errorString().toStdString();
        EXPECT_TRUE(e.errorString().contains(u"final") || e.errorString().contains(u"caben") ||
                    e.errorString().contains(u"termina"))
            << c.name << ": " << e.errorString().toStdString();
    }
}

TEST(HostileExam, NonNumbersWhereWholeNumbersAreRequiredFail) {
    const struct {
        const char* name;
        std::function<void(Parts&)> breakIt;
    } cases[] = {
        {"header text length", [](Parts& p) { p.headerText = "00000005xx"; }},
        {"blank header text length", [](Parts& p) { p.headerText = "          "; }},
        {"exam kind", [](Parts& p) { p.tipo = "uno       "; }},
        {"exam kind with trailing text", [](Parts& p) { p.tipo = "00000001ab"; }},
        {"logo length", [](Parts& p) { p.logoLength = "00000004x "; }},
        {"image length", [](Parts& p) { p.imageLength = "000000003?"; }},
    };
    for (const auto& c : cases) {
        Parts p;
        c.breakIt(p);
        ExamFiles files;
        KipsaPrubex e;
        EXPECT_FALSE(files.load(p.bytes(), e)) << c.name;
        EXPECT_TRUE(e.errorString().contains(u"no es un número"))
            << c.name << ": " << e.errorString().toStdString();
    }
}

TEST(HostileExam, FieldsReadingLeadingDigitsTakeNonNumbersAsZero) {
    // The time limit reads its leading digits: letters give 0 and the load goes on.
    Parts p;
    p.minutos = "abcdefghij";
    ExamFiles files;
    KipsaPrubex e;
    ASSERT_TRUE(files.load(p.bytes(), e)) << e.errorString().toStdString();
    EXPECT_EQ(e.MinutosLimite(), 0);
}

TEST(HostileExam, SixteenBitValuesAbove32767Fail) {
    const struct {
        const char* name;
        std::function<void(Parts&)> breakIt;
    } cases[] = {
        {"exam kind", [](Parts& p) { p.tipo = "0000032768"; }},
        {"time limit", [](Parts& p) { p.minutos = "0000040000"; }},
        {"time limit just over after rounding", [](Parts& p) { p.minutos = "32767.5000"; }},
        {"question count", [](Parts& p) { p.counts = "00000327680000000002"; }},
        {"answer count", [](Parts& p) { p.answerCount = "0000032768"; }},
        {"answer number", [](Parts& p) { p.answerNumber = "0000099999"; }},
        {"series number", [](Parts& p) { p.seriesNumber = "0000032768"; }},
        {"slot kind", [](Parts& p) { p.slotTipo = "9999999999"; }},
        {"slot position", [](Parts& p) { p.slotOrden = "0000032768"; }},
    };
    for (const auto& c : cases) {
        Parts p;
        c.breakIt(p);
        ExamFiles files;
        KipsaPrubex e;
        EXPECT_FALSE(files.load(p.bytes(), e)) << c.name;
        EXPECT_TRUE(e.errorCode() == KpError::Overflow || e.errorCode() == KpError::ReadQuestion)
            << c.name << ": " << e.errorString().toStdString();
    }
    Parts edge;
    edge.minutos = "0000032767";
    ExamFiles files;
    KipsaPrubex e;
    EXPECT_TRUE(files.load(edge.bytes(), e)) << "32767 itself fits";
}

TEST(HostileExam, ColourBeyond32BitsFails) {
    ExamBytes b;
    b.dec(300);
    for (int i = 0; i < 7; ++i)
        b.text({});
    b.dec(1).dec(0).dec(9999999999).dec(0);
    ExamFiles files;
    KipsaPrubex e;
    EXPECT_FALSE(files.load(b.bytes(), e));
    EXPECT_EQ(e.errorCode(), KpError::Overflow);
}

TEST(HostileExam, DirectoryOrDeviceInsteadOfAFileFails) {
    ExamFiles files;
    KipsaPrubex e;
    EXPECT_FALSE(e.Cargar(files.path(QString())));
    KipsaPrubex z;
    EXPECT_FALSE(z.Cargar(QStringLiteral("/dev/zero"))) << "an endless device is not read";
}
