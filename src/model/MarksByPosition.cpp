#include "model/MarksByPosition.h"

#include "model/KipsaResult.h"

#include <algorithm>

namespace kp {

MarksByPosition::MarksByPosition(const KipsaResult& record, qint16 positions) {
    reset(positions);
    for (const auto& entry : *record.RespuestasKipsa())
        add(entry->NumPregunta(), entry->NumRespuesta());
}

void MarksByPosition::reset(qint16 positions) {
    positions_ = std::max<qint16>(positions, 0);
    if (marks_.size() < static_cast<size_t>(positions_))
        marks_.resize(static_cast<size_t>(positions_));
    for (size_t i = 0; i < static_cast<size_t>(positions_); ++i)
        marks_[i].clear();
}

void MarksByPosition::add(qint16 position, qint16 answer) {
    if (position >= 1 && position <= positions_)
        marks_[static_cast<size_t>(position - 1)].push_back(answer);
}

bool MarksByPosition::addOnce(qint16 position, qint16 answer) {
    const auto held = at(position);
    if (std::find(held.begin(), held.end(), answer) != held.end())
        return false;
    add(position, answer);
    return true;
}

} // namespace kp
