#include "ExamBytes.h"

#include "format/Cp1252.h"
#include "format/FieldWriter.h"

#include <gtest/gtest.h>

using namespace kp;
using namespace Qt::StringLiterals;

TEST(Fields, RellenaCerosPadsToTenAndNeverCuts) {
    EXPECT_EQ(RellenaCeros(300), u"0000000300");
    EXPECT_EQ(RellenaCeros(-5), u"00000000-5");
    EXPECT_EQ(RellenaCeros(-2147483647 - 1), u"-2147483648");
}

TEST(Cp1252, EveryByteRoundTripsAndUnmappableCharactersBecomeQuestionMarks) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(Cp1252::encode(Cp1252::decode(all)), all);
    EXPECT_EQ(Cp1252::encode(u"año 漢"_s), QByteArray("a\xf1o ?"));
    EXPECT_TRUE(Cp1252::canEncode(u"€ñÁ"_s));
}
