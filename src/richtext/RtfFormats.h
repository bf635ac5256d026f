#pragma once

#include "richtext/RtfGroupState.h"

#include <QColor>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <map>
#include <vector>

namespace kp::rtf {

// The document's font and colour tables, and the conversion of group state into Qt formats.
// Indices that the tables do not hold fall back to the defaults.
class RtfFormats {
public:
    // 15 twips to one logical pixel, as everywhere in the program.
    static constexpr double TwipsPerPixel = 15.0;

    struct Font {
        QString name;
        int codePage = 0; // 0: the document's code page
        bool symbol = false;
    };

    explicit RtfFormats(int maxEntries) : maxEntries_(maxEntries) {}

    void setDefaultFont(int index) { defaultFont_ = index; }
    void setDocumentCodePage(int codePage) { documentCodePage_ = codePage; }
    void addFont(int index, const Font& font);
    // An invalid colour is the automatic one.
    void addColor(const QColor& color);

    // The font in effect for a character state's index, or nullptr for none.
    const Font* font(int index) const;
    int codePage(int fontIndex) const;
    bool isSymbolFont(int fontIndex) const;

    QTextCharFormat charFormat(const RtfGroupState::Char& chr) const;
    // cellEdges: right edges in twips of the cells of the table row the paragraph is in.
    QTextBlockFormat blockFormat(const RtfGroupState::Para& para,
                                 const std::vector<int>& cellEdges) const;

private:
    QColor color(int index) const;

    int maxEntries_;
    int defaultFont_ = 0;
    int documentCodePage_ = 1252;
    std::map<int, Font> fonts_;
    std::vector<QColor> colors_;
};

} // namespace kp::rtf
