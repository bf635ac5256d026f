#pragma once

#include <QStringView>

namespace kp::rtf {

// One lexical unit of an RTF text. Views point into the text being read.
struct RtfToken {
    enum class Kind {
        End,           // no more input
        GroupStart,    // {
        GroupEnd,      // }
        ControlWord,   // \word or \wordN
        ControlSymbol, // \ followed by one non-letter
        HexByte,       // \'xx
        Text,          // a run of ordinary characters
    };

    Kind kind = Kind::End;
    // Control word letters, or the characters of a text run.
    QStringView text;
    bool hasParameter = false;
    int parameter = 0;
    // False for a control word over the length limits; it is read past and then ignored.
    bool valid = true;
    // The character after the backslash of a control symbol.
    char16_t symbol = 0;
    unsigned char byte = 0;
};

} // namespace kp::rtf
