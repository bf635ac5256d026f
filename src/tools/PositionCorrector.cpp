#include "tools/PositionCorrector.h"

#include "model/KipsaPrubex.h"
#include "model/KipsaResult.h"
#include "results/Correccion.h"

#include <algorithm>

namespace kp::tools {

qint8 PositionCorrector::direct(const KipsaResult& result, qint16 serieElegida,
                                qint16 position) const {
    return static_cast<qint8>(exam_.TipoExamen() == 1
                                  ? CorrijePreguntaTest(exam_, result, serieElegida, position)
                                  : CorrijePreguntaVF(exam_, result, serieElegida, position));
}

qint8 PositionCorrector::code(qint16 serieElegida, qint16 position, const qint16* marks,
                              qsizetype count) {
    const quint32 key = (static_cast<quint32>(static_cast<quint16>(serieElegida)) << 16) |
                        static_cast<quint16>(position);
    std::vector<Case>& cases = cases_[key];
    for (const Case& c : cases)
        if (std::equal(c.marks.begin(), c.marks.end(), marks, marks + count))
            return c.code;
    // A record holding only this position's marks corrects it as the whole record would.
    KipsaResult alone;
    for (qsizetype i = 0; i < count; ++i)
        alone.RespuestasKipsa()->Marcar(position, marks[i]);
    const qint8 result = direct(alone, serieElegida, position);
    if (cases.size() < kMaxCases)
        cases.push_back({std::vector<qint16>(marks, marks + count), result});
    return result;
}

} // namespace kp::tools
