#pragma once

#include <QString>

namespace kp::tools {

// The text of a question or answer as a report line: RTF ({\rtf...) reduced to the characters
// it shows, every run of blanks, tabs and line breaks made one space, and cut to at most
// maxChars characters, the cut marked with "…". Formatting is lost, and characters of the
// Symbol font show as their Windows-1252 letters.
QString shortText(const QString& text, qsizetype maxChars);

} // namespace kp::tools
