#include "SampleExam.h"

#include "FakeClock.h"
#include "FakeRandom.h"

#include "model/KpError.h"
#include "model/Pregunta.h"

#include "QtPrint.h"
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <set>

using namespace kp;
using namespace kp::test;

namespace {

QStringList texts(const Pregunta& p) {
    QStringList out;
    for (const auto& r : *p.respuestas())
        out << r->Texto();
    return out;
}

// A draw that picks the k-th of n remaining answers.
double drawFor(int k, int n) {
    return (k - 0.5) / n;
}

} // namespace

TEST(Shuffle, FewerThanTwoAnswersAreLeftAlone) {
    for (int n : {0, 1}) {
        Pregunta p =
            makeQuestion(QStringLiteral("q"), n ? QStringList{QStringLiteral("a")} : QStringList{});
        const auto before = p.respuestas().get();
        FakeRandom random;
        p.enredaRespuestas(random);
        EXPECT_EQ(p.respuestas().get(), before);
        EXPECT_EQ(random.draws(), 0);
    }
}

TEST(Shuffle, AnswersAreRenumberedAndKeepTheirTextsAndRightFlags) {
    Pregunta p = makeQuestion(
        QStringLiteral("q"),
        {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")},
        {2, 4});
    FakeRandom random{drawFor(3, 4), drawFor(1, 3), drawFor(2, 2), drawFor(1, 1)};
    p.enredaRespuestas(random);
    EXPECT_EQ(texts(p), (QStringList{QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("d"),
                                     QStringLiteral("b")}));
    int right = 0;
    for (int i = 1; i <= 4; ++i) {
        const auto r = p.respuestas()->Item(QStringLiteral("respuesta%1").arg(i));
        EXPECT_EQ(r->Numero(), i);
        right += r->Correcta();
    }
    EXPECT_EQ(right, 2);
    EXPECT_TRUE(p.respuestas()->Item(3)->Correcta()) << "d was right and stays right";
}

TEST(Shuffle, EveryOrderComesFromExactlyOneSequenceOfDraws) {
    // One draw per remaining answer; distinct draws give distinct orders, so all 3! orders
    // are equally likely when the draws are.
    std::set<QStringList> orders;
    for (int k1 = 1; k1 <= 3; ++k1)
        for (int k2 = 1; k2 <= 2; ++k2) {
            Pregunta p =
                makeQuestion(QStringLiteral("q"),
                             {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
            FakeRandom random{drawFor(k1, 3), drawFor(k2, 2), 0.0};
            p.enredaRespuestas(random);
            EXPECT_LE(random.draws(), 3);
            orders.insert(texts(p));
        }
    EXPECT_EQ(orders.size(), 6u);
}

TEST(Shuffle, EndsWhenKeysAreNotRespuesta1ToN) {
    Pregunta p;
    for (const char* key : {"x", "respuesta7", "otra"}) {
        Respuesta r;
        r.setKey(QString::fromLatin1(key));
        r.setTexto(QString::fromLatin1(key));
        p.respuestas()->Add(r);
    }
    FakeRandom random{0.99}; // repeats its last value forever
    p.enredaRespuestas(random);
    EXPECT_EQ(p.respuestas()->Count(), 3);
    EXPECT_EQ(p.respuestas()->keyAt(3), u"respuesta3");
}

TEST(NewId, LicenceDateTimeAndThreeNonZeroDigits) {
    FakeClock clock(QDateTime(QDate(2002, 3, 5), QTime(14, 7, 9)));
    FakeRandom random{0.0, 0.5, 0.999};
    Pregunta p;
    p.setLicenciaAutor(QStringLiteral("123-567-9012"));
    EXPECT_EQ(p.getNewID(clock, random), u"12356790122514259133783925159");
    EXPECT_TRUE(p.Id().isEmpty()) << "getNewID does not set Id";
}

TEST(NewId, ShortOrBlankLicencesShortenTheIdentifier) {
    const struct {
        const char16_t* licence;
        const char16_t* expected;
    } cases[] = {
        {u"", u"2514259133783925111"},
        {u"AB", u"AB2514259133783925111"},
        {u"  1234 ", u"1342514259133783925111"},
    };
    for (const auto& c : cases) {
        FakeClock clock(QDateTime(QDate(2002, 3, 5), QTime(14, 7, 9)));
        FakeRandom random{0.0};
        Pregunta p;
        p.setLicenciaAutor(QString::fromUtf16(c.licence));
        EXPECT_EQ(p.getNewID(clock, random), QString::fromUtf16(c.expected));
    }
}

TEST(QuestionKind, FromTheNumberOfAnswers) {
    const struct {
        int answers;
        qint16 kind;
    } cases[] = {{0, 3}, {1, 2}, {2, 1}, {5, 1}};
    for (const auto& c : cases) {
        QStringList answers;
        for (int i = 0; i < c.answers; ++i)
            answers << QStringLiteral("r");
        EXPECT_EQ(makeQuestion(QStringLiteral("q"), answers).GetTipo(), c.kind) << c.answers;
    }
}

TEST(QuestionKind, EliminaRespuestasLeavesAFreshEmptyCollection) {
    Pregunta p = makeQuestion(QStringLiteral("q"), {QStringLiteral("a"), QStringLiteral("b")});
    const auto old = p.respuestas();
    p.eliminaRespuestas();
    EXPECT_EQ(p.respuestas()->Count(), 0);
    EXPECT_NE(p.respuestas().get(), old.get());
    EXPECT_EQ(old->Count(), 2) << "whoever still holds the old collection keeps it";
}

TEST(Fecha, IsTheDateOfTheQuestionsFile) {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("q.kpr")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.flush();
    ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(12, 0)),
                              QFileDevice::FileModificationTime));
    f.close();
    Pregunta p;
    p.setRuta(f.fileName());
    EXPECT_EQ(p.Fecha(), u"03/02/2001");
    p.setRuta(dir.filePath(QStringLiteral("no-existe")));
    EXPECT_THROW(p.Fecha(), KpError);
}
