#include "ModelTest.h"

#include "FakeClock.h"
#include "FakeRandom.h"

#include <gtest/gtest.h>
#include <set>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

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

TEST(Shuffle, EveryOrderComesFromOneSequenceOfDrawsAndAnswersKeepTextAndFlag) {
    std::set<QStringList> orders;
    for (int k1 = 1; k1 <= 3; ++k1)
        for (int k2 = 1; k2 <= 2; ++k2) {
            Pregunta p = makeQuestion(u"q"_s, {u"a"_s, u"b"_s, u"c"_s, u"d"_s}, {3});
            p.respuestas()->Remove(u"respuesta1"_s); // keys no longer 1 to N
            FakeRandom random{drawFor(k1, 3), drawFor(k2, 2), 0.0};
            p.enredaRespuestas(random);
            orders.insert(texts(p));
            for (int i = 1; i <= 3; ++i) {
                const auto r = p.respuestas()->Item(u"respuesta%1"_s.arg(i));
                EXPECT_EQ(r->Numero(), i);
                EXPECT_EQ(r->Correcta(), r->Texto() == u"c");
            }
        }
    EXPECT_EQ(orders.size(), 6u);
}

TEST(NewId, LicenceDigitsDateTimeAndThreeNonZeroDigits) {
    FakeClock clock(QDateTime(QDate(2002, 3, 5), QTime(14, 7, 9)));
    FakeRandom random{0.0, 0.5, 0.999, 0.0};
    Pregunta p;
    p.setLicenciaAutor(u"123-567-9012"_s);
    EXPECT_EQ(p.getNewID(clock, random), u"12356790122514259133783925159"); // the example
    EXPECT_TRUE(p.Id().isEmpty()) << "getNewID does not set Id";
    p.setLicenciaAutor(u"  1234 "_s); // its 4th character is dropped, then outer blanks
    EXPECT_EQ(p.getNewID(clock, random), u"1342514259133783925111");
}
