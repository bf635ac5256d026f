#pragma once

#include <QtGlobal>
#include <span>
#include <vector>

namespace kp {

class KipsaResult;

// The marks of one results record grouped by question position 1..positions(): for each
// position, the answer numbers in the order they were marked. What grading reads. reset() keeps
// the storage, so one object can take the records of many files without allocating again.
class MarksByPosition {
public:
    MarksByPosition() = default;
    // The marks of record at positions 1..positions, in the record's order; marks of other
    // positions are left out.
    MarksByPosition(const KipsaResult& record, qint16 positions);

    // Empties every position and makes positions 1..positions available.
    void reset(qint16 positions);
    qint16 positions() const { return positions_; }

    // Adds answer to the marks of position; a position outside 1..positions() is ignored.
    void add(qint16 position, qint16 answer);
    // The same unless that position already holds answer: each answer of a question counts
    // once. False when it was there.
    bool addOnce(qint16 position, qint16 answer);

    // The marks of position in order; none outside 1..positions().
    std::span<const qint16> at(qint16 position) const {
        if (position < 1 || position > positions_)
            return {};
        return marks_[static_cast<size_t>(position - 1)];
    }

private:
    std::vector<std::vector<qint16>> marks_;
    qint16 positions_ = 0;
};

} // namespace kp
