#include "tools/ExamItems.h"

#include "model/Fields.h"
#include "model/KipsaPrubex.h"
#include "tools/PlainText.h"

#include <algorithm>

namespace kp::tools {

namespace {

ExamItems::Item makeItem(const Pregunta& question, bool verdaderoFalso) {
    ExamItems::Item item;
    item.id = TrimBlanks(question.Id());
    item.texto = shortText(question.TextoPregunta(), ExamItems::kQuestionChars);
    const auto& answers = *question.respuestas();
    if (verdaderoFalso) {
        // The statement is true when the first answer is right; without answers it is false.
        const bool statementTrue = answers.Count() > 0 && answers.Item(1)->Correcta();
        item.options = {{1, QStringLiteral("Verdadero"), statementTrue},
                        {2, QStringLiteral("Falso"), !statementTrue}};
        item.hasRight = true;
        return item;
    }
    for (const auto& answer : answers) {
        item.options.push_back({answer->Numero(),
                                shortText(answer->Texto(), ExamItems::kAnswerChars),
                                answer->Correcta()});
        item.hasRight = item.hasRight || answer->Correcta();
    }
    std::stable_sort(item.options.begin(), item.options.end(),
                     [](const auto& a, const auto& b) { return a.numero < b.numero; });
    return item;
}

} // namespace

ExamItems::ExamItems(const KipsaPrubex& exam, qint16 totalPreguntas)
    : total_(totalPreguntas), verdaderoFalso_(exam.TipoExamen() != 1) {
    QHash<QString, int> byKey;
    const auto& series = *exam.Series();
    for (long s = 1; s <= series.Count() && s <= 32767; ++s) {
        // The question at each position is named by the last slot with that Orden, as
        // correction finds it.
        QHash<qint16, QString> ids;
        for (const auto& slot : *series.Item(s)->PreguntasSerie())
            if (slot->Orden() >= 1 && slot->Orden() <= totalPreguntas)
                ids.insert(slot->Orden(), slot->IdPreguntaExamen());
        QList<qint16> positions = ids.keys();
        std::sort(positions.begin(), positions.end());
        for (const qint16 position : positions) {
            const QString questionKey = ClavePregunta(ids.value(position));
            const auto question = exam.Preguntas()->find(questionKey);
            int index = -1;
            if (question) {
                const QString folded = questionKey.toCaseFolded();
                index = byKey.value(folded, -1);
                if (index < 0) {
                    index = static_cast<int>(items_.size());
                    byKey.insert(folded, index);
                    items_.push_back(makeItem(*question, verdaderoFalso_));
                }
            }
            at_.insert(key(static_cast<qint16>(s), position), index);
        }
    }
}

int ExamItems::optionOf(int item, qint16 mark) const {
    if (verdaderoFalso_)
        return mark == 1 ? 0 : 1;
    const auto& options = items_[static_cast<size_t>(item)].options;
    const auto it = std::lower_bound(options.begin(), options.end(), mark,
                                     [](const Option& o, qint16 n) { return o.numero < n; });
    return it != options.end() && it->numero == mark ? static_cast<int>(it - options.begin()) : -1;
}

} // namespace kp::tools
