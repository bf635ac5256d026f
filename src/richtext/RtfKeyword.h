#pragma once

#include "richtext/RtfGroupState.h"

#include <QStringView>

namespace kp::rtf {

// The control words the reader acts on; all others are ignored.
struct RtfKeyword {
    enum Kind {
        FontTable,
        ColorTable,
        Skip,
        Char,
        Plain,
        Bold,
        Italic,
        Strike,
        Hidden,
        Underline,
        UnderlineOff,
        Super,
        Sub,
        NoSuperSub,
        Up,
        Down,
        Caps,
        SmallCaps,
        Font,
        FontSize,
        Color,
        Background,
        Pard,
        Par,
        Line,
        Tab,
        AlignLeft,
        AlignRight,
        AlignCenter,
        AlignJustify,
        LeftIndent,
        RightIndent,
        FirstIndent,
        SpaceBefore,
        SpaceAfter,
        LineSpacing,
        TabStop,
        TabKind,
        LineMultiple,
        InTable,
        RightToLeft,
        LeftToRight,
        Cell,
        Row,
        RowDefaults,
        CellRight,
        UnicodeSkip,
        Unicode,
        Ansi,
        Mac,
        Pc,
        Pca,
        AnsiCodePage,
        DefaultFont,
    };

    Kind kind;
    char16_t value = 0; // a character, or an underline kind

    // nullptr for a word the reader does not act on.
    static const RtfKeyword* find(QStringView word);
};

} // namespace kp::rtf
