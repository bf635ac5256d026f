#pragma once

#include "format/SafeFile.h"

#include <QIODevice>
#include <climits>

namespace kp::test {

// A results writer whose disk fills up: of each of the first `failing` files it writes, only
// `room` bytes reach the disk before the write fails, as on a full disk. Later files go through.
class FullDisk final : public SafeFile {
public:
    explicit FullDisk(qint64 room, int failing = INT_MAX) : room_(room), failing_(failing) {}
    int failed() const { return failed_; }

protected:
    bool fill(QIODevice& temporary, const QByteArray& bytes) override {
        if (failed_ >= failing_)
            return SafeFile::fill(temporary, bytes);
        ++failed_;
        temporary.write(bytes.left(room_));
        return false;
    }

private:
    qint64 room_;
    int failing_;
    int failed_ = 0;
};

} // namespace kp::test
