#include "format/JournalMarks.h"

namespace kp {

bool JournalMarks::mark(qint16 question, qint16 answer) {
    const quint32 k = key(question, answer);
    if (orderOf_.contains(k))
        return false;
    orderOf_.insert(k, next_);
    byOrder_.emplace(next_++, k);
    return true;
}

bool JournalMarks::unmark(qint16 question, qint16 answer) {
    const auto it = orderOf_.constFind(key(question, answer));
    if (it == orderOf_.constEnd())
        return false;
    byOrder_.erase(it.value());
    orderOf_.erase(it);
    return true;
}

std::vector<JournalMarks::Mark> JournalMarks::inOrder() const {
    std::vector<Mark> out;
    out.reserve(byOrder_.size());
    for (const auto& [order, k] : byOrder_)
        out.emplace_back(static_cast<qint16>(k >> 16), static_cast<qint16>(k & 0xFFFFu));
    return out;
}

} // namespace kp
