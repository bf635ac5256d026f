#include "FuzzChecks.h"

namespace kp::fuzz {

void require(bool condition, const QString& message) {
    if (!condition)
        throw CheckFailed(message);
}

const std::vector<Target>& targets() {
    static const std::vector<Target> all = {
        {"exam", checkExamFile, true},       {"question", checkQuestionRecord, true},
        {"results", checkResultsFile, true}, {"json", checkExamJson, true},
        {"rtf", checkRichText, false},
    };
    return all;
}

const Target* findTarget(const QString& name) {
    for (const Target& t : targets())
        if (name == QLatin1String(t.name))
            return &t;
    return nullptr;
}

} // namespace kp::fuzz
