#pragma once

#include <QString>
#include <QTextStream>

namespace kp {
class Clock;
}

namespace kp::tools {

// Progress of a long run on standard error: silent for the first second, then one line that
// is rewritten in place (at most five times a second), ended by finish(). When disabled (the
// stream is not a terminal) it writes nothing at all.
class Progress {
public:
    Progress(QTextStream& err, bool enabled, const Clock& clock);

    // done of total steps of the named phase are finished.
    void step(const QString& phase, qint64 done, qint64 total);
    // Ends the line, if one was written.
    void finish();

    // True when the stream writes to a terminal.
    static bool isTerminal(const QTextStream& stream);

    static constexpr qint64 kQuietMs = 1000;
    static constexpr qint64 kIntervalMs = 200;

private:
    QTextStream& err_;
    const bool enabled_;
    const Clock& clock_;
    const qint64 start_;
    qint64 lastShown_ = -1;
    qsizetype lastWidth_ = 0;
};

} // namespace kp::tools
