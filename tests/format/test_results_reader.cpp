#include "ExamBytes.h"
#include "TestExamBuilder.h"
#include "format/ResultsReader.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

QByteArray header(const QByteArray& count) {
    // Version 300, exam "EX", series 3, ten empty texts, then the question count.
    return QByteArray("00000003000000000002EX0000000003") + QByteArray(100, '0') + count;
}

QByteArray record(const QByteArray& answers, const QByteArray& position = "0000000001") {
    return "0000000001" + position + QByteArray::number(answers.size()).rightJustified(10, '0') +
           answers;
}

} // namespace

TEST(ResultsReader, DamagedFieldsAreRefusedWithAReason) {
    const QByteArray one = header("0000000001");
    const struct {
        const char* fault;
        QByteArray bytes;
        const char16_t* reason;
    } cases[] = {
        {"unknown version", "0000000299" + header("0000000000").mid(10), u"versión"},
        {"text longer than the file", "00000003009999999999EX", u"pasa del final"},
        {"more records than bytes", header("0000032767"), u"no caben"},
        {"plus sign", header("+000000001"), u"no es un número"},
        {"count beyond 16 bits", header("0000040000"), u"fuera de rango"},
        {"position outside 1..N", one + record("1;", "0000000002"), u"fuera de 1..1"},
        {"answer that is not a number", one + record("1;x;"),
         u"respuestas ilegibles en la pregunta 1: \"1;x;\""},
    };
    for (const auto& c : cases) {
        ResultsReader reader;
        EXPECT_FALSE(reader.read(c.bytes)) << c.fault;
        EXPECT_TRUE(reader.errorString().contains(QString::fromUtf16(c.reason)))
            << c.fault << ": " << reader.errorString().toStdString();
    }
}

// Question 1 answer 12 and question 11 answer 2 both spell "respuesta112"; a repeated answer
// counts once. A failed read leaves no count behind.
TEST(ResultsReader, RepeatedMarksCountOnceAndMarksWithTheSameKeyTextAreBothKept) {
    ResultsReader reader;
    QByteArray bytes =
        header("0000000011") + record("12;12;-3;") + record("2;", "0000000011") + record("12;");
    for (int i = 0; i < 8; ++i)
        bytes += record("0;", "0000000002");
    ASSERT_TRUE(reader.read(bytes)) << reader.errorString().toStdString();
    EXPECT_EQ(reader.questionCount(), 11);
    std::vector<std::tuple<qint16, qint16, QString>> marks;
    for (const auto& m : *reader.result().RespuestasKipsa())
        marks.emplace_back(m->NumPregunta(), m->NumRespuesta(), m->Key());
    EXPECT_EQ(marks,
              (std::vector<std::tuple<qint16, qint16, QString>>{{1, 12, u"respuesta112"_s},
                                                                {1, -3, u"respuesta1-3"_s},
                                                                {11, 2, u"respuesta112_2"_s}}));

    EXPECT_FALSE(reader.read(header("0000000001")));
    EXPECT_EQ(reader.questionCount(), 0);
}

TEST(ResultsReader, MarksReadTheSameForTheRecordAndForGrading) {
    // An answer number is what QString::toInt reads (blanks around it, a sign, leading zeros);
    // each answer of a question counts once; 0 stands for a blank question.
    const struct {
        const char* name;
        QByteArray answers;
        std::vector<qint16> marks;
        bool ok;
    } cases[] = {
        {"two marks", "2;4;", {2, 4}, true},
        {"blank", "0;", {}, true},
        {"empty text", "", {}, true},
        {"no closing semicolon", "3", {3}, true},
        {"an answer twice counts once", "4;2;4;", {4, 2}, true},
        {"blanks around", " 3 ;\t5;", {3, 5}, true},
        {"signs and zeros", "+3;-2;007;-0;", {3, -2, 7}, true},
        {"more digits than fit a field", "00000000000000000000005;", {5}, true},
        {"16-bit edges", "32767;-32768;", {32767, -32768}, true},
        {"beyond 16 bits", "32768;", {}, false},
        {"beyond 32 bits", "4294967298;", {}, false},
        {"nothing between two", "1;;2;", {}, false},
        {"only a semicolon", ";", {}, false},
        {"no-break space",
         "\xa0"
         "3;",
         {},
         false},
        {"exponent", "1e1;", {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExamFiles files;
        const QByteArray bytes = header("0000000001") + record(c.answers);
        ResultsReader whole, grading;
        ASSERT_EQ(whole.read(bytes), c.ok) << whole.errorString().toStdString();
        ASSERT_EQ(grading.readFileForGrading(files.write(u"r.kxa"_s, bytes)), c.ok);
        EXPECT_EQ(grading.errorString(), whole.errorString());
        if (!c.ok)
            continue;
        std::vector<qint16> recorded;
        for (const auto& entry : *whole.result().RespuestasKipsa())
            recorded.push_back(entry->NumRespuesta());
        EXPECT_EQ(recorded, c.marks);
        const auto byPosition = grading.marks().at(1);
        EXPECT_EQ(std::vector<qint16>(byPosition.begin(), byPosition.end()), c.marks);
        EXPECT_TRUE(grading.result().RespuestasKipsa()->isEmpty());
        EXPECT_EQ(grading.result().IdExamen(), u"EX");
    }
}
