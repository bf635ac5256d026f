#include "ExamBytes.h"
#include "TestExamBuilder.h"

#include "FakeClock.h"
#include "FakeRandom.h"

#include <gtest/gtest.h>
#include <set>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

TEST(Shuffle, EveryOrderComesFromOneSequenceOfDrawsAndAnswersKeepTextAndFlag) {
    std::set<QStringList> orders;
    for (int k1 = 1; k1 <= 3; ++k1)
        for (int k2 = 1; k2 <= 2; ++k2) {
            Pregunta p = TestExamBuilder::question(u"q"_s, {u"a"_s, u"b"_s, u"c"_s, u"d"_s}, {3});
            p.respuestas()->Remove(u"respuesta1"_s);                // keys no longer 1 to N
            FakeRandom random{(k1 - 0.5) / 3, (k2 - 0.5) / 2, 0.0}; // the k-th of those left
            p.enredaRespuestas(random);
            QStringList order;
            for (const auto& r : *p.respuestas()) {
                order << r->Texto();
                EXPECT_EQ(r->Key(), u"respuesta%1"_s.arg(order.size()));
                EXPECT_EQ(r->Numero(), order.size());
                EXPECT_EQ(r->Correcta(), r->Texto() == u"c");
            }
            orders.insert(order);
        }
    EXPECT_EQ(orders.size(), 6u);
}

TEST(NewId, LicenceDigitsDateTimeAndThreeNonZeroDigits) {
    FakeClock clock(QDateTime(QDate(2002, 3, 5), QTime(14, 7, 9)));
    FakeRandom random{0.0, 0.5, 0.999, 0.0};
    Pregunta p;
    p.setLicenciaAutor(u"123-567-9012"_s);
    EXPECT_EQ(p.getNewID(clock, random), u"12356790122514259133783925159"); // the example
    p.setLicenciaAutor(u"  1234 "_s); // its 4th character is dropped, then outer blanks
    EXPECT_EQ(p.getNewID(clock, random), u"1342514259133783925111");
}
