#include "model/Cp1252.h"
#include "model/Fields.h"
#include "model/KipsaPrubex.h"

#include <QDate>
#include <functional>
#include <gtest/gtest.h>

using namespace kp;

namespace {

Pregunta question(const QString& id, int answers) {
    Pregunta p;
    p.setId(id);
    p.setKey(QStringLiteral("pregunta") + id.trimmed());
    for (int i = 1; i <= answers; ++i) {
        Respuesta r;
        r.setNumero(static_cast<qint16>(i));
        r.setKey(QStringLiteral("respuesta%1").arg(i));
        r.setTexto(QStringLiteral("texto %1").arg(i));
        p.respuestas()->Add(r);
    }
    return p;
}

} // namespace

TEST(Collections, ReadingANewObjectsCollectionCreatesItOnceAndKeepsIt) {
    KipsaPrubex e;
    EXPECT_EQ(e.Preguntas()->Count(), 0);
    EXPECT_EQ(e.Preguntas().get(), e.Preguntas().get());
    EXPECT_EQ(e.Series().get(), e.Series().get());
    Pregunta p;
    EXPECT_EQ(p.respuestas().get(), p.respuestas().get());
    Serie s;
    EXPECT_EQ(s.PreguntasSerie().get(), s.PreguntasSerie().get());
}

TEST(Collections, KeysIgnoreLetterCase) {
    KipsaPrubex e;
    e.Preguntas()->Add(question(QStringLiteral("abc12"), 2));
    EXPECT_EQ(e.Preguntas()->Item(QStringLiteral("PREGUNTAABC12"))->Id(), u"abc12");
    EXPECT_THROW(e.Preguntas()->Add(question(QStringLiteral("ABC12"), 0)), KpError);
    EXPECT_EQ(e.Preguntas()->Count(), 1);
}

TEST(Collections, ItemByPositionAndMissingKeyRaiseNumberedErrors) {
    respuestas rs;
    Respuesta r;
    r.setKey(QStringLiteral("respuesta1"));
    rs.Add(r);
    const struct {
        std::function<void()> call;
        int code;
    } cases[] = {
        {[&] { rs.Item(0); }, KpError::OutOfRange},
        {[&] { rs.Item(2); }, KpError::OutOfRange},
        {[&] { rs.Item(QStringLiteral("respuesta2")); }, KpError::InvalidArgument},
        {[&] { rs.Remove(QStringLiteral("nada")); }, KpError::InvalidArgument},
        {[&] { rs.Add(r); }, KpError::DuplicateKey},
    };
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "no error raised for code " << c.code;
        } catch (const KpError& e) {
            EXPECT_EQ(e.code(), c.code);
        }
    }
    EXPECT_EQ(rs.Count(), 1);
}

TEST(Collections, RemoveMovesLaterItemsUpAndReAddGoesToTheEnd) {
    Pregunta p = question(QStringLiteral("x"), 3);
    auto& rs = *p.respuestas();
    rs.Remove(QStringLiteral("RESPUESTA1"));
    EXPECT_EQ(rs.Item(1)->Numero(), 2);
    Respuesta r;
    r.setKey(QStringLiteral("respuesta1"));
    r.setNumero(1);
    rs.Add(r);
    std::vector<int> order;
    for (const auto& a : rs)
        order.push_back(a->Numero());
    EXPECT_EQ(order, (std::vector<int>{2, 3, 1}));
}

TEST(Collections, DuplicateSeriesNumberIsRefusedAndLeavesSeriesUnchanged) {
    KipsaPrubex e;
    Serie s;
    s.setNumero(1);
    s.setKey(QStringLiteral("serie1"));
    e.Series()->Add(s);
    EXPECT_THROW(e.Series()->Add(s), KpError);
    EXPECT_EQ(e.Series()->Count(), 1);
}

TEST(Collections, QuestionsAreCopiedButSeriesShareTheirSlots) {
    KipsaPrubex e;
    Pregunta q = question(QStringLiteral("q1"), 2);
    auto stored = e.Preguntas()->Add(q);
    q.respuestas()->Item(1)->setTexto(QStringLiteral("cambiado"));
    EXPECT_EQ(stored->respuestas()->Item(1)->Texto(), u"texto 1");
    EXPECT_NE(stored->respuestas().get(), q.respuestas().get());

    Serie s;
    s.setKey(QStringLiteral("serie1"));
    auto storedSerie = e.Series()->Add(s);
    s.PreguntasSerie()->Add(QStringLiteral("q1"), 1, 1, QStringLiteral("preguntaq1"));
    EXPECT_EQ(storedSerie->PreguntasSerie()->Count(), 1);
}

TEST(Collections, BlankSeriesDateReadsAsTodayAndKeepsIt) {
    Serie s;
    s.setFechaCreacion(QStringLiteral("   "));
    const QString today = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    EXPECT_EQ(s.FechaCreacion(), today);
    EXPECT_EQ(s.FechaCreacion().size(), 10);
    Series all;
    s.setKey(QStringLiteral("serie1"));
    EXPECT_EQ(all.Add(s)->FechaCreacion(), today);
}

TEST(Fields, RellenaCerosPadsToTenAndNeverCuts) {
    const struct {
        qint32 n;
        const char16_t* text;
    } cases[] = {{0, u"0000000000"},
                 {300, u"0000000300"},
                 {-5, u"00000000-5"},
                 {2147483647, u"2147483647"},
                 {-2147483647 - 1, u"-2147483648"}};
    for (const auto& c : cases)
        EXPECT_EQ(RellenaCeros(c.n), QString::fromUtf16(c.text)) << c.n;
}

TEST(Fields, DameNombreArchivoTakesThePartAfterTheLastSeparator) {
    EXPECT_EQ(DameNombreArchivo(QStringLiteral("C:\\a\\b\\logo.png")), u"logo.png");
    EXPECT_EQ(DameNombreArchivo(QStringLiteral("logo.png")), u"logo.png");
    EXPECT_EQ(DameNombreArchivo(QStringLiteral("C:\\a\\")), u"");
    EXPECT_EQ(DameNombreArchivo(QStringLiteral("/home/ana/logo.png")), u"logo.png");
    EXPECT_EQ(DameNombreArchivo(QStringLiteral("C:\\x/y\\z.gif")), u"z.gif");
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

TEST(Fields, TrimBlanksRemovesSpacesOnlyAtBothEnds) {
    EXPECT_EQ(TrimBlanks(QStringLiteral("  a b  ")), u"a b");
    EXPECT_EQ(TrimBlanks(QStringLiteral("   ")), u"");
    EXPECT_EQ(TrimBlanks(QStringLiteral("\ta\n")), u"\ta\n") << "tabs and line breaks stay";
}
