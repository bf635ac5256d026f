#pragma once

#include <QtGlobal>

namespace kp {

class KipsaPrubex;

// The longest text a student data box takes (a line edit's own limit, which the window keeps).
constexpr qint64 kMaxDatoAlumnoLength = 32767;

// The largest results file that an exam of totalPreguntas positions can give: its identifier
// and labels as the exam has them, every student value at the longest a data box takes, and at
// every position each answer of the question with most answers marked once. A larger file was
// not written for this exam.
qint64 maxResultsFileSize(const KipsaPrubex& exam, qint16 totalPreguntas);

} // namespace kp
