#include "TestExams.h"
#include "results/ResultsReader.h"

#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

namespace {

// "1:2 3:4": question and answer of each mark, in collection order.
std::string marksOf(const KipsaResult& r) {
    QStringList out;
    for (const auto& e : *r.RespuestasKipsa())
        out << u"%1:%2"_s.arg(e->NumPregunta()).arg(e->NumRespuesta());
    return out.join(u' ').toStdString();
}

QByteArray header(const QByteArray& count) {
    // Version 300, exam "EX", series 3, ten empty texts, then the question count.
    return QByteArray("00000003000000000002EX0000000003") + QByteArray(100, '0') + count;
}

QByteArray record(const QByteArray& answers, const QByteArray& position = "0000000001") {
    return "0000000001" + position + QByteArray::number(answers.size()).rightJustified(10, '0') +
           answers;
}

} // namespace

TEST(ResultsReader, ReadsBackWhatGuardarWritesAndNoTruncationOfIt) {
    KipsaPrubex exam;
    exam.setDatoAlumno(3, u"DNI"_s);
    KipsaResult written;
    written.setIdExamen(u"EX-9"_s);
    written.setSerie(-4);
    written.setDatoAlumno(3, u"12345678Z €"_s);
    mark(written, 3, {4, 1});
    mark(written, 1, {2});

    const QByteArray bytes = written.Contenido(exam, 3);
    ResultsReader reader;
    for (qsizetype n = 0; n < bytes.size(); ++n)
        EXPECT_FALSE(reader.read(bytes.left(n))) << "cut at " << n;
    ASSERT_TRUE(reader.read(bytes + "bytes after the last record are ignored"))
        << reader.errorString().toStdString();
    const KipsaResult& read = reader.result();
    EXPECT_EQ(read.IdExamen(), u"EX-9");
    EXPECT_EQ(read.Serie(), -4);
    EXPECT_EQ(read.DatoAlumno(3), u"12345678Z €"_s);
    EXPECT_EQ(reader.label(3), u"DNI");
    EXPECT_EQ(reader.questionCount(), 3);
    // Rebuilt in file order: question by question, each in the order it was marked.
    EXPECT_EQ(marksOf(read), "1:2 3:4 3:1");
}

TEST(ResultsReader, DamagedFieldsAreRefusedWithAReasonAndAnswerTextsBecomeMarks) {
    const QByteArray one = header("0000000001");
    const struct {
        const char* fault;
        QByteArray bytes;
        const char16_t* reason; // nullptr: read, giving `marks`
        const char* marks = "";
    } cases[] = {
        {"unknown version", "0000000299" + header("0000000000").mid(10), u"versión"},
        {"text longer than the file", "00000003009999999999EX", u"pasa del final"},
        {"more records than bytes", header("0000032767"), u"no caben"},
        {"negative count", header("00000000-1"), u"negativo"},
        {"plus sign", header("+000000001"), u"no es un número"},
        {"blank inside a number", header("000000001 "), u"no es un número"},
        {"count beyond 16 bits", header("0000040000"), u"fuera de rango"},
        {"position outside 1..N", one + record("1;", "0000000002"), u"fuera de 1..1"},
        {"answer that is not a number", one + record("1;x;"), u"ilegibles"},
        {"empty answer between separators", one + record("1;;2;"), u"ilegibles"},
        {"0; is a blank question", one + record("0;"), nullptr},
        {"an empty text is a blank question", one + record(""), nullptr},
        {"order of marking kept", one + record("4;2;"), nullptr, "1:4 1:2"},
        {"last separator optional", one + record("3"), nullptr, "1:3"},
        {"a repeated answer counts once", one + record("2;2;"), nullptr, "1:2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        ResultsReader reader;
        EXPECT_EQ(reader.read(c.bytes), !c.reason) << reader.errorString().toStdString();
        if (c.reason)
            EXPECT_TRUE(reader.errorString().contains(QString::fromUtf16(c.reason)))
                << reader.errorString().toStdString();
        else
            EXPECT_EQ(marksOf(reader.result()), c.marks);
    }
}
