#pragma once

#include "model/Clock.h"

#include <QDateTime>

namespace kp {

// Time used by a limited exam. The wall clock gives the start (HoraInicio, to the second) and
// where within that second the exam began; from then on only the monotonic clock counts, so
// elapsed seconds follow the second boundaries of the start's wall-clock time while a change
// of the system time neither adds nor removes time.
class ExamClock {
public:
    // Starts measuring now and returns the start to record as HoraInicio, cut to the second.
    QDateTime start(const Clock& clock);
    // Second boundaries of the start's clock crossed since the start; 0 before any start.
    qint32 elapsedSeconds(const Clock& clock) const;
    void reset() { started_ = false; }

private:
    qint64 startMonoMs_ = 0;
    qint64 msIntoSecond_ = 0; // how far into its wall-clock second the start fell
    bool started_ = false;
};

} // namespace kp
