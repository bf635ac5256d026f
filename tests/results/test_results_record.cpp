#include "results/KipsaResult.h"

#include <gtest/gtest.h>

using namespace kp;

namespace {

QStringList keysOf(const KipsaResult& r) {
    QStringList out;
    for (const auto& e : *r.RespuestasKipsa())
        out << e->Key();
    return out;
}

} // namespace

TEST(ResultsRecord, MarksCollectionIsMadeOnFirstReadAndDroppedByAssigningNone) {
    KipsaResult r;
    const auto first = r.RespuestasKipsa();
    EXPECT_EQ(first->Count(), 0);
    EXPECT_EQ(r.RespuestasKipsa().get(), first.get());
    r.RespuestasKipsa()->Add(1, 2, QStringLiteral("respuesta12"));
    r.setRespuestasKipsa(nullptr);
    EXPECT_EQ(r.RespuestasKipsa()->Count(), 0);
    EXPECT_NE(r.RespuestasKipsa().get(), first.get());
}

TEST(ResultsRecord, DuplicateKeyIsRefusedAndReAddingMovesToTheEnd) {
    KipsaResult r;
    auto& marks = *r.RespuestasKipsa();
    marks.Add(2, 1, QStringLiteral("respuesta21"));
    marks.Add(2, 3, QStringLiteral("respuesta23"));
    EXPECT_THROW(marks.Add(2, 1, QStringLiteral("RESPUESTA21")), KpError);
    EXPECT_EQ(keysOf(r),
              (QStringList{QStringLiteral("respuesta21"), QStringLiteral("respuesta23")}));
    marks.Remove(QStringLiteral("respuesta21"));
    marks.Add(2, 1, QStringLiteral("respuesta21"));
    EXPECT_EQ(keysOf(r),
              (QStringList{QStringLiteral("respuesta23"), QStringLiteral("respuesta21")}));
    EXPECT_EQ(marks.Item(2)->NumRespuesta(), 1);
    EXPECT_EQ(marks.Item(QStringLiteral("respuesta23"))->NumPregunta(), 2);
}
