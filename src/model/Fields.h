#pragma once

#include <QString>

namespace kp {

// The 10-character decimal field: the number's text preceded by enough "0" to reach 10
// characters. Longer texts are not cut; a minus sign stays after the zeros.
QString RellenaCeros(qint32 n);

// The part of a path after its last separator; the whole text when there is none. Exams come
// from Windows, so the backslash is a separator here too, besides this system's slash.
QString DameNombreArchivo(const QString& path);

// Key of a question in Preguntas and of its slots in PreguntasSerie: "pregunta" and the
// identifier trimmed of blanks.
QString ClavePregunta(const QString& id);

// The text without blanks (spaces only, not tabs or line breaks) at both ends, the way the
// exam tools trim keys and stored texts.
QString TrimBlanks(const QString& text);

} // namespace kp
