#include "ExamBytes.h"
#include "Rows.h"
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

const QByteArray kOne = header("0000000001");

struct ReaderRow {
    const char* name;
    QByteArray bytes;
    const char16_t* reason; // null: the file reads, with these marks of question 1
    std::vector<int> marks = {};
};

const ReaderRow kReaderRows[] = {
    {"UnknownVersion", "0000000299" + header("0000000000").mid(10), u"versión"},
    {"TextLongerThanTheFile", "00000003009999999999EX", u"pasa del final"},
    {"MoreRecordsThanBytes", header("0000032767"), u"no caben"},
    {"PlusSign", header("+000000001"), u"no es un número"},
    {"BlankForAZero", header(" 000000001"), u"no es un número"},
    {"LettersAfterTheNumber", header("000000001x"), u"no es un número"},
    {"NegativeCount", header("00000000-1"), u"negativo"},
    {"CountBeyond16Bits", header("0000040000"), u"fuera de rango"},
    {"QuestionZero", kOne + record("1;", "0000000000"), u"fuera de 1..1"},
    {"QuestionPastTheCount", kOne + record("1;", "0000000002"), u"fuera de 1..1"},
    {"AnswerThatIsNotANumber", kOne + record("1;x;"), u"ilegibles"},
    {"EmptyAnswer", kOne + record("1;;2;"), u"ilegibles"},
    {"AnswerBeyond16Bits", kOne + record("40000;"), u"ilegibles"},
    {"RepeatedAnswer", kOne + record("1;1;"), u"repetida"},
    {"NoQuestions", header("0000000000"), nullptr, {}},
    {"BlankQuestion", kOne + record("0;"), nullptr, {}},
    {"LargestAnswer", kOne + record("32767;"), nullptr, {32767}},
    {"MarksInFileOrder", kOne + record("4;2;"), nullptr, {4, 2}},
    {"LastSemicolonMayBeMissing", kOne + record("3"), nullptr, {3}},
};

class Reader : public testing::TestWithParam<ReaderRow> {};

TEST_P(Reader, RefusesADamagedFileWithAReasonOrReadsItsMarks) {
    const ReaderRow& r = GetParam();
    ResultsReader reader;
    ASSERT_EQ(reader.read(r.bytes), r.reason == nullptr) << reader.errorString().toStdString();
    if (r.reason) {
        EXPECT_TRUE(reader.errorString().contains(QString::fromUtf16(r.reason)))
            << reader.errorString().toStdString();
        return;
    }
    EXPECT_EQ(reader.result().IdExamen(), u"EX");
    EXPECT_EQ(reader.result().Serie(), 3);
    std::vector<int> marks;
    for (const auto& entry : *reader.result().RespuestasKipsa())
        if (entry->NumPregunta() == 1)
            marks.push_back(entry->NumRespuesta());
    EXPECT_EQ(marks, r.marks);
}
INSTANTIATE_TEST_SUITE_P(ResultsReader, Reader, testing::ValuesIn(kReaderRows), RowName());

// An answer number is what QString::toInt reads (blanks around it, a sign, leading zeros); 0
// stands for a blank question. Grading's own read accepts and refuses the same texts.
struct MarksRow {
    const char* name;
    QByteArray answers;
    std::vector<qint16> marks;
    bool ok = true;
};

const MarksRow kMarksRows[] = {
    {"TwoMarks", "2;4;", {2, 4}},
    {"Blank", "0;", {}},
    {"EmptyText", "", {}},
    {"NoClosingSemicolon", "3", {3}},
    {"AnAnswerTwice", "4;2;4;", {}, false},
    {"BlanksAround", " 3 ;\t5;", {3, 5}},
    {"SignsAndZeros", "+3;-2;007;-0;", {3, -2, 7}},
    {"MoreDigitsThanFitAField", "00000000000000000000005;", {5}},
    {"Edges16Bits", "32767;-32768;", {32767, -32768}},
    {"Beyond16Bits", "32768;", {}, false},
    {"Beyond32Bits", "4294967298;", {}, false},
    {"NothingBetweenTwo", "1;;2;", {}, false},
    {"OnlyASemicolon", ";", {}, false},
    {"NoBreakSpace", QByteArray(1, '\xa0') + "3;", {}, false},
    {"Exponent", "1e1;", {}, false},
};

class Marks : public testing::TestWithParam<MarksRow> {};

TEST_P(Marks, ReadTheSameForTheRecordAndForGrading) {
    const MarksRow& r = GetParam();
    ExamFiles files;
    const QByteArray bytes = header("0000000001") + record(r.answers);
    ResultsReader whole, grading;
    ASSERT_EQ(whole.read(bytes), r.ok) << whole.errorString().toStdString();
    ASSERT_EQ(
        grading.readForGrading(ResultsReader::fetchForGrading(files.write(u"r.kxa"_s, bytes))),
        r.ok);
    EXPECT_EQ(grading.errorString(), whole.errorString());
    if (!r.ok)
        return;
    std::vector<qint16> recorded;
    for (const auto& entry : *whole.result().RespuestasKipsa())
        recorded.push_back(entry->NumRespuesta());
    EXPECT_EQ(recorded, r.marks);
    const auto byPosition = grading.marks().at(1);
    EXPECT_EQ(std::vector<qint16>(byPosition.begin(), byPosition.end()), r.marks);
    EXPECT_TRUE(grading.result().RespuestasKipsa()->isEmpty());
    EXPECT_EQ(grading.result().IdExamen(), u"EX");
}
INSTANTIATE_TEST_SUITE_P(ResultsReader, Marks, testing::ValuesIn(kMarksRows), RowName());

} // namespace

// Question 1 answer 12 and question 11 answer 2 both spell "respuesta112"; they are
// both kept. A failed read leaves no count behind.
TEST(ResultsReader, MarksWithTheSameKeyTextAreBothKept) {
    ResultsReader reader;
    QByteArray bytes = header("0000000011") + record("12;-3;") + record("2;", "0000000011");
    for (int i = 2; i <= 10; ++i)
        bytes += record("0;", QByteArray::number(i).rightJustified(10, '0'));
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
