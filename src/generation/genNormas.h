#pragma once

#include "generation/genNorma.h"
#include "model/KeyedList.h"

#include <limits>

namespace kp {

// The rules of a generated series in insertion order.
class genNormas : public KeyedList<genNorma> {
public:
    // Stores a copy of the rule under its Key.
    Ptr Add(const genNorma& genNormaTmp) {
        auto rule = std::make_shared<genNorma>(genNormaTmp);
        insert(genNormaTmp.Key(), rule);
        return rule;
    }

    // Questions the rules put into block Tipo: 1 per fixed rule, NumPreguntas per other rule.
    qint32 CuantasPreguntas(qint16 Tipo) const;

    // 1, 2, 3, ... on successive calls: numbers for new rules.
    qint16 GetNewNormaID() {
        if (lastId_ == std::numeric_limits<qint16>::max())
            throw KpError(KpError::OutOfRange, QStringLiteral("No quedan números de norma"));
        return ++lastId_;
    }

private:
    qint16 lastId_ = 0;
};

} // namespace kp
