#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace kp {

class KipsaPrubex;
class KipsaResult;

// Rules of the end of an exam that need no window: the countdown text and where the results
// go when the chosen path cannot be written.

// Remaining time as h:mm:ss (3661 gives 1:01:01); zero or less gives 0:00:00.
QString remainingTimeText(qint32 remainingSeconds);

// The fallback results file in the program's folder. With exactly one data field labelled
// "Nombre": "Examen_" + the student's value of that field made safe for a file name + ".kxa".
// With none or several, a name that cannot clash with another student's: "Examen_" + the exam
// identifier + "_" + the date and time (+ "_2", "_3"... while such a file already exists).
QString fallbackResultsPath(const QString& programFolder, const KipsaPrubex& examen,
                            const KipsaResult& resultado, const QDateTime& now);

// The "Lea atentamente" text naming the path that failed and the one used instead.
QString saveFailedMessage(const QString& failedPath, const QString& fallbackPath);

// The name (without folder and ending) of the journal of the marks of an exam started now:
// "Examen_" + the one "Nombre" value or the exam identifier, made safe, + "_" + date and time.
QString recoveryFileStem(const KipsaPrubex& examen, const KipsaResult& resultado,
                         const QDateTime& now);

// What the student is told when the results could be written nowhere: every path tried, that
// the examiner must be called, and the journal that holds the answers (when there is a
// complete one; otherwise that they are only in the program, which must stay open).
QString resultsNotSavedMessage(const QStringList& triedPaths, const QString& recoveryFile);

} // namespace kp
