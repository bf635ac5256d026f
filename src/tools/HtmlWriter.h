#pragma once

#include <QString>
#include <QXmlStreamWriter>
#include <initializer_list>
#include <utility>

class QIODevice;

namespace kp::tools {

// Writes XHTML that browsers read as HTML: every element closed, text escaped, and no empty
// element written as <td/> (which HTML would read as an unclosed start tag). Texts from files
// lose the characters XML cannot carry.
class HtmlWriter {
public:
    using Attributes = std::initializer_list<std::pair<QString, QString>>;

    explicit HtmlWriter(QIODevice* device);

    void start(const QString& name, Attributes attributes = {});
    void end() { xml_.writeEndElement(); }
    // An element holding only text (possibly empty).
    void element(const QString& name, const QString& text, Attributes attributes = {});
    void text(const QString& text) { xml_.writeCharacters(xmlSafe(text)); }
    // A void element such as <meta/> or <br/>.
    void empty(const QString& name, Attributes attributes = {});
    // For the SVG charts.
    QXmlStreamWriter& xml() { return xml_; }
    void finish() { xml_.writeEndDocument(); }

    // The text with every character XML 1.0 does not allow (controls other than tab and line
    // breaks, lone surrogates, U+FFFE and U+FFFF) replaced by U+FFFD.
    static QString xmlSafe(const QString& text);

private:
    QXmlStreamWriter xml_;
};

} // namespace kp::tools
