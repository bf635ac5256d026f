#pragma once

#include <QtGlobal>
#include <array>

namespace kp::rtf {

// What an RTF group carries: a '{' saves it, the matching '}' restores it. Plain values, so a
// copy per nesting level is cheap.
struct RtfGroupState {
    enum class Destination : quint8 { Text, FontTable, ColorTable };
    enum class Underline : quint8 { None, Single, Dotted, Dash, DashDot, DashDotDot, Wave };
    enum class Vertical : quint8 { Normal, Super, Sub };
    enum class Caps : quint8 { Normal, All, Small };
    enum class Align : quint8 { Left, Right, Center, Justify };
    enum class TabKind : quint8 { Left, Right, Center, Decimal };

    struct Tab {
        int position = 0; // twips from the left margin
        TabKind kind = TabKind::Left;
        bool operator==(const Tab&) const = default;
    };
    // Tab stops beyond these are ignored; a question needs a handful at most.
    static constexpr int MaxTabs = 16;

    struct Char {
        bool bold = false;
        bool italic = false;
        bool strike = false;
        bool hidden = false;
        Underline underline = Underline::None;
        Vertical vertical = Vertical::Normal;
        Caps caps = Caps::Normal;
        int font = -1; // index in the font table; -1 is the document's default font
        int halfPoints = 24;
        int color = 0;      // colour table index; 0 is the automatic colour
        int background = 0; // colour table index; 0 is none
        bool operator==(const Char&) const = default;
    };

    // Lengths in twips, as written; they become pixels only in the document's formats.
    struct Para {
        Align align = Align::Left;
        int leftIndent = 0;
        int rightIndent = 0;
        int firstIndent = 0;
        int spaceBefore = 0;
        int spaceAfter = 0;
        // \slN: 0 is single spacing; with \slmult1 N/240 lines, else at least N twips, or
        // exactly -N twips when negative.
        int lineSpacing = 0;
        bool lineMultiple = false;
        bool inTable = false;
        bool rightToLeft = false;
        int tabCount = 0;
        std::array<Tab, MaxTabs> tabs{};
        bool operator==(const Para&) const = default;
    };

    Char chr;
    Para para;
    Destination destination = Destination::Text;
    // Fallback characters to skip after \uN.
    int unicodeSkip = 1;
};

} // namespace kp::rtf
