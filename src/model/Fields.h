#pragma once

#include <QString>

namespace kp {

// The part of a path after its last separator; the whole text when there is none. Exams come
// from Windows, so the backslash is a separator here too, besides this system's slash.
QString DameNombreArchivo(const QString& path);

// Key of a question in Preguntas and of its slots in PreguntasSerie: "pregunta" and the
// identifier trimmed of blanks.
QString ClavePregunta(const QString& id);

// The text without blanks (spaces only, not tabs or line breaks) at both ends: how keys and
// stored texts are trimmed.
QString TrimBlanks(const QString& text);

} // namespace kp
