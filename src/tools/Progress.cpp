#include "tools/Progress.h"

#include "model/Clock.h"

#include <QFile>
#include <unistd.h>

namespace kp::tools {

Progress::Progress(QTextStream& err, bool enabled, const Clock& clock)
    : err_(err), enabled_(enabled), clock_(clock), start_(clock.monotonicMs()) {}

void Progress::step(const QString& phase, qint64 done, qint64 total) {
    if (!enabled_)
        return;
    const qint64 now = clock_.monotonicMs();
    if (now - start_ < kQuietMs)
        return;
    if (lastShown_ >= 0 && now - lastShown_ < kIntervalMs && done != total)
        return;
    lastShown_ = now;
    const QString line = QStringLiteral("kxt report: %1 %2 de %3").arg(phase).arg(done).arg(total);
    // Blanks over what is left of a longer previous line.
    err_ << '\r' << line << QString(std::max<qsizetype>(0, lastWidth_ - line.size()), u' ');
    err_.flush();
    lastWidth_ = line.size();
}

void Progress::finish() {
    if (lastWidth_ > 0) {
        err_ << '\n';
        err_.flush();
    }
    lastWidth_ = 0;
}

bool Progress::isTerminal(const QTextStream& stream) {
    const auto* file = qobject_cast<const QFile*>(stream.device());
    return file && file->handle() >= 0 && isatty(file->handle()) == 1;
}

} // namespace kp::tools
