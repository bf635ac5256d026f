#pragma once

#include <QtGlobal>

namespace kp {

class ByteCursor;
class FieldWriter;
class Pregunta;

// The question record: marker, author, licence, identifier, text, answers and optional image.
// It sits inside an exam file, or alone in a question's own file. Pregunta::Cargar, Guardar
// and ExportImg are defined with it (QuestionRecord.cpp).
namespace QuestionRecord {

// Smallest record: the marker, four empty texts, no answers and no image flag set.
constexpr qint64 kMinSize = 70;

// Reads one record at the cursor into p (its answers are replaced). Raises KpError.
void read(ByteCursor& in, Pregunta& p);
// Writes p as one record; a writer without a device only checks it.
void write(FieldWriter& out, const Pregunta& p);

} // namespace QuestionRecord
} // namespace kp
