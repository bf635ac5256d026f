#include "results/ExamClock.h"

#include <limits>

namespace kp {

QDateTime ExamClock::start(const Clock& clock) {
    const QDateTime now = clock.now();
    startMonoMs_ = clock.monotonicMs();
    msIntoSecond_ = now.time().isValid() ? now.time().msec() : 0;
    started_ = true;
    return now.addMSecs(-msIntoSecond_);
}

qint32 ExamClock::elapsedSeconds(const Clock& clock) const {
    if (!started_)
        return 0;
    const qint64 sinceStart = clock.monotonicMs() - startMonoMs_;
    if (sinceStart <= 0)
        return 0;
    const qint64 seconds = (msIntoSecond_ + sinceStart) / 1000;
    constexpr qint64 most = std::numeric_limits<qint32>::max();
    return static_cast<qint32>(seconds > most ? most : seconds);
}

} // namespace kp
