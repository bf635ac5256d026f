#include "tools/HtmlWriter.h"

namespace kp::tools {

HtmlWriter::HtmlWriter(QIODevice* device) : xml_(device) {
    xml_.setAutoFormatting(false);
}

void HtmlWriter::start(const QString& name, Attributes attributes) {
    xml_.writeStartElement(name);
    for (const auto& [key, value] : attributes)
        xml_.writeAttribute(key, xmlSafe(value));
}

void HtmlWriter::element(const QString& name, const QString& content, Attributes attributes) {
    start(name, attributes);
    // Writing the text, even an empty one, closes the start tag, so the end tag is written.
    xml_.writeCharacters(xmlSafe(content));
    xml_.writeEndElement();
}

void HtmlWriter::empty(const QString& name, Attributes attributes) {
    xml_.writeEmptyElement(name);
    for (const auto& [key, value] : attributes)
        xml_.writeAttribute(key, xmlSafe(value));
}

QString HtmlWriter::xmlSafe(const QString& text) {
    QString safe = text;
    for (qsizetype i = 0; i < safe.size(); ++i) {
        const char16_t c = safe[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < safe.size() && safe[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        const bool allowed = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c < 0xD800) ||
                             (c >= 0xE000 && c <= 0xFFFD);
        if (!allowed)
            safe[i] = QChar(QChar::ReplacementCharacter);
    }
    return safe;
}

} // namespace kp::tools
