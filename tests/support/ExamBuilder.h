#pragma once

#include "model/KipsaPrubex.h"
#include "startup/ExamState.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace kp::test {

// Builds exams in memory, so window and grading tests need no exam file.
//
//   auto exam = ExamBuilder()
//                   .pregunta("A", "¿Capital?", {{"Roma", false}, {"París", true}})
//                   .pregunta("B", "¿Dos y dos?", {{"4", true}, {"5", false}})
//                   .serie(1, {"A", "B"}).build();
class ExamBuilder {
public:
    struct Answer {
        QString texto;
        bool correcta = false;
        qint16 numero = 0; // 0: its place in the list (1, 2, ...)
    };

    ExamBuilder();

    // A true/false exam (kind 2, and SoloUnaRespuesta on, as the loader sets it); multiple
    // choice ("Test", 1) is the default.
    ExamBuilder& verdaderoFalso();

    // A question with its answers, stored under "pregunta" + id.
    ExamBuilder& pregunta(const QString& id, const QString& texto,
                          const std::vector<Answer>& answers, const QString& imagen = {},
                          const QByteArray& imagenBinary = {});
    // A series numbered numero whose slots hold the given questions in order (Orden 1, 2, ...).
    ExamBuilder& serie(qint16 numero, const QStringList& ids);

    // Any other setting: the exam under construction.
    KipsaPrubex& exam() { return *exam_; }
    std::shared_ptr<KipsaPrubex> build() const { return exam_; }

    // n multiple-choice questions "P1".."Pn" with k answers each (answer 1 right) and one series
    // holding them in order.
    static ExamBuilder simple(int n, int k);

    // What opening the exam does to the run's state: new results record, identifier copied,
    // questions counted from the first series.
    static void install(ExamState& state, std::shared_ptr<KipsaPrubex> exam);

private:
    std::shared_ptr<KipsaPrubex> exam_;
};

} // namespace kp::test
