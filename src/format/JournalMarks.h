#pragma once

#include <QHash>
#include <map>
#include <utility>
#include <vector>

namespace kp {

// The marks a journal describes, kept as the results record keeps them: each answer of each
// question at most once, in the order made (one unmarked and marked again goes to the end).
// Marking and unmarking cost the logarithm of the marks standing, whatever their number.
class JournalMarks {
public:
    using Mark = std::pair<qint16, qint16>; // question position, answer number

    // False when the answer was already marked (nothing changes).
    bool mark(qint16 question, qint16 answer);
    // False when it was not marked.
    bool unmark(qint16 question, qint16 answer);
    std::vector<Mark> inOrder() const;
    qsizetype size() const { return orderOf_.size(); }

private:
    static quint32 key(qint16 question, qint16 answer) {
        return (quint32(quint16(question)) << 16) | quint16(answer);
    }

    quint64 next_ = 0;
    std::map<quint64, quint32> byOrder_; // order made -> key
    QHash<quint32, quint64> orderOf_;
};

} // namespace kp
