#pragma once

#include <QString>

namespace kp {

// How much of an exam's text the window lays out. An exam may hold texts of megabytes that no
// box can show; Qt lays out every character it is given, so each box gets at most what a person
// could read in it, far more than any real exam writes, and a page as a whole has a budget.
struct TextBounds {
    // A one-line label (a data field's name) shows a few dozen characters of its box.
    static constexpr qsizetype LabelChars = 256;
    // The briefing's box shows about a dozen lines; the exam's title is cut to this.
    static constexpr qsizetype BriefingTitleChars = 2048;
    // A question or answer box scrolls: it holds at most this many characters...
    static constexpr qsizetype BoxChars = 16384;
    // ...and paragraphs, which cost Qt more than characters.
    static constexpr qsizetype BoxParagraphs = 2000;
    // Characters of one question page (question and answers): once spent, each further box
    // gets BoxFloorChars.
    static constexpr qsizetype PageChars = 65536;
    static constexpr qsizetype BoxFloorChars = 1024;

    // The first max characters of text (one less rather than half a surrogate pair).
    static QString cut(const QString& text, qsizetype max) {
        if (text.size() <= max)
            return text;
        if (max > 0 && text.at(max - 1).isHighSurrogate())
            --max;
        return text.left(max);
    }
};

} // namespace kp
