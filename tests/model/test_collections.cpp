#include "ModelTest.h"

#include "model/Cp1252.h"
#include "model/Fields.h"

#include <QDate>
#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;

TEST(Collections, KeysIgnoreLetterCaseFaultsRaiseNumberedErrorsAndOnlySeriesShareSlots) {
    KipsaPrubex e;
    auto& preguntas = *e.Preguntas();
    Pregunta q = makeQuestion(QStringLiteral("abc12"), {QStringLiteral("texto 1")});
    const auto stored = preguntas.Add(q);
    q.respuestas()->Item(1)->setTexto(QStringLiteral("cambiado"));
    EXPECT_EQ(stored->respuestas()->Item(1)->Texto(), u"texto 1") << "Add stores a copy";
    EXPECT_EQ(preguntas.Item(QStringLiteral("PREGUNTAABC12"))->Id(), u"abc12");
    EXPECT_EQ(codeOf([&] { preguntas.Item(0); }), KpError::OutOfRange);
    EXPECT_EQ(codeOf([&] { preguntas.Item(2); }), KpError::OutOfRange);
    EXPECT_EQ(codeOf([&] { preguntas.Item(QStringLiteral("preguntax")); }),
              KpError::InvalidArgument);
    EXPECT_EQ(codeOf([&] { preguntas.Remove(QStringLiteral("x")); }), KpError::InvalidArgument);
    EXPECT_EQ(codeOf([&] { preguntas.Add(makeQuestion(QStringLiteral("ABC12"), {})); }),
              KpError::DuplicateKey);
    EXPECT_EQ(preguntas.Count(), 1);

    Serie s;
    s.setKey(QStringLiteral("serie1"));
    s.setFechaCreacion(QStringLiteral("   "));
    const auto storedSerie = e.Series()->Add(s);
    EXPECT_EQ(storedSerie->FechaCreacion(),
              QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")))
        << "a blank date reads as today";
    EXPECT_EQ(codeOf([&] { e.Series()->Add(s); }), KpError::DuplicateKey);
    EXPECT_EQ(e.Series()->Count(), 1);
    s.PreguntasSerie()->Add(QStringLiteral("q1"), 1, 1, QStringLiteral("preguntaq1"));
    EXPECT_EQ(storedSerie->PreguntasSerie()->Count(), 1) << "a series shares its slots";
}

TEST(Fields, RellenaCerosPadsToTenAndNeverCuts) {
    const struct {
        qint32 n;
        const char16_t* text;
    } cases[] = {{300, u"0000000300"},
                 {-5, u"00000000-5"},
                 {2147483647, u"2147483647"},
                 {-2147483647 - 1, u"-2147483648"}};
    for (const auto& c : cases)
        EXPECT_EQ(RellenaCeros(c.n), QString::fromUtf16(c.text)) << c.n;
}

TEST(Cp1252, EveryByteRoundTripsAndUnmappableCharactersBecomeQuestionMarks) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(Cp1252::encode(Cp1252::decode(all)), all);
    EXPECT_EQ(Cp1252::decode(QByteArray("\x80\xe1\x9d")), QString::fromUtf16(u"€á\u009d"));
    EXPECT_EQ(Cp1252::encode(QString::fromUtf16(u"año 漢")), QByteArray("a\xf1o ?"));
    EXPECT_FALSE(Cp1252::canEncode(QString::fromUtf16(u"漢")));
    EXPECT_TRUE(Cp1252::canEncode(QString::fromUtf16(u"€ñÁ")));
}
