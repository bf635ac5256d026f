#include "TestExamBuilder.h"
#include "format/ResultsFileSize.h"

#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace Qt::StringLiterals;

// The bound is the size of the largest file a run can write: every value at the longest a
// data box takes and every answer of every question marked. Answer counts cross the number
// of digits an answer takes.
TEST(MaxResultsFileSize, IsTheSizeOfTheLargestFileARunCanWrite) {
    const struct {
        const char* name;
        int questions;
        int answers;
    } rows[] = {
        {"two answers, as true/false", 3, 2},
        {"three answers", 4, 3},
        {"nine answers", 2, 9},
        {"ten answers", 3, 10},
        {"eleven answers", 1, 11},
        {"a hundred answers", 2, 100},
        {"no questions", 0, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto exam = TestExamBuilder::simple(row.questions, row.answers).build();
        exam->setIdExamen(u"  ID-1 "_s);
        exam->setDatoAlumno(1, u"Nombre"_s);
        exam->setDatoAlumno(4, u" Grupo"_s);
        KipsaResult r;
        r.setIdExamen(exam->IdExamen());
        for (int i = 1; i <= 5; ++i)
            r.setDatoAlumno(i, QString(int(kMaxDatoAlumnoLength), u'x'));
        for (int q = 1; q <= row.questions; ++q)
            for (int a = row.answers; a >= 1; --a)
                r.RespuestasKipsa()->Marcar(static_cast<qint16>(q), static_cast<qint16>(a));
        const auto questions = static_cast<qint16>(row.questions);
        EXPECT_EQ(maxResultsFileSize(*exam, questions), r.Contenido(*exam, questions).size());
    }
}
