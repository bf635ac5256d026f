#pragma once

#include <QDateTime>
#include <QElapsedTimer>

namespace kp {

// Wall clock and a monotonic clock, passed in so tests can set the time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Milliseconds on a clock that never jumps (unaffected by changes of the system time).
    virtual qint64 monotonicMs() const = 0;
};

class SystemClock final : public Clock {
public:
    SystemClock() { timer_.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 monotonicMs() const override { return timer_.elapsed(); }

private:
    QElapsedTimer timer_;
};

} // namespace kp
