#pragma once

#include "model/Clock.h"

namespace kp::test {

// A clock the test moves by hand; both readings advance together.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)))
        : now_(start) {}
    QDateTime now() const override { return now_; }
    qint64 monotonicMs() const override { return mono_; }
    void advanceMs(qint64 ms) {
        now_ = now_.addMSecs(ms);
        mono_ += ms;
    }
    // Moves the wall clock only, as a user changing the system time would.
    void setWallClock(const QDateTime& t) { now_ = t; }

private:
    QDateTime now_;
    qint64 mono_ = 1'000'000;
};

} // namespace kp::test
