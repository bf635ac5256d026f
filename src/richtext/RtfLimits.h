#pragma once

#include <QtGlobal>

namespace kp::rtf {

// Bounds that keep a hostile or broken text from costing more than a real one. The defaults are
// far above anything a rich-text control writes for an exam question.
struct RtfLimits {
    // Groups nested deeper than this are skipped whole: their state is never pushed.
    int maxDepth = 256;
    // Longer control words are read to their end and then ignored.
    int maxControlWordLength = 32;
    // Longer numeric parameters are read to their end and the control word is ignored.
    int maxParameterDigits = 10;
    // Characters (paragraph breaks included) put into the document; reading stops there.
    qsizetype maxOutputChars = qsizetype{1} << 20;
    // Paragraphs, which cost the document far more than characters; later breaks are dropped.
    qsizetype maxParagraphs = 10000;
    // Entries kept in the font and colour tables; later ones are ignored.
    int maxTableEntries = 4096;
};

} // namespace kp::rtf
