#pragma once

#include "model/KipsaPrubex.h"
#include "model/KipsaResult.h"
#include "results/ExamState.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <memory>
#include <vector>

namespace kp::test {

// Builds exams in memory, so tests of grading, windows and writing need no exam file.
//
//   auto exam = TestExamBuilder()
//                   .pregunta("A", "¿Capital?", {{"Roma", false}, {"París", true}})
//                   .pregunta("B", 4, {1, 3})   // four answers, 1 and 3 right
//                   .serie(1, {"A", "B"}).build();
class TestExamBuilder {
public:
    struct Answer {
        QString texto;
        bool correcta = false;
        qint16 numero = 0; // 0: its place in the list (1, 2, ...)
    };

    TestExamBuilder();
    // Adds to an exam the test already holds (not owned, settings left as they are).
    static TestExamBuilder on(KipsaPrubex& exam);

    // A true/false exam (kind 2, and SoloUnaRespuesta on, as the loader sets it); multiple
    // choice ("Test", 1) is the default.
    TestExamBuilder& verdaderoFalso();

    // A question with its answers, stored under "pregunta" + id.
    TestExamBuilder& pregunta(const QString& id, const QString& texto,
                              const std::vector<Answer>& answers, const QString& imagen = {},
                              const QByteArray& imagenBinary = {});
    // A question with answers numbered 1..count, those listed in right marked right.
    TestExamBuilder& pregunta(const QString& id, int count, const QList<int>& right);
    // A series numbered numero whose slots hold the given questions in order (Orden 1, 2, ...),
    // each slot of its question's kind (1 when the exam has no such question).
    TestExamBuilder& serie(qint16 numero, const QStringList& ids);

    // Any other setting: the exam under construction.
    KipsaPrubex& exam() { return *exam_; }
    std::shared_ptr<KipsaPrubex> build() const { return exam_; }

    // n multiple-choice questions "P1".."Pn" with k answers each (answer 1 right) and one series
    // holding them in order.
    static TestExamBuilder simple(int n, int k);

    // A question on its own: answers with the given texts, numbered 1.., those listed in right
    // marked right.
    static Pregunta question(const QString& id, const QStringList& answers,
                             const QList<int>& right = {});

    // What opening the exam does to the run's state (an exam without series counts 0).
    static void install(ExamState& state, std::shared_ptr<KipsaPrubex> exam);

    // Records the marks of question `position` in the given order, as marking does.
    static void mark(KipsaResult& result, qint16 position, std::initializer_list<int> answers);

private:
    explicit TestExamBuilder(std::shared_ptr<KipsaPrubex> exam) : exam_(std::move(exam)) {}

    std::shared_ptr<KipsaPrubex> exam_;
};

} // namespace kp::test
