#include "ExamBytes.h"
#include "TestExamBuilder.h"

#include <QDate>
#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

TEST(Collections, KeysIgnoreLetterCaseFaultsRaiseNumberedErrorsAndOnlySeriesShareSlots) {
    KipsaPrubex e;
    auto& preguntas = *e.Preguntas();
    Pregunta q = TestExamBuilder::question(u"abc12"_s, {u"texto 1"_s});
    const auto stored = preguntas.Add(q);
    q.respuestas()->Item(1)->setTexto(u"cambiado"_s);
    EXPECT_EQ(stored->respuestas()->Item(1)->Texto(), u"texto 1") << "Add stores a copy";
    EXPECT_EQ(preguntas.Item(u"PREGUNTAABC12"_s)->Id(), u"abc12");
    EXPECT_EQ(codeOf([&] { preguntas.Item(0); }), KpError::OutOfRange);
    EXPECT_EQ(codeOf([&] { preguntas.Item(u"preguntax"_s); }), KpError::InvalidArgument);
    EXPECT_EQ(codeOf([&] { preguntas.Add(TestExamBuilder::question(u"ABC12"_s, {})); }),
              KpError::DuplicateKey);

    Serie s;
    s.setKey(u"serie1"_s);
    s.setFechaCreacion(u"   "_s);
    const auto storedSerie = e.Series()->Add(s);
    EXPECT_EQ(storedSerie->FechaCreacion(), QDate::currentDate().toString(u"dd/MM/yyyy"_s))
        << "a blank date reads as today";
    EXPECT_EQ(codeOf([&] { e.Series()->Add(s); }), KpError::DuplicateKey);
    s.PreguntasSerie()->Add(u"q1"_s, 1, 1, u"preguntaq1"_s);
    EXPECT_EQ(storedSerie->PreguntasSerie()->Count(), 1) << "a series shares its slots";
}

TEST(Collections, KeysAreFoundWhateverTheLengthOfTheListAndAfterRemovals) {
    // Short lists look their keys up one by one, longer ones (or those given room) by hash.
    for (const int n : {3, 8, 9, 40})
        for (const bool room : {false, true}) {
            SCOPED_TRACE(testing::Message() << n << (room ? " with room" : ""));
            respuestas list;
            if (room)
                list.reserve(n);
            const auto add = [&list](int numero, const QString& key) {
                Respuesta r;
                r.setNumero(static_cast<qint16>(numero));
                r.setKey(key);
                list.Add(r);
            };
            for (int i = 1; i <= n; ++i)
                add(i, u"Respuesta%1"_s.arg(i));
            EXPECT_EQ(list.Item(u"RESPUESTA%1"_s.arg(n))->Numero(), n);
            EXPECT_EQ(codeOf([&] { add(0, u"respuesta1"_s); }), KpError::DuplicateKey);
            list.Remove(u"respuesta1"_s);
            EXPECT_FALSE(list.contains(u"Respuesta1"_s));
            add(99, u"respuesta1"_s);
            EXPECT_EQ(list.Count(), n);
            EXPECT_EQ(list.keyAt(n), u"respuesta1");
            EXPECT_EQ(list.find(u"rEspuesta1"_s)->Numero(), 99);
            EXPECT_EQ(list.find(u"respuesta2"_s)->Numero(), 2);
            EXPECT_EQ(list.find(u"respuesta0"_s), nullptr);
        }
}
