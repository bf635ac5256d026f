#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <map>
#include <memory>

namespace kp::rtf {

// Turns the bytes of \'xx escapes into characters for a Windows code page. Windows-1252 and the
// Symbol font have tables of their own (they are by far the most common); other code pages go
// through Qt's converters when it has them and fall back to Windows-1252 when it does not.
class CodePageDecoder {
public:
    // Pseudo code page for fonts whose glyphs follow the Symbol font's layout.
    static constexpr int Symbol = 42;
    static constexpr int Windows1252 = 1252;

    // Code page for an \fcharset value; 0 when the charset means "the document's code page".
    static int codePageForCharset(int charset);
    // The character the Symbol font draws for a byte, or 0 when it draws none.
    static char16_t symbolChar(unsigned char byte);

    QString decode(QByteArrayView bytes, int codePage);

private:
    QStringDecoder* decoderFor(int codePage);

    // One converter per code page met, created on first use (unusable ones are kept too, so a
    // missing code page is looked up only once).
    std::map<int, std::unique_ptr<QStringDecoder>> decoders_;
};

} // namespace kp::rtf
