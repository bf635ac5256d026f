#pragma once

#include <QByteArray>
#include <QString>

namespace kp {
class KipsaPrubex;
class Pregunta;
} // namespace kp

namespace kp::fuzz {

// How an exam read back from our own writer must compare with the one that was written: every
// member the file carries equal as the writer stores it (texts trimmed of blanks, file names
// without folders, grades to the thousandth, the question identifier exactly), and nothing
// else lost. Each returns the first member that differs, or an empty text when none does.

// logoWas: the logo bytes that were written with was.
QString examDifference(const KipsaPrubex& was, const QByteArray& logoWas, const KipsaPrubex& now);
QString questionDifference(const Pregunta& was, const Pregunta& now);

// What the format layer writes for an exam (with its logo bytes) and for one question record,
// in memory. Raise KpError as Export and Guardar do.
QByteArray writtenExam(const KipsaPrubex& exam, const QByteArray& logo);
QByteArray writtenQuestion(const Pregunta& question);

} // namespace kp::fuzz
