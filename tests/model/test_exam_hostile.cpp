// Files no writer of ours would produce: each must fail cleanly, without a crash and without
// allocating what a length field claims.
#include "ModelTest.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

// The parts of a small valid exam: a logo, one question with two answers and an image, another
// without, and two series. Each hostile case swaps one part for a broken one.
struct Parts {
    QByteArray headerText = ExamBytes().dec(5).raw("EX-01").bytes();
    QByteArray tipo = "0000000001";
    QByteArray colour = "0000000000";
    QByteArray minutos = "0000000030";
    QByteArray counts = ExamBytes().dec(2).dec(2).bytes();
    QByteArray questionText = ExamBytes().text("Capital?").bytes();
    QByteArray answerCount = "0000000002";
    QByteArray answerNumber = "0000000001";
    QByteArray imageLength = "0000000003";
    QByteArray slotCount = "0000000002";

    QByteArray bytes() const {
        ExamBytes b;
        b.dec(300).raw(headerText);
        for (int i = 0; i < 6; ++i)
            b.text("t");
        b.raw(tipo).dec(1).raw(colour).dec(0).raw(minutos);
        for (int i = 0; i < 5; ++i)
            b.dec(1);
        b.text("c:\\r").dec(10000).dec(0).dec(2).dec(0).dec(0).text("l.png");
        b.dec(4).raw("LOGO").raw(counts);
        b.dec(300).text("autor").text("lic").text("q1").raw(questionText).raw(answerCount);
        b.raw(answerNumber).dec(1).text("Madrid").dec(2).dec(0).text("Roma");
        b.dec(1).text("f.png").raw(imageLength).raw("IMG");
        b.dec(300).text({}).text({}).text("q2").text("sin respuestas").dec(0).dec(0);
        b.raw(slotCount).dec(1).text("q1").dec(1).dec(1);
        b.text("q2").dec(3).dec(2);
        b.dec(1).dec(2).text("q2").dec(3).dec(1);
        return b.bytes();
    }
};

} // namespace

TEST(HostileExam, EveryTruncationOrNonFileFailsWithoutCrashing) {
    const QByteArray whole = Parts().bytes();
    ExamFiles files;
    KipsaPrubex full;
    ASSERT_TRUE(files.load(whole, full)) << full.errorString().toStdString();
    EXPECT_EQ(full.Series()->Count(), 2);
    for (qsizetype n = 0; n < whole.size(); ++n) {
        KipsaPrubex e;
        ASSERT_FALSE(files.load(whole.left(n), e)) << "cut at " << n;
        ASSERT_FALSE(e.errorString().isEmpty()) << "cut at " << n;
    }
    for (const QString& path :
         {u"/nonexistent/examen.kxt"_s, files.path(QString()), u"/dev/zero"_s})
        EXPECT_FALSE(full.Cargar(path)) << "neither a missing file, a folder nor an endless device";
}

TEST(HostileExam, BrokenFieldsFailWithTheirOwnReason) {
    // The reason shows the bounds check itself failed, not an allocation caught later.
    const QString pastEnd = u"final|caben|termina"_s;
    const QString notNumber = u"no es un número"_s;
    const QString tooBig = u"fuera de rango"_s;
    const struct {
        const char* name;
        QByteArray Parts::*field;
        QByteArray value;
        QString says;
    } cases[] = {
        {"header text length", &Parts::headerText, "9999999999", pastEnd},
        {"image length one past the end", &Parts::imageLength, "0000000999", pastEnd},
        {"question count", &Parts::counts, "00000327670000000002", pastEnd},
        {"answer count", &Parts::answerCount, "0000032767", pastEnd},
        {"slot count", &Parts::slotCount, "0000032767", pastEnd},
        {"text length with letters", &Parts::headerText, "00000005xx", notNumber},
        {"exam kind", &Parts::tipo, "uno       ", notNumber},
        {"exam kind over 16 bits", &Parts::tipo, "0000032768", tooBig},
        {"time limit just over after rounding", &Parts::minutos, "32767.5000", tooBig},
        {"question count", &Parts::counts, "00000327680000000002", tooBig},
        {"answer number", &Parts::answerNumber, "0000099999", tooBig},
        {"colour over 32 bits", &Parts::colour, "9999999999", tooBig},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " = " << c.value.constData());
        Parts p;
        p.*c.field = c.value;
        ExamFiles files;
        KipsaPrubex e;
        EXPECT_FALSE(files.load(p.bytes(), e));
        EXPECT_TRUE(e.errorString().contains(QRegularExpression(c.says)))
            << e.errorString().toStdString();
    }
}
